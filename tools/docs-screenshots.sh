#!/usr/bin/env bash
# Takes the pictures in docs/ again: the tray menu, the force-feedback dialog, the debug window
# and the assignment dialog, of padwire.exe under Wine (NAME.png) and of the Linux program
# (NAME-linux.png). Each system gets a private headless X server of 1024x768 whose screen the
# server keeps in a file (Xvfb -fbdir); tools/docs-shot.py cuts each picture from it.
#   Windows: padwire.exe in Wine's virtual desktop, which draws the window frames and a taskbar
#            with a notification area, in a fresh Wine prefix with Wine's own fonts; its
#            controller is the end-to-end tests' scripted one, at rest.
#   Linux:   padwire_scripted (its joystick is scripted and rests untouched) under openbox with
#            the tray host trayer, with settings of its own.
# `make screenshots` builds what this needs and runs it.
#   tools/docs-screenshots.sh [windows|linux] [OUTPUT_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
systems=(windows linux)
case "${1:-}" in windows | linux) systems=("$1"); shift ;; esac
out="$(mkdir -p "${1:-$root/docs}" && cd "${1:-$root/docs}" && pwd)"
for tool in Xvfb xdotool openbox trayer wine; do
  command -v "$tool" >/dev/null || { echo "docs-screenshots.sh needs $tool" >&2; exit 1; }
done

