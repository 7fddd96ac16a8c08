#!/usr/bin/env bash
# Runs a Windows program under Wine the way the tests need it: in a private copy of a Wine
# prefix, on a private headless X server without a window manager, with Wine's own messages
# off. The program's exit code is this script's.
#
#   wine-run.sh [--prefix-template DIR] PROGRAM.exe [ARGS...]
#   wine-run.sh [--prefix-template DIR] --unix COMMAND [ARGS...]   a Unix command in that setting
#   wine-run.sh [--prefix-template DIR] --init      (re)make the template prefix
#
# The template is made once (wineboot -i takes 5-15 s) and copied for every run (about 2 s), so
# runs never share a registry or a wineserver and can go in parallel. CMake passes the build
# tree's template; without one, a template per user in the temporary folder is used.
set -euo pipefail

template="${PADWIRE_WINE_TEMPLATE:-${TMPDIR:-/tmp}/padwire-wine-template-$(id -u)}"
init=0
launcher=wine
while [ $# -gt 0 ]; do
  case "$1" in
    --prefix-template) template="$2"; shift 2 ;;
    --init) init=1; shift ;;
    --unix) launcher=env; shift ;;
    *) break ;;
  esac
done

export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win64
# No Mono or Gecko installer dialogs: nothing here needs them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}mscoree,mshtml="
xvfb=(xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 1024x768x24 -nolisten tcp")

make_template() {
  local staging="$template.staging.$$"
  rm -rf "$staging"
  mkdir -p "$(dirname "$template")"
  WINEPREFIX="$staging" "${xvfb[@]}" sh -c 'wineboot -i && wineserver -w' >/dev/null 2>&1 || {
    echo "wine-run.sh: wineboot -i failed for $staging" >&2
    rm -rf "$staging"
    return 1
  }
  rm -rf "$template"
  mv "$staging" "$template"
}

mkdir -p "$(dirname "$template")"
exec 9>"$template.lock"
if [ "$init" -eq 1 ]; then
  flock 9
  make_template
  exit 0
fi
if [ $# -eq 0 ]; then
  echo "usage: $0 [--prefix-template DIR] [--unix] PROGRAM [ARGS...] | --init" >&2
  exit 2
fi

# Copy under a shared lock, so that a template being remade is never copied half-way.
flock -s 9
if [ ! -f "$template/system.reg" ]; then
  flock 9
  [ -f "$template/system.reg" ] || make_template
  flock -s 9
fi
run_dir="$(mktemp -d "${TMPDIR:-/tmp}/padwire-wine.XXXXXX")"
trap 'WINEPREFIX="$run_dir/prefix" wineserver -k >/dev/null 2>&1 || true; rm -rf "$run_dir"' EXIT
cp -a "$template" "$run_dir/prefix"
flock -u 9
export WINEPREFIX="$run_dir/prefix"

status=0
"${xvfb[@]}" sh -c '"$0" "$@"; status=$?; wineserver -k >/dev/null 2>&1; exit $status' \
  "$launcher" "$@" || status=$?
exit "$status"
