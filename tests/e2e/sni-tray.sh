#!/usr/bin/env bash
# The D-Bus tray (StatusNotifierItem): the icon registers with a watcher on the session bus, the
# host's activations open the program's menus, and a watcher without a host is no tray.
#   sni-tray.sh PATH/TO/zoduzazu PATH/TO/short-stroke.wav
#   (inside ZDZ_SESSION_SKIP=tray ZDZ_SESSION_WITH=bus headless-session.sh)
# shellcheck disable=SC2317  # functions called through zdz_check and zdz_wait
source "$(dirname "$0")/lib.sh"
zdz_init "$@"

sni=$ZDZ_E2E_DIR/../tools/sni_watcher.py
if ! /usr/bin/python3 -c 'import dbus, gi' 2>/dev/null; then
  zdz_log "skip - python3-dbus and python3-gi are not installed"
  exit 0
fi
zdz_require "the session has no XEmbed host" zdz_not zdz_tray_panel
zdz_require "the session has a bus of its own" dbus-send --session --dest=org.freedesktop.DBus \
  --type=method_call / org.freedesktop.DBus.GetId

watcher=""
watcher_ready() { grep -q "^watcher .*host" "$ZDZ_WORK/watcher.log"; }
# start_watcher [--no-host]: required to come up on the bus. Not through zdz_check, which runs
# its command in a subshell: the watcher's pid is kept here.
start_watcher() {
  "$sni" serve "$@" >>"$ZDZ_WORK/watcher.log" 2>&1 &
  watcher=$!
  ZDZ_PIDS+=("$watcher")
  zdz_require "a watcher with${1:+out} a host is on the bus" zdz_wait 30 watcher_ready
}
stop_watcher() {
  zdz_stop_pid "$watcher"
  : >"$ZDZ_WORK/watcher.log"
}
registered() { [[ -n $("$sni" items 2>/dev/null) ]]; }
# A call the host makes must be answered, whatever the program does with it; only a hang takes
# longer than the bound.
call() { timeout 30 "$sni" call "$1" 500 300; }

# The icon theme as the package installs it: 16 to 256 px under the program's name.
for f in "$ZDZ_E2E_DIR"/../../resources/icon/zoduzazu-*.png; do
  size=${f##*-}
  size=${size%.png}
  mkdir -p "$ZDZ_WORK/share/icons/hicolor/${size}x$size/apps"
  cp "$f" "$ZDZ_WORK/share/icons/hicolor/${size}x$size/apps/zoduzazu.png"
done
export XDG_DATA_DIRS="$ZDZ_WORK/share:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}"

cfg=$(zdz_config True False False False)

zdz_log "# starting into the D-Bus tray"
start_watcher
zdz_start "$cfg"
zdz_require "the icon registers with it" zdz_wait 30 registered
w=$(zdz_main_window)
zdz_check "the main window is not shown" zdz_hidden "$w"
props=$("$sni" show)
printf '%s\n' "$props" | sed 's/^/  /'
zdz_check "its title is Zoduzazu" grep -qx "Title: 'Zoduzazu'" <<<"$props"
zdz_check "its tip is Zoduzazu" grep -q "^ToolTip: title='Zoduzazu'" <<<"$props"
# Every size installed that Qt passes over D-Bus (it leaves out those above 64 px).
sizes=$(sed -n 's/^IconPixmap: //p' <<<"$props" | grep -o '[0-9]*x[0-9]*' | tr '\n' ' ')
all_sizes() { for s in 16x16 24x24 32x32 48x48 64x64; do [[ " $sizes" == *" $s "* ]] || return 1; done; }
zdz_check "its pictures come at 16, 24, 32, 48 and 64 px ($sizes)" all_sizes
# Larger ones come from the theme, under the name the item gives.
themed=$(sed -n 's/^IconTheme: //p' <<<"$props")
zdz_check "its name finds 16 to 256 px in the theme ($themed)" zdz_has " $themed " " 16x16 " \
  " 24x24 " " 32x32 " " 48x48 " " 64x64 " " 256x256 "

zdz_log "# Activate (a left click): the file menu"
zdz_check "is answered" call Activate
zdz_require "opens one pop-up menu" zdz_wait 30 zdz_one_popup
xdotool key t
zdz_check "whose T brings out the main window" zdz_wait 30 zdz_main_visible
zdz_focus "$w"
xdotool key ctrl+t
zdz_check "Ctrl+T puts it back" zdz_wait 30 zdz_hidden "$w"
# Let the window manager finish moving the focus away, or it may close the next pop-up.
sleep 0.5

zdz_log "# ContextMenu (a right click): the settings menu"
zdz_check "is answered while the menu is open" call ContextMenu
zdz_require "opens one pop-up menu" zdz_wait 30 zdz_one_popup
xdotool key o
zdz_check "whose O opens the options" zdz_wait 30 zdz_window_named '各種設定'
xdotool key Escape
zdz_check "Esc closes them" zdz_wait 30 zdz_not zdz_window_named '各種設定'

zdz_log "# SecondaryActivate (a middle click)"
zdz_check "is answered" call SecondaryActivate
sleep 1
zdz_check "and does nothing" zdz_no_popup
zdz_check "the main window stays hidden" zdz_hidden "$w"

zdz_log "# the watcher goes away, then comes back without a host, then with one"
stop_watcher
zdz_check "the main window shows" zdz_wait 30 zdz_main_visible
start_watcher --no-host
sleep 1.5
zdz_check "a watcher without a host leaves it shown" zdz_viewable "$w"
stop_watcher
start_watcher
zdz_check "with a host, the icon registers again" zdz_wait 30 registered
zdz_check "and the window hides" zdz_wait 30 zdz_hidden "$w"
zdz_stop

zdz_log "# starting with a watcher that has no host"
stop_watcher
start_watcher --no-host
zdz_start "$cfg"
zdz_require "the main window is shown" zdz_wait 30 zdz_main_visible
sleep 1
zdz_check "and stays shown" zdz_main_visible
zdz_check "no icon registered" zdz_not registered

zdz_finish
