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
# The outer size "W H" of the program's top-level window titled $1, as the compositor places it.
toplevel_size() {
  scene | awk -v t="top-level window '$1' of zoduzazu" '
    index($0, t) { want = 1; next }
    want && /position:/ { gsub(/[(),]/, " "); print $5 - $2, $6 - $3; exit }'
}
shown() { [[ -n $(toplevel_size "$1") ]]; }
popups() { scene | grep -c 'role xdg_popup'; }
one_popup() { [[ $(popups) -eq 1 ]]; }
no_popup() { [[ $(popups) -eq 0 ]]; }

output=$(xwininfo -root -tree | awk '/"Weston Compositor/ { print $1; exit }')
zdz_require "weston runs as a window of the X server" test -n "$output"
shot() { import -window "$output" "$1"; }

cfg=$(zdz_new_config)
zdz_write_settings "$cfg" 0=False 1=True 2=False 3=False "WAVE=$ZDZ_CHIME_WAV" 'WAVEName=" Ruvazu.wav"'
started=$SECONDS
zdz_start "$cfg" QT_QPA_PLATFORM=wayland

zdz_log "# the clock window"
zdz_require "opens" zdz_wait 15 shown Zoduzazu
# The same outer size as under X11, where the window manager draws the frame.
outer_is() { [[ $(toplevel_size Zoduzazu) == "319 96" ]]; }
zdz_check "with its outer size 319x96 ($(toplevel_size Zoduzazu))" zdz_wait 3 outer_is
mkdir -p "$ZDZ_ARTIFACTS"
shot "$ZDZ_WORK/tick1.png"
ticked() {
  shot "$ZDZ_ARTIFACTS/wayland.png"
  [[ $(compare -metric AE "$ZDZ_WORK/tick1.png" "$ZDZ_ARTIFACTS/wayland.png" null: 2>&1) != 0 ]]
}
zdz_check "the time ticks (screen: $ZDZ_ARTIFACTS/wayland.png)" zdz_wait 3 ticked

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
zdz_check "Esc closes it" zdz_wait 3 no_popup
zdz_check "Ctrl+O opens the options, asking to stay on top" press_until ctrl+o shown '各種設定'
xdotool key Escape
zdz_check "Esc closes them" zdz_wait 5 zdz_not shown '各種設定'
zdz_check "Ctrl+V opens the version dialog" press_until ctrl+v shown 'Zoduzazuのﾊﾞｰｼﾞｮﾝ情報'
xdotool key Escape
zdz_check "Esc closes it" zdz_wait 5 zdz_not shown 'Zoduzazuのﾊﾞｰｼﾞｮﾝ情報'
zdz_check "the clock still runs" zdz_running

# Anything printed now would be printed again on every tick or every start.
sleep $((started + 10 - SECONDS > 0 ? started + 10 - SECONDS : 0))
zdz_check "nothing on stderr over $((SECONDS - started)) s: $(head -c 300 "$ZDZ_OUT")" test ! -s "$ZDZ_OUT"

zdz_finish
