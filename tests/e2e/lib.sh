# Helpers shared by the end-to-end scripts. Source it, then call zdz_init "$@".
#
# The scripts run inside tests/tools/headless-session.sh, which provides DISPLAY, a window
# manager, a tray host, and a PulseAudio null sink "test_sink". They observe the real program
# from outside only: X properties, screenshots, the settings file and recorded sound.
# shellcheck shell=bash disable=SC2034  # the variables are for the scripts that source this

set -uo pipefail

ZDZ_E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ZDZ_SESSION_SCRIPT="$ZDZ_E2E_DIR/../tools/headless-session.sh"
ZDZ_FAKETIME_LIB=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1

ZDZ_PIDS=()        # every process started here; all are ended on exit
ZDZ_FAILED=0
ZDZ_PID=""         # the program started last
ZDZ_OUT=""         # its stderr
ZDZ_CFG=""         # its XDG_CONFIG_HOME

# ---- reporting ----

zdz_log() { printf '%s\n' "$*"; }

zdz_diagnostics() {
  echo "--- diagnostics"
  if [[ -n ${DISPLAY:-} ]]; then
    echo "--- window tree"
    xwininfo -root -tree 2>&1 | grep -v '(has no name): ()  1x1' | head -n 60
  fi
  if [[ -n $ZDZ_OUT && -s $ZDZ_OUT ]]; then
    echo "--- program stderr ($ZDZ_OUT)"
    tail -n 30 "$ZDZ_OUT"
  fi
  if [[ -n $ZDZ_CFG && -f $ZDZ_CFG/Zazedor/Zazedor.conf ]]; then
    echo "--- settings file"
    cat -A "$ZDZ_CFG/Zazedor/Zazedor.conf" | head -n 20
  fi
  if [[ -n $ZDZ_PID ]] && ! kill -0 "$ZDZ_PID" 2>/dev/null; then
    echo "--- the program (pid $ZDZ_PID) is not running"
  fi
  echo "---"
}

# One check: zdz_check "what is checked" COMMAND...; a failure is counted, the script goes on.
# COMMAND runs in a subshell (its output is shown only when it fails): it cannot set variables
# or leave processes behind.
zdz_check() {
  local what=$1
  shift
  local said
  if said=$("$@" 2>&1); then
    zdz_log "ok   - $what"
    return 0
  fi
  zdz_log "FAIL - $what"
  [[ -n $said ]] && printf '%s\n' "$said"
  ZDZ_FAILED=$((ZDZ_FAILED + 1))
  zdz_diagnostics
  return 1
}

# A check the rest of the script depends on: on failure, stop here.
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

# ---- set-up and clean-up ----

