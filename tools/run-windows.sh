#!/usr/bin/env bash
# Starts padwire.exe under Wine on the current X display, in the user's own Wine prefix (so
# its settings last from one run to the next). Without a display it runs on a headless X server
# and says so: the program then works, but nobody can see its icon.
#   run-windows.sh PATH/TO/padwire.exe
set -euo pipefail
exe="${1:?usage: $0 PATH/TO/padwire.exe}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}mscoree,mshtml="
prefix="${WINEPREFIX:-$HOME/.wine}"
[ -f "$prefix/system.reg" ] || echo "Making the Wine prefix $prefix (once, about 15 s)..."
if [ -n "${DISPLAY:-}" ]; then
  echo "Starting padwire.exe under Wine on display $DISPLAY; choose Exit in its tray menu to end it."
  exec wine "$exe"
fi
echo "No DISPLAY: starting padwire.exe under Wine on a headless X server (xvfb-run)."
echo "Nothing will be visible; press Ctrl+C to end it, or run 'make run' from a desktop session."
exec xvfb-run -a -s "-screen 0 1024x768x24" wine "$exe"
