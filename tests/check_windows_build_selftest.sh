#!/usr/bin/env bash
# check_windows_build.py on a small made-up tree: Windows code that type-checks passes;
# a type error in a Windows branch, in a file or in a header, fails with the file
# named; and a tree without Windows code is refused rather than passed unchecked.
set -uo pipefail

check="$(dirname "${BASH_SOURCE[0]}")/check_windows_build.py"
command -v x86_64-w64-mingw32-g++ >/dev/null || { echo "SKIPPED: MinGW is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect pass|fail <case> <text of src/w.h> [what the report names]: src/w.cpp includes
# w.h and has a Windows branch of its own, with the define -DLIMIT=3 from the build.
expect() {
  local outcome=$1 name=$2 header=$3 named=${4:-} tree="$work/$2" output status=0
  mkdir -p "$tree/src" "$tree/build"
  printf '%s\n' "$header" >"$tree/src/w.h"
  printf '#include "w.h"\n#ifdef _WIN32\n#include <windows.h>\nint limit() { return LIMIT + int(GetACP()); }\n#endif\n' \
    >"$tree/src/w.cpp"
  printf '[{"directory": "%s", "command": "c++ -DLIMIT=3 -I%s -c %s", "file": "%s"}]\n' \
    "$tree/build" "$tree/src" "$tree/src/w.cpp" "$tree/src/w.cpp" >"$tree/build/compile_commands.json"
  output=$("$check" "$tree/build" "$tree" 2>&1) || status=$?
  if [[ $outcome == pass && $status -ne 0 ]]; then
    echo "FAIL $name: good Windows code was refused: $output"
    failures=$((failures + 1))
  elif [[ $outcome == fail && ($status -eq 0 || $output != *"$named"*) ]]; then
    echo "FAIL $name: not reported (status $status): $output"
    failures=$((failures + 1))
  fi
}

expect pass good '#pragma once'
expect fail header-type-error $'#pragma once\n#ifdef _WIN32\nint* wrong = "text";\n#endif' \
  "w.h:3:14: error: cannot convert"
expect fail redefined-macro $'#pragma once\n#define LIMIT 4' '"LIMIT" redefined'

# No Windows code anywhere: nothing to check is an error, not a pass.
mkdir -p "$work/none/build"
echo '[]' >"$work/none/build/compile_commands.json"
if "$check" "$work/none/build" "$work/none" >/dev/null 2>&1; then
  echo "FAIL a tree without Windows code passed"
  failures=$((failures + 1))
fi

((failures == 0)) || { echo "$failures case(s) of check_windows_build.py failed"; exit 1; }
