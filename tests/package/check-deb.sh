#!/usr/bin/env bash
# Builds the Debian package from a Qt build folder and checks it the way a Debian system meets
# it: the desktop entry, the AppStream metainfo, the file list, lintian, and the program run
# from an unpacked copy, which must find its own chime and show its window.
#
#   tests/package/check-deb.sh BUILD_DIR
#
# A check whose tool is not installed is skipped and says so; any failure makes the exit
# status 1.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)

# Run inside the headless session: start the unpacked program with a fresh configuration and
# wait for its first-run settings and its window.
if [[ ${1:-} == --run-unpacked ]]; then
  root=$2 config=$3
  XDG_CONFIG_HOME="$config" "$root/usr/bin/zoduzazu" </dev/null >"$config/stdout.txt" \
    2>"$config/stderr.txt" &
  pid=$!
  trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null' EXIT
  # Generous: a busy machine can take long to start a Qt program; only a hang reaches a minute.
  for _ in $(seq 600); do
    kill -0 "$pid" 2>/dev/null || break
    if [[ -s $config/Zazedor/Zazedor.conf ]] &&
      xdotool search --onlyvisible --pid "$pid" --name '^Zoduzazu$' >/dev/null 2>&1; then
      exit 0
    fi
    sleep 0.1
  done
  echo "  the program did not map its window; its stderr:" >&2
  cat "$config/stderr.txt" >&2
  exit 1
fi

if (($# != 1)); then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build=$(cd "$1" && pwd) || exit 2
scratch=$(mktemp -d "${TMPDIR:-/tmp}/zdz-deb.XXXXXX") || exit 1
trap 'rm -rf "$scratch"' EXIT
# shellcheck source=../tools/lib-check.sh
source "$here/../tools/lib-check.sh"
skip() { zdz_log "skip - $1: $2 is not installed"; }
have() { command -v "$1" >/dev/null 2>&1; }
# silent CMD...: CMD succeeds and has nothing to say.
silent() { local out; out=$("$@" 2>&1) && [[ -z $out ]] || { echo "$out"; return 1; }; }

if ! have dpkg-deb || ! have dpkg-shlibdeps || ! have file; then
  skip "the Debian package" "dpkg-dev (dpkg-deb, dpkg-shlibdeps) or file"
  zdz_finish
fi

rm -f "$build"/zoduzazu_*.deb
zdz_require "cpack -G DEB builds the package" sh -c 'cd "$1" && cpack -G DEB' - "$build"
debs=("$build"/zoduzazu_*.deb)
deb=${debs[0]}
zdz_require "cpack -G DEB makes one zoduzazu_VERSION_ARCH.deb ($(basename "$deb"))" \
  test "${#debs[@]}" -eq 1 -a -f "$deb"
root="$scratch/root"
zdz_require "dpkg -x unpacks the package" dpkg -x "$deb" "$root"
root=$(realpath "$root")

dpkg-deb --contents "$deb" | awk '{ print $6 }' | sed 's#^\./#/#' >"$scratch/contents.txt"
holds_all() {
  local f missing=()
  for f; do grep -qxF "$f" "$scratch/contents.txt" || missing+=("$f"); done
  ((${#missing[@]} == 0)) || { echo "  lacks: ${missing[*]}"; return 1; }
}
zdz_check "the package holds the program, chime, entry, icons and docs" holds_all \
  /usr/bin/zoduzazu /usr/libexec/zoduzazu/zoduzazu-sound.so /usr/share/zoduzazu/Ruvazu.wav \
  /usr/share/applications/zoduzazu.desktop /usr/share/metainfo/zoduzazu.metainfo.xml \
  /usr/share/man/man1/zoduzazu.1.gz /usr/share/doc/zoduzazu/copyright \
  /usr/share/doc/zoduzazu/changelog.gz \
  /usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/zoduzazu.png
zdz_check "nothing is installed under /usr/local" zdz_not grep '^/usr/local' "$scratch/contents.txt"
zdz_check "its dependencies come from the linked libraries" \
  zdz_has "$(dpkg-deb --field "$deb" Depends)" libqt6widgets6

if have desktop-file-validate; then
  zdz_check "desktop-file-validate accepts the desktop entry" \
    silent desktop-file-validate "$root/usr/share/applications/zoduzazu.desktop"
else
  skip "desktop entry" desktop-file-validate
fi

if have appstreamcli; then
  # No domain of our own yet, so the component id cannot be a reverse domain name.
  zdz_check "appstreamcli validates the metainfo" appstreamcli validate --no-net \
    --override=cid-desktopapp-is-not-rdns=info "$root/usr/share/metainfo/zoduzazu.metainfo.xml"
else
  skip "metainfo" "appstreamcli (appstream)"
fi

if have lintian; then
  lintian --fail-on error "$deb" >"$scratch/lintian.txt" 2>&1
  zdz_check "lintian finds no error" test $? -eq 0
  grep -v 'running with root privileges' "$scratch/lintian.txt" | sed 's/^/  /'
else
  skip "lintian" lintian
fi

if have hardening-check && have objdump; then
  # Debian 12's C start-up files (crt1.o, crti.o) carry no CET marking, so the linker cannot
  # mark any program built here as IBT/SHSTK-safe: that line is checked by the endbr64
  # instructions -fcf-protection puts in our own functions instead. The sound module calls
  # read/memcpy only with sizes known at run time, so it has no call glibc could fortify, which
  # hardening-check reports as "no" (its manual calls this a false alarm).
  for f in usr/bin/zoduzazu usr/libexec/zoduzazu/zoduzazu-sound.so; do
    opts=(--nocfprotection)
    [[ $f == *.so ]] && opts+=(--nofortify)
    report=$(hardening-check "${opts[@]}" "$root/$f" 2>&1)
    zdz_check "hardening-check finds every protection in /$f" test $? -eq 0
    sed 's/^/  /' <<<"$report"
    zdz_check "its functions begin with endbr64 (-fcf-protection)" \
      test "$(objdump -d "$root/$f" | grep -c endbr64)" -gt 20
  done
else
  skip "hardening" "hardening-check (devscripts) or objdump"
fi

if have xdotool && have Xvfb; then
  config="$scratch/config"
  mkdir -p "$config"
  # No tray host: a clock that cannot hide in the tray shows its window.
  zdz_check "the unpacked program starts and maps its window" \
    env ZDZ_SESSION_SKIP="tray pulse" "$source_dir/tests/tools/headless-session.sh" \
    "$here/check-deb.sh" --run-unpacked "$root" "$config"
  wave=$(sed -n 's/^WAVE=//p' "$config/Zazedor/Zazedor.conf" 2>/dev/null)
  zdz_check "its first-run chime is the package's, found beside its bin folder ($wave)" \
    test "$wave" = "$root/usr/share/zoduzazu/Ruvazu.wav" -a -f "$wave"
else
  skip "the unpacked program" "xdotool or Xvfb"
fi

zdz_finish
