#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when they are missing.
# As root it installs them; otherwise it prints the one command to run.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  clang libclang-rt-dev
  clang-format  # the "format" test
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  mingw-w64 wine wine64 xvfb xauth xdotool
  # The faces the windows ask for, in the pictures of docs/: Wine's own Tahoma and Marlett, and
  # Liberation Sans, which has Arial's measures
  fonts-wine fonts-liberation2
  python3 python3-markdown  # the download's user guide, rendered to HTML (make dist)
  # The Linux program, and its tests under Xvfb with a window manager and a tray host
  libsdl2-dev libx11-dev libxext-dev libxtst-dev libxi-dev libturbojpeg0-dev qt6-base-dev
  libxkbcommon-dev libxkbcommon-x11-dev xkb-data  # keyboard layouts
  openbox trayer
  x11-xkb-utils  # setxkbmap: the layout tests switch their X server's layout
  dbus-daemon libdbus-1-dev  # private session buses: the screenshot portal and StatusNotifier tray tests
  # The Debian package (make dist) and the checks of what make install lays out
  dpkg-dev lintian desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run: sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
