#!/usr/bin/env bash
# The Wine prefix helper (wineenv.sh, through wine_emulator.sh) when things go wrong:
#   1. a run killed with its wineboot halfway through making the prefix leaves nothing
#      at the prefix's place, and the next run makes the prefix anew and runs;
#   2. a prefix whose kernel32.dll Wine cannot load any more ("could not load
#      kernel32.dll") is made anew, and the program runs.
# Exits 77 (skipped, with the reason) where Wine or the locale sources are missing.
set -uo pipefail
emulator=$(dirname "$0")/wine_emulator.sh
command -v wine >/dev/null || { echo "SKIPPED: Wine is not installed (package wine)"; exit 77; }
[[ -d /usr/share/i18n/locales ]] || { echo "SKIPPED: the locale sources are missing (package locales)"; exit 77; }
work=$(mktemp -d)
prefix=$work/headless

# Every process that runs in the Wine prefix <folder>: Wine's and the programs', which
# this test started.
processes_in() {
  grep -lzx "WINEPREFIX=$1" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3
}
cleanup() {
  local folder
  for folder in "$prefix" "$prefix".new.*; do
    [[ -e $folder ]] && WINEPREFIX=$folder wineserver --kill 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*"
  exit 1
}
# A run that must pass and make a whole prefix.
passes() {  # what
  local output
  output=$("$emulator" "$work" cmd /c echo ran 2>&1)
  local status=$?
  [[ $status == 0 && $output == *ran* ]] || fail "$1: status $status, output: $output"
  [[ -f $prefix/.made && -f $prefix/drive_c/windows/system32/kernel32.dll ]] || fail "$1: no whole prefix"
  compgen -G "$prefix.new.*" >/dev/null && fail "$1: a half-made prefix is left beside"
  echo "ok: $1"
}

# 1. Killed once wineboot has copied part of Windows's system folder.
setsid "$emulator" "$work" cmd /c echo ran >/dev/null 2>&1 &
session=$!
new=
for _ in $(seq 3000); do  # 5 minutes at most
  new=$(compgen -G "$prefix.new.*" | head -n 1)
  [[ -n $new ]] && (($(find "$new/drive_c/windows/system32" -maxdepth 1 2>/dev/null | wc -l) > 50)) && break
  sleep 0.1
done
[[ -n $new && -d $new ]] || fail "wineboot made no prefix in 5 minutes"
[[ -n $(processes_in "$new") ]] || fail "wineboot was not running in $new"
kill -KILL -- "-$session" 2>/dev/null
# shellcheck disable=SC2046 # one process id a word
kill -KILL $(processes_in "$new") 2>/dev/null
{ wait "$session"; } 2>/dev/null
[[ -e $prefix ]] && fail "the killed run left a prefix at its place"
echo "ok: the run killed halfway left no prefix at its place"
passes "the next run makes the prefix anew"

# 2. Broken in place.
WINEPREFIX=$prefix wineserver --kill 2>/dev/null
: >"$prefix/drive_c/windows/system32/kernel32.dll"
passes "a prefix with a broken kernel32.dll is made anew"
