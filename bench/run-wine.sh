#!/usr/bin/env bash
# What the Windows program costs under Wine, side by side with a minimal Win32 clock (the
# floor), each in a Wine prefix of its own so that each wineserver serves one clock: CPU of the
# process and of its wineserver, context switches, memory, how late the caption turns over,
# and the .exe's size and imports.
#
#   bench/run-wine.sh [WIN32_BUILD_DIR]   (default build/win32; configured and built when needed)
#
# BENCH_SECONDS (60) is the length of the steady run, BENCH_CAPTION_SECONDS (20) how long each
# caption is watched. Prints, asserts nothing.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=$(realpath -m "${1:-$root/build/win32}")
# shellcheck source=bench/lib-bench.sh
source "$here/lib-bench.sh"

if [[ -z ${ZDZ_SESSION_DIR:-} ]]; then
  # The build runs Wine itself (the resource generators): a prefix beside the build's.
  WINEPREFIX="$(dirname "$build")/win32-build-prefix"
  export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  bench_build "$build" -DCMAKE_BUILD_TYPE=Release -DZDZ_DESKTOP=win32 \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" || exit 1
  wineserver -k 2>/dev/null
  unset WINEPREFIX
  exec "$root/tests/tools/wine-session.sh" "$0" "$build"
fi
bench_work
work=$BENCH_WORK
seconds=${BENCH_SECONDS:-60}
caption_seconds=${BENCH_CAPTION_SECONDS:-20}
declare -A exe=([window]="$build/zoduzazu.exe" [floor]="$build/bench/zdz_floor_win32.exe")
declare -A title=([window]=Zoduzazu [floor]="Win32 floor")
declare -A name=([window]="zoduzazu, window" [floor]="Win32 floor")
declare -A prefix=([window]="$WINEPREFIX" [floor]="$work/floor-prefix")
probe_exe="$build/bench/zdz_caption_probe_win32.exe"
kinds=(window floor)

in_prefix() { WINEPREFIX="${prefix[$1]}" "${@:2}"; }
trap 'stop_all; in_prefix floor wineserver -k 2>/dev/null' EXIT

# The floor's prefix, made and warmed as wine-session.sh makes the clock's.
in_prefix floor wine wineboot -i >/dev/null 2>&1
in_prefix floor wineserver -p
in_prefix floor wine cmd /c exit >/dev/null 2>&1

# The clock in window mode, 24-hour, no chime.
key='HKCU\Software\VB and VBA Program Settings\Zazedor\Zazedor'
for flag in 0:True 1:True 2:False 3:False; do
  wine reg add "$key" /v "${flag%%:*}" /t REG_SZ /d "${flag##*:}" /f >/dev/null 2>&1
done

# The wineserver serving a prefix: the one whose environment names it.
wineserver_of() {
  local p
  for p in $(pgrep -u "$(id -u)" -x wineserver64); do
    grep -qxzF "WINEPREFIX=$1" "/proc/$p/environ" 2>/dev/null && echo "$p"
  done | head -n1
}

declare -A server
for k in "${kinds[@]}"; do
  # Not through in_prefix: $! is then the Wine process itself, not a shell around it.
  WINEPREFIX="${prefix[$k]}" wine "${exe[$k]}" </dev/null >"$work/$k.out" 2>&1 &
  pid["$k"]=$!
  server[$k]=$(wineserver_of "${prefix[$k]}")
done
sleep 3  # past start-up and the first repaints
declare -A before
for k in "${kinds[@]}"; do
  before[$k]="$(bench_sample "${pid[$k]}")|$(bench_sample "${server[$k]}")"
done
sleep "$seconds"
declare -A own wine rss pss threads
for k in "${kinds[@]}"; do
  own[$k]=$(bench_per_minute "$seconds" "${before[$k]%|*}" "$(bench_sample "${pid[$k]}")")
  wine[$k]=$(bench_per_minute "$seconds" "${before[$k]#*|}" "$(bench_sample "${server[$k]}")")
  read -r "rss[$k]" "pss[$k]" < <(memory "${pid[$k]}")
  threads[$k]=$(awk '/^Threads:/ { print $2 }' "/proc/${pid[$k]}/status")
