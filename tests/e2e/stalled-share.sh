#!/usr/bin/env bash
# A chime file on a share whose host has gone (a FUSE folder whose reads never return): ten
# presses of the options dialog's Test toggle cost at most one thread and no open file, the
# dialog answers each of them, and the exit command still takes the window and the icon away.
#   stalled-share.sh PATH/TO/zoduzazu PATH/TO/short-stroke.wav   (inside headless-session.sh)
# shellcheck disable=SC2317  # functions called through zdz_check, zdz_wait and the EXIT trap
source "$(dirname "$0")/lib.sh"
zdz_init "$@"

zdz_require "python3-fusepy is installed" /usr/bin/python3 -c 'import fusepy'
share="$ZDZ_WORK/share"
mkdir -p "$share"
# A read blocked in the share is freed only by aborting its connection; a lazy unmount then
# waits for nobody.
release_share() {
  local dev
  dev=$(awk -v m="$share" '$5 == m { print $3 }' /proc/self/mountinfo)
  [[ -n $dev ]] || return 0
  mountpoint -q /sys/fs/fuse/connections || mount -t fusectl none /sys/fs/fuse/connections
  echo 1 >"/sys/fs/fuse/connections/${dev#*:}/abort"
  umount -l "$share"
}
trap 'release_share; zdz_stop_all' EXIT
/usr/bin/python3 "$ZDZ_E2E_DIR/../tools/stalled_share.py" "$share" "$ZDZ_CHIME_WAV" \
  "$ZDZ_WORK/share.log" >"$ZDZ_WORK/share.err" 2>&1 &
ZDZ_PIDS+=("$!")
zdz_require "the share is mounted" zdz_wait 30 test -e "$share/Ruvazu.wav"

# In the tray, so the icon is there to go; far from the top of an hour, so only Test reads. The
# monotonic clock stays real: libfaketime shifts it by years but leaves pthread_cond_clockwait
# alone, so the reader's deadline would never come.
cfg=$(zdz_config True False True False "$share/Ruvazu.wav")
zdz_start "$cfg" LD_PRELOAD="$ZDZ_FAKETIME_LIB" FAKETIME="@2026-12-06 10:20:00" TZ=Asia/Tokyo \
  FAKETIME_DONT_FAKE_MONOTONIC=1
zdz_require "the clock's icon is in the tray" zdz_wait 30 zdz_tray_icon
w=$(zdz_main_window)
zdz_require "and its hidden window" test -n "$w"
zdz_require "its settings menu opens" zdz_icon_menu 3
xdotool key o
zdz_require "O opens the options" zdz_wait 30 zdz_window_named '各種設定'
dialog=$(zdz_window_named '各種設定')

since() { awk -v a="$1" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }'; }
count() { find "/proc/$ZDZ_PID/$1" -mindepth 1 -maxdepth 1 | wc -l; }
# The Test toggle as drawn: it looks pressed and released in turn, once the dialog has taken the
# press.
read -r tx ty < <(zdz_point fomOPTION chkALARM_2)
looks() { import -window "$dialog" -crop "24x8+$((tx - 12))+$((ty - 4))" +repage rgb:- | md5sum; }
changed_from() { [[ $(looks) != "$1" ]]; }
zdz_log "# ten presses of Test"
threads=$(count task) files=$(count fd)
zdz_log "  before: $threads threads, $files open files"
answered=0 files1=$files
for press in $(seq 10); do
  was=$(looks) from=$EPOCHREALTIME
  zdz_click "$dialog" "$tx" "$ty"
  zdz_wait 30 changed_from "$was" || break
  answered=$press took=$(since "$from")
  ((press == 1)) && zdz_check "the first press reaches the read that hangs" \
    zdz_wait 30 grep -qx read "$ZDZ_WORK/share.log"
  zdz_log "  press $press, drawn after $took s: $(count task) threads, $(count fd) open files"
  ((press == 1)) && files1=$(count fd)
done
zdz_check "the dialog answered every press ($answered of 10)" test "$answered" -eq 10
zdz_check "they cost at most one thread ($threads before, $(count task) after)" \
  test "$(count task)" -le $((threads + 1))
zdz_check "no press after the first opens a file ($files1 after the first, $(count fd) after ten)" \
  test "$(count fd)" -le "$files1"
zdz_check "the share was read once ($(grep -cx read "$ZDZ_WORK/share.log") reads)" \
  test "$(grep -cx read "$ZDZ_WORK/share.log")" -eq 1
zdz_click_control "$dialog" fomOPTION btnOKCAN_1
zdz_check "Cancel closes the dialog" zdz_wait 30 zdz_not zdz_window_named '各種設定'

zdz_log "# the exit command"
zdz_require "the icon's file menu opens" zdz_icon_menu
from=$EPOCHREALTIME
xdotool key x
gone() { ! xwininfo -id "$w" >/dev/null 2>&1 && zdz_not zdz_tray_icon; }
zdz_check "the window and the icon go" zdz_wait 60 gone
zdz_log "  gone $(since "$from") s after X"
zdz_log "  the process is $(zdz_running && echo "still there" || echo gone) while the read hangs"
release_share
ZDZ_STATUS=""
zdz_wait_exit 60
zdz_check "it ends with status 0 once the share lets go (got ${ZDZ_STATUS:-none})" \
  test "${ZDZ_STATUS:-x}" = 0

zdz_finish
