#!/usr/bin/env bash
# Runs a command with a fresh Wine prefix under a Japanese locale (code page 932), inside the
# private headless desktop of headless-session.sh (Xvfb, openbox, trayer, PulseAudio).
#
#   tests/tools/wine-session.sh COMMAND [ARG...]
#
# Exported: WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES, LOCPATH, LANG, and what the headless
# session exports. The Windows face names are mapped to the installed IPA fonts in this prefix
# only, as a Japanese Windows would show them; the program itself asks for the Windows faces.
set -uo pipefail

if [[ ${ZDZ_WINE_INNER:-} != 1 ]]; then
  here=$(cd "$(dirname "$0")" && pwd)
  ZDZ_WINE_INNER=1 exec "$here/headless-session.sh" "$0" "$@"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/zdz-wine.XXXXXX") || exit 1
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LOCPATH="$work/locale" LANG=ja_JP.UTF-8 LC_ALL=
mkdir -p "$LOCPATH"
localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8" 2>/dev/null ||
  { echo "wine-session: cannot build the Japanese locale" >&2; exit 1; }

cleanup() {
  wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

wine wineboot -i >/dev/null 2>&1
for face in "ＭＳ 明朝:IPAMincho" "ＭＳ Ｐゴシック:IPAPGothic" "MS UI Gothic:IPAPGothic"; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${face%%:*}" /t REG_SZ \
    /d "${face##*:}" /f >/dev/null 2>&1
done
# A crash ends the process (and fails its test) instead of waiting in Wine's crash dialog.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
# A persistent, warm server: each test process then starts in a fraction of a second.
wineserver -p
wine cmd /c exit >/dev/null 2>&1

"$@"
