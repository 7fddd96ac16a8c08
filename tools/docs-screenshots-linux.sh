#!/usr/bin/env bash
# Takes the Linux program's screenshots in docs/ (*-linux.png) on a private headless X server
# with openbox and a tray host (trayer): the tray menu, the force-feedback dialog, the debug
# window and the assignment dialog. Runs the test build padwire_scripted (make build), whose
# joystick is scripted, with settings of its own. Needs Xvfb, openbox, trayer, xdotool and
# ImageMagick's import.
#   tools/docs-screenshots-linux.sh [OUTPUT_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="$root/build/native/platform/linux/padwire_scripted"
for tool in Xvfb openbox trayer xdotool import; do
  command -v "$tool" >/dev/null || { echo "docs-screenshots-linux.sh needs $tool" >&2; exit 1; }
done
[ -x "$program" ] || { echo "build $program first (make build)" >&2; exit 1; }
out="$(mkdir -p "${1:-$root/docs}" && cd "${1:-$root/docs}" && pwd)"

work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display number nobody uses.
number=90
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
export DISPLAY=":$number"
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 & pids+=($!)
sleep 1
trayer --edge top --align right --widthtype request --height 24 >/dev/null 2>&1 & pids+=($!)
sleep 1

export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
mkfifo "$work/script" "$work/reply"
export PADWIRE_SCRIPT="$work/script" PADWIRE_SCRIPT_REPLY="$work/reply"
"$program" >/dev/null 2>&1 & pids+=($!)
exec 3<"$work/reply"
read -r -t 20 ready <&3 || true
[ "${ready:-}" = tray-ready ] || { echo "the tray icon did not come up (${ready:-nothing})" >&2; exit 1; }
sleep 1

# A window's picture with the window manager's frame.
shoot() {
  local id
  id="$(xdotool search --onlyvisible --name "^$2\$" | head -1)"
  import -frame -window "$id" "$out/$1-linux.png"
}
# The right button over the icon in trayer's bar at the top right.
menu() { xdotool mousemove 1011 11 click 3; sleep 1; }

shoot debug-window "Padwire Debug Window"
menu
import -window root -crop 280x402+744+0 +repage "$out/tray-menu-linux.png"
xdotool key Escape
menu
xdotool key Down Down Down Return  # Force Feedback...
sleep 1
shoot force-feedback "Force Feedback"
xdotool key Return                 # OK
sleep 1
menu
xdotool key Down Down Return       # Configure Joypad...
sleep 1
shoot joy-config "SideWinder Config"
# A click on the A button asks for its key: the button turns green, the prompt red.
dialog="$(xdotool search --onlyvisible --name '^SideWinder Config$' | head -1)"
xdotool mousemove --window "$dialog" 257 120 click 1
sleep 1
shoot joy-config-capturing "SideWinder Config"
xdotool key k                      # K completes the capture
sleep 0.5
menu
xdotool key x                      # Exit
sleep 1
echo "screenshots in $out"
