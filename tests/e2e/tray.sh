#!/usr/bin/env bash
# The notification-area icon: embedding, its three pop-up menus, and coming out of the tray.
#   tray.sh PATH/TO/zoduzazu PATH/TO/short-stroke.wav   (inside headless-session.sh)
# shellcheck disable=SC2317  # functions called through zdz_check and zdz_wait
source "$(dirname "$0")/lib.sh"
zdz_init "$@"

zdz_require "the session has a tray host (trayer's panel)" zdz_tray_panel

cfg=$(zdz_config True False False False)
zdz_start "$cfg"

zdz_log "# starting into the tray"
zdz_require "the icon is embedded below trayer's panel" zdz_wait 30 zdz_tray_icon
icon=$(zdz_tray_icon)
read -r iw ih < <(zdz_client_size "$icon")
zdz_check "the icon is a small window (${iw}x${ih})" test "$iw" -ge 16 -a "$iw" -le 40 -a "$ih" -ge 16 -a "$ih" -le 40
zdz_check "the main window is not shown" zdz_not zdz_main_visible

popup_height() { zdz_popups | awk 'NR == 1 { print $2 }'; }

zdz_log "# left click"
zdz_require "opens one pop-up menu" zdz_icon_menu
file_h=$(popup_height)
zdz_log "  pop-up height $file_h"
xdotool key Escape
zdz_check "Esc closes it" zdz_wait 30 zdz_no_popup

zdz_log "# double click: the version menu"
others() { xdotool search --onlyvisible --pid "$ZDZ_PID" --classname '^zoduzazu$' | sort; }
before=$(others)
zdz_require "opens one pop-up menu" zdz_icon_menu --repeat 2 --delay 80 1
# The first click of the pair must not open a menu of its own once the interval has passed.
sleep 0.8
zdz_check "and only one, also after the double-click interval ($(zdz_popup_count))" zdz_one_popup
ver_h=$(popup_height)
zdz_check "a shorter one, with a single item ($ver_h < $file_h)" test "${ver_h:-999}" -lt "$file_h"
xdotool key v
new_window() { comm -13 <(echo "$before") <(others) | while read -r w; do zdz_override_redirect "$w" || echo "$w"; done | grep -q .; }
zdz_check "whose V opens a new window" zdz_wait 30 new_window
zdz_check "none of this showed the main window" zdz_not zdz_main_visible

zdz_log "# left click, then T (out of the tray)"
sleep 0.5
zdz_require "opens the pop-up menu" zdz_icon_menu
xdotool key t
zdz_check "the main window comes up" zdz_wait 30 zdz_main_visible
zdz_check "the pop-up has closed" zdz_wait 30 zdz_no_popup
zdz_check "the icon stays in the tray" zdz_tray_icon

zdz_log "# Ctrl+T puts it back"
w=$(zdz_main_window)
zdz_focus "$w"
xdotool key ctrl+t
zdz_check "the main window hides" zdz_wait 30 zdz_hidden "$w"
zdz_check "one icon remains" test "$(xwininfo -id "$(zdz_tray_panel)" -tree | grep -c '("zoduzazu" "Zoduzazu")')" -eq 1

zdz_log "# right click: the settings menu"
zdz_require "opens one pop-up menu" zdz_icon_menu 3
set_h=$(popup_height)
zdz_check "of two items and a separator, as tall as the left click's ($set_h ~ $file_h)" \
  zdz_near "${set_h:-0}" "$file_h" 2
xdotool key o
zdz_check "whose O opens the options" zdz_wait 30 zdz_window_named '各種設定'

zdz_finish
