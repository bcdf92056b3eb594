#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and validates what a desktop needs:
# the program, the desktop entry, the icons and the AppStream metainfo, and that the
# package recommends what the program uses when it is there.
set -euo pipefail
build="$1"
dest="$(mktemp -d)"
trap 'rm -rf "$dest"' EXIT

DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null
share="$dest/usr/share"
for file in \
    "$dest/usr/bin/blikon" \
    "$share/applications/cz.blikon.Blikon.desktop" \
    "$share/icons/hicolor/scalable/apps/cz.blikon.Blikon.svg" \
    "$share/icons/hicolor/48x48/apps/cz.blikon.Blikon.png" \
    "$share/icons/hicolor/256x256/apps/cz.blikon.Blikon.png" \
    "$share/metainfo/cz.blikon.Blikon.metainfo.xml"; do
  [ -s "$file" ] || { echo "missing after install: ${file#"$dest"}"; exit 1; }
done
file "$share/icons/hicolor/256x256/apps/cz.blikon.Blikon.png" | grep -q '256 x 256' \
  || { echo "the 256 px icon is not 256 x 256"; exit 1; }

# The package brings Qt's Czech texts for its dialogs along.
grep -q 'CPACK_DEBIAN_PACKAGE_RECOMMENDS ".*qt6-translations-l10n' "$build/CPackConfig.cmake" \
  || { echo "the package does not recommend qt6-translations-l10n"; exit 1; }

desktop-file-validate "$share/applications/cz.blikon.Blikon.desktop"
appstreamcli validate --no-net --pedantic "$share/metainfo/cz.blikon.Blikon.metainfo.xml"
echo "install check passed"
