#!/usr/bin/env bash
# Installs what is missing, builds the clock and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh run

build=${ZDZ_BUILD_DIR:-build-release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$build" -j "$(nproc)"
exec "$build/zoduzazu"
