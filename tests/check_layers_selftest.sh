#!/usr/bin/env bash
# check_layers.sh on small made-up trees: a tree whose includes all point down passes,
# and each kind of break, planted alone, fails with the offending file named.
set -euo pipefail

check="$(dirname "${BASH_SOURCE[0]}")/check_layers.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# A tree with one header a folder, each including the layers below it.
make_tree() {
  local tree=$1
  mkdir -p "$tree"/{core,mcs51,platform,ui,document,animation,app,tests}
  echo '#include <string>' >"$tree/core/c.h"
  printf '#include "core/c.h"\n#include <cstdint>\n' >"$tree/mcs51/m.h"
  mkdir -p "$tree/mcs51/asm" "$tree/mcs51/sim"
  printf '#include "mcs51/m.h"\n' >"$tree/mcs51/asm/as.h"
  printf '#include "mcs51/m.h"\n#include <core/c.h>\n' >"$tree/mcs51/sim/si.h"
  printf '#include "core/c.h"\n#include <QString>\n' >"$tree/platform/p.h"
  printf '#include "platform/p.h"\n#include "mcs51/m.h"\n#include <QWidget>\n' >"$tree/ui/u.h"
  printf '#include "ui/u.h"\n#include "core/c.h"\n' >"$tree/document/d.h"
  printf '#include "ui/u.h"\n' >"$tree/animation/a.h"
  printf '#include "document/d.h"\n#include "animation/a.h"\n#include "app.h"\n' >"$tree/app/app.cpp"
  echo '#pragma once' >"$tree/app/app.h"
  echo '@VERSION@' >"$tree/core/version.h.in"
  echo '#include "core/version.h"' >"$tree/app/about.cpp"
  touch "$tree/tests/CMakeLists.txt"
  echo '#include "app/app.h"' >"$tree/tests/test_app.cpp"  # tests stand outside the layers
}

# expect pass|fail <case> <file> [line to add to it] [what the report names, else file]
expect() {
  local outcome=$1 name=$2 file=$3 line=${4:-} named=${5:-$3}
  local tree="$work/$name" output status=0
  make_tree "$tree"
  if [[ -n $line ]]; then
    mkdir -p "$(dirname "$tree/$file")"
    echo "$line" >>"$tree/$file"
  fi
  output=$("$check" "$tree" 2>&1) || status=$?
  if [[ $outcome == pass && $status -ne 0 ]]; then
    echo "FAIL $name: a tree in order was refused: $output"
    failures=$((failures + 1))
  elif [[ $outcome == fail && ($status -eq 0 || $output != *"$named"*) ]]; then
    echo "FAIL $name: the break in $file was not reported as \"$named\" (status $status): $output"
    failures=$((failures + 1))
  fi
}

expect pass downward-includes core/c.h
expect fail document-includes-app document/d.h '#include "app/app.h"'
expect fail app-header-with-a-path animation/a.cpp '#include "../app/app.h"'
expect fail angle-brackets-do-not-hide-it ui/u.cpp '#include <document/d.h>'
expect fail angle-brackets-without-the-folder ui/u.cpp '#include <d.h>'
expect fail bare-name-of-another-folder ui/u.cpp '#include "p.h"'
expect fail platform-includes-ui platform/p.cpp '#include "ui/u.h"'
expect fail animation-beside-document animation/a.cpp '#include "document/d.h"'
expect fail core-below-mcs51 core/c.cpp '#include "mcs51/m.h"'
expect fail mcs51-beside-platform mcs51/m.cpp '#include "platform/p.h"'
expect pass parts-include-their-own mcs51/sim/si.cpp '#include "si.h"'
expect fail sim-includes-asm mcs51/sim/si.cpp '#include "mcs51/asm/as.h"'
expect fail asm-includes-sim mcs51/asm/as.h '#include "mcs51/sim/si.h"'
expect fail top-includes-a-part mcs51/m.cpp '#include "mcs51/asm/as.h"'
expect fail qt-in-core core/c.cpp '#include <QString>'
expect fail qt-module-path-in-mcs51 mcs51/m.h '#include <QtCore/qstring.h>'
expect fail unknown-quoted-header ui/u.cpp '#include "nowhere.h"'
expect fail unknown-header-with-a-folder ui/u.cpp '#include "core/nowhere.h"'
expect fail test-helper-in-a-layer ui/u.cpp '#include "tests/support/fakes.h"'
expect fail folder-without-a-layer sim/CMakeLists.txt 'add_library(sim)' 'sim/ has no place'
expect pass same-name-in-two-folders ui/c.h '#pragma once'

if ((failures > 0)); then
  echo "$failures case(s) of check_layers.sh failed"
  exit 1
fi
