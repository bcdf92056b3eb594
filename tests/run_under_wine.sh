#!/usr/bin/env bash
# Runs the Windows test of the code-page conversion under Wine, once with Windows-1250
# and once with Windows-1252 as the ANSI code page. Wine takes the code page from the
# locale it is started in, whether or not that locale is installed on this system.
#
#   run_under_wine.sh <test .exe> <Wine prefix folder>
#
# Exits 77 (skipped, with the reason) when the .exe was not built for want of MinGW, when
# Wine is not installed or when it cannot run a Windows program here; otherwise with the
# test's status. The prefix is made on the first run, which takes half a minute, whole
# or not at all (windows/wineenv.sh).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/windows/wineenv.sh"

exe=$1
export WINEPREFIX=$2
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

skip() {
  echo "SKIPPED: $1"
  exit 77
}

[[ -f $exe ]] || skip "$exe was not built: x86_64-w64-mingw32-g++ (package g++-mingw-w64-x86-64) is missing"
[[ -x $WINE ]] || skip "Wine is not installed (package wine64)"

status=0
for case in "1250 cs_CZ.UTF-8" "1252 en_US.UTF-8"; do
  read -r codePage locale <<<"$case"
  echo "== code page $codePage ($locale)"
  # No display: Wine must not open windows of its own on the desktop the tests run on.
  output=$(run_in_wine_prefix shared env -u DISPLAY -u WAYLAND_DISPLAY LANG="$locale" LC_ALL="$locale" \
             "$WINE" "$exe" "$codePage" 2>&1)
  result=$?
  echo "$output"
  # The program prints its first line at once; without it Wine did not get it running.
  [[ $output == *"Windows program started"* ]] ||
    skip "Wine cannot run Windows programs here ($WINE ended with status $result)"
  ((result == 0)) || status=1
done
exit $status
