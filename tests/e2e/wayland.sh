#!/usr/bin/env bash
# The program under a Wayland compositor (weston, with Qt's Wayland plugin): the window's outer
# size, its menus and dialogs, a ticking clock, and nothing printed on every tick.
#   wayland.sh PATH/TO/zoduzazu PATH/TO/short-stroke.wav
#   (inside ZDZ_SESSION_SKIP=tray,pulse ZDZ_SESSION_WITH=weston headless-session.sh)
# shellcheck disable=SC2317  # functions called through zdz_check and zdz_wait
source "$(dirname "$0")/lib.sh"

plugin=$(ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so 2>/dev/null | head -n1)
for need in weston:weston weston-debug:weston "import:imagemagick"; do
  if ! command -v "${need%%:*}" >/dev/null; then
    echo "skip - ${need%%:*} is missing: install the Debian package ${need#*:}"
    exit 0
  fi
done
if [[ -z $plugin ]]; then
  echo "skip - Qt's Wayland plugin is missing: install the Debian package qt6-wayland"
  exit 0
fi
zdz_init "$@"
zdz_require "the session runs a compositor" test -n "${WAYLAND_DISPLAY:-}"

scene() { timeout 3 weston-debug scene-graph 2>/dev/null; }
# The outer size "W H" of the program's top-level window titled $1, as the compositor places it
# (with Qt's title bar); with `opaque`, its client area, the part Qt does not draw as frame.
toplevel_size() {
  scene | awk -v t="top-level window '$1' of zoduzazu" -v what="${2:-position}:" '
    index($0, t) { want = 1; next }
    want && index($0, what) { gsub(/[][(),]/, " "); print $5 - $2, $6 - $3, $2, $6; exit }' |
    cut -d' ' -f"${3:-1-2}"
}
shown() { [[ -n $(toplevel_size "$1") ]]; }
popups() { scene | grep -c 'role xdg_popup'; }
one_popup() { [[ $(popups) -eq 1 ]]; }
no_popup() { [[ $(popups) -eq 0 ]]; }

output=$(xwininfo -root -tree | awk '/"Weston Compositor/ { print $1; exit }')
zdz_require "weston runs as a window of the X server" test -n "$output"
shot() { import -window "$output" "$1"; }

cfg=$(zdz_config False True False False)
started=$SECONDS
zdz_start "$cfg" QT_QPA_PLATFORM=wayland

zdz_log "# the clock window"
zdz_require "opens" zdz_wait 30 shown Zoduzazu
# The client area it has under X11 (the outer 319x96 less openbox's frame, 1, 1, 20 and 5),
# inside an outer size grown by Qt's title bar, which is taller than that frame.
client_is() { [[ $(toplevel_size "$1" opaque) == "$2" ]]; }
zdz_check "with the client area it has under X11, 317x71 ($(toplevel_size Zoduzazu opaque))" \
  zdz_wait 30 client_is Zoduzazu "317 71"
read -r outer_w outer_h < <(toplevel_size Zoduzazu)
zdz_check "grown by Qt's title bar (outer ${outer_w}x$outer_h)" test "$outer_h" -gt 96 -a "$outer_w" -ge 319
# A dialog need not say which part of it is opaque: its client area is its outer size less the
# frame Qt draws around the clock.
frame_w=$((outer_w - 317)) frame_h=$((outer_h - 71))
dialog_client_is() {
  local w h
  read -r w h < <(toplevel_size "$1")
  [[ "$((w - frame_w)) $((h - frame_h))" == "$2" ]]
}
mkdir -p "$ZDZ_ARTIFACTS"
xdotool mousemove --window "$output" 799 0  # weston's pointer out of the picture
# The client area's last rows are the window's face, below the time label's frame (two light
# lines under its black), not the label cut off by the window's edge. Looked at again while
# weston still fades the screen in.
read -r left bottom < <(toplevel_size Zoduzazu opaque 3-4)
face_below_label() {
  shot "$ZDZ_WORK/client.png"
  local darkest
  darkest=$(convert "$ZDZ_WORK/client.png" -crop "317x4+$left+$((bottom - 4))" +repage \
    -colorspace Gray -format '%[fx:int(255*minima)]' info:)
  [[ $darkest -gt 180 ]]
}
zdz_check "the time label and its frame end above the window's bottom edge" \
  zdz_wait 30 face_below_label
shot "$ZDZ_WORK/tick1.png"
ticked() {
  shot "$ZDZ_ARTIFACTS/wayland.png"
  [[ $(compare -metric AE "$ZDZ_WORK/tick1.png" "$ZDZ_ARTIFACTS/wayland.png" null: 2>&1) != 0 ]]
}
zdz_check "the time ticks (screen: $ZDZ_ARTIFACTS/wayland.png)" zdz_wait 30 ticked

zdz_log "# menus and dialogs, from the keyboard"
xdotool windowactivate --sync "$output" >/dev/null 2>&1
# weston hands the keyboard to a new window, or back to the clock after a dialog closes, a
# moment late, and a key pressed before then is lost: press again until it takes.
press_until() {
  local key=$1
  shift
  for _ in 1 2 3; do
    xdotool key "$key"
    zdz_wait 2 "$@" && return 0
  done
  return 1
}
zdz_check "Alt+F opens the file menu" press_until alt+f one_popup
xdotool key Escape
zdz_check "Esc closes it" zdz_wait 30 no_popup
zdz_check "Ctrl+O opens the options, asking to stay on top" press_until ctrl+o shown '各種設定'
zdz_check "with the client area of the form, 307x235" zdz_wait 30 dialog_client_is '各種設定' "307 235"
xdotool key Escape
zdz_check "Esc closes them" zdz_wait 30 zdz_not shown '各種設定'
zdz_check "Ctrl+V opens the version dialog" press_until ctrl+v shown 'Zoduzazuのﾊﾞｰｼﾞｮﾝ情報'
zdz_check "with the client area of the form, 385x224" \
  zdz_wait 30 dialog_client_is 'Zoduzazuのﾊﾞｰｼﾞｮﾝ情報' "385 224"
xdotool key Escape
zdz_check "Esc closes it" zdz_wait 30 zdz_not shown 'Zoduzazuのﾊﾞｰｼﾞｮﾝ情報'
zdz_check "the clock still runs" zdz_running

# Anything printed now would be printed again on every tick or every start.
sleep $((started + 10 - SECONDS > 0 ? started + 10 - SECONDS : 0))
zdz_check "nothing on stderr over $((SECONDS - started)) s: $(head -c 300 "$ZDZ_OUT")" test ! -s "$ZDZ_OUT"

zdz_finish
