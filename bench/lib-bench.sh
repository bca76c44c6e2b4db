# Helpers for bench/run.sh: starting the programs compared, and reading their costs.
# shellcheck shell=bash

declare -A pid

# bench_init BUILD_DIR: inside the headless session; sets the paths and the work folder.
bench_init() {
  local build=$1
  BENCH_EXE="$build/zoduzazu"
  BENCH_FLOOR="$build/bench/zdz_floor_qt"
  BENCH_PROBE="$build/bench/libzdz_caption_probe.so"
  BENCH_WATCH="$build/bench/zdz_window_watch"
  BENCH_RECORDER="$build/bench/zdz_sink_recorder"
  BENCH_FAKETIME=/usr/lib/$(gcc -print-multiarch)/faketime/libfaketime.so.1
  BENCH_WORK="$ZDZ_SESSION_DIR/bench"
  mkdir -p "$BENCH_WORK"
  trap stop_all EXIT
  # A tone with no silence of its own, so every gap heard is the program's, and a loud first
  # 10 ms, so each stroke's start shows also when strokes follow without a gap.
  sox -n -r 44100 -c 1 -b 16 "$BENCH_WORK/mark.wav" synth 0.01 sine 1000 vol 0.9
  sox -n -r 44100 -c 1 -b 16 "$BENCH_WORK/tone.wav" synth 0.19 sine 1000 vol 0.3
  sox "$BENCH_WORK/mark.wav" "$BENCH_WORK/tone.wav" "$BENCH_WORK/stroke.wav"
}

cpu_model() { lscpu | sed -n 's/^Model name:[[:space:]]*//p' | head -n1; }

# settings FLAG0 FLAG1 FLAG2 FLAG3 [WAVE]: a fresh configuration folder holding them; prints it.
settings() {
  local dir
  dir=$(mktemp -d "$BENCH_WORK/config.XXXXXX")
  mkdir -p "$dir/Zazedor"
  printf '[Zazedor]\n0=%s\n1=%s\n2=%s\n3=%s\nWAVE=%s\nWAVEName=" %s"\n' "$1" "$2" "$3" "$4" \
    "${5:-$(dirname "$BENCH_EXE")/Ruvazu.wav}" "$(basename "${5:-Ruvazu.wav}")" \
    >"$dir/Zazedor/Zazedor.conf"
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

# shellcheck source=../tests/tools/stop-pid.sh
source "$(dirname "${BASH_SOURCE[0]}")/../tests/tools/stop-pid.sh"

stop_all() {
  local k
  for k in "${!pid[@]}"; do zdz_stop_pid "${pid[$k]}"; done
  pid=()
}

# User plus system time of the whole process, in clock ticks.
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }

# Time on a CPU in ns, summed over the process's threads: the same as user plus system time,
# without the 10 ms ticks that make a quiet program's minute read 0, 10 or 20 ms.
cpu_ns() { cat "/proc/$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f", s }'; }

# Voluntary and involuntary context switches, summed over the process's threads.
switches() { cat "/proc/$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ { s += $2 } END { print s }'; }

# "RSS PSS" in kB.
memory() { awk '/^Rss:/ { r = $2 } /^Pss:/ { p = $2 } END { print r, p }' "/proc/$1/smaps_rollup"; }

mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 > 0) printf "%.2f", a / b; else print "-" }'; }

# median [DECIMALS]: of the numbers on stdin.
median() {
  sort -g | awk -v f="%.${1:-0}f" '{ v[NR] = $1 } END {
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
  env XDG_CONFIG_HOME="$cfg" TZ=UTC LD_PRELOAD="$BENCH_FAKETIME $BENCH_PROBE" \
    ZDZ_PROBE_LOG="$BENCH_WORK/chime-$1.captions" FAKETIME="+$((fake_hour - hour_real))" \
    "$BENCH_EXE" </dev/null >"$BENCH_WORK/chime-$1.out" 2>&1 &
  pid[chime]=$!
  wait "$rec_pid"
  zdz_stop_pid "${pid[chime]}"
  unset 'pid[chime]'
  local caption
  caption=$(grep ' 06:00:00$' "$BENCH_WORK/chime-$1.captions" | lateness_lines | head -n1)
  awk -v h="$hour_real" -v c="${caption:--}" '
    $1 == "sound" && !onset { onset = $2 }
    $1 == "mark" { n++; m[n] = $2 }
    function med(a, c,   i, j, t) {
      for (i = 1; i <= c; i++) for (j = i + 1; j <= c; j++) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
      return c % 2 ? a[(c + 1) / 2] : (a[c / 2] + a[c / 2 + 1]) / 2
    }
    END {
      if (!onset) { print "- " c " 0 - - -"; exit }
      gm = "-"; gw = "-"; pm = "-"
      if (n > 1) {
        for (i = 2; i <= n; i++) { p[i - 1] = (m[i] - m[i - 1]) * 1000; g[i - 1] = p[i - 1] - 200 }
        worst = g[1]; for (i = 2; i < n; i++) if (g[i] > worst) worst = g[i]
        gm = sprintf("%.1f", med(g, n - 1)); gw = sprintf("%.1f", worst); pm = sprintf("%.1f", med(p, n - 1))
      }
      printf "%.1f %s %d %s %s %s\n", (onset - h) * 1000, c, n, gm, gw, pm
    }' "$rec"
}
