#!/usr/bin/env bash
# The Windows build's steps, shared by scripts/windows and scripts/test: Debian's Qt source
# cross-built once into a cache, then Blikon built, tested under Wine and packed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

# dpkg-dev unpacks the source package; googletest holds GoogleTest's sources for the
# tests; locales the sources of the Czech locale that Wine runs in, fonts-wine Wine's
# Tahoma and Marlett (tests/windows/wineenv.sh); xvfb and xauth give Wine a display,
# x11-utils (xwininfo, xprop) finds the windows there and imagemagick takes the
# screenshot. The host's Qt with QtSvg draws the pictures, and qt6-translations-l10n
# has the Czech catalogue. make, flex and bison build giflib, libusb-1.0 and avrdude
# (its configuration parser).
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64 nsis dpkg-dev zip googletest locales
                  xvfb xauth fonts-wine x11-utils imagemagick make flex bison
                  cmake ninja-build qt6-base-dev qt6-svg-dev qt6-translations-l10n)
WINDOWS_TOOLCHAIN="$ROOT/cmake/mingw-w64-x86_64.cmake"
WINDOWS_BUILD_DIR="${BLIKON_WINDOWS_BUILD_DIR:-$ROOT/build-windows}"

# The host Qt's version, without Debian's revision ("6.4.2+dfsg"): the cross-built Qt is
# the same source, so that the host's moc, rcc and uic fit it.
host_qt_version() {
  dpkg-query -W -f='${Version}' qt6-base-dev | sed 's/-[^-]*$//'
}

QT_CACHE_ROOT="${BLIKON_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/blikon}"
windows_qt_prefix() {
  local version
  version=$(host_qt_version)
  echo "$QT_CACHE_ROOT/qt-${version%%+*}-mingw64"
}

# A cache folder counts as built only with this file in it, written last.
CACHE_STAMP=.blikon-complete

windows_qt_ready() {
  cache_ready "$(windows_qt_prefix)"
}

# Debian's source packages come through a private apt configuration in the cache, made
# from the machine's own apt sources (so from its mirror, with its keys): their entries of
# this Debian release as deb-src. The system's apt configuration stays as it is.
APT_DIR="$QT_CACHE_ROOT/apt"
APT_OPTIONS=(-o "Dir::Etc::SourceList=$APT_DIR/sources.list" -o "Dir::Etc::SourceParts=$APT_DIR/sources.list.d"
             -o "Dir::State::Lists=$APT_DIR/lists" -o "Dir::Cache=$APT_DIR/cache")
APT_UPDATED=0

# The deb-src stanzas (deb822) for the deb entries of the release <codename> in the apt
# source files given, deb822 (*.sources) or one-line (*.list): their URIs, the release's
# own suites (bookworm, bookworm-updates, ...), components and signed-by. Other
# repositories (no suite of the release) and disabled entries are left out.
#   debian_source_stanzas bookworm /etc/apt/sources.list /etc/apt/sources.list.d/*.sources
debian_source_stanzas() {
  local codename=$1
  shift
  awk -v codename="$codename" '
    function release_suites(list,   n, i, parts, kept) {
      n = split(list, parts, /[ \t]+/)
      kept = ""
      for (i = 1; i <= n; i++)
        if (parts[i] == codename || index(parts[i], codename "-") == 1) kept = kept (kept == "" ? "" : " ") parts[i]
      return kept
    }
    function emit(types, uris, suites, components, signed, enabled,   kept) {
      kept = release_suites(suites)
      if (enabled == "no" || (" " types " ") !~ / deb / || kept == "" || uris == "" || components == "") return
      printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents: %s\n", uris, kept, components
      if (signed != "") printf "Signed-By: %s\n", signed
      print ""
    }
    function end_stanza() {
      emit(field["types"], field["uris"], field["suites"], field["components"], field["signed-by"], field["enabled"])
      delete field
      key = ""
    }
    FNR == 1 { if (deb822) end_stanza(); deb822 = FILENAME ~ /\.sources$/ }
    deb822 && /^[ \t]*#/ { next }
    deb822 && /^[ \t]*$/ { end_stanza(); next }
    deb822 && /^[ \t]/ { if (key != "") field[key] = field[key] "\n" $0; next }  # a key block
    deb822 {
      key = tolower(substr($0, 1, index($0, ":") - 1))
      value = substr($0, index($0, ":") + 1)
      gsub(/^[ \t]+|[ \t]+$/, "", value)
      field[key] = value
      next
    }
    /^[ \t]*deb[ \t]/ {
      line = $0
      sub(/#.*/, "", line)
      signed = ""
      if (match(line, /\[[^]]*\]/)) {
        options = substr(line, RSTART + 1, RLENGTH - 2)
        line = substr(line, 1, RSTART - 1) " " substr(line, RSTART + RLENGTH)
        if (match(options, /signed-by=[^ \t]+/)) signed = substr(options, RSTART + 10, RLENGTH - 10)
      }
      n = split(line, word, /[ \t]+/)
      first = word[1] == "" ? 2 : 1
      components = ""
      for (i = first + 3; i <= n; i++) if (word[i] != "") components = components (components == "" ? "" : " ") word[i]
      emit("deb", word[first + 1], word[first + 2], components, signed, "yes")
    }
    END { if (deb822) end_stanza() }
  ' "$@"
}

