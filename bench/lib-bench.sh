# Helpers for bench/run.sh and bench/run-wine.sh: the build, starting the programs compared,
# and reading their costs.
# shellcheck shell=bash

BENCH_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The end-to-end tests' helpers: the settings writer, zdz_stop_pid, ZDZ_FAKETIME_LIB.
# shellcheck source=../tests/e2e/lib.sh
source "$BENCH_ROOT/tests/e2e/lib.sh"

declare -A pid

# bench_build BUILD_DIR [CMAKE_ARG...]: configures BUILD_DIR with these arguments when it has
# no cache yet, then builds the program and the benchmark's tools; on failure shows the log's end.
bench_build() {
  local build=$1 log
  shift
  log=$(mktemp)
  if { [[ -f $build/CMakeCache.txt ]] || cmake -S "$BENCH_ROOT" -B "$build" -G Ninja "$@"; } \
    >"$log" 2>&1 && cmake --build "$build" -j2 --target zoduzazu zdz_bench_tools >>"$log" 2>&1; then
    rm -f "$log"
    return 0
  fi
  tail -n 30 "$log" >&2
  rm -f "$log"
  return 1
}

# bench_work: inside the session, the work folder (BENCH_WORK), and everything started is
# stopped on exit.
bench_work() {
  BENCH_WORK="$ZDZ_SESSION_DIR/bench"
  # shellcheck disable=SC2034  # the end-to-end helpers write there
  ZDZ_WORK=$BENCH_WORK
  mkdir -p "$BENCH_WORK"
  trap stop_all EXIT
}

# bench_init BUILD_DIR: bench_work and the Qt build's paths.
bench_init() {
  local build=$1
  BENCH_EXE="$build/zoduzazu"
  BENCH_FLOOR="$build/bench/zdz_floor_qt"
  BENCH_PROBE="$build/bench/libzdz_caption_probe.so"
  BENCH_WATCH="$build/bench/zdz_window_watch"
  BENCH_RECORDER="$build/bench/zdz_sink_recorder"
  bench_work
  # A tone with no silence of its own, so every gap heard is the program's, and a loud first
  # 10 ms, so each stroke's start shows also when strokes follow without a gap.
  sox -n -r 44100 -c 1 -b 16 "$BENCH_WORK/mark.wav" synth 0.01 sine 1000 vol 0.9
  sox -n -r 44100 -c 1 -b 16 "$BENCH_WORK/tone.wav" synth 0.19 sine 1000 vol 0.3
  sox "$BENCH_WORK/mark.wav" "$BENCH_WORK/tone.wav" "$BENCH_WORK/stroke.wav"
}

cpu_model() { lscpu | sed -n 's/^Model name:[[:space:]]*//p' | head -n1; }

# settings FLAG0 FLAG1 FLAG2 FLAG3 [WAVE]: a fresh configuration folder holding them; prints it.
settings() {
  local dir wave=${5:-$(dirname "$BENCH_EXE")/Ruvazu.wav}
  dir=$(zdz_new_config)
  zdz_write_settings "$dir" "0=$1" "1=$2" "2=$3" "3=$4" "WAVE=$wave" "WAVEName=\" ${wave##*/}\""
  echo "$dir"
}

# command_for KIND: the command line of one of the programs compared, one word a line.
command_for() {
  case $1 in
    window) printf '%s\n' env "XDG_CONFIG_HOME=$(settings True True False False)" "$BENCH_EXE" ;;
    tray) printf '%s\n' env "XDG_CONFIG_HOME=$(settings True False False False)" "$BENCH_EXE" ;;
    floor) printf '%s\n' "$BENCH_FLOOR" ;;
    xclock) printf '%s\n' xclock -d -update 1 ;;
  esac
}

# start_time KIND: milliseconds from exec to a mapped window, for one start.
start_time() {
  local cmd class=()
  mapfile -t cmd < <(command_for "$1")
  [[ $1 == xclock ]] && class=(--class XClock)  # xclock does not set _NET_WM_PID
  "$BENCH_WATCH" "${class[@]}" -- "${cmd[@]}" 2>>"$BENCH_WORK/start.err"
}

# launch KIND: starts it for the steady run; the clock window and the floor with the probe.
launch() {
  local cmd probe=()
  mapfile -t cmd < <(command_for "$1")
  [[ $1 == window || $1 == floor ]] &&
    probe=(LD_PRELOAD="$BENCH_PROBE" ZDZ_PROBE_LOG="$BENCH_WORK/$1.captions")
  env "${probe[@]}" "${cmd[@]}" </dev/null >"$BENCH_WORK/$1.out" 2>&1 &
  pid[$1]=$!
}

stop_all() {
  local k
  for k in "${!pid[@]}"; do zdz_stop_pid "${pid[$k]}"; done
  pid=()
}

