#!/usr/bin/env bash
# Chime files of every kind under Wine: each is played by the program at the top of an hour (a
# cuckoo chime) and by the options dialog's Test button. None may crash the clock; the window
# answers again once the strokes' capped length has played; what is recorded from the sound
# server is what the file holds that can be played. A right click on the icon during a 13-stroke
# chime waits until the chime ends and opens its menu at the icon. During a chime, the exit message
# ends the clock and the session's end is answered. Runs inside tests/tools/wine-session.sh.
#   chime_files.sh SHIFTED_CLOCK_EXE PROBE_EXE
# shellcheck disable=SC2317  # functions called through zdz_check and zdz_wait
set -uo pipefail
clock=$1 probe=$2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../tools/lib-check.sh
source "$here/../tools/lib-check.sh"
# shellcheck source=../e2e/lib-sound.sh
source "$here/../e2e/lib-sound.sh"
# shellcheck source=lib-wine-tray.sh
source "$here/lib-wine-tray.sh"
ZDZ_WORK=$(mktemp -d)
cap=3  # seconds a stroke may last here; the program's own cut, set shorter to be heard quickly
key='HKCU\Software\VB and VBA Program Settings\Zazedor\Zazedor'
f=$ZDZ_WORK/files snd=$WINEPREFIX/drive_c/snd
mkdir -p "$f" "$snd"
trap 'zdz_stop_all; rm -rf "$ZDZ_WORK"' EXIT

# The files, each with the seconds of sound a stroke plays and how long a stroke lasts.
tone() { sox -n -r 22050 -c 1 "${@:2}" "$f/$1.wav" synth 0.5 sine 440 vol 0.5; }
sox -n -r 44100 -c 1 -b 16 "$f/full.wav" synth 1.3 sine 440 vol 0.5
head -c 57000 "$f/full.wav" >"$f/truncated.wav"  # 57,000 of 114,704 bytes
tone claims2g -b 16
printf '\xf0\xff\xff\x7f' | dd of="$f/claims2g.wav" bs=1 seek=40 conv=notrunc 2>/dev/null
sox -n -r 8000 -c 1 -b 16 "$f/long90.wav" synth 90 sine 440 vol 0.5
head -c 44 "$f/claims2g.wav" >"$f/sparse1g.wav" && truncate -s 1G "$f/sparse1g.wav"
: >"$f/empty.wav"
echo "not a sound, only text" >"$f/text.wav"
tone pcm8 -b 8 -e unsigned-integer
tone float -b 32 -e floating-point
tone msadpcm -e ms-adpcm
tone imaadpcm -e ima-adpcm
# 1 MHz claimed in the header (the sample rate and the byte rate), 0.5 s of real samples.
tone rate1m -b 16
printf '\x40\x42\x0f\x00\x80\x84\x1e\x00' | dd of="$f/rate1m.wav" bs=1 seek=24 conv=notrunc 2>/dev/null
zdz_check "the whole chime is 114,704 bytes" test "$(stat -c %s "$f/full.wav")" = 114704
# name: sounding seconds per stroke, lasting seconds per stroke
cases=("truncated 0.646 0.646" "claims2g 0.5 0.5" "long90 $cap $cap" "sparse1g 0 $cap"
  "empty 0 0" "text 0 0" "pcm8 0.5 0.5" "float 0.5 0.5" "msadpcm 0.5 0.5" "imaadpcm 0.5 0.5"
  "rate1m 0 0" "missing 0 0")

