#!/usr/bin/env bash
# Runs one command against a private X server (Xvfb, 1024 × 768 at 96 dpi) with openbox as its
# window manager, so window tests see the frames and placement of a real desktop.
#   UnderOpenbox.sh <command> [arguments...]
set -euo pipefail

for tool in Xvfb openbox xprop; do
  command -v "$tool" >/dev/null || { echo "UnderOpenbox: $tool is missing (Debian: xvfb openbox x11-utils)" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=
openbox_pid=
stop() {
  for pid in $openbox_pid $xvfb_pid; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  openbox_pid=
  xvfb_pid=
}
trap 'stop; rm -rf "$work"' EXIT

# Waits for a command to succeed while a process lives; the minute is only for a server that
# never comes up (a busy machine may take a while to start one).
wait_for() { # wait_for <pid> <command...>
  local pid=$1; shift
  for _ in $(seq 600); do
    "$@" >/dev/null 2>&1 && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"; }

# Parallel test runs (and other sessions sharing the machine's abstract socket namespace) each
# need a display of their own: try random high numbers until one server and manager come up.
for attempt in $(seq 10); do
  number=$((200 + RANDOM % 800))
  [[ -e /tmp/.X$number-lock ]] && continue
  grep -q "/tmp/.X11-unix/X$number\$" /proc/net/unix 2>/dev/null && continue
  export DISPLAY=":$number"
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -dpi 96 -nolisten tcp 2>"$work/xvfb.log" &
  xvfb_pid=$!
  if wait_for "$xvfb_pid" xprop -root; then
    # A config home of its own, so the user's openbox settings cannot change the frame.
    XDG_CONFIG_HOME="$work/config" openbox --sm-disable 2>"$work/openbox.log" &
    openbox_pid=$!
    # The window manager is ready once it has announced itself on the root window.
    wait_for "$openbox_pid" wm_ready && break
  fi
  stop
done
if [[ -z $openbox_pid ]]; then
  echo "UnderOpenbox: no X server with openbox came up" >&2
  cat "$work/xvfb.log" "$work/openbox.log" >&2 2>/dev/null || true
  exit 1
fi

QT_QPA_PLATFORM=xcb "$@"
