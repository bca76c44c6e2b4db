#!/usr/bin/env bash
# Chime files of every kind under Wine: each is played by the program at the top of an hour (a
# cuckoo chime) and by the options dialog's Test button. None may crash the clock; the window
# answers again within the strokes' capped length plus 2 s; what is recorded from the sound
# server is what the file holds that can be played. A right click on the icon during a 13-stroke
# chime waits until the chime ends. Runs inside tests/tools/wine-session.sh.
#   chime_files.sh SHIFTED_CLOCK_EXE PROBE_EXE
set -uo pipefail
clock=$1 probe=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
ZDZ_WORK=$work ZDZ_PIDS=()
# shellcheck source=../e2e/lib-sound.sh
source "$here/../e2e/lib-sound.sh"
zdz_stop_pid() { kill "$1" 2>/dev/null; wait "$1" 2>/dev/null; }
zdz_wait() { local i; for ((i = 0; i < $1 * 10; i++)); do "${@:2}" >/dev/null 2>&1 && return 0; sleep 0.1; done; return 1; }
failed=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; return 1; fi; }

cap=3  # seconds a stroke may last here; the program's own cut, set shorter to be heard quickly
key='HKCU\Software\VB and VBA Program Settings\Zazedor\Zazedor'
snd=$WINEPREFIX/drive_c/snd
mkdir -p "$snd"
trap 'kill "${ZDZ_PIDS[@]}" 2>/dev/null; rm -rf "$work"' EXIT
# A crash ends the process instead of waiting in Wine's dialog.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1

# The files, each with the seconds of sound a stroke plays and how long a stroke lasts.
f=$work/files
mkdir -p "$f"
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
check "the whole chime is 114,704 bytes" '(($(stat -c %s "$f/full.wav") == 114704))'
# name: sounding seconds per stroke, lasting seconds per stroke
cases=("truncated 0.646 0.646" "claims2g 0.5 0.5" "long90 $cap $cap" "sparse1g 0 $cap"
  "empty 0 0" "text 0 0" "pcm8 0.5 0.5" "float 0.5 0.5" "msadpcm 0.5 0.5" "imaadpcm 0.5 0.5"
  "missing 0 0")

