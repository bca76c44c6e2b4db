#!/usr/bin/env bash
# Start-up as a user meets it: no display, the first run, settings that cannot be stored.
#   startup.sh PATH/TO/zoduzazu PATH/TO/short-stroke.wav   (inside headless-session.sh)
# shellcheck disable=SC2317  # functions called through zdz_check and zdz_wait
source "$(dirname "$0")/lib.sh"
zdz_init "$@"

# one_line FILE [STRING...]: FILE has exactly one line, and it holds every STRING.
one_line() { [[ $(grep -c . "$1") -eq 1 ]] && zdz_has "$(cat "$1")" "${@:2}"; }

answer() {  # answer ARG...: runs the program with no display; sets status, fills out.txt/err.txt
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$cfg" \
    timeout 20 "$ZDZ_EXE" "$@" </dev/null >"$ZDZ_WORK/out.txt" 2>"$ZDZ_WORK/err.txt"
  status=$?
}

zdz_log "# without a display"
cfg=$(zdz_new_config)
t0=$(date +%s%N)
answer
ms=$((($(date +%s%N) - t0) / 1000000))
zdz_check "exits with status 1 (got $status)" test "$status" -eq 1
zdz_check "says why in exactly one line on stderr: $(head -c 200 "$ZDZ_WORK/err.txt")" \
  one_line "$ZDZ_WORK/err.txt"
zdz_check "gives up quickly (${ms} ms)" test "$ms" -lt 5000

zdz_log "# --version and --help answer without a display; anything else is refused"
cfg=$(zdz_new_config)
answer --version
zdz_check "--version exits 0 (got $status)" test "$status" -eq 0
zdz_check "and prints the version on stdout: $(head -c 100 "$ZDZ_WORK/out.txt")" \
  grep -qxE 'zoduzazu [0-9]+\.[0-9]+\.[0-9]+' "$ZDZ_WORK/out.txt"
answer --help
zdz_check "--help exits 0 (got $status)" test "$status" -eq 0
zdz_check "and names both options on stdout" zdz_has "$(cat "$ZDZ_WORK/out.txt")" --version --help
zdz_check "and nothing on stderr" test ! -s "$ZDZ_WORK/err.txt"
answer --bogus
zdz_check "an unknown option exits 2 (got $status)" test "$status" -eq 2
zdz_check "with one line naming it on stderr" one_line "$ZDZ_WORK/err.txt" "--bogus"
zdz_check "and nothing stored" test -z "$(ls -A "$cfg")"

zdz_log "# first run"
zdz_start "$(zdz_new_config)"
zdz_require "the tray icon appears" zdz_wait 30 zdz_tray_icon
zdz_check "writes the six default settings" zdz_expect_six_keys
for k in 0 1 2 3; do zdz_check "default $k=False" zdz_expect_setting "$k" False; done
zdz_check "default WAVE is the chime beside the program" zdz_expect_setting WAVE "$ZDZ_CHIME_WAV"
zdz_check "default WAVEName is \" Ruvazu.wav\"" zdz_expect_setting WAVEName " Ruvazu.wav"
# Starting into the tray means the window is never shown, not shown and hidden again.
hidden_for_a_while() {
  local w
  w=$(zdz_main_window) || { echo "  no main window found"; return 1; }
  for _ in $(seq 10); do
    zdz_hidden "$w" || return 1
    sleep 0.1
  done
}
zdz_check "the main window stays hidden" hidden_for_a_while
zdz_stop

# The repair rule and a refused write are startup_test's, a full disk and a settings file that
# cannot be used ini_settings_store_test's: here the refusal the user sees.
zdz_log "# a configuration folder that cannot be created"
blocker="$ZDZ_WORK/plain-file"
: >"$blocker"
# shellcheck disable=SC2034  # lib.sh reads it: no settings file to show on failure
ZDZ_CFG=""
zdz_start "$blocker/config"
ZDZ_STATUS=""
zdz_wait_exit 15
zdz_require "the program ends by itself" test -n "$ZDZ_STATUS"
zdz_check "with status 1 (got $ZDZ_STATUS)" test "$ZDZ_STATUS" -eq 1
zdz_check "and one stderr line naming the file and why: $(head -c 300 "$ZDZ_OUT")" \
  one_line "$ZDZ_OUT" "$blocker/config/Zazedor/Zazedor.conf" "Not a directory"

zdz_log "# SIGINT and SIGHUP end the program cleanly"
for sig in INT HUP; do
  cfg=$(zdz_new_config)
  zdz_start "$cfg"
  zdz_require "the tray icon appears" zdz_wait 30 zdz_tray_icon
  before=$(cat "$(zdz_settings_file "$cfg")")
  kill -"$sig" "$ZDZ_PID"
  ZDZ_STATUS=""
  zdz_wait_exit 30
  zdz_check "SIG$sig: exits with status 0 (got ${ZDZ_STATUS:-none})" test "${ZDZ_STATUS:-x}" = 0
  zdz_check "SIG$sig: the icon is gone" zdz_wait 30 zdz_not zdz_tray_icon
  zdz_check "SIG$sig: the settings are as they were" \
    test "$(cat "$(zdz_settings_file "$cfg")")" = "$before"
done

zdz_log "# the display goes away under the running clock"
second=$((200 + RANDOM % 300))
while [[ -e /tmp/.X11-unix/X$second ]]; do second=$((second + 1)); done
Xvfb ":$second" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
ZDZ_PIDS+=("$xvfb")
zdz_require "a second display starts" zdz_wait 30 xdpyinfo -display ":$second"
cfg=$(zdz_new_config)
zdz_start "$cfg" DISPLAY=":$second"
zdz_require "the clock window appears on it" \
  zdz_wait 30 env DISPLAY=":$second" xdotool search --name '^Zoduzazu$'
kill "$xvfb"
ZDZ_STATUS=""
# A program that went on without its display would never end.
zdz_wait_exit 30
zdz_check "exits with status 1 (got ${ZDZ_STATUS:-none})" test "${ZDZ_STATUS:-x}" = 1
zdz_check "saying so: $(head -c 200 "$ZDZ_OUT")" grep -q 'X11 connection broke' "$ZDZ_OUT"

zdz_finish
