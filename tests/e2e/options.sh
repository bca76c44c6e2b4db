#!/usr/bin/env bash
# The options dialog driven by mouse and keyboard: OK saves and applies, Esc undoes.
#   options.sh PATH/TO/zoduzazu PATH/TO/short-stroke.wav   (inside headless-session.sh)
# shellcheck disable=SC2317  # functions called through zdz_check and zdz_wait
source "$(dirname "$0")/lib.sh"
zdz_init "$@"

TITLE='各種設定'

cfg=$(zdz_config False True False False)
zdz_start "$cfg"
zdz_require "the clock window appears" zdz_wait 30 zdz_main_visible
w=$(zdz_main_window)
width_is() { [[ $(zdz_outer_size "$w" | cut -d' ' -f1) == "$1" ]]; }
zdz_require "12-hour width 319" zdz_wait 30 width_is 319

# open_options WHAT: Ctrl+O, required to open the dialog; sets $dialog, so it must not run
# inside zdz_check's subshell.
open_options() {
  dialog=""
  zdz_focus "$w"
  xdotool key ctrl+o
  zdz_wait 30 zdz_window_named "$TITLE" && dialog=$(zdz_window_named "$TITLE")
  zdz_require "$1" test -n "$dialog"
  sleep 0.3
}
dialog_gone() { zdz_not zdz_window_named "$TITLE"; }
click() { zdz_click_control "$dialog" fomOPTION "$1"; }

zdz_log "# Ctrl+O"
open_options "opens \"$TITLE\""
read -r dw dh < <(zdz_client_size "$dialog")
zdz_check "its client area is 307x235 (${dw}x${dh})" test "$dw" -eq 307 -a "$dh" -eq 235
centred() {
  local x y
  read -r x y < <(zdz_client_pos "$dialog")
  echo "  client at $x,$y"
  zdz_near $((x + dw / 2)) 512 24 && zdz_near $((y + dh / 2)) 384 24
}
zdz_check "it is centred on the screen" centred
zdz_check "it cannot be maximised" \
  zdz_not zdz_has "$(xprop -id "$dialog" _NET_WM_ALLOWED_ACTIONS)" MAXIMIZE

zdz_log "# 24-hour, then Esc"
before=$(md5sum <"$(zdz_settings_file)")
click opt24
xdotool key Escape
zdz_check "Esc closes the dialog" zdz_wait 30 dialog_gone
zdz_check "the settings file is unchanged" test "$(md5sum <"$(zdz_settings_file)")" = "$before"
zdz_log "# 24-hour, then OK"
open_options "the clock window takes Ctrl+O again"
click opt24
click btnOKCAN_0
zdz_check "OK closes the dialog" zdz_wait 30 dialog_gone
zdz_check "0=True is saved" zdz_wait 30 zdz_expect_setting 0 True
zdz_check "with all six keys" zdz_expect_six_keys
zdz_check "the clock is 224 wide" zdz_wait 30 width_is 224
zdz_check "and still shown" zdz_viewable "$w"

zdz_log "# start in the tray, then OK"
open_options "the dialog opens again"
click optT
sleep 0.3
zdz_check "choosing it alone changes nothing yet" zdz_viewable "$w"
click btnOKCAN_0
zdz_check "OK closes the dialog" zdz_wait 30 dialog_gone
zdz_check "the clock goes into the tray" zdz_wait 30 zdz_hidden "$w"
zdz_check "its icon is there" zdz_wait 30 zdz_tray_icon
zdz_check "1=False is saved" zdz_expect_setting 1 False
zdz_check "0=True stays" zdz_expect_setting 0 True

zdz_finish
