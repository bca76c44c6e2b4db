#!/usr/bin/env bash
# Without a notification area the clock must stay reachable: it shows its window instead of
# hiding behind an icon that nobody can see.
#   no-tray.sh PATH/TO/zoduzazu PATH/TO/short-stroke.wav
#   (inside ZDZ_SESSION_SKIP=tray headless-session.sh)
# shellcheck disable=SC2317  # functions called through zdz_check and zdz_wait
source "$(dirname "$0")/lib.sh"
zdz_init "$@"

zdz_require "the session has no tray host" zdz_not zdz_tray_panel

cfg=$(zdz_new_config)
zdz_write_settings "$cfg" 0=True 1=False 2=False 3=False "WAVE=$ZDZ_CHIME_WAV" 'WAVEName=" Ruvazu.wav"'
zdz_start "$cfg"

zdz_log "# start-up choice: the tray"
zdz_require "the main window is shown instead" zdz_wait 15 zdz_main_visible
w=$(zdz_main_window)
sleep 1
zdz_check "and stays shown" zdz_viewable "$w"

zdz_log "# Ctrl+T (into the tray)"
zdz_focus "$w"
xdotool key ctrl+t
sleep 1.5
zdz_check "the window stays shown" zdz_viewable "$w"
zdz_check "the program still runs" zdz_running
zdz_check "the settings are untouched (1=False)" zdz_expect_setting 1 False

zdz_finish