# The private source list from the machine's sources, and its package lists fetched once
# per run.
update_private_apt() {
  ((APT_UPDATED)) && return 0
  local codename files=()
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  mkdir -p "$APT_DIR/lists/partial" "$APT_DIR/sources.list.d" "$APT_DIR/cache"
  : >"$APT_DIR/sources.list"
  shopt -s nullglob
  files=(/etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources)
  shopt -u nullglob
  local existing=() file
  for file in "${files[@]}"; do [ -f "$file" ] && existing+=("$file"); done
  debian_source_stanzas "$codename" "${existing[@]}" >"$APT_DIR/sources.list.d/debian-source.sources"
  [ -s "$APT_DIR/sources.list.d/debian-source.sources" ] ||
    { echo "No apt source of Debian $codename in /etc/apt to take the source packages from" >&2; return 1; }
  apt-get "${APT_OPTIONS[@]}" update -qq
  APT_UPDATED=1
}

# Debian's source package <package>[=<version>] unpacked, Debian's patches applied, into
# <work>/<folder>; prints the version fetched. Where the archive serves the package's
# .dsc and upstream tarball but not its Debian part, the upstream tarball is unpacked
# alone, once its checksum matches the .dsc's.
#   fetch_debian_source ~/.cache/blikon/src/giflib giflib giflib
fetch_debian_source() {
  local work=$1 package=$2 folder=$3 dsc
  update_private_apt
  mkdir -p "$work"
  rm -f "$work"/*.dsc
  if (cd "$work" && apt-get "${APT_OPTIONS[@]}" source --download-only "$package" >&2); then
    dsc=$(ls "$work"/*.dsc)
    (cd "$work" && rm -rf "$folder" && dpkg-source --no-check -x "$dsc" "$folder" >/dev/null)
  else
    dsc=$(ls "$work"/*.dsc 2>/dev/null) || return 1
    unpack_upstream_tarball "$dsc" "$work/$folder" || return 1
  fi
  sed -n 's/^Version: //p' "$dsc"
}

unpack_upstream_tarball() {  # dsc folder
  local dsc=$1 folder=$2 sum name
  read -r sum _ name < <(sed -n '/^Checksums-Sha256:/,/^[^ ]/p' "$dsc" | grep -F '.orig.tar.')
  [ -n "$name" ] && echo "$sum  $(dirname "$dsc")/$name" | sha256sum --check --quiet || return 1
  echo "== The archive does not serve Debian's part of $(basename "$dsc" .dsc): $name alone, as it is" >&2
  rm -rf "$folder"
  mkdir -p "$folder"
  tar -xf "$(dirname "$dsc")/$name" -C "$folder" --strip-components=1
}

fetch_qt_source() {
  fetch_debian_source "$1" "qt6-base=$(dpkg-query -W -f='${Version}' qt6-base-dev)" qtbase >/dev/null
}

# The prefix counts as built only with the stamp in it, written after a full install.
cache_ready() {  # prefix
  [ -f "$1/$CACHE_STAMP" ]
}

# Builds one thing into the cache folder <prefix> once: <builder> installs into a staging
# folder beside it (its first argument), which is stamped and moved into place only when
# complete, so that an interrupted build never leaves a cache that looks done.
#   build_into_cache "giflib for Windows" ~/.cache/blikon/giflib-5.2.1-mingw64 build_giflib
build_into_cache() {
  local name=$1 prefix=$2 builder=$3
  if cache_ready "$prefix"; then
    echo "== $name: in the cache, $prefix"
    return 0
  fi
  echo "== $name: building it once into $prefix"
  local staging="$prefix.partial"
  rm -rf "$staging"
  mkdir -p "$staging"
  "$builder" "$staging"
  touch "$staging/$CACHE_STAMP"
  rm -rf "$prefix"
  mv "$staging" "$prefix"
  echo "== $name: done, $(du -sh "$prefix" | cut -f1) in $prefix"
}

# Static release Qt with only what Blikon and its tests use: Core, Gui, Widgets,
# PrintSupport and Test, the Windows, offscreen and minimal platforms. Debian's host
# Qt gives the tools (moc, rcc, uic); about 25 minutes on two free cores.
# (QtCore keeps the staging folder as its built-in prefix; Blikon links its plugins and
# catalogue in and never looks there.)
build_windows_qt() {
  build_into_cache "Qt for Windows" "$(windows_qt_prefix)" build_qt_into
}

build_qt_into() {  # staging
  local staging=$1 prefix=${1%.partial}
  local work="$QT_CACHE_ROOT/work"
  mkdir -p "$work"
  [ -f "$work/qtbase/CMakeLists.txt" ] || fetch_qt_source "$work"
  cmake -S "$work/qtbase" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$WINDOWS_TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
    -DCMAKE_INSTALL_PREFIX="$staging" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF \
    -DFEATURE_xml=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_tabletevent=OFF \
    -DFEATURE_testlib=ON >"$work/configure.log" 2>&1 ||
    { tail -n 40 "$work/configure.log"; echo "Configuring Qt for Windows failed; see $work/configure.log" >&2; return 1; }
  cmake --build "$work/build" -j"$(nproc)"
  cmake --install "$work/build" >"$work/install.log"
  # The install step writes absolute paths of the staging folder into the CMake files.
  grep -rlIF "$staging" "$staging" | xargs -r sed -i "s#$staging#$prefix#g"
  install_qt_licences "$staging" "$work/qtbase"
  dpkg-query -W -f='${Version}\n' qt6-base-dev >"$staging/debian-version"
}

# Qt is linked statically into blikon.exe, so its licences travel with it: the licence
# texts of Qt's source (without the commercial one and the documentation's GFDL) and
# Debian's account of the licences file by file, in <prefix>/licence.
install_qt_licences() {  # prefix qtbase-source
  local prefix=$1 source=$2
  mkdir -p "$prefix/licence"
  find "$source/LICENSES" -name '*.txt' ! -name 'LicenseRef-*' ! -name 'GFDL-*' -exec cp {} "$prefix/licence/" \;
  cp "$source/debian/copyright" "$prefix/licence/copyright-debian.txt"
}

# Beside Qt, the cache holds giflib (for the GIF export), and avrdude with libusb-1.0
# (to program the chip, with the serial programmers and USBasp), cross-built from the
# sources of Debian 12 in these versions. Each folder keeps debian-version, the Debian
# version of its source, and licence/, the licence of what it holds.
GIFLIB_VERSION=5.2.1
LIBUSB_VERSION=1.0.26
AVRDUDE_VERSION=7.1
windows_cache_prefix() {  # name version
  echo "$QT_CACHE_ROOT/$1-$2-mingw64"
}

# Debian's source of <package> into $QT_CACHE_ROOT/src/<package>/source, checked to be
# the upstream <version>; writes its Debian version into <staging>/debian-version.
fetch_source_for() {  # package version staging
  local package=$1 version=$2 staging=$3 debian_version
  debian_version=$(fetch_debian_source "$QT_CACHE_ROOT/src/$package" "$package" source)
  local upstream=${debian_version#*:}
  upstream=${upstream%%[+-]*}
  [ "$upstream" = "$version" ] ||
    { echo "Debian's $package is $debian_version here, not $version: change ${package^^}_VERSION in $0" >&2; return 1; }
  echo "$debian_version" >"$staging/debian-version"
  mkdir -p "$staging/licence"
}

# giflib: its Makefile's static library and the header.
build_giflib_into() {  # staging
  local staging=$1 source="$QT_CACHE_ROOT/src/giflib/source"
  fetch_source_for giflib "$GIFLIB_VERSION" "$staging"
  make -C "$source" -s libgif.a CC=x86_64-w64-mingw32-gcc-posix AR=x86_64-w64-mingw32-ar >/dev/null
  install -D -m 644 "$source/libgif.a" "$staging/lib/libgif.a"
  install -D -m 644 "$source/gif_lib.h" "$staging/include/gif_lib.h"
  cp "$source/COPYING" "$staging/licence/giflib-COPYING.txt"
}

# libusb-1.0: its own configure for MinGW, static, with the WinUSB backend.
build_libusb_into() {  # staging
  local staging=$1 source="$QT_CACHE_ROOT/src/libusb-1.0/source" build="$QT_CACHE_ROOT/src/libusb-1.0/build"
  fetch_source_for libusb-1.0 "$LIBUSB_VERSION" "$staging"
  rm -rf "$build"
  mkdir -p "$build"
  (cd "$build" && "$source/configure" --host=x86_64-w64-mingw32 CC=x86_64-w64-mingw32-gcc-posix \
     --enable-static --disable-shared --prefix="$staging" >configure.log &&
   make -s -j"$(nproc)" >make.log 2>&1 && make -s install >/dev/null) ||
    { echo "Building libusb-1.0 for Windows failed; see $build" >&2; return 1; }
  cp "$source/COPYING" "$staging/licence/libusb-LGPL-2.1.txt"
}

# avrdude: its own CMake build, one static avrdude.exe with libusb-1.0 linked in, and
# avrdude.conf, which it reads from its own folder.
build_avrdude_into() {  # staging
  local staging=$1 source="$QT_CACHE_ROOT/src/avrdude/source" build="$QT_CACHE_ROOT/src/avrdude/build"
  local libusb
  libusb=$(windows_cache_prefix libusb "$LIBUSB_VERSION")
  fetch_source_for avrdude "$AVRDUDE_VERSION" "$staging"
  cmake -S "$source" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$WINDOWS_TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$staging" \
    -DCMAKE_PREFIX_PATH="$libusb" -DCMAKE_FIND_ROOT_PATH="$libusb" -DCMAKE_C_FLAGS="-I$libusb/include" \
    -DCMAKE_EXE_LINKER_FLAGS=-static >"$QT_CACHE_ROOT/src/avrdude/configure.log" ||
    { echo "Configuring avrdude for Windows failed; see $QT_CACHE_ROOT/src/avrdude/configure.log" >&2; return 1; }
  grep -q 'DO HAVE    libusb_1_0' "$QT_CACHE_ROOT/src/avrdude/configure.log" ||
    { echo "avrdude for Windows did not find libusb-1.0 in $libusb" >&2; return 1; }
  cmake --build "$build" -j"$(nproc)" >/dev/null
  install -D -m 755 "$build/src/avrdude.exe" "$staging/avrdude.exe"
  install -D -m 644 "$build/src/avrdude.conf" "$staging/avrdude.conf"
  cp "$source/COPYING" "$staging/licence/avrdude-GPL-2.0.txt"
  cp "$libusb/licence/libusb-LGPL-2.1.txt" "$staging/licence/"
  echo "libusb-1.0 $(cat "$libusb/debian-version")" >"$staging/libusb-version"
}

build_windows_libraries() {
  build_into_cache "giflib for Windows" "$(windows_cache_prefix giflib "$GIFLIB_VERSION")" build_giflib_into
  build_into_cache "libusb-1.0 for Windows" "$(windows_cache_prefix libusb "$LIBUSB_VERSION")" build_libusb_into
  build_into_cache "avrdude for Windows" "$(windows_cache_prefix avrdude "$AVRDUDE_VERSION")" build_avrdude_into
}

# Blikon for Windows in $WINDOWS_BUILD_DIR: blikon.exe, its tests and the benchmark's
# programs, with MinGW against the cached Qt (Release: a program to ship).
configure_and_build_windows() {
  local prefix
  prefix=$(windows_qt_prefix)
  windows_qt_ready || { echo "Qt for Windows is not in $prefix: scripts/windows builds it" >&2; return 1; }
  # A cache made before the Debian version was written gets the host Qt's, its source's.
  [ -f "$prefix/debian-version" ] || dpkg-query -W -f='${Version}\n' qt6-base-dev >"$prefix/debian-version"
  # A cache made before the licences were copied gets them from the source.
  if [ ! -f "$prefix/licence/copyright-debian.txt" ]; then
    local work="$QT_CACHE_ROOT/work"
    [ -f "$work/qtbase/debian/copyright" ] || fetch_qt_source "$work"
    install_qt_licences "$prefix" "$work/qtbase"
  fi
  build_windows_libraries
  local giflib prefixes
  giflib=$(windows_cache_prefix giflib "$GIFLIB_VERSION")
  prefixes="$prefix;$giflib"
  echo "== Building Blikon for Windows in $WINDOWS_BUILD_DIR"
  cmake -S "$ROOT" -B "$WINDOWS_BUILD_DIR" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$WINDOWS_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$prefixes" -DCMAKE_FIND_ROOT_PATH="$prefixes" \
    -DBLIKON_AVRDUDE_DIR="$(windows_cache_prefix avrdude "$AVRDUDE_VERSION")" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DBLIKON_BUILD_TESTS=ON -DBLIKON_BUILD_BENCHMARKS=ON >/dev/null
  make_windows_test_prefixes
  cmake --build "$WINDOWS_BUILD_DIR"
}

# The tests' Wine prefixes, made before anything runs in them (the build lists the unit
# tests by running them), so that no test's time limit has to hold the making of one.
make_windows_test_prefixes() {
  local emulator="$ROOT/tests/windows/wine_emulator.sh" folder="$WINDOWS_BUILD_DIR/wine"
  echo "== The Wine prefixes of the tests in $folder (made once, half a minute each)"
  "$emulator" "$folder" cmd /c exit 0 && BLIKON_WINE_DISPLAY=1 "$emulator" "$folder" cmd /c exit 0
}

# Every test of the Windows build under Wine (tests/windows/wine_emulator.sh), with time
# limits that hold at a load of 8.
run_windows_tests() {
  make_windows_test_prefixes
  echo "== Tests of the Windows build under Wine"
  ctest --test-dir "$WINDOWS_BUILD_DIR" --output-on-failure --timeout 600 -j"$(nproc)"
}

# The NSIS installer and the zip, in $WINDOWS_BUILD_DIR.
pack_windows() {
  echo "== Packing the installer and the zip"
  (cd "$WINDOWS_BUILD_DIR" && cpack >/dev/null)
  # The installer speaks Czech alone (app/desktop/windows/installer.cmake).
  local languages
  languages=$(grep -o 'MUI_LANGUAGE "[A-Za-z]*"' "$WINDOWS_BUILD_DIR/_CPack_Packages/win64/NSIS/project.nsi")
  [ "$languages" = 'MUI_LANGUAGE "Czech"' ] || { echo "The installer's languages: $languages" >&2; return 1; }
  ls -l "$WINDOWS_BUILD_DIR"/blikon-*-windows-x64.{exe,zip}
}

# The installer under Wine in a virtual X server (tests/windows/check_installer.sh),
# with the screenshot of the installed program in $WINDOWS_BUILD_DIR/screenshots.
check_windows_installer() {
  echo "== The installer and the installed program under Wine"
  local installer
  installer=$(ls "$WINDOWS_BUILD_DIR"/blikon-*-windows-x64.exe)
  "$ROOT/tests/windows/check_installer.sh" "$installer" "$WINDOWS_BUILD_DIR/tests/windows/sendkeys.exe" \
    "$WINDOWS_BUILD_DIR/installer-check" "$WINDOWS_BUILD_DIR/screenshots/windows-main-window.png"
}
