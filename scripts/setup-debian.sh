#!/usr/bin/env bash
# Installs what Zoduzazu needs on Debian 12, for one purpose:
#
#   scripts/setup-debian.sh run       building and running the Linux clock (scripts/run.sh)
#   scripts/setup-debian.sh release   also the Windows program, its setup program and the .deb
#   scripts/setup-debian.sh test      also every test's desktop, Wine and checker (the default)
#
# Each purpose includes the one before it. Idempotent: packages already present are skipped.
set -euo pipefail

purpose=${1:-test}

run=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libxcb1-dev
  libsndfile1-dev libpulse-dev
  # the icon generator's PNG compression
  zlib1g-dev
  # the Mincho and Gothic faces the forms ask for
  fonts-ipafont-gothic fonts-ipafont-mincho
)
release=(
  # the Windows program, cross-built; the build runs its generators under Wine
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 wine wine64
  # the Debian package, the Windows setup program, and where two builds differ
  dpkg-dev file nsis diffoscope-minimal git
)
test=(
  clang clang-format clang-tidy shellcheck googletest libgtest-dev libbenchmark-dev
  libqt6svg6-dev fonts-ipafont
  # the benchmarks' window watcher (Xlib)
  libx11-dev
  # headless desktop for the back-end and end-to-end tests
  xvfb xauth openbox trayer x11-utils x11-apps xdotool imagemagick
  pulseaudio pulseaudio-utils sox libfaketime faketime
  # a share that stops answering: a FUSE folder whose reads never return
  python3-fusepy libfuse2
  locales tzdata
  # a private session bus and a StatusNotifier watcher for the D-Bus tray's tests
  dbus-daemon dbus-bin python3-dbus python3-gi
  # the Wayland check: a compositor and Qt's Wayland plugin
  weston qt6-wayland
  # the Debian package's checks: lint, desktop entry, metainfo, hardening
  lintian desktop-file-utils appstream devscripts
  # reading the icon images back from the .exe
  icoutils
)

case $purpose in
  run) packages=("${run[@]}") ;;
  release) packages=("${run[@]}" "${release[@]}") ;;
  test) packages=("${run[@]}" "${release[@]}" "${test[@]}") ;;
  *)
    echo "usage: $0 [run|release|test]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
