#!/usr/bin/env bash
# A winmm.dll planted beside the program, as a download folder may hold one, is never loaded:
# neither by the clock that chimes at the top of an hour nor by the real zoduzazu.exe playing
# its chime through the Test button; both are heard. Without a winmm.dll in System32 the Test
# button is silent, and the program goes on. Wine, told "winmm=n,b", loads a DLL from
# the program's folder as Windows does for one that is not a KnownDLL. The planted DLL leaves a
# mark file when it is loaded. Runs inside tests/tools/wine-session.sh.
#   planted_dll.sh ZODUZAZU_EXE SHIFTED_CLOCK_EXE PROBE_EXE PLANTED_DLL CHIME_WAV
# shellcheck disable=SC2317  # functions called through zdz_check and zdz_wait
set -uo pipefail
exe=$1 clock=$2 probe=$3 planted=$4 chime=$5
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../tools/lib-check.sh
source "$here/../tools/lib-check.sh"
# shellcheck source=../e2e/lib-sound.sh
source "$here/../e2e/lib-sound.sh"
# shellcheck source=lib-wine-tray.sh
source "$here/lib-wine-tray.sh"
ZDZ_WORK=$(mktemp -d)
trap 'zdz_stop_all; rm -rf "$ZDZ_WORK"' EXIT
base=${WINEDLLOVERRIDES:-}
export WINEDLLOVERRIDES="$base;winmm=n,b"
key='HKCU\Software\VB and VBA Program Settings\Zazedor\Zazedor'
dl=$WINEPREFIX/drive_c/Downloads
mkdir -p "$dl"
cp "$exe" "$clock" "$chime" "$dl/"
cp "$planted" "$dl/winmm.dll"
# A visible window, cuckoo mode, the chime beside the program.
for k in 0:True 1:True 2:True 3:True 'WAVE:C:\Downloads\Ruvazu.wav' 'WAVEName: Ruvazu.wav'; do
  wine reg add "$key" /v "${k%%:*}" /t REG_SZ /d "${k#*:}" /f >/dev/null 2>&1
done

# A sound in the last 5 s of the recording: cheap enough to ask again and again.
heard() {
  tail -c 441000 "$ZDZ_REC" | sox -t raw -r 44100 -e signed -b 16 -c 1 - -n stat 2>&1 |
    awk '/^Maximum amplitude/ { loud = $3 > 0.05 } END { exit !loud }'
}
# The mark is named as the loader spelled the DLL ("WINMM.dll" for an import).
marks() { find "$dl" -maxdepth 1 -iname winmm.dll.loaded; }
not_loaded() { [[ -z $(marks) ]] || { echo "  its DllMain ran: $(marks)"; return 1; }; }
number() { [[ $1 =~ ^[0-9]+$ ]]; }
zdz_diagnostics() { zdz_sound_segments "$ZDZ_REC"; }
start() {  # start PROGRAM [ARG...]: from the download folder, as a double click starts it
  (cd "$dl" && exec wine "$dl/$(basename "$1")" "${@:2}") &
  pid=$!
  ZDZ_PIDS+=("$pid")
}
window() { zdz_wait 20 xdotool search --onlyvisible --name '^Zoduzazu$'; }

echo "-- the clock at the top of an hour"
zdz_record_start hour
start "$clock" 01:59:58
zdz_check "the clock's window opens" window
zdz_check "the chime is heard" zdz_wait 30 heard
zdz_record_stop
zdz_check "the planted winmm.dll was not loaded" not_loaded
zdz_stop_pid "$pid"
marks | xargs -r rm -f

echo "-- the real program, its Test button"
start "$exe"
zdz_check "zoduzazu.exe's window opens" window
zdz_check "the options dialog opens" open_options
zdz_record_start test
wine "$probe" click 各種設定 Test
zdz_check "the chime is heard" zdz_wait 30 heard
wine "$probe" click 各種設定 Stop
zdz_record_stop
zdz_check "the planted winmm.dll was not loaded" not_loaded
zdz_stop_pid "$pid"

echo "-- no winmm.dll in System32"
# Native only: Wine has none there, so none of the program's waveOut calls can be found.
WINEDLLOVERRIDES="$base;winmm=n" start "$exe"
zdz_check "zoduzazu.exe's window opens" window
zdz_check "the options dialog opens" open_options
zdz_record_start silent
wine "$probe" click 各種設定 Test
zdz_check "the Test button was pressed" zdz_wait 10 wine "$probe" click 各種設定 Stop
longest=$(wine "$probe" answers 各種設定 3 | tr -d '\r')
zdz_record_stop
zdz_check "the dialog still answers ($longest ms)" number "$longest"
zdz_check "the program still runs" kill -0 "$pid"
zdz_check "nothing is heard" test "$(zdz_count_sounds "$ZDZ_REC")" = 0
zdz_check "the planted winmm.dll was not loaded" not_loaded
zdz_stop_pid "$pid"
zdz_finish