# bench_sample PID: "TICKS NS SWITCHES" of the process now. TICKS is user plus system time in
# clock ticks; NS the time on a CPU summed over its threads, the same without the 10 ms ticks
# that make a quiet program's minute read 0, 10 or 20 ms; SWITCHES its threads' voluntary and
# involuntary context switches.
bench_sample() {
  local ticks ns switches
  ticks=$(sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }')
  ns=$(cat "/proc/$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f", s }')
  switches=$(cat "/proc/$1"/task/*/status 2>/dev/null |
    awk '/ctxt_switches/ { s += $2 } END { print s }')
  echo "$ticks $ns $switches"
}

# bench_per_minute SECONDS BEFORE AFTER: "EXACT_MS_PER_MIN SWITCHES_PER_S TICKS_MS_PER_MIN"
# between two bench_sample lines taken SECONDS apart.
bench_per_minute() {
  awk -v s="$1" -v t="$(getconf CLK_TCK)" -v a="$2" -v b="$3" 'BEGIN {
    split(a, x, " "); split(b, y, " ")
    printf "%.1f %.1f %.0f\n", (y[2] - x[2]) / 1e6 * 60 / s, (y[3] - x[3]) / s,
      (y[1] - x[1]) * 1000 / t * 60 / s }'
}

# "RSS PSS" in kB.
memory() { awk '/^Rss:/ { r = $2 } /^Pss:/ { p = $2 } END { print r, p }' "/proc/$1/smaps_rollup"; }

mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 > 0) printf "%.2f", a / b; else print "-" }'; }

# median [DECIMALS]: of the numbers on stdin, one a line; "-" when there are none.
median() {
  grep . | sort -g | awk -v f="%.${1:-0}f" '{ v[NR] = $1 } END {
    if (!NR) { print "-"; exit }
    printf f, NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# lateness FILE: "COUNT MEDIAN WORST BEST" in ms over the probe's lines, leaving out the first
# caption (written at start, at any moment). Seconds are compared modulo a minute, so the time
# zone does not matter.
lateness() {
  local late
  late=$(tail -n +2 "$1" | lateness_lines | sort -g)
  [[ -n $late ]] || { echo "0 - - -"; return; }
  echo "$(wc -l <<<"$late") $(median 1 <<<"$late") $(tail -n1 <<<"$late") $(head -n1 <<<"$late")"
}

# The probe's lines on stdin, each as the ms between the second shown and the change.
lateness_lines() {
  awk 'match($0, /[0-9][0-9]:[0-9][0-9]:[0-9][0-9]/) {
      split($1, t, "."); shown = substr($0, RSTART + 6, 2) + 0
      d = (t[1] % 60) - shown + ("0." t[2])
      d -= 60 * int((d + 30) / 60)
      printf "%.1f\n", d * 1000
    }'
}

# chime_run N: one cuckoo chime at a faked 06:00, heard on the null sink's monitor. Prints
# "ONSET_MS CAPTION_MS STROKES GAP_MEDIAN_MS GAP_WORST_MS PERIOD_MEDIAN_MS": CAPTION_MS is when
# the tick that chimes wrote "06:00:00", so ONSET_MS - CAPTION_MS is the sound's own delay; a
# gap is one stroke's start to the next less the stroke's 200 ms.
chime_run() {
  local now hour_real fake_hour cfg rec
  now=$(date +%s)
  hour_real=$((now + 5))  # the real second at which the clock reads 06:00:00.000
  fake_hour=$((hour_real / 86400 * 86400 + 6 * 3600))
  ((fake_hour < hour_real)) && fake_hour=$((fake_hour + 86400))
  cfg=$(settings True True True True "$BENCH_WORK/stroke.wav")
  rec="$BENCH_WORK/chime-$1.sounds"
  "$BENCH_RECORDER" test_sink.monitor $((hour_real - now + 5)) >"$rec" 2>>"$BENCH_WORK/chime.err" &
  local rec_pid=$!
  sleep 0.3
  env XDG_CONFIG_HOME="$cfg" TZ=UTC LD_PRELOAD="$ZDZ_FAKETIME_LIB $BENCH_PROBE" \
    ZDZ_PROBE_LOG="$BENCH_WORK/chime-$1.captions" FAKETIME="+$((fake_hour - hour_real))" \
    "$BENCH_EXE" </dev/null >"$BENCH_WORK/chime-$1.out" 2>&1 &
  pid[chime]=$!
  wait "$rec_pid"
  zdz_stop_pid "${pid[chime]}"
  unset 'pid[chime]'
  local caption onset periods gaps worst
  caption=$(grep ' 06:00:00$' "$BENCH_WORK/chime-$1.captions" | lateness_lines | head -n1)
  onset=$(awk -v h="$hour_real" '$1 == "sound" { printf "%.1f", ($2 - h) * 1000; exit }' "$rec")
  [[ -n $onset ]] || { echo "- ${caption:--} 0 - - -"; return; }
  periods=$(awk '$1 == "mark" { if (n++) printf "%.3f\n", ($2 - last) * 1000; last = $2 }' "$rec")
  gaps=$(awk 'NF { printf "%.3f\n", $1 - 200 }' <<<"$periods")
  worst=$(sort -g <<<"$gaps" | awk 'NF { w = sprintf("%.1f", $1) } END { print w == "" ? "-" : w }')
  echo "$onset ${caption:--} $(grep -c '^mark' "$rec") $(median 1 <<<"$gaps") $worst" \
    "$(median 1 <<<"$periods")"
}
