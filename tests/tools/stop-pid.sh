# zdz_stop_pid PID: asks a process to end (SIGTERM), gives it two seconds, then kills it; reaps
# it when it is our child. Sourced by the end-to-end helpers and the benchmark.
# shellcheck shell=bash
zdz_stop_pid() {
  local pid=$1
  kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null; return 0; }
  kill -TERM "$pid" 2>/dev/null
  for _ in $(seq 40); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  return 0
}