# zdz_init EXE SHORT_STROKE_WAV
zdz_init() {
  if (($# < 2)); then
    echo "usage: $0 PATH/TO/zoduzazu PATH/TO/short-stroke.wav" >&2
    exit 2
  fi
  ZDZ_EXE=$(realpath "$1")
  ZDZ_STROKE_WAV=$(realpath "$2")
  ZDZ_BUILD_DIR=$(dirname "$ZDZ_EXE")
  ZDZ_CHIME_WAV="$ZDZ_BUILD_DIR/Ruvazu.wav"
  ZDZ_ARTIFACTS=${ZDZ_E2E_ARTIFACTS:-/tmp}
  if [[ -z ${ZDZ_SESSION_DIR:-} || -z ${DISPLAY:-} ]]; then
    echo "$0: run me through tests/tools/headless-session.sh" >&2
    exit 2
  fi
  [[ -x $ZDZ_EXE ]] || { echo "$0: no program at $ZDZ_EXE" >&2; exit 2; }
  ZDZ_WORK="$ZDZ_SESSION_DIR/e2e-$(basename "$0" .sh)"
  mkdir -p "$ZDZ_WORK"
  trap zdz_cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  zdz_ensure_wm
}

zdz_wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# Xvfb resets itself whenever its last client disconnects, and a window manager that connects
# during the reset fails to start; the session cannot always tell. Frames, extents and focus
# are part of what is tested here, so start one if it is missing.
zdz_ensure_wm() {
  local skip=${ZDZ_SESSION_SKIP:-}
  [[ " ${skip//,/ } " == *" wm "* ]] && return 0
  zdz_wm_running && return 0
  local attempt
  for attempt in 1 2 3; do
    zdz_log "# note: no window manager in the session; starting openbox (attempt $attempt)"
    openbox </dev/null >"$ZDZ_WORK/openbox-$attempt.log" 2>&1 &
    ZDZ_PIDS+=("$!")
    zdz_wait 10 zdz_wm_running && return 0
  done
  echo "$0: no window manager could be started" >&2
  exit 1
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

zdz_cleanup() {
  local i
  for ((i = ${#ZDZ_PIDS[@]} - 1; i >= 0; i--)); do zdz_stop_pid "${ZDZ_PIDS[i]}"; done
  ZDZ_PIDS=()
}

# A fresh, empty configuration folder; prints its path.
zdz_new_config() {
  mktemp -d "$ZDZ_WORK/config.XXXXXX"
}

# zdz_write_settings CONFIG_DIR "0=True" "1=True" ... : writes these lines under [Zazedor].
zdz_write_settings() {
  local dir=$1
  shift
  mkdir -p "$dir/Zazedor"
  { echo "[Zazedor]"; printf '%s\n' "$@"; } >"$dir/Zazedor/Zazedor.conf"
}

zdz_settings_file() { printf '%s\n' "${1:-$ZDZ_CFG}/Zazedor/Zazedor.conf"; }

# zdz_setting KEY [CONFIG_DIR]: the value under [Zazedor], outer quotes removed; status 1 when
# the key is missing.
zdz_setting() {
  local file
  file=$(zdz_settings_file "${2:-}")
  [[ -f $file ]] || return 1
  awk -v key="$1" '
    /^[ \t]*\[/ { inside = ($0 ~ /^[ \t]*\[Zazedor\][ \t]*$/); next }
    inside {
      eq = index($0, "="); if (!eq) next
      k = substr($0, 1, eq - 1); gsub(/^[ \t]+|[ \t]+$/, "", k)
      if (k != key) next
      v = substr($0, eq + 1); gsub(/^[ \t]+|[ \t]+$/, "", v)
      if (v ~ /^".*"$/) v = substr(v, 2, length(v) - 2)
      if (!found) print v
      found = 1
    }
    END { exit !found }' "$file"
}

# The keys under [Zazedor], one a line, in file order.
zdz_setting_keys() {
  awk '
    /^[ \t]*\[/ { inside = ($0 ~ /^[ \t]*\[Zazedor\][ \t]*$/); next }
    inside && index($0, "=") { k = substr($0, 1, index($0, "=") - 1); gsub(/^[ \t]+|[ \t]+$/, "", k); print k }
  ' "$(zdz_settings_file "${1:-}")"
}

# zdz_expect_setting KEY VALUE [CONFIG_DIR]: for use with zdz_check; says what it found.
zdz_expect_setting() {
  local got
  got=$(zdz_setting "$1" "${3:-}") || { echo "  key $1 is missing"; return 1; }
  [[ $got == "$2" ]] && return 0
  echo "  key $1 is \"$got\", expected \"$2\""
  return 1
}

# zdz_expect_six_keys [CONFIG_DIR]: exactly the keys 0 1 2 3 WAVE WAVEName, once each.
zdz_expect_six_keys() {
  local keys
  keys=$(zdz_setting_keys "${1:-}" | sort | tr '\n' ' ')
  [[ $keys == "0 1 2 3 WAVE WAVEName " ]] && return 0
  echo "  keys found: $keys"
  return 1
}

# zdz_start CONFIG_DIR [VAR=VALUE...]: starts the program with that configuration folder and
# extra environment; sets ZDZ_PID, ZDZ_CFG and ZDZ_OUT (its stderr).
zdz_start() {
  ZDZ_CFG=$1
  shift
  ZDZ_OUT=$(mktemp "$ZDZ_WORK/stderr.XXXXXX")
  env "$@" XDG_CONFIG_HOME="$ZDZ_CFG" "$ZDZ_EXE" </dev/null >"$ZDZ_OUT" 2>&1 &
  ZDZ_PID=$!
  ZDZ_PIDS+=("$ZDZ_PID")
}

zdz_stop() {
  [[ -n $ZDZ_PID ]] && zdz_stop_pid "$ZDZ_PID"
}

zdz_running() { kill -0 "$ZDZ_PID" 2>/dev/null; }

# zdz_wait SECONDS COMMAND...: polls COMMAND every 0.1 s until it succeeds or time is up.
zdz_wait() {
  local deadline=$((${1%.*} * 10)) i
  shift
  for ((i = 0; i <= deadline; i++)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# zdz_wait_exit SECONDS: waits for the program to end; sets ZDZ_STATUS.
zdz_wait_exit() {
  local deadline=$((${1%.*} * 10)) i
  for ((i = 0; i <= deadline; i++)); do
    if ! zdz_running; then
      wait "$ZDZ_PID"
      ZDZ_STATUS=$?
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# ---- windows ----

# An empty window id makes xwininfo hang up the X server: refuse it here.
zdz_id() { [[ -n ${1:-} ]] || { echo "  (no window)" >&2; return 1; }; }

zdz_viewable() { zdz_id "${1:-}" && xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
zdz_hidden() { zdz_id "${1:-}" && ! zdz_viewable "$1"; }
zdz_override_redirect() { zdz_id "${1:-}" && xwininfo -id "$1" 2>/dev/null | grep -q 'Override Redirect State: yes'; }
zdz_parent() { zdz_id "${1:-}" && xwininfo -id "$1" -children 2>/dev/null | awk '/Parent window id:/ { print $4 }'; }
zdz_root() { xwininfo -root 2>/dev/null | awk '/Window id:/ && !n++ { print $4 }'; }

# Client size "W H" (xwininfo reports the client area).
zdz_client_size() {
  zdz_id "${1:-}" && xwininfo -id "$1" | awk '/^  Width:/ { w = $2 } /^  Height:/ { h = $2 } END { print w, h }'
}
# Absolute position of the client area "X Y".
zdz_client_pos() {
  zdz_id "${1:-}" && xwininfo -id "$1" | awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 } END { print x, y }'
}

# _NET_FRAME_EXTENTS of a managed client: "left right top bottom".
zdz_frame_extents() {
  zdz_id "${1:-}" && xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ',' | awk 'NF == 4'
}

# The window manager's frame that holds a client (its parent), whose size is the outer size.
zdz_frame_of() { zdz_parent "$1"; }

# Outer size "W H", as the window manager's frame measures it.
zdz_outer_size() { zdz_client_size "$(zdz_frame_of "$1")"; }

# The program's main window: the managed (not override-redirect) top-level named "Zoduzazu".
# It exists from start-up on, hidden or not.
zdz_main_window() {
  local w
  for w in $(xdotool search --all --pid "$ZDZ_PID" --classname '^zoduzazu$' 2>/dev/null); do
    zdz_override_redirect "$w" && continue
    [[ $(xdotool getwindowname "$w" 2>/dev/null) == Zoduzazu ]] || continue
    printf '%s\n' "$w"
    return 0
  done
  return 1
}

zdz_main_visible() {
  local w
  w=$(zdz_main_window) && zdz_viewable "$w"
}

# A visible window of the program whose title is $1 (e.g. the options dialog).
zdz_window_named() {
  local w
  for w in $(xdotool search --all --onlyvisible --pid "$ZDZ_PID" --name "^$1\$" 2>/dev/null); do
    printf '%s\n' "$w"
    return 0
  done
  return 1
}

# trayer's "panel" window, if a tray host runs.
zdz_tray_panel() {
  xwininfo -root -tree 2>/dev/null | awk '!found && /"panel": \("panel" "trayer"\)/ { print $1; found = 1 } END { exit !found }'
}

# The program's icon window embedded somewhere below the panel.
zdz_tray_icon() {
  local panel
  panel=$(zdz_tray_panel) || return 1
  xwininfo -id "$panel" -tree 2>/dev/null |
    awk '!found && /\("zoduzazu" "Zoduzazu"\)/ { print $1; found = 1 } END { exit !found }'
}

# Visible pop-up menus of the program: override-redirect children of the root, one
# "ID HEIGHT" a line. (The tray icon is override-redirect too, but lives in the panel.)
zdz_popups() {
  local root w
  root=$(zdz_root)
  for w in $(xdotool search --onlyvisible --classname '^zoduzazu$' 2>/dev/null); do
    zdz_override_redirect "$w" || continue
    [[ $(zdz_parent "$w") == "$root" ]] || continue
    printf '%s %s\n' "$w" "$(zdz_client_size "$w" | cut -d' ' -f2)"
  done
}

zdz_popup_count() { zdz_popups | grep -c .; }
zdz_no_popup() { [[ $(zdz_popup_count) -eq 0 ]]; }
zdz_one_popup() { [[ $(zdz_popup_count) -eq 1 ]]; }

# Gives the keyboard focus to a window, so that shortcuts reach it.
zdz_focus() {
  zdz_id "${1:-}" || return 1
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1" >/dev/null 2>&1
  sleep 0.2
}

# zdz_click WINDOW X Y [BUTTON]: a click at client coordinates of WINDOW.
zdz_click() {
  zdz_id "${1:-}" || return 1
  xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}"
}

# zdz_screenshot FILE: the whole screen.
zdz_screenshot() { import -window root "$1"; }

# ---- sound ----

# zdz_record_start NAME: records the null sink's monitor as 16-bit mono 44.1 kHz raw samples
# into $ZDZ_WORK/NAME.raw; returns once samples arrive. It starts background processes: call it
# directly, not through zdz_check, and check zdz_recording afterwards. A silent stream keeps the sink
# running, so silence is recorded as silence instead of being left out.
zdz_record_start() {
  ZDZ_REC="$ZDZ_WORK/$1.raw"
  : >"$ZDZ_REC"
  pacat --playback --raw --latency-msec=20 --client-name=zdz-e2e-keeper /dev/zero &
  ZDZ_REC_KEEPER=$!
  ZDZ_PIDS+=("$ZDZ_REC_KEEPER")
  parec -d test_sink.monitor --latency-msec=20 --raw --format=s16le --rate=44100 --channels=1 \
    --client-name=zdz-e2e-recorder "$ZDZ_REC" &
  ZDZ_REC_PID=$!
  ZDZ_PIDS+=("$ZDZ_REC_PID")
  ZDZ_REC_T0=$(date +%s.%N)
  zdz_wait 5 test -s "$ZDZ_REC"
}

zdz_recording() { [[ -s $ZDZ_REC ]] && kill -0 "$ZDZ_REC_PID" 2>/dev/null; }

zdz_record_stop() {
  zdz_stop_pid "$ZDZ_REC_PID"
  zdz_stop_pid "$ZDZ_REC_KEEPER"
}

# Seconds since the recording started.
zdz_record_elapsed() { echo "$(date +%s.%N) $ZDZ_REC_T0" | awk '{ printf "%.3f\n", $1 - $2 }'; }

# Saves a recording as WAV next to the artefacts, for listening after a failure.
zdz_record_keep() {
  mkdir -p "$ZDZ_ARTIFACTS"
  sox -t raw -r 44100 -e signed -b 16 -c 1 "$1" "$ZDZ_ARTIFACTS/$(basename "$1" .raw).wav" 2>/dev/null &&
    echo "  recording kept as $ZDZ_ARTIFACTS/$(basename "$1" .raw).wav"
}

# zdz_sound_segments FILE [HIGH] [LOW]: finds the sounds in a recording from an RMS envelope
# over 10 ms windows. A sound starts when the envelope rises above HIGH and ends when it falls
# below LOW (hysteresis, so a decaying tail is not counted twice); a blip shorter than 20 ms is
# ignored. Prints one "START END" line (seconds) per sound, then "# total SECONDS".
zdz_sound_segments() {
  od -An -v -t d2 -w2 "$1" | awk -v high="${2:-0.05}" -v low="${3:-0.01}" '
    BEGIN { n = 441; on = 0 }
    {
      s += $1 * $1; c++
      if (c == n) {
        rms = sqrt(s / c) / 32768; t = w * 0.01; w++; s = 0; c = 0
        if (!on && rms > high) { on = 1; start = t }
        else if (on && rms < low) { on = 0; if (t - start >= 0.02) printf "%.2f %.2f\n", start, t }
      }
    }
    END {
      if (on) printf "%.2f %.2f\n", start, w * 0.01
      printf "# total %.2f\n", w * 0.01
    }'
}

zdz_count_sounds() { zdz_sound_segments "$@" | grep -vc '^#'; }

# ---- pictures ----

# zdz_label_box IMAGE X Y W H: finds the time label (black, with green digits) in that area of
# a screenshot. Prints "LEFT TOP WIDTH HEIGHT GREEN PURE_GREEN BLACK" relative to the area:
# the box of rows and columns that are mostly label-coloured, the number of green-ish pixels,
# of exactly (0,255,0) pixels and of black pixels inside it. Status 1 when no label is found.
zdz_label_box() {
  convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -depth 8 txt:- | awk '
    NR == 1 { next }
    {
      split($1, xy, /[,:]/); x = xy[1]; y = xy[2]
      v = $2; gsub(/[()]/, "", v); split(v, c, ",")
      r = c[1]; g = c[2]; b = c[3]
      lab = (r < 40 && b < 40)
      px[x, y] = (r == 0 && g == 255 && b == 0) ? 3 : (lab && g >= 128) ? 2 : (lab && g < 16) ? 1 : lab ? 4 : 0
      if (lab) row[y]++
      if (x > maxx) maxx = x
      if (y > maxy) maxy = y
    }
    END {
      top = -1
      for (y = 0; y <= maxy; y++) if (row[y] >= 100) { if (top < 0) top = y; bottom = y; nrows++ }
      if (top < 0) exit 1
      left = -1
      for (x = 0; x <= maxx; x++) {
        n = 0
        for (y = top; y <= bottom; y++) if (px[x, y]) n++
        if (n >= 0.6 * nrows) { if (left < 0) left = x; right = x }
      }
      if (left < 0) exit 1
      for (y = top; y <= bottom; y++) for (x = left; x <= right; x++) {
        p = px[x, y]
        if (p == 1) black++
        if (p == 2 || p == 3) green++
        if (p == 3) pure++
      }
      printf "%d %d %d %d %d %d %d\n", left, top, right - left + 1, bottom - top + 1, green, pure, black
    }'
}

# zdz_near VALUE EXPECTED TOLERANCE
zdz_near() { (($1 >= $2 - $3 && $1 <= $2 + $3)); }

# zdz_not COMMAND...: for checks that something is not so.
zdz_not() { ! "$@"; }
