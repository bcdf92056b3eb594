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
# has the Czech catalogue.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64 nsis dpkg-dev zip googletest locales
                  xvfb xauth fonts-wine x11-utils imagemagick
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

# The prefix counts as built only with this file in it, written after a full install.
WINDOWS_QT_STAMP=.blikon-complete

windows_qt_ready() {
  [ -f "$(windows_qt_prefix)/$WINDOWS_QT_STAMP" ]
}

# Debian's source of qt6-base in the host Qt's version, fetched through a private
# sources list and lists folder so that the system's apt configuration stays as it is.
fetch_qt_source() {
  local work=$1 version
  version=$(host_qt_version)
  local apt_dir="$work/apt"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/sources.list.d"
  cat >"$apt_dir/sources.list" <<SOURCES
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm-updates main
SOURCES
  local options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list"
                 -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
                 -o "Dir::State::Lists=$apt_dir/lists")
  apt-get "${options[@]}" update -qq
  (cd "$work" && apt-get "${options[@]}" source --download-only "qt6-base=$(dpkg-query -W -f='${Version}' qt6-base-dev)")
  (cd "$work" && rm -rf qtbase && dpkg-source --no-check -x qt6-base_*.dsc qtbase >/dev/null)
}

# Static release Qt with only what Blikon and its tests use: Core, Gui, Widgets,
# PrintSupport and Test, the Windows, offscreen and minimal platforms. Debian's host
# Qt gives the tools (moc, rcc, uic). Installed into a staging folder and moved into
# place only when complete, so an interrupted build never leaves a cache that looks done.
# (QtCore keeps the staging folder as its built-in prefix; Blikon links its plugins and
# catalogue in and never looks there.)
build_windows_qt() {
  local prefix
  prefix=$(windows_qt_prefix)
  if windows_qt_ready; then
    echo "== Qt for Windows: in the cache, $prefix"
    return 0
  fi
  echo "== Qt for Windows: building it once into $prefix (about 25 minutes on two free cores)"
  local work="$QT_CACHE_ROOT/work"
  local staging="$prefix.partial"
  mkdir -p "$work"
  [ -f "$work/qtbase/CMakeLists.txt" ] || fetch_qt_source "$work"
  rm -rf "$staging"
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
  touch "$staging/$WINDOWS_QT_STAMP"
  rm -rf "$prefix"
  mv "$staging" "$prefix"
  echo "== Qt for Windows: done, $(du -sh "$prefix" | cut -f1) in $prefix"
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

# Blikon for Windows in $WINDOWS_BUILD_DIR: blikon.exe, its tests and the benchmark's
# programs, with MinGW against the cached Qt (Release: a program to ship).
configure_and_build_windows() {
  local prefix
  prefix=$(windows_qt_prefix)
  windows_qt_ready || { echo "Qt for Windows is not in $prefix: scripts/windows builds it" >&2; return 1; }
  # A cache made before the licences were copied gets them from the source.
  if [ ! -f "$prefix/licence/copyright-debian.txt" ]; then
    local work="$QT_CACHE_ROOT/work"
    [ -f "$work/qtbase/debian/copyright" ] || fetch_qt_source "$work"
    install_qt_licences "$prefix" "$work/qtbase"
  fi
  echo "== Building Blikon for Windows in $WINDOWS_BUILD_DIR"
  cmake -S "$ROOT" -B "$WINDOWS_BUILD_DIR" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$WINDOWS_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DBLIKON_BUILD_TESTS=ON -DBLIKON_BUILD_BENCHMARKS=ON >/dev/null
  cmake --build "$WINDOWS_BUILD_DIR"
}

# Every test of the Windows build under Wine (tests/windows/wine_emulator.sh); the
# first run makes the Wine prefixes, which takes a minute.
run_windows_tests() {
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