done
# One caption at a time: a probe polling every millisecond is a load of its own.
for k in "${kinds[@]}"; do
  in_prefix "$k" wine "$probe_exe" "${title[$k]}" "$caption_seconds" >"$work/$k.captions" \
    2>>"$work/probe.err"
done
stop_all

echo "Zoduzazu under Wine, $(date -u '+%Y-%m-%d %H:%M UTC'); $(nproc) cores, $(cpu_model); $(wine --version)"
echo "Steady run of ${seconds} s, both at once, each with a prefix and wineserver of its own."
echo "Process and wineserver: run time of all threads (schedstat); ticks: user+system time."
printf '%-18s %12s %10s %9s %7s %7s %8s %15s %13s\n' program "exact ms/min" "ticks ms/min" \
  "switch/s" "RSS MB" "PSS MB" threads "server ms/min" "server sw/s"
for k in "${kinds[@]}"; do
  read -ra o <<<"${own[$k]}"
  read -ra w <<<"${wine[$k]}"
  printf '%-18s %12s %10s %9s %7s %7s %8s %15s %13s\n' "${name[$k]}" "${o[0]}" "${o[2]}" "${o[1]}" \
    "$(mb "${rss[$k]}")" "$(mb "${pss[$k]}")" "${threads[$k]}" "${w[0]}" "${w[1]}"
done
read -ra ow <<<"${own[window]}"
read -ra of <<<"${own[floor]}"
read -ra sw <<<"${wine[window]}"
read -ra sf <<<"${wine[floor]}"
echo
printf '%-28s %10s %9s %7s %7s %12s %12s\n' ratio "CPU exact" switches RSS PSS "server CPU" \
  "CPU+server"
printf '%-28s %10s %9s %7s %7s %12s %12s\n' "${name[window]} / ${name[floor]}" \
  "$(ratio "${ow[0]}" "${of[0]}")" "$(ratio "${ow[1]}" "${of[1]}")" \
  "$(ratio "${rss[window]}" "${rss[floor]}")" "$(ratio "${pss[window]}" "${pss[floor]}")" \
  "$(ratio "${sw[0]}" "${sf[0]}")" \
  "$(ratio "$(awk -v a="${ow[0]}" -v b="${sw[0]}" 'BEGIN { print a + b }')" \
    "$(awk -v a="${of[0]}" -v b="${sf[0]}" 'BEGIN { print a + b }')")"
echo

echo "Caption lateness: real time of each change (read from another process every 1 ms)"
echo "minus the start of the second it shows."
printf '%-18s %8s %11s %10s %10s\n' program changes "median ms" "worst ms" "best ms"
for k in "${kinds[@]}"; do
  read -ra cols < <(lateness "$work/$k.captions")
  printf '%-18s %8s %11s %10s %10s\n' "${name[$k]}" "${cols[@]}"
done
echo

echo "Size stripped and imports (system DLLs: present in the prefix's system32):"
for k in "${kinds[@]}"; do
  x86_64-w64-mingw32-strip -o "$work/$k.exe" "${exe[$k]}"
  imports=$(x86_64-w64-mingw32-objdump -p "${exe[$k]}" | sed -n 's/^[[:space:]]*DLL Name: //p')
  others=$(while read -r dll; do
    [[ -n $(find "${prefix[$k]}/drive_c/windows/system32" -maxdepth 1 -iname "$dll") ]] ||
      echo "$dll"
  done <<<"$imports")
  printf '%-18s %9s bytes  %s  (not system: %s)\n' "${name[$k]}" "$(stat -c %s "$work/$k.exe")" \
    "$(tr '\n' ' ' <<<"$imports")" "${others:-none}"
done
