#!/usr/bin/env bash
# The real zoduzazu.exe on an empty registry: it comes up in the notification area and leaves
# the six defaults, read back from outside. Runs inside tests/tools/wine-session.sh.
set -uo pipefail
exe=$1
key='HKCU\Software\VB and VBA Program Settings\Zazedor'
wine reg delete "$key" /f >/dev/null 2>&1
wine "$exe" &
pid=$!
trap 'kill $pid 2>/dev/null; wineserver -w 2>/dev/null' EXIT

values=""
for _ in $(seq 100); do
  values=$(wine reg query "$key\\Zazedor" 2>/dev/null | iconv -f CP932 -t UTF-8 | tr -d '\r')
  [[ $values == *WAVEName* ]] && break
  sleep 0.1
done
failed=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; fi; }
for k in 0 1 2 3; do check "flag $k is False" "grep -Eq '^ +$k +REG_SZ +False\$' <<<\"\$values\""; done
check "WAVE is the chime beside the program" "grep -Eq '^ +WAVE +REG_SZ +.*\\\\Ruvazu\\.wav\$' <<<\"\$values\""
check "WAVEName is ' Ruvazu.wav'" "grep -Eq '^ +WAVEName +REG_SZ +  Ruvazu\\.wav\$' <<<\"\$values\""
# In the tray: trayer embeds an icon window, and no top-level window is shown.
sleep 1
check "an icon sits in the tray host" "xwininfo -root -tree | awk '/\"panel\"/{p=1} p' | grep -q 'has no name'"
check "the clock window is hidden" "! xdotool search --onlyvisible --name '^Zoduzazu\$' >/dev/null"
((failed == 0)) || { echo "$values"; exit 1; }
