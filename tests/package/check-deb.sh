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

passed=0 failed=0 skipped=0
ok() { echo "ok   - $1"; passed=$((passed + 1)); }
fail() { echo "FAIL - $1"; failed=$((failed + 1)); }
skip() { echo "skip - $1: $2 is not installed"; skipped=$((skipped + 1)); }
have() { command -v "$1" >/dev/null 2>&1; }
finish() {
  echo "check-deb: $passed passed, $failed failed, $skipped skipped"
  exit $((failed > 0))
}

if ! have dpkg-deb || ! have dpkg-shlibdeps || ! have file; then
  skip "the Debian package" "dpkg-dev (dpkg-deb, dpkg-shlibdeps) or file"
  finish
fi

rm -f "$build"/zoduzazu_*.deb
if ! (cd "$build" && cpack -G DEB) >"$scratch/cpack.log" 2>&1; then
  fail "cpack -G DEB builds the package"
  cat "$scratch/cpack.log"
  finish
fi
debs=("$build"/zoduzazu_*.deb)
deb=${debs[0]}
if [[ ${#debs[@]} -eq 1 && -f $deb ]]; then ok "cpack -G DEB makes $(basename "$deb")"; else
  fail "cpack -G DEB makes one zoduzazu_VERSION_ARCH.deb"
  finish
fi

root="$scratch/root"
if ! dpkg -x "$deb" "$root"; then
  fail "dpkg -x unpacks the package"
  finish
fi
root=$(realpath "$root")

dpkg-deb --contents "$deb" | awk '{ print $6 }' | sed 's#^\./#/#' >"$scratch/contents.txt"
missing=()
for f in /usr/bin/zoduzazu /usr/libexec/zoduzazu/zoduzazu-sound.so /usr/share/zoduzazu/Ruvazu.wav \
  /usr/share/applications/zoduzazu.desktop /usr/share/metainfo/zoduzazu.metainfo.xml \
  /usr/share/man/man1/zoduzazu.1.gz /usr/share/doc/zoduzazu/copyright \
  /usr/share/doc/zoduzazu/changelog.gz; do
  grep -qxF "$f" "$scratch/contents.txt" || missing+=("$f")
done
for size in 16 32 48 64 128 256; do
  f="/usr/share/icons/hicolor/${size}x${size}/apps/zoduzazu.png"
  grep -qxF "$f" "$scratch/contents.txt" || missing+=("$f")
done
if ((${#missing[@]} == 0)); then ok "the package holds the program, chime, entry, icons and docs"; else
  fail "the package lacks: ${missing[*]}"
fi
if grep -q '^/usr/local' "$scratch/contents.txt"; then fail "nothing is installed under /usr/local"; fi
if dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6'; then
  ok "its dependencies come from the linked libraries"
else
  fail "Depends names the Qt libraries: $(dpkg-deb --field "$deb" Depends)"
fi

if have desktop-file-validate; then
  if out=$(desktop-file-validate "$root/usr/share/applications/zoduzazu.desktop" 2>&1) &&
    [[ -z $out ]]; then
    ok "desktop-file-validate accepts the desktop entry"
  else
    fail "desktop-file-validate: $out"
  fi
else
  skip "desktop entry" desktop-file-validate
fi

if have appstreamcli; then
  # No domain of our own yet, so the component id cannot be a reverse domain name.
  if out=$(appstreamcli validate --no-net --override=cid-desktopapp-is-not-rdns=info \
    "$root/usr/share/metainfo/zoduzazu.metainfo.xml" 2>&1); then
    ok "appstreamcli validates the metainfo"
  else
    fail "appstreamcli validate:"
    echo "$out"
  fi
else
  skip "metainfo" "appstreamcli (appstream)"
fi

if have lintian; then
  if lintian --fail-on error "$deb" >"$scratch/lintian.txt" 2>&1; then
    ok "lintian finds no error"
  else
    fail "lintian finds errors"
  fi
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
    if report=$(hardening-check "${opts[@]}" "$root/$f" 2>&1); then
      ok "hardening-check finds every protection in /$f"
    else
      fail "hardening-check finds a protection missing in /$f"
    fi
    sed 's/^/  /' <<<"$report"
    if [[ $(objdump -d "$root/$f" | grep -c endbr64) -gt 20 ]]; then
      ok "its functions begin with endbr64 (-fcf-protection)"
    else
      fail "/$f was built without -fcf-protection"
    fi
  done
else
  skip "hardening" "hardening-check (devscripts) or objdump"
fi

if have xdotool && have Xvfb; then
  config="$scratch/config"
  mkdir -p "$config"
  # No tray host: a clock that cannot hide in the tray shows its window.
  if ZDZ_SESSION_SKIP="tray pulse" "$source_dir/tests/tools/headless-session.sh" \
    "$here/check-deb.sh" --run-unpacked "$root" "$config"; then
    ok "the unpacked program starts and maps its window"
  else
    fail "the unpacked program starts and maps its window"
  fi
  wave=$(sed -n 's/^WAVE=//p' "$config/Zazedor/Zazedor.conf" 2>/dev/null)
  if [[ $wave == "$root/usr/share/zoduzazu/Ruvazu.wav" && -f $wave ]]; then
    ok "its first-run chime is the package's, found beside its bin folder"
  else
    fail "first-run WAVE is '$wave', not $root/usr/share/zoduzazu/Ruvazu.wav"
  fi
else
  skip "the unpacked program" "xdotool or Xvfb"
fi

finish
