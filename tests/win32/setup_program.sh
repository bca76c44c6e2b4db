#!/usr/bin/env bash
# The setup program, silent, in the Wine prefix of tests/tools/wine-session.sh (Japanese locale):
# an install, the installed clock's first run, an upgrade over the running clock, an uninstall,
# then an install without start at sign-in into a folder of the user's choice, upgraded, and
# upgraded again while its clock chimes.
# Leaves the prefix without the program or its settings.
#   setup_program.sh SETUP_EXE BUILD_DIR VERSION SHIFTED_CLOCK_EXE
# shellcheck disable=SC2317  # functions called through zdz_check and zdz_wait
set -uo pipefail
setup=$1 build=$2 version=$3 shifted=$4
# shellcheck source=../tools/lib-check.sh
source "$(dirname "$0")/../tools/lib-check.sh"
# shellcheck source=lib-wine-tray.sh
source "$(dirname "$0")/lib-wine-tray.sh"
[[ -f $setup ]] || { echo "FAILED: no $setup; build it: (cd $build && cpack -G NSIS64)"; exit 1; }
# Wine would otherwise copy the Start menu shortcut into the Linux desktop's menus.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-};winemenubuilder.exe=d"
settings='HKCU\Software\VB and VBA Program Settings\Zazedor'
apps='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall'
run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
approved='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run'
off=030000000000000000000000  # Task Manager's "disabled" for a Run value
work=$(mktemp -d)
trap 'zdz_stop_all; rm -rf "$work"' EXIT

query() { wine reg query "$@" 2>/dev/null | iconv -f CP932 -t UTF-8 | tr -d '\r'; }
value() { query "$1" /v "$2" | awk -v n="$2" '$1 == n { sub(/^ +[^ ]+    REG_[A-Z_]+    /, ""); print }'; }
# value_is KEY NAME EXPECTED, or says what NAME holds
value_is() { [[ $(value "$1" "$2") == "$3" ]] || { echo "  $2 is \"$(value "$1" "$2")\""; return 1; }; }
absent() { ! wine reg query "$1" ${2:+/v "$2"} >/dev/null 2>&1; }
no_autostart() { absent "$run" Zoduzazu && absent "$approved" Zoduzazu; }
winenv() { wine cmd /c echo "%$1%" | tr -d '\r'; }
has_icon() { test -n "$(icon_window)"; }
another_icon() { local now; now=$(icon_window); [[ -n $now && $now != "$1" ]]; }
gone() { ! xwininfo -id "${1:-none}" >/dev/null 2>&1; }  # without an id, xwininfo waits for a click
# The target and the icon of a shell link, as two lines.
link() {
  python3 - "$1" <<'EOF'
import struct, sys
d = open(sys.argv[1], "rb").read()
flags = struct.unpack_from("<I", d, 20)[0]
at = 76 + (2 + struct.unpack_from("<H", d, 76)[0] if flags & 1 else 0)
size, head, _, _, local = struct.unpack_from("<5I", d, at)
target = d[at + local:d.index(b"\0", at + local)].decode("cp932")
if head >= 36:
    wide = at + struct.unpack_from("<I", d, at + 28)[0]
    target = d[wide:d.index(b"\0\0", wide) + 1].decode("utf-16-le").rstrip("\0")
at, strings = at + size, []
for bit in range(2, 7):
    if flags & (1 << bit):
        n = struct.unpack_from("<H", d, at)[0]
        strings.append(d[at + 2:at + 2 + 2 * n].decode("utf-16-le"))
        at += 2 + 2 * n
print(target)
print(strings[-1] if flags & 64 else "")
EOF
}
link_is() { [[ $(link "$1" 2>/dev/null) == "$2"$'\n'"$3" ]]; }  # link_is LNK TARGET ICON
# The uninstaller goes on from a copy of itself in the temporary folder, "...\Un.exe /S _?=DIR".
uninstalling() { pgrep -f '\\Un\.exe /S _\?=' >/dev/null; }
missing() { local f; for f; do [[ ! -e $f ]] || { echo "  still there: $f"; return 1; }; done; }
installed() {  # installed FOLDER: the three files, as built, and the uninstaller
  cmp -s "$1/zoduzazu.exe" "$build/zoduzazu.exe" && cmp -s "$1/Ruvazu.wav" "$build/Ruvazu.wav" &&
    cmp -s "$1/README.txt" "$build/packaging/win32/README.txt" && test -s "$1/uninstall.exe"
}
written() { query "$settings\\Zazedor" | grep -q WAVEName; }
only_in() { installed "$1" && missing "$dir"; }  # only_in FOLDER: and not in the default one
replaced() { installed "$1" && [[ -z $(find "$1" -maxdepth 1 -newermt 2000-12-31 ! -newermt 2001-01-02) ]]; }
one_of_each() {  # one shortcut, one uninstall entry, a Run value
  [[ $(find "$(dirname "$lnk")" -mindepth 1 -maxdepth 1 -iname '*zoduzazu*' | grep -c .) == 1 &&
    $(query "$apps" | grep -ci zoduzazu) == 1 && -n $(value "$run" Zoduzazu) ]]
}

