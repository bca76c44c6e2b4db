#!/usr/bin/env bash
# What the clock plays, heard on the null sink: the cuckoo chime at the top of an hour, and the
# options dialog's Test toggle starting and stopping a sound.
#   chime.sh PATH/TO/zoduzazu PATH/TO/short-stroke.wav   (inside headless-session.sh)
# shellcheck disable=SC2317  # functions called through zdz_check and zdz_wait
source "$(dirname "$0")/lib.sh"
zdz_init "$@"

zdz_require "libfaketime is installed ($ZDZ_FAKETIME_LIB)" test -r "$ZDZ_FAKETIME_LIB"
zdz_require "the session has the null sink test_sink" zdz_has "$(pactl list short sinks)" test_sink

# zdz_start with the clock set to a local time, running at real speed from there.
start_at() { zdz_start "$1" LD_PRELOAD="$ZDZ_FAKETIME_LIB" FAKETIME="@$2" TZ=Asia/Tokyo; }
fcmp() { awk -v a="$1" -v b="$3" "BEGIN { exit !(a $2 b) }"; }
press_test() { zdz_click_control "$dialog" fomOPTION chkALARM_2; }
heard_any() { (($(zdz_strokes "$ZDZ_REC") > 0)); }
# open_options CONFIG: the clock far from the top of an hour, so only the toggle makes a sound,
# and its options dialog; sets $dialog, so not through zdz_check's subshell.
open_options() {
  start_at "$1" "2026-12-06 10:20:00"
  zdz_require "the clock window appears" zdz_wait 30 zdz_main_visible
  zdz_focus "$(zdz_main_window)"
  xdotool key ctrl+o
  zdz_require "Ctrl+O opens the options" zdz_wait 30 zdz_window_named '各種設定'
  dialog=$(zdz_window_named '各種設定')
  zdz_require "the options dialog is shown" zdz_wait 30 zdz_viewable "$dialog"
}

zdz_log "# cuckoo chime at 15:00 with a 0.2 s stroke"
cfg=$(zdz_config True True True True "$ZDZ_STROKE_WAV")
zdz_record_start chime-15
zdz_require "recording from test_sink.monitor starts" zdz_recording
# Six seconds before the hour leave room for a slow start on a busy machine.
start_at "$cfg" "2026-12-06 14:59:54"
zdz_require "the clock window appears" zdz_wait 30 zdz_main_visible
w=$(zdz_main_window)
# The window is hidden while the chime plays; watch it until the chime is over and the window is
# back (or for as long as only a hang takes). The chime is recorded after the hiding: looks read
# from a second before it, so each costs the same however long the recording has grown.
seen_hidden=0 from=0
for ((limit = SECONDS + 90; SECONDS < limit; )); do
  if ! zdz_viewable "$w"; then
    ((seen_hidden)) || from=$((($(stat -c %s "$ZDZ_REC") - 88200) / 882 * 882)) seen_hidden=1
  elif ((seen_hidden)) && zdz_sound_over "$ZDZ_REC" 0.5 $((from > 0 ? from : 0)); then
    break
  fi
  sleep 0.1
done
zdz_record_stop
segments=$(zdz_sound_segments "$ZDZ_REC")
# Strokes begin every 0.2 s. A busy server splits a stroke with a moment of silence; a sound that
# starts less than 0.15 s after the last stroke's start is the same stroke going on.
strokes=$(grep -v '^#' <<<"$segments" | awk 'NR == 1 || $1 - last >= 0.15 { n++; last = $1 } END { print n + 0 }')
zdz_log "  strokes (start end): $(grep -v '^#' <<<"$segments" | tr '\n' ' ')"
zdz_check "exactly 15 strokes (heard $strokes)" test "$strokes" -eq 15 || zdz_record_keep "$ZDZ_REC"
one_run() {
  # Strokes follow each other; a second run of strokes after a pause would be a repeated chime.
  grep -v '^#' <<<"$segments" | awk 'NR > 1 && $1 - end > 0.6 { bad = 1 } { end = $2 } END { exit bad }'
}
zdz_check "in one run, without a pause" one_run
zdz_check "the window was hidden during the chime" test "$seen_hidden" -eq 1
zdz_check "and is shown again afterwards" zdz_viewable "$w"
zdz_stop

zdz_log "# the Test toggle in the options dialog, with the 1.3 s chime"
cfg=$(zdz_config True True True False)
open_options "$cfg"

# Pressed and left alone: the whole sound, once.
zdz_record_start test-full
zdz_require "recording starts" zdz_recording
press_test
zdz_check "the sound plays and ends" zdz_wait 30 zdz_sound_over "$ZDZ_REC"
zdz_record_stop
press_test
full=$(zdz_sound_segments "$ZDZ_REC")
zdz_log "  sounds (start end): $(grep -v '^#' <<<"$full" | tr '\n' ' ')"
zdz_check "pressing Test plays one sound" test "$(grep -vc '^#' <<<"$full")" -eq 1 ||
  zdz_record_keep "$ZDZ_REC"
full_len=$(grep -v '^#' <<<"$full" | awk 'NR == 1 { printf "%.2f", $2 - $1 }')
zdz_check "the whole chime, about 1.3 s (heard ${full_len:-0} s)" fcmp "${full_len:-0}" ">=" 0.9

zdz_stop

# Pressed, then released while it plays: the sound stops there. A minute-long sound, so a release
# that a busy machine serves late still comes long before its end.
long_wav="$ZDZ_WORK/minute.wav"
sox -n -r 22050 -c 1 -b 16 "$long_wav" synth 60 sine 440 vol 0.5
cfg=$(zdz_config True True True False "$long_wav")
open_options "$cfg"
zdz_record_start test-cut
zdz_require "recording starts" zdz_recording
press_test
zdz_check "a sound starts" zdz_wait 30 heard_any
press_test
zdz_check "releasing Test ends it" zdz_wait 30 zdz_sound_over "$ZDZ_REC"
zdz_record_stop
cut=$(zdz_sound_segments "$ZDZ_REC")
zdz_log "  sounds (start end): $(grep -v '^#' <<<"$cut" | tr '\n' ' ')"
cut_len=$(grep -v '^#' <<<"$cut" | awk '{ if (!n++) s = $1; e = $2 } END { printf "%.2f", n ? e - s : 0 }')
zdz_check "cut short (${cut_len} s of 60 s)" fcmp "$cut_len" "<" 40 || zdz_record_keep "$ZDZ_REC"
zdz_check "the dialog is still open" zdz_window_named '各種設定'
zdz_stop

zdz_log "# SIGTERM in the middle of a long chime"
cfg=$(zdz_config True True True True)
before=$(cat "$(zdz_settings_file "$cfg")")
zdz_record_start term-chime
start_at "$cfg" "2026-12-06 14:59:54"  # room for a slow start, as above
zdz_require "the clock window appears" zdz_wait 30 zdz_main_visible
zdz_require "the chime begins" zdz_wait 30 heard_any
kill -TERM "$ZDZ_PID"
ZDZ_STATUS=""
# The 15 strokes of 1.3 s would go on for more than 15 s.
zdz_wait_exit 10
zdz_check "ends, not after the chime" test -n "${ZDZ_STATUS:-}"
zdz_record_stop
zdz_check "as its exit command does, with status 0 (got ${ZDZ_STATUS:-none})" test "${ZDZ_STATUS:-x}" = 0
zdz_check "the settings are as they were" test "$(cat "$(zdz_settings_file "$cfg")")" = "$before"

zdz_finish
