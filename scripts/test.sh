#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test (unit tests under
# AddressSanitizer and UBSan, then the Qt back end and the real program on a headless desktop).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh

jobs=$(nproc)
build=${ZDZ_BUILD_DIR:-build}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZDZ_SANITIZE=ON -DZDZ_WERROR=ON
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" -j "$jobs" --output-on-failure --timeout 300
