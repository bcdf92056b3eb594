#!/usr/bin/env bash
# Runs a Windows program of the Windows build under Wine: ctest's emulator for every test
# built for Windows (CMAKE_CROSSCOMPILING_EMULATOR), and usable by hand.
#
#   wine_emulator.sh <Wine folder> <program.exe> [arguments...]
#
# Each program runs in a Wine prefix of its own kind under <Wine folder>, made on first
# use (half a minute) and kept:
# - headless/: no display at all, for programs on Qt's offscreen platform;
# - desktop/: with BLIKON_WINE_DISPLAY=1, for programs that open real windows: they run
#   one at a time, each in a virtual X server of its own (xvfb-run), and Wine is ended
#   with it, so that no Wine process outlives its display.
# The locale is BLIKON_WINE_LOCALE, by default cs_CZ.UTF-8: a Czech Windows, whose ANSI
# code page is 1250. Wine takes it whether or not the locale is installed here.
# Exits with the program's status, or 77 (skipped, with the reason) when Wine is missing.
set -uo pipefail

folder=$1
shift
wine=$(command -v wine) || { echo "SKIPPED: Wine is not installed (package wine)"; exit 77; }
kind=headless
if [[ ${BLIKON_WINE_DISPLAY:-0} == 1 ]]; then
  kind=desktop
  command -v xvfb-run >/dev/null || { echo "SKIPPED: xvfb-run is not installed (package xvfb)"; exit 77; }
fi
export WINEPREFIX=$folder/$kind
export WINEDEBUG=-all
# No offer to download Wine's .NET and HTML engines when the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=${BLIKON_WINE_LOCALE:-cs_CZ.UTF-8} LC_ALL=${BLIKON_WINE_LOCALE:-cs_CZ.UTF-8}

mkdir -p "$folder"
# Made once, by whichever test comes first; the others wait for it.
if ! flock "$WINEPREFIX.lock" bash -c '
    [[ -f $WINEPREFIX/.made ]] && exit 0
    env -u DISPLAY -u WAYLAND_DISPLAY wine wineboot --init >/dev/null 2>&1 && wineserver --wait &&
      touch "$WINEPREFIX/.made"'; then
  echo "Could not make the Wine prefix $WINEPREFIX" >&2
  exit 1
fi

if [[ $kind == headless ]]; then
  exec env -u DISPLAY -u WAYLAND_DISPLAY "$wine" "$@"
fi
exec flock "$WINEPREFIX.lock" xvfb-run -a -s "-screen 0 1280x1024x24" \
  bash -c '"$0" "$@"; status=$?; wineserver --kill; exit $status' "$wine" "$@"
