# The Wine program's icon in trayer and its pop-up menus, seen from X; sourced by the Wine tests.
# shellcheck shell=bash

# X Y W H of the icon's window inside trayer's panel, nothing while it is not there.
icon_geometry() {
  xwininfo -root -tree | awk '/"panel"/ { p = 1 } p && /has no name/ { print; exit }' |
    grep -Eo '[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+ +\+-?[0-9]+\+-?[0-9]+' |
    awk '{ split($1, a, /[x+]/); split($2, b, /\+/); print b[2], b[3], a[1], a[2] }'
}
# trayer moves a newly embedded icon into place: a click aimed before that may miss it.
settled_icon() {
  local before
  before=$(icon_geometry)
  sleep 0.3
  [[ -n $before && $before == "$(icon_geometry)" ]]
}
# Wine's pop-up menu is the one mapped override-redirect window bigger than a few pixels.
menu_geometry() {
  local id info
  for id in $(xwininfo -root -children | grep -Eo '^ +0x[0-9a-f]+'); do
    info=$(xwininfo -id "$id")
    grep -q IsViewable <<<"$info" || continue
    grep -q 'Override Redirect State: yes' <<<"$info" || continue
    awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
         /Width:/ { w = $NF } /Height:/ { h = $NF }
         END { if (w > 20) print x, y, w, h }' <<<"$info"
  done
}
has_menu() { test -n "$(menu_geometry)"; }