# The seconds of sound in a recording.
sounding() { zdz_sound_segments "$1" | awk '!/^#/ { s += $2 - $1 } END { printf "%.2f\n", s }'; }
# A sound server on a busy machine drops out, losing some of a sound or repeating a piece of it;
# never all of it, and never as much again as a file's unplayable rest or an uncut stroke.
near() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b * 1.5 + 0.3 && (b == 0 || a > b * 0.4)) }'; }
# answered LONGEST LEAST MOST: the longest wait for an answer, in ms, is within LEAST..MOST.
answered() { [[ $1 =~ ^[0-9]+$ ]] && (($2 <= $1 && $1 <= $3)); }
# A sound has been heard and is over: a second of silence after it (or nothing was to be heard).
heard_all() { awk -v s="$1" 'BEGIN { exit !(s == 0) }' || zdz_sound_over "$ZDZ_REC" 1; }
zdz_diagnostics() { zdz_sound_segments "$ZDZ_REC"; }
put() { rm -f "$snd/chime.wav"; [[ $1 == missing ]] || cp "$f/$1.wav" "$snd/chime.wav"; }
settings() {  # settings WINDOW_MODE
  local k
  for k in 0:True "1:$1" 2:True 3:True 'WAVE:C:\snd\chime.wav' 'WAVEName: chime.wav'; do
    wine reg add "$key" /v "${k%%:*}" /t REG_SZ /d "${k#*:}" /f >/dev/null 2>&1
  done
}
start_clock() {  # start_clock HH:MM:SS
  wine "$clock" "$1" "$cap" &
  pid=$!
  ZDZ_PIDS+=("$pid")
  zdz_wait 30 xdotool search --name '^Zoduzazu$'
}

# The top of an hour: 1 stroke at 01:00 for the long ones, 2 at 02:00 for the rest.
settings True
for c in "${cases[@]}"; do
  read -r name sound lasts <<<"$c"
  strokes=2 at=01:59:58
  [[ $lasts == "$cap" ]] && strokes=1 at=00:59:58
  put "$name"
  zdz_record_start "chime-$name"
  start_clock "$at"
  # Asked for as long as the chime lasts; a wait that began meanwhile is measured to its end.
  # Only a hang (an uncut 90 s stroke, a read that never returns) passes the upper limit.
  read -r span limit least playable < <(awk -v s="$strokes" -v l="$lasts" -v p="$sound" \
    'BEGIN { printf "%d %d %d %s\n", 5 + s * l, s * l * 1000 + 30000, 0, s * p }')
  longest=$(wine "$probe" answers Zoduzazu "$span" | tr -d '\r')
  kill -0 "$pid" 2>/dev/null || longest=crashed
  zdz_wait 30 heard_all "$playable"
  zdz_stop_pid "$pid"
  zdz_record_stop
  heard=$(sounding "$ZDZ_REC")
  # What other programs send is answered during the strokes too: no hang, whatever the file.
  zdz_check "chime, $name: no crash, answers after $strokes stroke(s) ($longest ms, $least..$limit)" \
    answered "$longest" "$least" "$limit"
  zdz_check "chime, $name: heard what is playable ($heard s of $playable)" near "$heard" "$playable"
done

# The Test button, in one run of the program: the file changes under the same name between
# presses, and each press reads it again.
start_clock 09:00:10
zdz_check "the options dialog opens" open_options
for c in "${cases[@]}"; do
  read -r name sound lasts <<<"$c"
  put "$name"
  zdz_record_start "test-$name"
  wine "$probe" click 各種設定 Test
  longest=$(wine "$probe" answers 各種設定 $((2 + ${lasts%.*})) | tr -d '\r')
  # Stopped once all of it has been heard, however late a busy machine began it.
  zdz_wait 30 heard_all "$sound"
  wine "$probe" click 各種設定 Stop
  zdz_record_stop
  heard=$(sounding "$ZDZ_REC")
  # How soon the dialog answers depends on the machine's load; that it answers at all (no crash,
  # no hang) does not.
  zdz_check "Test, $name: no crash, the dialog answers ($longest ms)" \
    answered "$longest" 0 30000
  zdz_check "Test, $name: heard what is playable ($heard s of $sound)" near "$heard" "$sound"
done
zdz_stop_pid "$pid"