# The seconds of sound in a recording.
sounding() { zdz_sound_segments "$1" | awk '!/^#/ { s += $2 - $1 } END { printf "%.2f\n", s }'; }
# Loose above: a loaded sound server stretches a sound a little, never by a whole stroke.
near() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a - b < 0.3 && b - a < 0.15) }'; }
put() { rm -f "$snd/chime.wav"; [[ $1 == missing ]] || cp "$f/$1.wav" "$snd/chime.wav"; }
settings() {  # settings WINDOW_MODE
  local k
  for k in 0:True 1:$1 2:True 3:True; do
    wine reg add "$key" /v "${k%%:*}" /t REG_SZ /d "${k##*:}" /f >/dev/null 2>&1
  done
  wine reg add "$key" /v WAVE /t REG_SZ /d 'C:\snd\chime.wav' /f >/dev/null 2>&1
  wine reg add "$key" /v WAVEName /t REG_SZ /d ' chime.wav' /f >/dev/null 2>&1
}
start_clock() {  # start_clock HH:MM:SS
  wine "$clock" "$1" "$cap" &
  pid=$!
  ZDZ_PIDS+=("$pid")
  zdz_wait 20 xdotool search --name '^Zoduzazu$'
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
  limit=$(awk -v s="$strokes" -v l="$lasts" 'BEGIN { printf "%d", s * l * 1000 + 2000 }')
  longest=$(wine "$probe" answers Zoduzazu $((3 + limit / 1000)) | tr -d '\r')
  alive=$(kill -0 "$pid" 2>/dev/null && echo yes)
  zdz_stop_pid "$pid"
  zdz_record_stop
  heard=$(sounding "$ZDZ_REC")
  echo "  $name: $strokes strokes, longest wait for an answer ${longest} ms (limit $limit), heard ${heard} s"
  # The chime holds the window as it always has: nothing is served during its sound.
  check "chime, $name: no crash, answers once the strokes end, within the limit" \
    '[[ $alive == yes && $longest =~ ^[0-9]+$ ]] && ((longest <= limit)) &&
     ((longest >= $(awk -v s="$strokes" -v l="$lasts" "BEGIN { printf \"%d\", s * l * 900 }")))'
  check "chime, $name: heard what is playable" \
    "near $heard $(awk -v s="$strokes" -v l="$sound" 'BEGIN { print s * l }')" ||
    zdz_sound_segments "$ZDZ_REC"
done

# The Test button, in one run of the program: the file changes under the same name between
# presses, and each press reads it again.
start_clock 09:00:10
zdz_wait 10 xdotool search --onlyvisible --name '^Zoduzazu$'
options() {  # Ctrl+O, again if the window was not ready for it
  xdotool search --onlyvisible --name '^Zoduzazu$' windowactivate --sync key ctrl+o
  zdz_wait 5 xdotool search --onlyvisible --name '^各種設定$'
}
check "the options dialog opens" 'options || options || options'
for c in "${cases[@]}"; do
  read -r name sound lasts <<<"$c"
  put "$name"
  zdz_record_start "test-$name"
  wine "$probe" click 各種設定 Test
  longest=$(wine "$probe" answers 各種設定 $((2 + ${lasts%.*})) | tr -d '\r')
  wine "$probe" click 各種設定 Stop
  zdz_record_stop
  heard=$(sounding "$ZDZ_REC")
  echo "  Test, $name: longest wait for an answer ${longest} ms, heard ${heard} s"
  check "Test, $name: no crash, the dialog answers while it plays" \
    '[[ $longest =~ ^[0-9]+$ ]] && ((longest <= 2000))'
  check "Test, $name: heard what is playable" "near $heard $sound"
done
zdz_stop_pid "$pid"

# 13 strokes of 0.2 s sound and 0.15 s rest at 13:00, with a right click on the icon during the
# third: every stroke starts on time, and the menu opens once the chime has ended.
settings False
sox -n -r 22050 -c 1 -b 16 "$snd/chime.wav" synth 0.2 sine 660 vol 0.5 fade 0 0.2 0.02 pad 0 0.15
zdz_record_start cuckoo13
start_clock 12:59:58
icon() {
  xwininfo -root -tree | awk '/"panel"/ { p = 1 } p && /has no name/ { print; exit }' |
    grep -Eo ' +\+-?[0-9]+\+-?[0-9]+' | tail -1 | tr '+' ' '
}
zdz_wait 20 test -n "$(icon)"
read -r ix iy < <(icon)
sleep 2.3  # into the first strokes: the chime starts about 2 s after the program
# Wine's pop-up menu is a mapped override-redirect window taller than the icon's tip.
has_menu() {
  local id info
  for id in $(xwininfo -root -children | grep -Eo '^ +0x[0-9a-f]+'); do
    info=$(xwininfo -id "$id")
    grep -q IsViewable <<<"$info" && grep -q 'Override Redirect State: yes' <<<"$info" &&
      (($(awk '/Height:/ { print $NF }' <<<"$info") > 30)) && return 0
  done
  return 1
}
xdotool mousemove $((ix + 8)) $((iy + 8)) click 3
sleep 1
check "no menu opens while the strokes play" '! has_menu'
sleep 3.5
zdz_record_stop
check "the menu opens once the chime has ended" 'zdz_wait 5 has_menu'
xdotool key Escape
onsets=$(zdz_sound_segments "$ZDZ_REC" | awk '!/^#/ { print $1 }')
echo "  13 strokes, onsets: $(tr '\n' ' ' <<<"$onsets")"
check "a right click during 13 strokes delays none of them" \
  "(($(wc -l <<<"$onsets") == 13)) && awk 'NR > 1 && \$1 - p > 0.45 { bad = 1 } { p = \$1 } END { exit bad }' <<<\"\$onsets\""
zdz_stop_pid "$pid"
exit "$failed"
