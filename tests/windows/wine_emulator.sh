#!/usr/bin/env bash
# Runs a Windows program of the Windows build under Wine: ctest's emulator for every test
# built for Windows (CMAKE_CROSSCOMPILING_EMULATOR), and usable by hand.
#
#   wine_emulator.sh <Wine folder> <program.exe> [arguments...]
#
# Each program runs in a Wine prefix of its own kind under <Wine folder>, made on first
# use (half a minute), kept, and made anew where Wine finds it broken:
# - headless/: no display at all, for programs on Qt's offscreen platform;
# - desktop/: with BLIKON_WINE_DISPLAY=1, for programs that open real windows: they run
#   one at a time, each in a virtual X server of its own (xvfb-run), and Wine is ended
#   with it, so that no Wine process outlives its display.
# The locale is BLIKON_WINE_LOCALE, by default cs_CZ.UTF-8: a Czech Windows, whose ANSI
# code page is 1250 (compiled under <Wine folder>/locale, wineenv.sh).
# Exits with the program's status, or 77 (skipped, with the reason) when Wine is missing.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wineenv.sh"

folder=$1
shift
wine=$(command -v wine) || { echo "SKIPPED: Wine is not installed (package wine)"; exit 77; }
kind=headless
if [[ ${BLIKON_WINE_DISPLAY:-0} == 1 ]]; then
  kind=desktop
  command -v xvfb-run >/dev/null || { echo "SKIPPED: xvfb-run is not installed (package xvfb)"; exit 77; }
fi
mkdir -p "$folder"
folder=$(cd "$folder" && pwd)  # Wine takes absolute prefixes only
export WINEPREFIX=$folder/$kind
export WINEDEBUG=-all
# No offer to download Wine's .NET and HTML engines when the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Qt's offscreen platform on Windows reads its fonts from one folder: the fonts a
# Windows machine has for Blikon, Wine's Tahoma and the rest of Wine's own, and Comic
# Neue standing in for Comic Sans MS where it is installed (fonts-comic-neue).
if [[ $kind == headless ]]; then
  fonts=$folder/fonts
  if [[ ! -d $fonts ]]; then
    new=$(mktemp -d "$fonts.new.XXXXXX")
    shopt -s nullglob
    ln -sf /usr/share/wine/fonts/*.ttf /usr/share/fonts/truetype/comic-neue/*.ttf "$new/" 2>/dev/null
    mv -T "$new" "$fonts" 2>/dev/null || rm -rf "$new"
  fi
  export QT_QPA_FONTDIR="Z:${fonts//\//\\}"
fi

# Wine passes no QT_* variable on to a Windows program, only WINEQT_* ones, under their
# QT_* names. Qt writes its messages (QtTest's too) to the debugger rather than to the
# console when the program has no console window, as here, unless told otherwise.
export QT_FORCE_STDERR_LOGGING=1
for name in ${!QT_@}; do
  export "WINE$name=${!name}"
done
use_locale "$folder/locale" "${BLIKON_WINE_LOCALE:-cs_CZ.UTF-8}" || exit 1

# Made once, by whichever test comes first, whole or not at all; the others wait for it
# (wineenv.sh).
if [[ $kind == headless ]]; then
  run_in_wine_prefix shared env -u DISPLAY -u WAYLAND_DISPLAY "$wine" "$@"
  exit
fi
run_in_wine_prefix alone xvfb-run -a -s "-screen 0 1280x1024x24" \
  bash -c '"$@"; status=$?; wineserver --kill; exit $status' run "$wine" "$@"
