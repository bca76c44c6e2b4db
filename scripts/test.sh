#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the core's unit tests under
# AddressSanitizer and UBSan, then the Qt back end and the real program on a headless desktop.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh

jobs=$(nproc)
build=${ZDZ_BUILD_DIR:-build}

# The core alone, sanitized (Qt's own allocations would drown LeakSanitizer's report).
cmake -S . -B "$build/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZDZ_DESKTOP=none -DZDZ_SANITIZE=ON \
  -DZDZ_WERROR=ON
cmake --build "$build/asan" -j "$jobs"
ctest --test-dir "$build/asan" -j "$jobs" --output-on-failure

# The whole program.
cmake -S . -B "$build/qt" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZDZ_WERROR=ON
cmake --build "$build/qt" -j "$jobs"
ctest --test-dir "$build/qt" -j "$jobs" --output-on-failure --timeout 300
