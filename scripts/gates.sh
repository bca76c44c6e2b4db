#!/usr/bin/env bash
# The fast checks the test command runs before any build: formatting, the shell scripts, and
# clang-tidy over the portable code (.clang-tidy says which checks and why some are left out).
#
#   scripts/gates.sh [COMPILE_COMMANDS_DIR]   (default: a configure-only build of the core)
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2

failed=0
gate() {  # gate NAME COMMAND...: runs one gate, says how it went
  local name=$1 t0=$SECONDS
  shift
  if "$@"; then
    echo "gate ok   - $name ($((SECONDS - t0)) s)"
  else
    echo "gate FAIL - $name"
    failed=1
  fi
}

mapfile -t cxx < <(git ls-files '*.cpp' '*.h')
gate "clang-format: ${#cxx[@]} C++ files as .clang-format wants them" \
  clang-format --dry-run --Werror "${cxx[@]}"

mapfile -t scripts < <(git ls-files '*.sh' .ci/run)
gate "shellcheck -S warning: ${#scripts[@]} scripts" shellcheck -S warning "${scripts[@]}"

db=${1:-build/tidy}
if [[ ! -f $db/compile_commands.json ]]; then
  cmake -S . -B "$db" -G Ninja -DZDZ_DESKTOP=none -DCMAKE_BUILD_TYPE=Debug >/dev/null
fi
# The portable program (the fake desktop and the tests excepted): the same code runs on every
# desktop, so a fault here is a fault everywhere.
mapfile -t portable < <(git ls-files ':(glob)core/*.cpp' ':(glob)clock/*.cpp' \
  ':(glob)options/*.cpp' ':(glob)about/*.cpp' ':(glob)platform/*.cpp' ':(glob)platform/ini/*.cpp' \
  ':(glob)platform/wave/*.cpp')
gate "clang-tidy: ${#portable[@]} files of the portable program" \
  run-clang-tidy -quiet -p "$db" -j "$(nproc)" "${portable[@]/#/$PWD/}"

exit $failed
