# Helpers shared by the end-to-end scripts (and the benchmarks). Source it, then call
# zdz_init "$@".
#
# The scripts run inside tests/tools/headless-session.sh, which provides DISPLAY, a window
# manager, a tray host, and a PulseAudio null sink "test_sink". They observe the real program
# from outside only: X properties, screenshots, the settings file and recorded sound.
# shellcheck shell=bash disable=SC2034  # the variables are for the scripts that source this

set -uo pipefail

ZDZ_E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ZDZ_FAKETIME_LIB=/usr/lib/$(gcc -print-multiarch 2>/dev/null || dpkg-architecture -qDEB_HOST_MULTIARCH)/faketime/libfaketime.so.1

# zdz_check, zdz_require, zdz_finish, zdz_wait, zdz_not, zdz_stop_pid and ZDZ_PIDS (every
# process started here; all are ended on exit).
# shellcheck source=../tools/lib-check.sh
source "$ZDZ_E2E_DIR/../tools/lib-check.sh"

ZDZ_PID=""         # the program started last
ZDZ_OUT=""         # its stderr
ZDZ_CFG=""         # its XDG_CONFIG_HOME

# ---- reporting ----

# Called by zdz_check after a failure.
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
  trap zdz_stop_all EXIT
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

# zdz_wait_exit SECONDS: waits for the program to end; sets ZDZ_STATUS.
zdz_wait_exit() {
  zdz_wait "$1" zdz_not zdz_running || return 1
  wait "$ZDZ_PID"
  ZDZ_STATUS=$?
}

# The sections below, one file each.
# shellcheck source=/dev/null
for zdz_part in settings windows sound pictures; do source "$ZDZ_E2E_DIR/lib-$zdz_part.sh"; done
unset zdz_part