work="$(mktemp -d)"
pids=()
cleanup() {
  if [ -d "$work/prefix" ]; then WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1 || true; fi
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A private X server on a display number nobody uses, its screen in $work/screen/Xvfb_screen0
# and white where no window is.
start_x() {
  local number=90
  while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
    number=$((number + 1))
  done
  export DISPLAY=":$number"
  mkdir -p "$work/screen"
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp -wr -fbdir "$work/screen" >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && return; sleep 0.1; done
  echo "Xvfb did not start on $DISPLAY" >&2
  exit 1
}

# The first visible window with this title, waited for up to 20 s.
window() {
  local id
  for _ in $(seq 100); do
    id="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)" || true
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.2
  done
  echo "no window \"$1\" came up" >&2
  exit 1
}

# shot NAME X Y WIDTH HEIGHT: that part of the screen as $out/NAME.png, with the pointer out of
# it for the while. (Keys go to the window under the pointer.)
shot() {
  local pointer
  pointer="$(xdotool getmouselocation | sed -E 's/^x:([0-9]+) y:([0-9]+).*/\1 \2/')"
  xdotool mousemove 1023 0
  sleep 0.5
  "$root/tools/docs-shot.py" crop "$work/screen/Xvfb_screen0" "$out/$1.png" "${@:2}"
  # shellcheck disable=SC2086  # the pointer's two numbers
  xdotool mousemove $pointer
}
# menu_rect TITLE: the tray menu's rectangle in the array menu_place, X Y WIDTH HEIGHT: the program's
# tallest visible window with this title.
menu_rect() {
  local id place
  menu_place=()
  for id in $(xdotool search --onlyvisible --class padwire); do
    [ "$(xdotool getwindowname "$id")" = "$1" ] || continue
    read -ra place < <("$root/tools/docs-shot.py" rect "$id")
    if [ ${#menu_place[@]} -eq 0 ] || [ "${place[3]}" -gt "${menu_place[3]}" ]; then menu_place=("${place[@]}"); fi
  done
  [ ${#menu_place[@]} -eq 4 ] || { echo "the tray menu did not come up" >&2; exit 1; }
}
# shoot_window NAME TITLE [outer]: a window whole, with the frame around it.
shoot_window() {
  local id rect
  id="$(window "$2")"
  read -ra rect < <("$root/tools/docs-shot.py" rect "$id" ${3:+"$3"})
  shot "$1" "${rect[@]}"
}

windows_pictures() {
  local exe="$root/build/windows/platform/win32/padwire.exe"
  local pad="$root/build/windows/tests/e2e/bin/dinput8.dll"
  if [ ! -x "$exe" ] || [ ! -f "$pad" ]; then
    echo "build padwire.exe and fake_dinput8 of the windows preset first" >&2
    exit 1
  fi
  start_x
  export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEARCH=win64
  # No Mono or Gecko installer dialogs; the system folder's dinput8.dll before Wine's own.
  export WINEDLLOVERRIDES="mscoree,mshtml=;dinput8=n,b"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  # The controller: the end-to-end tests' scripted DirectInput, a ten-button pad at rest.
  cp "$pad" "$WINEPREFIX/drive_c/windows/system32/"
  printf 'name Scripted Pad\nbuttons 10\nx 32768\ny 32768\npov 4294967295\n' >"$work/pad.txt"
  export PADWIRE_FAKE_PAD="Z:$work/pad.txt"
  # The program's faces: MS Shell Dlg 2 is Tahoma under Wine, and the title bars' buttons are
  # Marlett glyphs. Wine finds those only in the prefix's Fonts folder.
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  # The right button on the icon in the taskbar's notification area, at the bottom right.
  menu() { xdotool mousemove 1013 757 click 3; sleep 1.5; }

  wine explorer /desktop=padwire,1024x768 "$exe" >/dev/null 2>&1 &
  pids+=($!)
  window "Padwire Debug Window" >/dev/null
  sleep 4  # painted
  shoot_window debug-window "Padwire Debug Window"
  menu
  # The menu (a window without a title) down to the taskbar's corner.
  menu_rect ""
  local x=$((menu_place[0] - 16)) y=$((menu_place[1] - 16))
  shot tray-menu "$x" "$y" $((1024 - x)) $((768 - y))
  xdotool key Escape
  menu
  xdotool key Down Down Down Return  # Force Feedback...
  sleep 2
  shoot_window force-feedback "Force Feedback"
  xdotool key Return                 # OK
  sleep 1
  menu
  xdotool key Down Down Return       # Configure Joypad...
  sleep 2.5
  shoot_window joy-config "SideWinder Config"
  # A click on the A button asks for its key: the button turns green, the prompt red.
  xdotool mousemove --window "$(window "SideWinder Config")" 262 143 click 1
  sleep 2.5  # the prompt is painted after the button turns green
  shoot_window joy-config-capturing "SideWinder Config"
  xdotool key k                      # K completes the capture
  sleep 0.5
  menu
  xdotool key x                      # Exit
  wineserver -w
}

linux_pictures() {
  local program="$root/build/native/platform/linux/padwire_scripted"
  [ -x "$program" ] || { echo "build $program first (make native)" >&2; exit 1; }
  start_x
  openbox --config-file "$root/tools/docs-openbox.xml" >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
  # A panel across the top with the notification area at its right end.
  trayer --edge top --align right --widthtype percent --width 100 --height 24 \
    >/dev/null 2>&1 &
  pids+=($!)
  sleep 1

  export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
  mkdir -p "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
  mkfifo "$work/script" "$work/reply"
  export PADWIRE_SCRIPT="$work/script" PADWIRE_SCRIPT_REPLY="$work/reply"
  "$program" >/dev/null 2>&1 &
  pids+=($!)
  local ready
  exec 3<"$work/reply"
  read -r -t 20 ready <&3 || true
  [ "${ready:-}" = tray-ready ] || { echo "the tray icon did not come up (${ready:-nothing})" >&2; exit 1; }
  sleep 1
  # The right button on the lower left corner of the icon in the panel at the top right: the
  # menu opens below the icon.
  menu() { xdotool mousemove 1004 22 click 3; sleep 1; }

  shoot_window debug-window-linux "Padwire Debug Window" outer
  menu
  # The menu (a window with the program's name) up to the panel's corner.
  menu_rect padwire
  local x=$((menu_place[0] - 16))
  shot tray-menu-linux "$x" 0 $((1024 - x)) $((menu_place[1] + menu_place[3] + 16))
  xdotool key Escape
  menu
  xdotool key Down Down Down Return  # Force Feedback...
  sleep 1
  shoot_window force-feedback-linux "Force Feedback" outer
  xdotool key Return                 # OK
  sleep 1
  menu
  xdotool key Down Down Return       # Configure Joypad...
  sleep 1
  shoot_window joy-config-linux "SideWinder Config" outer
  # A click on the A button asks for its key: the button turns green, the prompt red.
  xdotool mousemove --window "$(window "SideWinder Config")" 257 120 click 1
  sleep 1
  shoot_window joy-config-capturing-linux "SideWinder Config" outer
  xdotool key k                      # K completes the capture
  sleep 0.5
  menu
  xdotool key x                      # Exit
  sleep 1
}

for system in "${systems[@]}"; do
  # Each system in a subshell of its own: its X server and programs end with it.
  ( pids=(); trap cleanup EXIT; work="$work/$system"; mkdir -p "$work"; "${system}_pictures" )
done
echo "pictures in $out"