wine reg delete "$settings" /f >/dev/null 2>&1
local_w=$(winenv LOCALAPPDATA)
dir_w="$local_w\\Programs\\Zoduzazu" dir=$(winepath -u "$local_w")/Programs/Zoduzazu
lnk="$(winepath -u "$(winenv APPDATA)")/Microsoft/Windows/Start Menu/Programs/Zoduzazu.lnk"

echo "-- silent install"
wine "$setup" /S
zdz_check "setup /S ends with 0" test $? = 0
zdz_check "the program, the chime, the read-me and the uninstaller are in $dir_w" installed "$dir"
zdz_check "the Start menu shortcut opens the installed program, with its icon" \
  link_is "$lnk" "$dir_w\\zoduzazu.exe" "$dir_w\\zoduzazu.exe"
zdz_check "the Run value holds the quoted path" value_is "$run" Zoduzazu "\"$dir_w\\zoduzazu.exe\""
entry=$(query "$apps\\Zoduzazu" | sed -E "s/^ +//; s/ {2,}/ /g")
expect=("DisplayName REG_SZ Zoduzazu" "DisplayVersion REG_SZ $version"
  "Publisher REG_SZ Zoduzazu Project" "DisplayIcon REG_SZ $dir_w\\zoduzazu.exe"
  "UninstallString REG_SZ \"$dir_w\\uninstall.exe\""
  "QuietUninstallString REG_SZ \"$dir_w\\uninstall.exe\" /S")
for line in "${expect[@]}"; do
  zdz_check "the uninstall entry's ${line%% *}" grep -qxF "$line" <<<"$entry"
