#!/usr/bin/env bash
# The Windows build's steps, shared by scripts/windows and scripts/test: Debian's Qt source
# cross-built once into a cache, then Blikon built, tested under Wine and packed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

# dpkg-dev unpacks the source package; xvfb and xauth give Wine a display for the windows.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64 nsis dpkg-dev xvfb xauth zip
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
  touch "$staging/$WINDOWS_QT_STAMP"
  rm -rf "$prefix"
  mv "$staging" "$prefix"
  echo "== Qt for Windows: done, $(du -sh "$prefix" | cut -f1) in $prefix"
}
