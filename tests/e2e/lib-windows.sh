# Helpers that find and measure the program's windows; sourced by lib.sh.
# shellcheck shell=bash

# An empty window id makes xwininfo hang up the X server: refuse it here.
zdz_id() { [[ -n ${1:-} ]] || { echo "  (no window)" >&2; return 1; }; }

zdz_viewable() { zdz_id "${1:-}" && xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
zdz_hidden() { zdz_id "${1:-}" && ! zdz_viewable "$1"; }
zdz_override_redirect() { zdz_id "${1:-}" && xwininfo -id "$1" 2>/dev/null | grep -q 'Override Redirect State: yes'; }
zdz_parent() { zdz_id "${1:-}" && xwininfo -id "$1" -children 2>/dev/null | awk '/Parent window id:/ { print $4 }'; }
zdz_root() { xwininfo -root 2>/dev/null | awk '/Window id:/ && !n++ { print $4 }'; }

# Client size "W H" (xwininfo reports the client area).
zdz_client_size() {
  zdz_id "${1:-}" && xwininfo -id "$1" | awk '/^  Width:/ { w = $2 } /^  Height:/ { h = $2 } END { print w, h }'
}
# Absolute position of the client area "X Y".
zdz_client_pos() {
  zdz_id "${1:-}" && xwininfo -id "$1" | awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 } END { print x, y }'
}

# _NET_FRAME_EXTENTS of a managed client: "left right top bottom".
zdz_frame_extents() {
  zdz_id "${1:-}" && xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ',' | awk 'NF == 4'
}

# The window manager's frame that holds a client (its parent), whose size is the outer size.
zdz_frame_of() { zdz_parent "$1"; }

# Outer size "W H", as the window manager's frame measures it.
zdz_outer_size() { zdz_client_size "$(zdz_frame_of "$1")"; }

# The program's main window: the managed (not override-redirect) top-level named "Zoduzazu".
# It exists from start-up on, hidden or not.
zdz_main_window() {
  local w
  for w in $(xdotool search --all --pid "$ZDZ_PID" --classname '^zoduzazu$' 2>/dev/null); do
    zdz_override_redirect "$w" && continue
    [[ $(xdotool getwindowname "$w" 2>/dev/null) == Zoduzazu ]] || continue
    printf '%s\n' "$w"
    return 0
  done
  return 1
}

zdz_main_visible() { local w; w=$(zdz_main_window) && zdz_viewable "$w"; }

# A visible window of the program whose title is $1 (e.g. the options dialog).
zdz_window_named() {
  xdotool search --all --onlyvisible --pid "$ZDZ_PID" --name "^$1\$" 2>/dev/null | head -n1 | grep .
}

# trayer's "panel" window, if a tray host runs.
zdz_tray_panel() {
  xwininfo -root -tree 2>/dev/null | awk '!found && /"panel": \("panel" "trayer"\)/ { print $1; found = 1 } END { exit !found }'
}

# The tray host's process, from its panel's _NET_WM_PID.
zdz_tray_pid() {
  local panel
  panel=$(zdz_tray_panel) && xprop -id "$panel" _NET_WM_PID 2>/dev/null | awk '/= / { print $3 }'
}

# Starts a tray host of the kind the session runs, ended with the script.
zdz_start_tray() {
  trayer --edge top --align right --widthtype pixel --width 200 --heighttype pixel --height 32 \
    </dev/null >>"$ZDZ_WORK/trayer.log" 2>&1 &
  ZDZ_PIDS+=("$!")
}

# The program's icon window embedded somewhere below the panel.
zdz_tray_icon() {
  local panel
  panel=$(zdz_tray_panel) || return 1
  xwininfo -id "$panel" -tree 2>/dev/null |
    awk '!found && /\("zoduzazu" "Zoduzazu"\)/ { print $1; found = 1 } END { exit !found }'
}

# zdz_icon_menu [CLICK_ARG...]: clicks the tray icon (xdotool click's arguments, the left button
# unless told) and waits for the one pop-up menu it opens.
zdz_icon_menu() {
  xdotool mousemove --window "$(zdz_tray_icon)" 11 15 click "${@:-1}" && zdz_wait 30 zdz_one_popup
}

# Visible pop-up menus of the program: override-redirect children of the root, one
# "ID HEIGHT" a line. (The tray icon is override-redirect too, but lives in the panel.)
zdz_popups() {
  local root w
  root=$(zdz_root)
  for w in $(xdotool search --onlyvisible --classname '^zoduzazu$' 2>/dev/null); do
    zdz_override_redirect "$w" || continue
    [[ $(zdz_parent "$w") == "$root" ]] || continue
    printf '%s %s\n' "$w" "$(zdz_client_size "$w" | cut -d' ' -f2)"
  done
}

zdz_popup_count() { zdz_popups | grep -c .; }
zdz_no_popup() { [[ $(zdz_popup_count) -eq 0 ]]; }
zdz_one_popup() { [[ $(zdz_popup_count) -eq 1 ]]; }

# Gives the keyboard focus to a window, so that shortcuts reach it.
zdz_focus() {
  zdz_id "${1:-}" || return 1
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1" >/dev/null 2>&1
  sleep 0.2
}

# zdz_click WINDOW X Y [BUTTON]: a click at client coordinates of WINDOW.
zdz_click() {
  zdz_id "${1:-}" || return 1
  xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}"
}

# zdz_screenshot FILE: the whole screen.
zdz_screenshot() { import -window root "$1"; }

# zdz_point FORM CONTROL: "X Y", the centre of a control (NAME_INDEX for a member of a control
# array) in its window's client pixels, where the program puts it on this display: the form
# tables laid out by the Qt desktop (tests/tools/form_points.cpp), so no script holds a figure.
zdz_point() {
  local table="$ZDZ_WORK/form-points.txt"
  [[ -s $table ]] || "$ZDZ_BUILD_DIR/tests/form-points" >"$table" || { rm -f "$table"; return 1; }
  awk -v f="$1" -v c="$2" '$1 == f && $2 == c { print $3, $4; n++ }
    END { if (!n) print "  no control " c " in " f > "/dev/stderr"; exit !n }' "$table"
}

# zdz_click_control WINDOW FORM CONTROL: a click at the centre of that control of the window.
zdz_click_control() {
  local x y
  read -r x y < <(zdz_point "$2" "$3") || return 1
  zdz_click "$1" "$x" "$y"
}
