#!/usr/bin/env bash
# The clock window as the window manager and the screen show it, in both display forms.
#   window.sh PATH/TO/zoduzazu PATH/TO/short-stroke.wav   (inside headless-session.sh)
# shellcheck disable=SC2317  # functions called through zdz_check and zdz_wait
source "$(dirname "$0")/lib.sh"
zdz_init "$@"

# check_layout 24H OUTER_W LABEL_W: outer size, frame, maximising, and the label on screen.
check_layout() {
  local h24=$1 outer_w=$2 label_w=$3 outer_h=96 form
  form=$([[ $h24 == True ]] && echo 24-hour || echo 12-hour)
  zdz_log "# $form display"
  local cfg
  cfg=$(zdz_config "$h24" True False False)
  zdz_start "$cfg"
  zdz_require "the window appears" zdz_wait 30 zdz_main_visible
  local w
  w=$(zdz_main_window)

  # The size is corrected once the frame is known: wait for it to settle.
  outer_is() { [[ $(zdz_outer_size "$w") == "$outer_w $outer_h" ]]; }
  zdz_wait 30 outer_is
  local ow oh cw ch el er et eb
  read -r ow oh < <(zdz_outer_size "$w")
  read -r cw ch < <(zdz_client_size "$w")
  read -r el er et eb < <(zdz_frame_extents "$w")
  zdz_check "outer size ${ow}x${oh} is ${outer_w}x${outer_h}" outer_is
  zdz_check "frame extents are known ($el,$er,$et,$eb)" test -n "$eb"
  zdz_check "client ${cw}x${ch} is outer minus the frame" \
    test "$cw" -eq $((ow - el - er)) -a "$ch" -eq $((oh - et - eb))
  zdz_check "title is Zoduzazu" test "$(xdotool getwindowname "$w")" = Zoduzazu
  zdz_check "WM_CLASS is zoduzazu, Zoduzazu" \
    zdz_has "$(xprop -id "$w" WM_CLASS)" '= "zoduzazu", "Zoduzazu"'
  local actions
  actions=$(xprop -id "$w" _NET_WM_ALLOWED_ACTIONS)
  zdz_check "maximising is not offered" zdz_not zdz_has "$actions" MAXIMIZE
  zdz_check "closing and minimising are offered" \
    zdz_has "$actions" _NET_WM_ACTION_CLOSE _NET_WM_ACTION_MINIMIZE

  # A double click on the title bar maximises in openbox, where the window allows it.
  local fx fy
  read -r fx fy < <(zdz_client_pos "$(zdz_frame_of "$w")")
  xdotool mousemove $((fx + ow / 2)) $((fy + et / 2)) click --repeat 2 --delay 80 1
  sleep 1
  zdz_check "a double click on the title bar leaves it ${outer_w}x${outer_h}" outer_is
  zdz_check "and not maximised" zdz_not zdz_has "$(xprop -id "$w" _NET_WM_STATE)" MAXIMIZED
  xdotool mousemove 5 700

  local shot="$ZDZ_WORK/screen-$form.png" cx cy box
  sleep 0.5
  zdz_screenshot "$shot"
  read -r cx cy < <(zdz_client_pos "$w")
  box=$(zdz_label_box "$shot" "$cx" "$cy" "$cw" "$ch")
  zdz_check "the black time label is on screen ($box)" test -n "$box"
  local lx ly lw lh green pure black
  read -r lx ly lw lh green pure black <<<"$box"
  # The label's sunken edge is grey: the black inside is up to 2 px smaller on each side.
  zdz_check "label starts 21 px from the left (found $lx)" zdz_near "${lx:-0}" 22 3
  zdz_check "label is $label_w px wide (found $lw)" zdz_near "${lw:-0}" $((label_w - 2)) 5
  zdz_check "label is 43 px high (found $lh)" zdz_near "${lh:-0}" 41 5
  zdz_check "label sits below the menu bar (top $ly)" test "${ly:-0}" -ge 15
  zdz_check "label is mostly black ($black of $((lw * lh)))" \
    test "${black:-0}" -ge $((lw * lh / 2))
  zdz_check "label shows green digits ($green green, $pure of them pure 0,255,0)" \
    test "${green:-0}" -ge 100 -a "${pure:-0}" -ge 10
  if [[ $h24 == True ]]; then
    # What the day at rest does not need stays unloaded: the sound libraries until the first
    # chime, and every image plug-in (the icon is read as PNG directly).
    lazy_unmapped() { ! awk '{ print $6 }' "/proc/$ZDZ_PID/maps" |
      grep -qE 'libsndfile|libpulse|zoduzazu-sound|imageformats|libQt6Svg'; }
    zdz_check "at rest no sound library or image plug-in is mapped" lazy_unmapped
    local frame_x frame_y
    read -r frame_x frame_y < <(zdz_client_pos "$(zdz_frame_of "$w")")
    mkdir -p "$ZDZ_ARTIFACTS"
    convert "$shot" -crop "${ow}x${oh}+${frame_x}+${frame_y}" +repage \
      "$ZDZ_ARTIFACTS/zoduzazu-window.png" && zdz_log "  saved $ZDZ_ARTIFACTS/zoduzazu-window.png"
  fi
  zdz_stop
}

check_layout True 224 175
check_layout False 319 271

zdz_finish
