#!/usr/bin/env bash
# The Windows avrdude.exe that the installer ships (scripts/windows builds it into the
# cache) programs an AT89S52 under Wine: through COM5, which Wine leads to the
# pseudo-terminal of the emulated Arduino-as-ISP, with Blikon's part file. The chip's
# flash then holds exactly the image, the rest erased, and avrdude has verified it.
#
#   test_avrdude_under_wine.sh <arduinoisp_emulator> <blikon-at89.conf> <Wine folder>
#
# Exits 77 (skipped, with the reason) where Wine or avrdude.exe is missing.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
emulator=$1
parts=$2
mkdir -p "$3"
wine_folder=$(cd "$3" && pwd)
command -v wine >/dev/null || { echo "SKIPPED: Wine is not installed (package wine)"; exit 77; }
avrdude=$(source "$here/../../scripts/windows-setup.sh" && windows_cache_prefix avrdude "$AVRDUDE_VERSION")/avrdude.exe
[[ -f $avrdude ]] || { echo "SKIPPED: $avrdude is not built yet (scripts/windows builds it)"; exit 77; }
work=$(mktemp -d)
trap 'exec {feed}>&- 2>/dev/null; rm -rf "$work"' EXIT
fail() {
  echo "FAILED: $*"
  exit 1
}

# 300 bytes from 0000H: past one 256-byte block, so the address's high byte counts too;
# none is FFH, which avrdude would not write at the end.
size=300
head -c "$size" /dev/urandom | tr '\377' '\376' >"$work/image.bin"
objcopy -I binary -O ihex "$work/image.bin" "$work/image.hex"
cp "$parts" "$work/blikon-at89.conf"

# The emulator serves until its input ends, then writes the flash.
mkfifo "$work/feed"
"$emulator" --flash "$work/flash.bin" <"$work/feed" >"$work/emulator.out" 2>&1 &
exec {feed}>"$work/feed"
for _ in $(seq 100); do
  [[ -s $work/emulator.out ]] && break
  sleep 0.1
done
pty=$(head -n 1 "$work/emulator.out")
[[ $pty == /dev/pts/* ]] || fail "the emulator gave no terminal: $pty"

"$here/wine_emulator.sh" "$wine_folder" cmd /c exit 0 || fail "Wine could not make its prefix"
ln -sfn "$pty" "$wine_folder/headless/dosdevices/com5"
output=$(cd "$work" && "$here/wine_emulator.sh" "$wine_folder" "$avrdude" -C +blikon-at89.conf \
           -c stk500v1 -p 89s52 -P COM5 -b 19200 -U flash:w:image.hex:i 2>&1 | tr -d '\r')
status=$?
echo "$output"
exec {feed}>&-
wait
((status == 0)) || fail "avrdude.exe ended with status $status"
[[ $output == *"$size bytes of flash verified"* ]] || fail "avrdude.exe did not verify $size bytes"

{
  cat "$work/image.bin"
  head -c $((8192 - size)) /dev/zero | tr '\0' '\377'
} >"$work/expected.bin"
cmp "$work/expected.bin" "$work/flash.bin" || fail "the flash does not hold the image and nothing else"
echo "ok: avrdude.exe under Wine wrote and verified $size bytes through COM5; the flash holds them, the rest erased"
