# Checks, waits and process clean-up for the shell tests (end-to-end, Wine) and the benchmarks.
# A check is a command and its arguments, run as given: nothing here evaluates a string, so a
# path with quotes or spaces is only ever a path.
#
#   zdz_log TEXT...             prints one line
#   zdz_check WHAT CMD [ARG...] runs CMD in a subshell and prints "ok   - WHAT" or "FAIL - WHAT"
#                               with CMD's output; a failure is counted in ZDZ_FAILED, then
#                               zdz_diagnostics runs if the script defines one; the script goes on
#   zdz_require WHAT CMD...     zdz_check, and on failure zdz_finish at once
#   zdz_finish                  exits 1 when a check failed, else 0, after a summary line
#   zdz_not CMD...              succeeds when CMD fails (for checks that something is absent)
#   zdz_has TEXT STRING...      succeeds when TEXT holds every STRING (as is, not a pattern);
#                               else says which one it lacks
#   zdz_wait SECONDS CMD...     runs CMD every 0.1 s until it succeeds (status 0) or SECONDS,
#                               which may have tenths, have passed (status 1)
#   zdz_stop_pid PID            SIGTERM, up to 2 s, then SIGKILL; reaps it when it is our child
#   zdz_stop_all                zdz_stop_pid on every pid in ZDZ_PIDS, the last started first
#
# CMD runs in a subshell: it cannot set the script's variables or keep a process it starts.
# Start processes directly, add their pids to ZDZ_PIDS, and call zdz_stop_all on exit.
# shellcheck shell=bash

ZDZ_FAILED=0
ZDZ_PIDS=()

zdz_log() { printf '%s\n' "$*"; }

zdz_check() {
  local what=$1 said
  shift
  if said=$("$@" 2>&1); then
    zdz_log "ok   - $what"
    return 0
  fi
  zdz_log "FAIL - $what"
  [[ -n $said ]] && printf '%s\n' "$said"
  ZDZ_FAILED=$((ZDZ_FAILED + 1))
  if declare -F zdz_diagnostics >/dev/null; then zdz_diagnostics; fi
  return 1
}

zdz_require() {
  zdz_check "$@" || zdz_finish
}

zdz_finish() {
  if ((ZDZ_FAILED)); then
    zdz_log "$(basename "$0"): $ZDZ_FAILED check(s) failed"
    exit 1
  fi
  zdz_log "$(basename "$0"): all checks passed"
  exit 0
}

zdz_not() { ! "$@"; }

zdz_has() {
  local text=$1 s
  shift
  for s in "$@"; do
    [[ $text == *"$s"* ]] || { printf '  no "%s" in: %s\n' "$s" "${text:0:300}"; return 1; }
  done
}

# The limit is kept by the clock, not by counting tries: a check that is slow on a busy machine
# gets fewer tries, not a longer wait.
zdz_wait() {
  local whole=${1%%.*} tenths=0 limit
  [[ $1 == *.* ]] && tenths=${1#*.} && tenths=${tenths:0:1}
  shift
  limit=$((10#${EPOCHREALTIME/[.,]/} + 1000000 * 10#${whole:-0} + 100000 * ${tenths:-0}))
  until "$@" >/dev/null 2>&1; do
    ((10#${EPOCHREALTIME/[.,]/} < limit)) || return 1
    sleep 0.1
  done
}

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

zdz_stop_all() {
  local i
  for ((i = ${#ZDZ_PIDS[@]} - 1; i >= 0; i--)); do zdz_stop_pid "${ZDZ_PIDS[i]}"; done
  ZDZ_PIDS=()
}
