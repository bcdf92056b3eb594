#!/usr/bin/env bash
# Start-up under Wine of blikon.exe against a bare Qt window (bench/barewindow.cpp)
# built the same way (MinGW, static Qt), side by side in one run in a virtual X server,
# the two started alternately RUNS times (default 11) after one start of each to warm
# the caches. startuptimer.exe measures each start from outside: the time until the
# first window is visible, the processor time until then and the peak working set
# half a second later. Blikon starts with the splash off, through its setting in the
# registry of the Wine prefix.
#
#   bench/startup_wine.sh [RUNS] [WINDOWS_BUILD_DIR]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../tests/windows/wineenv.sh"

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
RUNS="${1:-11}"
BUILD_DIR="$(cd "${2:-$ROOT/build-windows}" && pwd)"
for file in app/blikon.exe bench/barewindow.exe bench/startuptimer.exe; do
  [ -f "$BUILD_DIR/$file" ] || { echo "missing $BUILD_DIR/$file: scripts/windows builds it" >&2; exit 1; }
done
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (package xvfb)" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
unset QT_QPA_PLATFORM  # both on Windows's own platform
# The Wine prefix of the tests that open windows (tests/windows/wine_emulator.sh), held
# for the whole run so that no test runs in it meanwhile.
export WINEPREFIX="$BUILD_DIR/wine/desktop" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
use_locale "$BUILD_DIR/wine/locale" cs_CZ.UTF-8  # a Czech Windows
exec {lock}>"$WINEPREFIX.lock"
flock "$lock"
make_wine_prefix
env -u DISPLAY wine reg add 'HKCU\Software\VB and VBA Program Settings\Blikon\Kalendář' \
  /v ShowUvodT /t REG_SZ /d 0 /f >/dev/null
wineserver --wait

xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$BUILD_DIR" "$RUNS" "$work" <<'RUN'
set -euo pipefail
build=$1; runs=$2; out=$3
wineserver --persistent &  # one Wine server for all starts, as on a running Windows
trap 'wineserver --kill' EXIT
timer=$(winepath -w "$build/bench/startuptimer.exe")
bare=$(winepath -w "$build/bench/barewindow.exe")
blikon=$(winepath -w "$build/app/blikon.exe")
start() { wine "$timer" "$2" | tr -d '\r' >>"$out/$1"; }
start warmup "$bare"; start warmup "$blikon"
for ((i = 0; i < runs; ++i)); do
  start bare "$bare"
  start blikon "$blikon"
done
RUN

export LC_ALL=C  # numbers with a decimal point
median() {  # column file
  sort -n -k"$1","$1" "$2" | awk -v c="$1" '{ v[NR] = $c } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
printf '%-8s %5s %14s %14s %10s\n' "" runs "ms to window" "processor ms" "peak KiB"
for name in bare blikon; do
  printf '%-8s %5d %14.1f %14.1f %10d\n' "$name" "$(wc -l <"$work/$name")" \
    "$(median 1 "$work/$name")" "$(median 2 "$work/$name")" "$(median 3 "$work/$name")"
done
awk -v a="$(median 1 "$work/blikon")" -v b="$(median 1 "$work/bare")" \
    -v p="$(median 2 "$work/blikon")" -v q="$(median 2 "$work/bare")" \
  'BEGIN { printf "Blikon / bare (medians): time %.2f, processor time %.2f\n", a / b, p / q }'
