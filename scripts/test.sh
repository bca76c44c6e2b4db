#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the core's unit tests under
# AddressSanitizer and UBSan, then the Qt back end and the real program on a headless desktop,
# then the Windows program, cross-built with MinGW-w64, and its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh test

jobs=$(nproc)
build=${ZDZ_BUILD_DIR:-build}

# The core alone, sanitized (Qt's own allocations would drown LeakSanitizer's report).
cmake -S . -B "$build/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZDZ_DESKTOP=none -DZDZ_SANITIZE=ON \
  -DZDZ_WERROR=ON
cmake --build "$build/asan" -j "$jobs"
ctest --test-dir "$build/asan" -j "$jobs" --output-on-failure

# The settings file's codec and the chime reader under libFuzzer, for a bounded time, from the
# committed seeds.
cmake -S . -B "$build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DZDZ_DESKTOP=none -DZDZ_FUZZ=ON -DBUILD_TESTING=OFF -DZDZ_WERROR=ON
cmake --build "$build/fuzz" --target ini_text_fuzz wave_image_fuzz
rm -rf "$build/fuzz/corpus" && mkdir -p "$build/fuzz/corpus/ini_text" "$build/fuzz/corpus/wave_image"
"$build/fuzz/tests/fuzz/ini_text_fuzz" -max_total_time="${ZDZ_FUZZ_SECONDS:-60}" -print_final_stats=1 \
  "$build/fuzz/corpus/ini_text" tests/fuzz/corpus/ini_text 2>&1 | tail -n 12
# The chime file's reading rule, a third of that time.
"$build/fuzz/tests/fuzz/wave_image_fuzz" -max_total_time="$(((${ZDZ_FUZZ_SECONDS:-60} + 2) / 3))" \
  -print_final_stats=1 "$build/fuzz/corpus/wave_image" tests/fuzz/corpus/wave_image 2>&1 | tail -n 12

# The whole program.
cmake -S . -B "$build/qt" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZDZ_WERROR=ON
cmake --build "$build/qt" -j "$jobs"
ctest --test-dir "$build/qt" -j "$jobs" --output-on-failure --timeout 300
bash tests/package/check-deb.sh "$build/qt"

# The Windows program. The build itself runs Wine (the resource generators), so it gets a
# prefix of its own rather than ~/.wine.
mkdir -p "$build/win32"
WINEPREFIX="$(cd "$build" && pwd)/win32-build-prefix"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cmake -S . -B "$build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZDZ_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DZDZ_DESKTOP=win32
cmake --build "$build/win32" -j "$jobs"
(cd "$build/win32" && cpack -G ZIP >/dev/null)
# The setup program beside it; win32.setup_program below installs it.
(cd "$build/win32" && cpack -G NSIS64 >/dev/null)
wineserver -k 2>/dev/null || true
unset WINEPREFIX
tests/tools/wine-session.sh ctest --test-dir "$build/win32" --output-on-failure --timeout 300
