#!/usr/bin/env bash
# The tray host comes and goes: a panel that crashes must give back the clock hidden in it, and
# a panel that starts after the clock must receive it, as the user asked at start-up; until
# then the clock stays a window.
#   tray-host.sh PATH/TO/zoduzazu PATH/TO/short-stroke.wav   (inside headless-session.sh)
# shellcheck disable=SC2317  # functions called through zdz_check and zdz_wait
source "$(dirname "$0")/lib.sh"
zdz_init "$@"

zdz_require "the session has a tray host (trayer's panel)" zdz_tray_panel

cfg=$(zdz_config True False False False)

kill_tray() {
  local pid
  pid=$(zdz_tray_pid) || return 1
  kill "$pid" && zdz_wait 30 zdz_not zdz_tray_panel
}

back_in_tray() {
  zdz_check "the window hides again" zdz_wait 30 zdz_hidden "$w"
  zdz_check "the icon is embedded in the new panel" zdz_wait 30 zdz_tray_icon
  zdz_check "and a left click on it opens the pop-up menu" zdz_icon_menu
  xdotool key Escape
}

zdz_log "# the panel goes away while the clock is in it"
zdz_start "$cfg"
zdz_require "the icon is embedded" zdz_wait 30 zdz_tray_icon
w=$(zdz_main_window)
zdz_require "trayer is ended" kill_tray
zdz_check "the main window shows" zdz_wait 30 zdz_main_visible

zdz_log "# a panel starts again"
zdz_start_tray
back_in_tray
zdz_stop

zdz_log "# the clock starts into the tray before any panel"
zdz_require "trayer is ended" kill_tray
zdz_start "$cfg"
zdz_require "the main window is shown meanwhile" zdz_wait 30 zdz_main_visible
w=$(zdz_main_window)
zdz_focus "$w"
xdotool key ctrl+t
sleep 2
zdz_check "and Ctrl+T, with no panel to go to, leaves it shown" zdz_viewable "$w"
zdz_log "# a panel starts 3 s later"
zdz_start_tray
back_in_tray
zdz_check "the settings are untouched (0=True)" zdz_expect_setting 0 True

zdz_finish
