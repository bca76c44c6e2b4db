#!/usr/bin/env bash
# Makes a release: installs what is missing, builds the Linux package and the Windows program,
# and puts them into dist/ with their SHA256SUMS.
#
#   scripts/release.sh            dist/zoduzazu_VERSION_amd64.deb, zoduzazu-VERSION-win64.zip,
#                                 zoduzazu-VERSION-setup.exe, SHA256SUMS
#   scripts/release.sh --verify   builds the last commit twice, from two clones in folders of
#                                 different names, with different umask and TZ, and compares
#                                 the artefacts byte for byte (diffoscope shows any difference)
#
# Dates in the artefacts come from SOURCE_DATE_EPOCH, the last commit's time unless the caller
# sets it, so two builds of one commit give the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$(pwd)

if [[ ${1:-} == --verify ]]; then
  bash scripts/setup-debian.sh release
  export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
  # Kept until the next --verify, so a difference can be looked at again.
  work=$source_dir/build-verify
  rm -rf "$work"
  mkdir -p "$work/second"
  # Only what is committed: a release is made from a clean clone.
  git clone -q --no-hardlinks "$source_dir" "$work/first-clone"
  git clone -q --no-hardlinks "$source_dir" "$work/second/other name"
  (umask 022 && TZ=UTC bash "$work/first-clone/scripts/release.sh")
  (umask 077 && TZ=Asia/Tokyo LC_ALL=C.UTF-8 bash "$work/second/other name/scripts/release.sh")
  same=0 differ=0
  for f in "$work/first-clone/dist"/*; do
    name=$(basename "$f")
    other="$work/second/other name/dist/$name"
    if cmp -s "$f" "$other"; then
      echo "same      $name"
      same=$((same + 1))
    else
      echo "DIFFERENT $name"
      differ=$((differ + 1))
      if command -v diffoscope >/dev/null; then
        diffoscope --text "$work/$name.diff.txt" "$f" "$other" >/dev/null 2>&1 || true
        head -n 100 "$work/$name.diff.txt"
      fi
    fi
  done
  echo "release --verify: $same identical, $differ different"
  exit $((differ > 0))
fi

bash scripts/setup-debian.sh release
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
# Not the caller's: a zip records local times, and the staged folders and the .deb's members
# take the umask's permissions.
export TZ=UTC
umask 022
# Qt's resource compiler records each file's time unless told the release's.
export QT_RCC_SOURCE_DATE_OVERRIDE=$SOURCE_DATE_EPOCH
version=$(sed -n 's/^project(Zoduzazu VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
jobs=$(nproc)
build=${ZDZ_RELEASE_BUILD_DIR:-build-release-dist}
dist=dist
rm -rf "$build" "$dist"
mkdir -p "$build" "$dist"

# The Linux program and its package.
cmake -S . -B "$build/linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$build/linux" -j "$jobs"
(cd "$build/linux" && cpack -G DEB >/dev/null)
cp "$build/linux/zoduzazu_${version}_amd64.deb" "$dist/"

# The Windows program, its zip and its setup program. The build runs its generators under Wine,
# in a prefix of its own.
export WINEPREFIX="$source_dir/$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cmake -S . -B "$build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DZDZ_DESKTOP=win32
cmake --build "$build/win32" -j "$jobs"
(cd "$build/win32" && cpack -G ZIP >/dev/null && cpack -G NSIS64 >/dev/null)
wineserver -k 2>/dev/null || true
cp "$build/win32/zoduzazu-${version}-win64.zip" "$build/win32/zoduzazu-${version}-setup.exe" "$dist/"

(cd "$dist" && sha256sum -- * >SHA256SUMS)
echo "Release $version in $dist/ (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH):"
(cd "$dist" && for f in *; do printf '  %-34s %9s bytes\n' "$f" "$(stat -c %s "$f")"; done)
cat "$dist/SHA256SUMS"
