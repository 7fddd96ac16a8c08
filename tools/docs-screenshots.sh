#!/usr/bin/env bash
# Takes the screenshots in docs/ of padwire.exe under Wine on a headless X server: the tray
# menu, the force-feedback dialog, the debug window and the assignment dialog. Needs the
# windows build (make windows), xdotool and ImageMagick's import.
#   tools/docs-screenshots.sh [OUTPUT_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$root/build/windows"

if [ "${1:-}" != "--inside" ]; then
  for tool in import xdotool; do
    command -v "$tool" >/dev/null || { echo "docs-screenshots.sh needs $tool" >&2; exit 1; }
  done
  out="$(mkdir -p "${1:-$root/docs}" && cd "${1:-$root/docs}" && pwd)"
  exec "$root/tools/wine-run.sh" --prefix-template "$bin/wine-template" --unix \
    "$0" --inside "$out"
fi

# Inside Wine's setting: one private prefix, one X server, no window manager.
out="$2"
driver="$bin/tests/e2e/bin/e2e_driver.exe"
title="Padwire 1.6b for DirectX7a"
drive() { wine "$driver" "$@"; }
keys() { for vk in "$@"; do drive key "$vk"; drive key "$vk" up; done; }
menu() { drive tray "$title" 517; sleep 1.5; }  # the right button released over the icon
# A window's picture with a margin of the screen around it.
shoot() {
  local name="$1" window="$2" margin=12
  local id; id="$(xdotool search --onlyvisible --name "^$window\$" | head -1)"
  eval "$(xdotool getwindowgeometry --shell "$id")"
  import -window root -crop "$((WIDTH + 2 * margin))x$((HEIGHT + 2 * margin))+$((X - margin))+$((Y - margin))" \
    +repage "$out/$name.png"
}

wine "$bin/platform/win32/padwire.exe" &
sleep 5
shoot debug-window "Padwire Debug Window"
# The pointer over the icon in Wine's stand-in tray (top left): the menu opens below it.
xdotool mousemove 14 32
menu
import -window root -crop 300x424+0+0 +repage "$out/tray-menu.png"
keys 27
xdotool mousemove 512 384
menu
keys 40 40 40 13  # Force Feedback...
sleep 2
shoot force-feedback "Force Feedback"
keys 13           # OK
sleep 3
menu
keys 40 40 13     # Configure Joypad...
sleep 2.5
shoot joy-config "SideWinder Config"
# A click on the A button asks for its key: the button turns green, the prompt red.
dialog="$(xdotool search --onlyvisible --name '^SideWinder Config$' | head -1)"
xdotool mousemove --window "$dialog" 262 143 click 1
sleep 2.5  # the prompt is painted after the button turns green
shoot joy-config-capturing "SideWinder Config"
keys 75           # K completes the capture
sleep 0.5
menu
keys 88           # Exit
sleep 3
echo "screenshots in $out"
