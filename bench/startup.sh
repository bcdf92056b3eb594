#!/usr/bin/env bash
# Start-up of Blikon against a bare Qt window (bench/barewindow.cpp), side by side in one
# run under a virtual X server, the two started alternately RUNS times (default 21).
# Measures, for each start, the time from exec to the first Expose of the main window,
# the processor time used until then (steadier than the time on a busy machine), and
# the peak resident memory of the process 0.5 s after that, when the window is painted
# and what the program defers until after showing it has run. Blikon starts with
# the splash off, through a settings file in a temporary XDG_CONFIG_HOME.
#
# The measure is taken from outside: bench/exposeprobe.cpp is preloaded and watches
# the X events that Qt reads, so neither program carries code for the benchmark.
#
#   bench/startup.sh [RUNS] [BUILD_DIR]
#   BLIKON=/elsewhere/blikon bench/startup.sh   # the bare window against another build
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
RUNS="${1:-21}"
BUILD_DIR="$(cd "${2:-$ROOT/build}" && pwd)"
BLIKON="${BLIKON:-$BUILD_DIR/app/blikon}"  # another build of Blikon to compare
BARE="$BUILD_DIR/bench/barewindow"
PROBE="$BUILD_DIR/bench/libexposeprobe.so"
for file in "$BLIKON" "$BARE" "$PROBE"; do
  [ -x "$file" ] || [ -f "$file" ] || { echo "missing $file: build first" >&2; exit 1; }
done
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (package xvfb)" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The section "Kalendář" as QSettings writes it into an INI file.
mkdir -p "$work/config/Blikon"
printf '[Kalend%%E1%%U0159]\nShowUvodT=0\n' >"$work/config/Blikon/Blikon.conf"

mkdir -m 700 "$work/runtime"
xvfb-run -a -s "-screen 0 1024x768x24" env HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    RUNS="$RUNS" PROBE="$PROBE" OUT="$work" bash -s "$BARE" "$BLIKON" <<'RUN'
set -euo pipefail
# One start: the clock starts right before exec.
start() {  # name program
  BENCH_OUT="$OUT/$1" bash -c 'export BENCH_T0=$EPOCHREALTIME LD_PRELOAD="$PROBE"; exec "$@"' start "$2"
}
# With the splash on, the main window would come up only after 3.5 s: make sure it is
# there at once.
BENCH_SETTLE_MS=1500 start check "$2" &
sleep 1
if ! xwininfo -root -tree | grep -q 'Blikonem'; then
  echo "Blikon's main window is not up after 1 s: is the splash off?" >&2
  exit 1
fi
wait
# A start of each to warm the caches, not counted.
start warmup "$1"; start warmup "$2"
for ((i = 0; i < RUNS; ++i)); do
  start bare "$1"
  start blikon "$2"
done
RUN

median() {  # column file
  sort -n -k"$1","$1" "$2" | awk -v c="$1" '{ v[NR] = $c } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
bare_ms=$(median 1 "$work/bare"); blikon_ms=$(median 1 "$work/blikon")
bare_cpu=$(median 2 "$work/bare"); blikon_cpu=$(median 2 "$work/blikon")
bare_kb=$(median 3 "$work/bare"); blikon_kb=$(median 3 "$work/blikon")
printf '%-8s %5s %14s %14s %10s\n' "" runs "ms to expose" "processor ms" "peak KiB"
printf '%-8s %5d %14.1f %14.1f %10d\n' bare "$(wc -l <"$work/bare")" "$bare_ms" "$bare_cpu" "$bare_kb"
printf '%-8s %5d %14.1f %14.1f %10d\n' Blikon "$(wc -l <"$work/blikon")" "$blikon_ms" "$blikon_cpu" "$blikon_kb"
awk -v a="$blikon_ms" -v b="$bare_ms" -v p="$blikon_cpu" -v q="$bare_cpu" -v c="$blikon_kb" -v d="$bare_kb" \
  'BEGIN { printf "Blikon / bare (medians): time %.2f, processor time %.2f, memory %.2f\n", a / b, p / q, c / d }'