# 13 strokes of 0.2 s sound and 0.15 s rest at 13:00, with a right click on the icon during the
# third: every stroke starts on time, and the menu opens once the chime has ended.
settings False
sox -n -r 22050 -c 1 -b 16 "$snd/chime.wav" synth 0.2 sine 660 vol 0.5 fade 0 0.2 0.02 pad 0 0.15
zdz_record_start cuckoo13
start_clock 12:59:58
zdz_wait 30 settled_icon
read -r ix iy iw ih < <(icon_geometry)
# A stroke's sound is 0.19 s as the envelope measures the faded 0.2 s.
strokes_heard() { (($(zdz_strokes "$ZDZ_REC" 0.19) >= $1)); }
# Into the first strokes as they are heard: a recorder slow to start shifts its own clock, so
# the time since it was started says nothing about when the chime began.
zdz_check "the chime begins" zdz_wait 30 strokes_heard 1
xdotool mousemove $((ix + iw / 2)) $((iy + ih / 2)) click 3
zdz_wait 30 strokes_heard 6
zdz_check "no menu opens while the strokes play" zdz_not has_menu
zdz_check "the strokes are heard to their end" zdz_wait 60 zdz_sound_over "$ZDZ_REC" 1
zdz_record_stop
zdz_check "the menu opens once the chime has ended" zdz_wait 30 has_menu
# At the click, not at the screen's corner: the menu spans the click's column and starts on its row.
at_click() {
  local mx my mw cx=$((ix + iw / 2)) cy=$((iy + ih / 2))
  read -r mx my mw _ < <(menu_geometry)
  ((mx - 5 <= cx && cx <= mx + mw + 5 && my - 40 <= cy && cy <= my + 40)) ||
    { echo "  menu at $mx,$my (width $mw), click at $cx,$cy"; return 1; }
}
zdz_check "... at the icon" at_click
xdotool key Escape
# on_time RECORDING: no 1.8 s silence among the strokes (one is due every 0.35 s): a chime held
# up by the click leaves a hole in the middle. A busy server splits and repeats strokes, so the
# sound is checked to be 13 strokes' within what it does (a repeated chime is twice as much).
on_time() {
  zdz_sound_segments "$1" | awk '!/^#/ { bad += n++ && $1 - e >= 1.8; e = $2 } END { exit bad }' &&
    near "$(sounding "$1")" 2.47
}
zdz_check "a right click during 13 strokes delays none of them" on_time "$ZDZ_REC"
zdz_stop_pid "$pid"

# 13 strokes of 3 s: the exit message, then the session's end, each in one chime. Each limit
# leaves more than half the chime to play, so a clock that waits for it to end fails the check.
settings True
put long90
chiming() {  # the window, shown, has been hidden for the chime
  zdz_wait 30 xdotool search --onlyvisible --name '^Zoduzazu$' &&
    zdz_wait 30 zdz_not xdotool search --onlyvisible --name '^Zoduzazu$'
}
# ended SECONDS: the clock's status once it ended (reaped here, where it is our child), or "running".
ended() { status=running; zdz_wait "$1" zdz_not kill -0 "$pid" && { wait "$pid"; status=$?; }; }
start_clock 12:59:58
chiming
took=$(wine "$probe" exit Zoduzazu 15 | tr -d '\r')
zdz_check "the exit message ends a chiming clock ($took ms)" test "$took" -ge 0
ended 15
zdz_check "... through its exit path (status $status)" test "$status" = 0
start_clock 12:59:58
chiming
read -r answer query end < <(wine "$probe" endsession Zoduzazu 15 | tr -d '\r')
zdz_check "WM_QUERYENDSESSION during a chime is answered TRUE ($query ms)" test "$answer" = TRUE
zdz_check "WM_ENDSESSION during a chime is answered ($end ms)" test "$end" != none
ended 15
zdz_check "... and the clock ends, the chime with it (status $status)" test "$status" = 0
zdz_finish
