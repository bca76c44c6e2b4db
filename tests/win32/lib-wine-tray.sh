# The Wine program's icon in trayer and its pop-up menus, seen from X; sourced by the Wine tests.
# shellcheck shell=bash

# X Y W H of window ID, nothing when it is gone.
window_geometry() {
  xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X/ { x = $NF }
    /Absolute upper-left Y/ { y = $NF } /Width:/ { w = $NF } /Height:/ { h = $NF }
    END { if (w) print x, y, w, h }'
}
# The icon's window in trayer's "panel" (trayer keeps a 1x1 window of its own there). awk reads
# to the end: leaving early would end xwininfo with SIGPIPE, a failure under pipefail.
icon_window() {
  xwininfo -root -tree | awk '!found && /"panel"/ { d = index($0, "0x"); next }
    d && /0x/ && index($0, "0x") <= d { d = 0 }
    d && /has no name/ && !/ 1x1\+/ { print $1; d = 0; found = 1 }'
}
icon_geometry() { local id; id=$(icon_window) && [[ -n $id ]] && window_geometry "$id"; }
# trayer moves a newly embedded icon into place: a click aimed before that may miss it.
settled_icon() {
  local before
  before=$(icon_geometry)
  sleep 0.3
  [[ -n $before && $before == "$(icon_geometry)" ]]
}
# Wine's pop-up menu is the one mapped override-redirect window bigger than a few pixels that
# the shell (explorer.exe) does not own: the icon's tip under a resting pointer is the shell's.
menu_geometry() {
  local id info
  for id in $(xwininfo -root -children | grep -Eo '^ +0x[0-9a-f]+'); do
    info=$(xwininfo -id "$id")
    grep -q IsViewable <<<"$info" || continue
    grep -q 'Override Redirect State: yes' <<<"$info" || continue
    xprop -id "$id" WM_CLASS 2>/dev/null | grep -q '"explorer.exe"' && continue
    window_geometry "$id" | awk '$3 > 20'
  done
}
has_menu() { test -n "$(menu_geometry)"; }
# choose_first_item BUTTON REPEAT: clicks the icon, then the first item of the menu it opened.
choose_first_item() {
  local ix iy iw ih mx my mw
  read -r ix iy iw ih < <(icon_geometry) || return 1
  xdotool mousemove $((ix + iw / 2)) $((iy + ih / 2)) click --repeat "$2" --delay 80 "$1"
  zdz_wait 30 has_menu || { echo "  no menu after clicking the icon at $ix,$iy"; return 1; }
  read -r mx my mw _ < <(menu_geometry)
  # shellcheck disable=SC2034  # named in the caller's message when the item shows nothing
  chosen_at="$((mx + mw / 3)),$((my + 12)) in the menu at $mx,$my"
  xdotool mousemove $((mx + mw / 3)) $((my + 12)) click 1
}

# The clock window's Ctrl+O until the options dialog is up: again if the window was not ready.
open_options() {
  for _ in 1 2 3; do
    zdz_wait 30 xdotool search --onlyvisible --name '^Zoduzazu$' windowactivate --sync key ctrl+o
    zdz_wait 5 xdotool search --onlyvisible --name '^各種設定$' && return 0
  done
  return 1
}
