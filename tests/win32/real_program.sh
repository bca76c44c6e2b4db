#!/usr/bin/env bash
# The real zoduzazu.exe, observed from outside: on an empty registry it comes up in the
# notification area and leaves the six defaults; real clicks on its icon open the three menus;
# a chime named outside the code page plays. Runs inside tests/tools/wine-session.sh.
#   real_program.sh ZODUZAZU_EXE DESKTOP_TEST_EXE CHIME_WAV
# shellcheck disable=SC2317  # functions called through zdz_check and zdz_wait
set -uo pipefail
exe=$1 desktop_test=$2 chime=$3
here=$(cd "$(dirname "$0")" && pwd)
key='HKCU\Software\VB and VBA Program Settings\Zazedor'
ZDZ_WORK=$(mktemp -d)
# shellcheck source=../tools/lib-check.sh
source "$here/../tools/lib-check.sh"
# shellcheck source=../e2e/lib-sound.sh
source "$here/../e2e/lib-sound.sh"
# shellcheck source=lib-wine-tray.sh
source "$here/lib-wine-tray.sh"
visible() { xdotool search --onlyvisible --name "^$1\$"; }

wine reg delete "$key" /f >/dev/null 2>&1
wine "$exe" &
ZDZ_PIDS+=("$!")
trap 'zdz_stop_all; wineserver -w 2>/dev/null; rm -rf "$ZDZ_WORK"' EXIT

stored() { wine reg query "$key\\Zazedor" 2>/dev/null | iconv -f CP932 -t UTF-8 | tr -d '\r'; }
written() { [[ $(stored) == *WAVEName* ]]; }
zdz_wait 60 written  # only a program that never writes them takes this long
values=$(stored)
zdz_check "the four flags are False" test "$(grep -Ec '^ +[0-3] +REG_SZ +False$' <<<"$values")" = 4
zdz_check "WAVE is the chime beside the program" grep -Eq '^ +WAVE +REG_SZ +.*\\Ruvazu\.wav$' <<<"$values"
zdz_check "WAVEName is ' Ruvazu.wav'" grep -Eq '^ +WAVEName +REG_SZ +  Ruvazu\.wav$' <<<"$values"
((ZDZ_FAILED == 0)) || echo "$values"

# In the tray: trayer embeds the icon's window, and no top-level window is shown.
zdz_check "an icon sits in the tray host" zdz_wait 5 settled_icon
zdz_check "the clock window is hidden" zdz_not visible Zoduzazu
# opens BUTTON REPEAT TITLE: the clicks open a menu whose first item shows the window TITLE.
opens() {
  choose_first_item "$1" "$2" && zdz_wait 30 visible "$3" ||
    { echo "  no $3 after a click at ${chosen_at:-nothing}"; return 1; }
}
zdz_check "a left click opens the file menu, whose first item brings the window out" \
  opens 1 1 Zoduzazu
xdotool search --onlyvisible --name '^Zoduzazu$' windowactivate --sync key ctrl+t
back_in_tray() { zdz_wait 30 zdz_not visible Zoduzazu && zdz_wait 30 settled_icon; }
zdz_check "Ctrl+T puts the window back into the tray" back_in_tray
# The dialog that opens closes again with Esc, once it has the keyboard: shown is not yet focused.
focused() { [[ $(xdotool getactivewindow getwindowname 2>/dev/null) == "$1" ]]; }
opens_and_closes() {
  opens "$@" && zdz_wait 30 focused "$3" && xdotool key Escape && zdz_wait 30 zdz_not visible "$3"
}
zdz_check "a right click opens the settings menu: the options, closed by Esc" \
  opens_and_closes 3 1 各種設定
zdz_check "a double click opens the version menu: the version dialog, closed by Esc" \
  opens_and_closes 1 2 'Zoduzazuのﾊﾞｰｼﾞｮﾝ情報'

# The chime, recorded from the sound server.
mkdir -p "$WINEPREFIX/drive_c/音"
cp "$chime" "$WINEPREFIX/drive_c/音/ﾁｬｲﾑ 鐘 ✓ 종.wav"
zdz_record_start chime
wine "$desktop_test" --gtest_also_run_disabled_tests \
  --gtest_filter='SystemOutput.DISABLED_AChimeNamedOutsideTheCodePagePlays' >"$ZDZ_WORK/play.log" 2>&1
played=$?
# The recorder hears the strokes a little after the play returns. How many pieces they come in
# is the sound server's business: on a busy machine it drops out inside a stroke, and two strokes
# back to back may leave no gap. That both were played out is the test program's own check.
heard() { (($(zdz_count_sounds "$ZDZ_REC") > 0)); }
((played == 0)) && zdz_wait 30 heard
zdz_record_stop
zdz_check "the chime named outside the code page plays both strokes and is heard" \
  test "$played $(zdz_count_sounds "$ZDZ_REC" | awk '{ print ($1 > 0) }')" = "0 1"
((played == 0)) || cat "$ZDZ_WORK/play.log"
zdz_sound_segments "$ZDZ_REC"
zdz_finish
