#!/usr/bin/env bash
# Installs what building, running and testing Zoduzazu needs on Debian 12.
# Idempotent: packages already present are skipped quickly.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config clang-format clang
  googletest libgtest-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libqt6svg6-dev libxcb1-dev
  libsndfile1-dev libpulse-dev
  # the icon generator's PNG compression
  zlib1g-dev
  # the benchmarks' window watcher (Xlib)
  libx11-dev
  # runtime look: the Mincho and Gothic faces the forms ask for
  fonts-ipafont fonts-ipafont-gothic fonts-ipafont-mincho
  # headless desktop for the back-end and end-to-end tests
  xvfb xauth openbox trayer x11-utils x11-apps xdotool imagemagick
  pulseaudio pulseaudio-utils sox libfaketime faketime
  locales tzdata
  # a private session bus and a StatusNotifier watcher for the D-Bus tray's tests
  dbus-daemon dbus-bin python3-dbus python3-gi
  # the Wayland check: a compositor and Qt's Wayland plugin
  weston qt6-wayland
  # the Windows program, cross-built and tested under Wine
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 wine wine64
  # the Debian package and its checks
  dpkg-dev file lintian desktop-file-utils appstream
  # the Windows setup program, and reading the icon images back from the .exe
  nsis icoutils
)

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
