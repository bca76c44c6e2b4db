#!/usr/bin/env bash
# Runs a command inside a private headless desktop: Xvfb, openbox, trayer and a PulseAudio
# server whose default sink is the null sink "test_sink". Everything started here is stopped
# again, and the command's exit code is passed on.
#
#   tests/tools/headless-session.sh COMMAND [ARG...]
#
# Exported to the command: DISPLAY, XDG_RUNTIME_DIR, PULSE_SERVER, ZDZ_SESSION_DIR (a private
# folder, removed afterwards), and a session bus address that leads nowhere.
# ZDZ_SESSION_SKIP lists services to leave out, separated by spaces or commas: x11 (implies wm
# and tray), wm, tray, pulse. ZDZ_SESSION_WITH lists services to add: bus (a private session
# bus, exported as DBUS_SESSION_BUS_ADDRESS), weston (a Wayland compositor, exported as
# WAYLAND_DISPLAY: a window of the X server when there is one, so that xdotool's input reaches
# it and `import` pictures it, else the headless back end; with its debug protocol on, for
# weston-debug and weston-screenshooter); one whose program is not installed is left out with a
# note, for the test to skip. ZDZ_SESSION_KEEP=1 keeps the folder with the services' logs.
# A test that needs a desktop of another kind sets these for its one session (CTest's
# ENVIRONMENT) rather than starting a second session inside this one.
set -uo pipefail

if (($# == 0)); then
  echo "usage: $0 COMMAND [ARG...]" >&2
  exit 2
fi

skip="${ZDZ_SESSION_SKIP:-}"
skip=" ${skip//,/ } "
skipped() { [[ $skip == *" $1 "* ]]; }
skipped x11 && skip+=" wm tray "
with="${ZDZ_SESSION_WITH:-}"
with=" ${with//,/ } "
added() { [[ $with == *" $1 "* ]]; }
for service in bus:dbus-daemon weston:weston; do
  if added "${service%%:*}" && ! command -v "${service#*:}" >/dev/null; then
    echo "headless-session: ${service#*:} is not installed: no ${service%%:*}" >&2
    with=${with// ${service%%:*} / }
  fi
done

session=$(mktemp -d "${TMPDIR:-/tmp}/zdz-session.XXXXXX") || exit 1
chmod 700 "$session"
mkdir -m 700 "$session/run" "$session/home"

pgroups=()
# shellcheck disable=SC2317  # called by the EXIT trap
cleanup() {
  local pg i
  # Last started first: clients go before the X server they talk to.
  for ((i = ${#pgroups[@]} - 1; i >= 0; i--)); do kill -TERM -- "-${pgroups[i]}" 2>/dev/null; done
  # Give them a moment, then make sure.
  for _ in $(seq 50); do
    local alive=0
    for pg in "${pgroups[@]}"; do kill -0 -- "-$pg" 2>/dev/null && alive=1; done
    ((alive)) || break
    sleep 0.05
  done
  for pg in "${pgroups[@]}"; do kill -KILL -- "-$pg" 2>/dev/null; done
  if [[ ${ZDZ_SESSION_KEEP:-} == 1 ]]; then
    echo "headless-session: kept $session" >&2
  else
    rm -rf "$session"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

fail() {
  echo "headless-session: $*" >&2
  local log
  for log in "$session"/*.log; do
    [[ -s $log ]] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }
  done
  exit 1
}

# Starts a service in a process group of its own, so that cleanup reaches its children too.
# Its group id is the last element of pgroups.
start() {
  local name=$1
  shift
  setsid "$@" </dev/null >"$session/$name.log" 2>&1 &
  pgroups+=("$!")
}

# Polls `cmd` for up to 10 s while the service's process lives.
wait_for() {
  local what=$1 pid=$2
  shift 2
  for _ in $(seq 200); do
    "$@" >/dev/null 2>&1 && return 0
    kill -0 "$pid" 2>/dev/null || fail "$what exited early"
    sleep 0.05
  done
  fail "$what did not become ready"
}

export XDG_RUNTIME_DIR="$session/run"
export ZDZ_SESSION_DIR="$session"
unset DISPLAY WAYLAND_DISPLAY PULSE_SERVER PULSE_SINK
# Clients must never spawn servers of their own (a PulseAudio or a D-Bus session bus would
# outlive the session): PulseAudio autospawn is off and the session bus is a dead address.
printf 'autospawn = no\n' >"$session/client.conf"
export PULSE_CLIENTCONFIG="$session/client.conf"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$session/no-bus"

if added bus; then
  start dbus dbus-daemon --session --nofork --nopidfile --address="unix:path=$session/bus"
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$session/bus"
  wait_for dbus-daemon "${pgroups[-1]}" dbus-send --session --dest=org.freedesktop.DBus \
    --type=method_call / org.freedesktop.DBus.GetId
fi

if ! skipped x11; then
  # -displayfd: the server picks a free display number itself, with no race against others.
  start xvfb Xvfb -noreset -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$session/display"
  xvfb_pid=${pgroups[-1]}
  wait_for Xvfb "$xvfb_pid" grep -q '^[0-9]' "$session/display"
  DISPLAY=":$(head -n1 "$session/display")"
  export DISPLAY
  wait_for Xvfb "$xvfb_pid" xdpyinfo
  if ! skipped wm; then
    start openbox openbox
    wait_for openbox "${pgroups[-1]}" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
  fi
  if ! skipped tray; then
    start trayer trayer --edge top --align right --widthtype pixel --width 200 \
      --heighttype pixel --height 32
    wait_for trayer "${pgroups[-1]}" sh -c 'xwininfo -root -tree | grep -q "\"panel\""'
  fi
fi

if added weston; then
  printf '[core]\nidle-time=0\n[shell]\npanel-position=none\n' >"$session/weston.ini"
  backend=headless-backend.so
  [[ -n ${DISPLAY:-} ]] && backend=x11-backend.so
  start weston weston --backend="$backend" --use-pixman --width=800 --height=600 --debug \
    --socket=wayland-zdz --config="$session/weston.ini"
  export WAYLAND_DISPLAY=wayland-zdz
  wait_for weston "${pgroups[-1]}" test -S "$XDG_RUNTIME_DIR/wayland-zdz"
fi

if ! skipped pulse; then
  cat >"$session/pulse.pa" <<'PA'
load-module module-null-sink sink_name=test_sink
set-default-sink test_sink
load-module module-native-protocol-unix auth-anonymous=1
PA
  start pulseaudio env HOME="$session/home" XDG_CONFIG_HOME="$session/home/.config" \
    pulseaudio -n -F "$session/pulse.pa" --daemonize=no --exit-idle-time=-1 --disallow-exit \
    --use-pid-file=no --log-target=stderr
  export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
  wait_for pulseaudio "${pgroups[-1]}" pactl info
  # An idle null sink renders in 2 s blocks, so a new stream waits up to 2 s before it plays;
  # a silent low-latency stream keeps it rendering in small blocks, like a sound card, and keeps
  # its monitor source running for recordings.
  start pulse-keeper pacat --playback --raw --latency-msec=20 --client-name=zdz-session-keeper \
    --stream-name=keeper /dev/zero
  # Ready when the sink's latency has come down from 2 s (under 0.1 s).
  wait_for pacat "${pgroups[-1]}" sh -c \
    'pactl list sinks | grep -Eq "^[[:space:]]*Latency: [0-9]{1,5} usec"'
fi

"$@"
exit $?
