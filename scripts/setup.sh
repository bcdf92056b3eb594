#!/usr/bin/env bash
# Shared by scripts/run and scripts/test: installs the Debian packages that are missing,
# then configures and builds. Quick when everything is already in place.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BLIKON_BUILD_DIR:-$ROOT/build}"

# What building and running the program needs (avrdude writes the chip); scripts/test
# adds TEST_PACKAGES.
PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev
  libgif-dev
  fonts-comic-neue qt6-translations-l10n avrdude
)

missing_packages() {
  local pkg
  for pkg in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || echo "$pkg"
  done
}

install_packages() {
  local missing
  missing=$(missing_packages "$@")
  [ -z "$missing" ] && return 0
  echo "Installing: $missing"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}

# The program alone: a new build folder is configured without tests and benchmarks, so
# that neither GoogleTest nor Google Benchmark is needed; an existing one keeps its
# options, and only the program's own targets are built.
build_program() {
  if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DBLIKON_BUILD_TESTS=OFF -DBLIKON_BUILD_BENCHMARKS=OFF
  fi
  echo "== Building Blikon (the first build takes a few minutes)"
  cmake --build "$BUILD_DIR" --target blikon
}

# Everything, tests and benchmarks included, in the same folder as the program: what
# scripts/run built is not built again.
configure_and_build() {
  cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DBLIKON_BUILD_TESTS=ON -DBLIKON_BUILD_BENCHMARKS=ON >/dev/null
  cmake --build "$BUILD_DIR"
}

# The test builds beside the normal one: every test again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the libFuzzer targets over the logic library (clang).
ASAN_BUILD_DIR="${BLIKON_ASAN_BUILD_DIR:-$ROOT/build-asan}"
FUZZ_BUILD_DIR="${BLIKON_FUZZ_BUILD_DIR:-$ROOT/build-fuzz}"
# The Windows checks: MinGW type-checks the Windows code (a Python script reads the build's
# compile commands), and Wine runs the Windows test of the code-page conversion.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev poppler-utils
               desktop-file-utils appstream dpkg-dev file
               clang-14 libclang-rt-14-dev as31 sdcc-ucsim g++-mingw-w64-x86-64 wine64 python3)

configure_and_build_sanitized() {
  if [ ! -f "$ASAN_BUILD_DIR/build.ninja" ]; then
    cmake -S "$ROOT" -B "$ASAN_BUILD_DIR" -G Ninja -DBLIKON_SANITIZE=ON -DBLIKON_BUILD_BENCHMARKS=OFF
  fi
  cmake --build "$ASAN_BUILD_DIR"
}

fuzzing_available() {
  command -v clang++-14 >/dev/null &&
    [ -f "$(clang++-14 -print-file-name="libclang_rt.fuzzer-$(uname -m).a")" ]
}

configure_and_build_fuzzers() {
  if [ ! -f "$FUZZ_BUILD_DIR/build.ninja" ]; then
    cmake -S "$ROOT/tests/fuzz" -B "$FUZZ_BUILD_DIR" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14
  fi
  cmake --build "$FUZZ_BUILD_DIR"
}

# Runs each fuzz target for $1 seconds, starting from its seeds in tests/fuzz/corpus and
# the inputs earlier runs kept in the build folder. A crash, a broken check, a hang or
# a leak fails; the input that did it is left in $FUZZ_BUILD_DIR/crashes.
run_fuzzers() {
  local seconds="$1" seeds name options
  mkdir -p "$FUZZ_BUILD_DIR/crashes"
  for seeds in "$ROOT"/tests/fuzz/corpus/*/; do
    name="$(basename "$seeds")"
    options=()
    [ -f "$ROOT/tests/fuzz/$name.options" ] && read -r -a options <"$ROOT/tests/fuzz/$name.options"
    mkdir -p "$FUZZ_BUILD_DIR/corpus/$name"
    if ! "$FUZZ_BUILD_DIR/fuzz_$name" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$FUZZ_BUILD_DIR/crashes/$name-" "${options[@]}" \
        "$FUZZ_BUILD_DIR/corpus/$name" "$seeds" >"$FUZZ_BUILD_DIR/$name.log" 2>&1; then
      tail -n 40 "$FUZZ_BUILD_DIR/$name.log"
      echo "fuzz_$name failed; the input is in $FUZZ_BUILD_DIR/crashes" >&2
      return 1
    fi
    echo "fuzz_$name: $(sed -n 's/^stat::number_of_executed_units: *//p' "$FUZZ_BUILD_DIR/$name.log") runs, no failure"
  done
}
