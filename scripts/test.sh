#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the gates (formatting, shell
# scripts, clang-tidy), the core's unit tests under AddressSanitizer and UBSan, the threaded
# tests under ThreadSanitizer, the fuzzers, then the Qt back end and the real program on a
# headless desktop, then the Windows program, cross-built with MinGW-w64, and its tests under
# Wine. Each build is a preset of CMakePresets.json, in build/PRESET.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh test
jobs=$(nproc)

bash scripts/gates.sh

# The core alone, sanitized (Qt's own allocations would drown LeakSanitizer's report).
cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

# The chime reader's and the PulseAudio worker's threads.
cmake --preset tsan
cmake --build --preset tsan -j "$jobs"
ctest --preset tsan

# The settings file's codec and the chime reader under libFuzzer, for a bounded time, from the
# committed seeds.
cmake --preset fuzz
cmake --build --preset fuzz
rm -rf build/fuzz/corpus && mkdir -p build/fuzz/corpus/ini_text build/fuzz/corpus/wave_image
build/fuzz/tests/fuzz/ini_text_fuzz -max_total_time="${ZDZ_FUZZ_SECONDS:-60}" -print_final_stats=1 \
  build/fuzz/corpus/ini_text tests/fuzz/corpus/ini_text 2>&1 | tail -n 12
# The chime file's reading rule, a third of that time.
build/fuzz/tests/fuzz/wave_image_fuzz -max_total_time="$(((${ZDZ_FUZZ_SECONDS:-60} + 2) / 3))" \
  -print_final_stats=1 build/fuzz/corpus/wave_image tests/fuzz/corpus/wave_image 2>&1 | tail -n 12

# The whole program.
cmake --preset qt
cmake --build --preset qt -j "$jobs"
ctest --preset qt -j "$jobs"
bash tests/package/check-deb.sh build/qt

# The Windows program. The build itself runs Wine (the resource generators), so the preset
# gives it a prefix of its own rather than ~/.wine.
cmake --preset win32
cmake --build --preset win32 -j "$jobs"
(
  export WINEPREFIX="$PWD/build/win32-build-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  cd build/win32
  cpack -G ZIP >/dev/null
  # The setup program beside it; win32.setup_program below installs it.
  cpack -G NSIS64 >/dev/null
  wineserver -k 2>/dev/null || true
)
tests/tools/wine-session.sh ctest --test-dir build/win32 --output-on-failure --timeout 600
