#!/usr/bin/env bash
# What the clock costs, side by side with a minimal Qt clock (the toolkit's floor) and xclock,
# all on one private headless display: CPU, context switches, memory, start-up time, how late
# the caption turns over after the true second, and when the hourly chime sounds.
#
#   bench/run.sh [BUILD_DIR]      (default build/qt; configured and built when needed)
#
# BENCH_SECONDS (60) is the length of the steady run, BENCH_STARTS (10) the number of timed
# starts per program, BENCH_CHIMES (3) the number of chimes listened to. Prints, asserts nothing.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=$(realpath -m "${1:-$root/build/qt}")
# shellcheck source=bench/lib-bench.sh
source "$here/lib-bench.sh"

if [[ -z ${ZDZ_SESSION_DIR:-} ]]; then
  bench_build "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo || exit 1
  exec "$root/tests/tools/headless-session.sh" "$0" "$build"
fi
bench_init "$build"

seconds=${BENCH_SECONDS:-60}
starts=${BENCH_STARTS:-10}
chimes=${BENCH_CHIMES:-3}
kinds=(window tray floor xclock)
declare -A name=([window]="zoduzazu, window" [tray]="zoduzazu, tray" [floor]="Qt floor"
  [xclock]="xclock -d")

echo "Zoduzazu benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'); $(nproc) cores, $(cpu_model)"
echo "program $BENCH_EXE ($(stat -c %s "$BENCH_EXE") bytes)"
echo

# ---- start-up: exec to the first mapped window (the tray icon, in tray mode) ----
declare -A startup
for k in "${kinds[@]}"; do
  times=()
  for ((i = 0; i < starts; i++)); do
    t=$(start_time "$k") && times+=("$t")
  done
  startup[$k]=$(printf '%s\n' "${times[@]}" | median)
done

# ---- steady run: all four at once ----
for k in "${kinds[@]}"; do launch "$k"; done
sleep 3  # past start-up and the first repaints
declare -A before
for k in "${kinds[@]}"; do before[$k]=$(bench_sample "${pid[$k]}"); done
sleep "$seconds"
declare -A cpu exact rate rss pss threads
for k in "${kinds[@]}"; do
  p=${pid[$k]}
  read -r "exact[$k]" "rate[$k]" "cpu[$k]" < <(bench_per_minute "$seconds" "${before[$k]}" \
    "$(bench_sample "$p")")
  read -r "rss[$k]" "pss[$k]" < <(memory "$p")
  threads[$k]=$(awk '/^Threads:/ { print $2 }' "/proc/$p/status")
done
stop_all

echo "Steady run of ${seconds} s, all four on one display; start-up is the median of ${starts}."
echo "CPU: user+system time (10 ms ticks); exact: the threads' schedstat run time."
printf '%-18s %11s %12s %9s %7s %7s %8s %12s\n' program "CPU ms/min" "exact ms/min" "switch/s" \
  "RSS MB" "PSS MB" threads "start-up ms"
for k in "${kinds[@]}"; do
  printf '%-18s %11s %12s %9s %7s %7s %8s %12s\n' "${name[$k]}" "${cpu[$k]}" "${exact[$k]}" "${rate[$k]}" \
    "$(mb "${rss[$k]}")" "$(mb "${pss[$k]}")" "${threads[$k]}" "${startup[$k]:--}"
done
echo
printf '%-28s %10s %9s %7s %7s %11s\n' ratio "CPU exact" switches RSS PSS start-up
for k in window tray; do
  for base in floor xclock; do
    printf '%-28s %10s %9s %7s %7s %11s\n' "${name[$k]} / ${name[$base]}" \
      "$(ratio "${exact[$k]}" "${exact[$base]}")" "$(ratio "${rate[$k]}" "${rate[$base]}")" \
      "$(ratio "${rss[$k]}" "${rss[$base]}")" "$(ratio "${pss[$k]}" "${pss[$base]}")" \
      "$(ratio "${startup[$k]}" "${startup[$base]}")"
  done
done
echo

echo "Caption lateness: real time of each change minus the start of the second it shows."
printf '%-18s %8s %11s %10s %10s\n' program changes "median ms" "worst ms" "best ms"
for k in window floor; do
  read -ra cols < <(lateness "$BENCH_WORK/$k.captions")
  printf '%-18s %8s %11s %10s %10s\n' "${name[$k]}" "${cols[@]}"
done
echo

echo "Cuckoo chime at 06:00 with a 0.2 s test stroke (6 strokes), the clock set by libfaketime."
echo "Onset: first audible sample minus the real time of the clock's 06:00:00.000; caption: when"
echo "the chiming tick wrote 06:00:00, on the same scale. Gap: one stroke's start to the next,"
echo "less the stroke's 200 ms; period: start to start."
printf '%-4s %9s %11s %8s %14s %13s %13s\n' run "onset ms" "caption ms" strokes "gap median ms" \
  "gap worst ms" "period ms"
for ((i = 1; i <= chimes; i++)); do
  read -ra cols < <(chime_run "$i")
  printf '%-4s %9s %11s %8s %14s %13s %13s\n' "$i" "${cols[@]}"
done
