#!/usr/bin/env bash
# The real program's footprint: binary size, start-up time to the visible window, resident
# memory and CPU time after a minute of ticking. Run inside tests/tools/headless-session.sh:
#   tests/tools/headless-session.sh bench/measure_program.sh build/zoduzazu
set -euo pipefail
program=${1:?usage: measure_program.sh PATH/TO/zoduzazu [SECONDS]}
seconds=${2:-60}

export XDG_CONFIG_HOME="$ZDZ_SESSION_DIR/bench-config"
mkdir -p "$XDG_CONFIG_HOME/Zazedor"
printf '[Zazedor]\n0=True\n1=True\n2=False\n3=False\nWAVE=\nWAVEName=" Ruvazu.wav"\n' \
  >"$XDG_CONFIG_HOME/Zazedor/Zazedor.conf"

echo "binary size: $(stat -c %s "$program") bytes ($(du -h "$program" | cut -f1))"

start=$(date +%s.%N)
"$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
until xdotool search --onlyvisible --pid "$pid" --name '^Zoduzazu$' >/dev/null 2>&1; do
  sleep 0.01
done
shown=$(date +%s.%N)
echo "start-up to visible window: $(awk -v a="$start" -v b="$shown" 'BEGIN{printf "%.0f ms", (b-a)*1000}')"

read -r u0 s0 < <(awk '{print $14, $15}' "/proc/$pid/stat")
sleep "$seconds"
read -r u1 s1 < <(awk '{print $14, $15}' "/proc/$pid/stat")
tck=$(getconf CLK_TCK)
echo "CPU time over ${seconds} s of ticking: $(awk -v d=$((u1 + s1 - u0 - s0)) -v t="$tck" 'BEGIN{printf "%.0f ms", d*1000/t}')"
echo "resident memory after ${seconds} s: $(awk '/VmRSS/{print $2, $3}' "/proc/$pid/status")"
