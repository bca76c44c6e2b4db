#!/bin/bash
# Plants each fault of a list, one at a time, in a scratch copy of the tree, builds the unit
# tests without sanitizers and runs them: a fault is caught when a test fails, "not compiled"
# when the build fails. Prints the score and the faults that survived.
#   bench/plant-faults.sh [list] [scratch dir]
# The scratch dir is kept between runs, so only what changed is rebuilt; each run first copies
# back every file that differs, which also repairs a run that was interrupted.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
list=$(realpath "${1:-$here/bench/planted-faults.txt}")
scratch=${2:-$here/build/faults}
src=$scratch/src
bin=$scratch/build/tests/unit/zdz_unit_tests

mkdir -p "$src"
# Tracked files only; a file is copied when its content differs, so the build stays warm.
git -C "$here" ls-files | while read -r f; do
  cmp -s "$here/$f" "$src/$f" || { mkdir -p "$src/$(dirname "$f")" && cp "$here/$f" "$src/$f"; }
done
cmake -S "$src" -B "$scratch/build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZDZ_DESKTOP=none \
  -DZDZ_SANITIZE=OFF -DZDZ_WERROR=ON >/dev/null || exit 2
build() { cmake --build "$scratch/build" -j2 --target zdz_unit_tests </dev/null >/dev/null 2>&1; }
run() { timeout 600 "$bin" --gtest_brief=1 --gtest_fail_fast </dev/null >/dev/null 2>&1; }
build && run || { echo "the unchanged tree does not pass its tests" >&2; exit 2; }

caught=0 survived=0 broken=0 stale=0 n=0
survivors=()
while IFS=$'\t' read -r file text replacement; do
  [[ -z $file || $file == \#* ]] && continue
  n=$((n + 1))
  cp "$src/$file" "$scratch/original"
  if ! FROM=$text TO=$replacement perl -0777 -pi -e \
      's/\Q$ENV{FROM}\E/$ENV{TO}/ or $missed = 1; END { exit 3 if $missed }' "$src/$file"; then
    stale=$((stale + 1))
    echo "stale: $file: $text" >&2
    continue
  fi
  if ! build; then
    broken=$((broken + 1)) verdict="not compiled"
  elif run; then
    survived=$((survived + 1)) verdict=SURVIVED
    survivors+=("$file: $text -> $replacement")
  else
    caught=$((caught + 1)) verdict=caught
  fi
  echo "$n $verdict: $file: $text"
  cp "$scratch/original" "$src/$file"  # a new mtime: the next build recompiles it
done <"$list"
build

echo "caught $caught of $((caught + survived)) compiled faults" \
  "($broken not compiled, $stale not found)"
for s in "${survivors[@]}"; do echo "  survived: $s"; done
