#!/usr/bin/env bash
# Starts the Linux program on the current X display (or Wayland session), with the user's own
# settings file. Without a display it starts a headless X server with a window manager and a
# tray host for it, and says so: the program then works, but nobody can see its icon.
#   run-linux.sh PATH/TO/padwire
set -euo pipefail
program="${1:?usage: $0 PATH/TO/padwire}"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting $program on ${DISPLAY:-$WAYLAND_DISPLAY}; choose Exit in its tray menu to end it."
  exec "$program"
fi

echo "No DISPLAY: starting $program on a headless X server (Xvfb) with openbox and trayer."
echo "Nothing will be visible; press Ctrl+C to end it, or run 'make run' from a desktop session."
pids=()
stop() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap stop EXIT
trap 'exit 130' INT TERM
# Xvfb picks a free display number and writes it to the descriptor it is given.
display_file="$(mktemp "${TMPDIR:-/tmp}/padwire-display.XXXXXX")"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
number="$(cat "$display_file")"
rm -f "$display_file"
[ -n "$number" ] || { echo "run-linux.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"
openbox >/dev/null 2>&1 &
pids+=($!)
trayer --edge top --align right --widthtype request --height 24 >/dev/null 2>&1 &
pids+=($!)
xdotool search --sync --class trayer >/dev/null
echo "Display $DISPLAY"
"$program" &
pids+=($!)
wait "${pids[-1]}"