done
size=$(value "$apps\\Zoduzazu" EstimatedSize) kb=-1
[[ $size =~ ^0x[0-9a-f]+$ ]] && kb=$((16#${size#0x}))
files_kb=$(($(cat "$dir"/* | wc -c) / 1024))
zdz_check "EstimatedSize ($kb KB) is the files' size ($files_kb KB)" \
  test $((kb >= files_kb - 8 && kb <= files_kb + 8)) = 1

echo "-- the installed clock's first run"
wine "$dir/zoduzazu.exe" &
pid=$! ZDZ_PIDS=("$!")
zdz_wait 10 written
# The other defaults are real_program.sh's: here where the chime was installed.
zdz_check "WAVE is the installed chime" value_is "$settings\\Zazedor" WAVE "$dir_w\\Ruvazu.wav"
zdz_check "its icon is in the tray" zdz_wait 10 has_icon
old_icon=$(icon_window)

# upgrade FOLDER WHAT: setup /S over the clock $pid installed in FOLDER; sets $status to the
# clock's end status, "running" if it did not end. Reaped here, not in zdz_check's subshell,
# whose wait cannot see the clock.
upgrade() {
  touch -d 2001-01-01 "$1"/*
  wine "$setup" /S
  zdz_check "$2 ends with 0" test $? = 0
  status=running
  # shellcheck disable=SC2034  # the session's clean-up reads ZDZ_PIDS: nothing left to kill
  zdz_wait 30 zdz_not kill -0 "$pid" && { wait "$pid"; status=$? ZDZ_PIDS=(); }
}

echo "-- silent upgrade over the running clock"
# Settings the user chose: the restarted clock must find them, not its defaults.
wine reg add "$settings\\Zazedor" /v 3 /d True /f >/dev/null 2>&1
wine reg add "$approved" /v Zoduzazu /t REG_BINARY /d $off /f >/dev/null 2>&1
wine reg export "$settings" "$(winepath -w "$work/before.reg")" >/dev/null 2>&1
upgrade "$dir" "setup /S"
zdz_check "the clock ended through its exit command (status 0)" test "$status" = 0
zdz_check "its icon left the tray" gone "$old_icon"
zdz_check "the files were replaced" replaced "$dir"
zdz_check "the clock runs again, in the tray" zdz_wait 10 another_icon "$old_icon"
wine reg export "$settings" "$(winepath -w "$work/after.reg")" >/dev/null 2>&1
zdz_check "the settings are byte for byte the same" cmp "$work/before.reg" "$work/after.reg"
zdz_check "one shortcut, one uninstall entry, the Run value kept" one_of_each
zdz_check "start at sign-in stays switched off in Task Manager" value_is "$approved" Zoduzazu "$off"

echo "-- silent uninstall, the clock's options dialog open"
new_icon=$(icon_window)
# Behind its options dialog the clock takes no command: setup has to cancel the dialog first.
zdz_wait 5 settled_icon && choose_first_item 3 1
zdz_check "the options dialog is open" zdz_wait 5 xdotool search --onlyvisible --name '^各種設定$'
wine "$dir/uninstall.exe" /S
zdz_check "uninstall /S ends with 0" test $? = 0
zdz_wait 20 zdz_not uninstalling
zdz_check "the running clock ended, its icon gone" gone "$new_icon"
zdz_check "the program's folder and its shortcut are gone" missing "$dir" "$lnk"
zdz_check "the Run value and its Task Manager switch are gone" no_autostart
zdz_check "the uninstall entry is gone" absent "$apps\\Zoduzazu"
rm -f "$work/after.reg"
wine reg export "$settings" "$(winepath -w "$work/after.reg")" >/dev/null 2>&1
zdz_check "the settings are kept" cmp "$work/before.reg" "$work/after.reg"

echo "-- /D= quoted, as a folder with spaces is typed"
# Wine quotes an argument that holds a space: the setup program sees "/D=C:\...".
sp_w='C:\Program Files\時計 ｿﾞﾄﾞｩ' sp=$(winepath -u 'C:\Program Files\時計 ｿﾞﾄﾞｩ')
# First as a first install does, starting at sign-in; then switched off and on again.
for autostart in "" /AUTOSTART=0 /AUTOSTART=1; do
  wine "$setup" /S ${autostart:+"$autostart"} "/D=$sp_w"
  zdz_check "setup /S ${autostart:+$autostart }\"/D=...\" ends with 0" test $? = 0
  zdz_check "... the program is in $sp_w" only_in "$sp"
  if [[ $autostart == */AUTOSTART=0 ]]; then
    zdz_check "... without the Run value" absent "$run" Zoduzazu
  else
    zdz_check "... and starts at sign-in" value_is "$run" Zoduzazu "\"$sp_w\\zoduzazu.exe\""
  fi
done
wine "$sp/uninstall.exe" /S
zdz_wait 20 zdz_not uninstalling
zdz_check "its uninstaller removes it" missing "$sp" "$lnk"

echo "-- a /D= that is not the last argument or names no full path"
for args in "/D=$sp_w|/AUTOSTART=1" "/D=Zoduzazu" "/D="; do
  IFS='|' read -ra a <<<"$args"
  wine "$setup" /S "${a[@]}"
  zdz_check "setup /S ${a[*]} is refused (exit 2)" test $? = 2
  zdz_check "... and installs nothing" missing "$sp" "$dir" "$lnk"
  zdz_check "... registers nothing" absent "$apps\\Zoduzazu"
done

echo "-- without start at sign-in, into a folder of the user's choice"
own_w='C:\時計ｿﾞﾄﾞｩｻﾞｽﾞ' own=$(winepath -u 'C:\時計ｿﾞﾄﾞｩｻﾞｽﾞ')
wine "$setup" /S /AUTOSTART=0 "/D=$own_w"
zdz_check "setup /S /AUTOSTART=0 /D=... ends with 0" test $? = 0
zdz_check "the program is in $own_w" only_in "$own"
zdz_check "no Run value" absent "$run" Zoduzazu
wine "$setup" /S
zdz_check "an upgrade stays in that folder" only_in "$own"
zdz_check "... and adds no Run value" absent "$run" Zoduzazu
# The installed clock shifted to just before 13:00, cuckoo: 13 strokes of 2 s, longer than setup
# waits for a clock to end.
sox -n -r 8000 -c 1 -b 16 "$work/chime.wav" synth 2 sine 440 vol 0.5
for k in 0:True 1:True 2:True 3:True "WAVE:$(winepath -w "$work/chime.wav")"; do
  wine reg add "$settings\\Zazedor" /v "${k%%:*}" /d "${k#*:}" /f >/dev/null 2>&1
done
cp "$shifted" "$own/zoduzazu.exe"
wine "$own/zoduzazu.exe" 12:59:58 &
# shellcheck disable=SC2034  # the session's clean-up reads ZDZ_PIDS
pid=$! ZDZ_PIDS=("$!")
# The window, shown, is hidden for the chime.
zdz_wait 30 xdotool search --onlyvisible --name '^Zoduzazu$' &&
  zdz_wait 30 zdz_not xdotool search --onlyvisible --name '^Zoduzazu$'
upgrade "$own" "an upgrade during the chime"
zdz_check "... ends the chiming clock (status $status)" test "$status" = 0
zdz_check "... replaces the files" replaced "$own"
zdz_check "... and starts the new clock" zdz_wait 60 xdotool search --name '^Zoduzazu$'
wine "$own/uninstall.exe" /S
zdz_wait 20 zdz_not uninstalling
zdz_check "its uninstaller removes the uninstall entry" absent "$apps\\Zoduzazu"
zdz_check "... the folder and the shortcut" missing "$own" "$lnk"

wine reg delete "$settings" /f >/dev/null 2>&1
zdz_finish
