#!/usr/bin/env bash
# The Windows installer under Wine, in a virtual X server, as a user meets it:
#   1. it installs silently (/S) into a fresh Wine prefix of its own: blikon.exe, the
#      LGPL notice and the licences, the Start-menu entry and the entry in "Programs
#      and Features";
#   2. the installed blikon.exe starts and shows its main window with its title; keys
#      compose three frames and wrap them into a program (the screenshot), F5 opens the
#      animation window and F6 the board window, Escape closes each, Alt+F4 ends the
#      program with status 0;
#   3. the animation speed, which the program stored in the registry, outlives
#      installing again (an upgrade) and uninstalling, which takes the files and the
#      entries away.
#
#   check_installer.sh <installer.exe> <sendkeys.exe> <work folder> [screenshot.png]
#
# sendkeys.exe (built with the tests) presses the keys through Windows's own input.
# Wine runs as a Czech Windows (ANSI code page 1250) with a virtual desktop of its own,
# in which it draws the windows' frames as Windows does; the X tools see each window
# inside it with its title.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wineenv.sh"

installer=$(realpath "$1")
sendkeys=$(realpath "$2")
work=$3
screenshot=${4:-}
for tool in wine xvfb-run xwininfo xprop import; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/windows installs it)" >&2; exit 1; }
done
rm -rf "$work"
mkdir -p "$work"
work=$(realpath "$work")
[ -n "$screenshot" ] && mkdir -p "$(dirname "$screenshot")"

unset QT_QPA_PLATFORM  # the installed program on Windows's own platform
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
use_locale "$work/locale" cs_CZ.UTF-8
echo "Making a Wine prefix in $WINEPREFIX"
make_wine_prefix
# Each step under Wine may take this long on a loaded machine before it counts as hung.
export WINE_STEP_TIMEOUT
env -u DISPLAY wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
env -u DISPLAY wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null 2>&1
wineserver --wait

xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$installer" "$sendkeys" "$screenshot" <<'CHECK'
set -euo pipefail
installer=$1; sendkeys=$2; screenshot=$3
title='Kód pro Světelné efekty s Blikonem'
folder="$WINEPREFIX/drive_c/Program Files/Blikon"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Blikon"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Blikon'
settings_key='HKCU\Software\VB and VBA Program Settings\Blikon'

fail() { echo "FAILED: $*" >&2; wineserver --kill || true; exit 1; }
ok() { echo "ok: $*"; }
run_installer() {
  timeout "$WINE_STEP_TIMEOUT" wine "$installer" /S || fail "the installer ended with status $?"
  timeout "$WINE_STEP_TIMEOUT" wineserver --wait
}
value() {  # key name: the value's data as reg query prints it
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
window_id() {  # the X window whose title contains $1, within 3 minutes
  local id
  for _ in $(seq 1800); do
    id=$(xwininfo -root -tree | grep -F -- "$1" | awk '{ print $1 }' | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
window_gone() {  # no X window with $1 in its title, within a minute
  for _ in $(seq 600); do
    xwininfo -root -tree | grep -qF -- "$1" || return 0
    sleep 0.1
  done
  return 1
}
exact_title() { xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }
keys() { timeout "$WINE_STEP_TIMEOUT" wine "$sendkeys" "$@" || fail "sendkeys $*"; }

# 1. The silent install.
run_installer
for file in blikon.exe LICENCE-Qt.txt licence/LGPL-3.0-only.txt licence/copyright-debian.txt Odinstalovat.exe \
            avrdude.exe avrdude.conf blikon-at89.conf AVRDUDE.txt licence/avrdude-GPL-2.0.txt \
            licence/libusb-LGPL-2.1.txt; do
  [ -f "$folder/$file" ] || fail "not installed: $file"
done
[ -f "$menu/Blikon.lnk" ] || fail "no Start-menu entry Blikon"
[ -f "$menu/Odinstalovat Blikon.lnk" ] || fail "no Start-menu entry to uninstall"
[ "$(value "$uninstall_key" DisplayName)" = Blikon ] || fail "no entry in Programs and Features"
[ "$(value "$uninstall_key" DisplayIcon)" = 'C:\Program Files\Blikon\blikon.exe' ] || fail "the entry has not the program's icon"
ok "installed: $(du -sh "$folder" | cut -f1) in C:\\Program Files\\Blikon, Start menu, Programs and Features (version $(value "$uninstall_key" DisplayVersion))"

# avrdude beside it runs, finds its configuration beside it and knows the programmers.
avrdude() { (cd "$folder" && timeout "$WINE_STEP_TIMEOUT" wine avrdude.exe "$@" 2>&1 | tr -d '\r') || true; }
[[ $(avrdude '-?') == *"Usage: avrdude [options]"* ]] || fail "avrdude.exe -? prints no usage"
[[ $(avrdude -c stk500v1 -p '?') == *"m328p     = ATmega328P"* ]] || fail "avrdude.exe -p ? lists no parts"
[[ $(avrdude -C +blikon-at89.conf -c stk500v1 -p '?') == *"89s52     = AT89S52"* ]] ||
  fail "avrdude.exe -C +blikon-at89.conf -p ? lists no AT89S52"
[[ $(avrdude -c '?') == *"usbasp             = USBasp"* ]] || fail "avrdude.exe knows no USBasp"
ok "avrdude.exe runs: its usage, its parts and Blikon's AT89S52, the USBasp"

# 2. The installed program: the splash, then the main window.
wine 'C:\Program Files\Blikon\blikon.exe' &
program=$!
main=$(window_id Blikonem) || fail "no main window"
[ "$(exact_title "$main")" = "$title" ] || fail "the main window is titled '$(exact_title "$main")'"
ok "the main window shows, titled '$title'"
sleep 1
# Three frames: all LEDs, groups A and C, group E; then the program start and end.
keys Blikonem ctrl+d alt+k o shift+insert ctrl+y alt+v a a alt+v c c alt+k o shift+insert \
  ctrl+y alt+v e e alt+k o shift+insert ctrl+b ctrl+e
sleep 1
if [ -n "$screenshot" ]; then
  import -window "$main" "$screenshot"
  ok "screenshot $screenshot"
fi
for window in "F5 Animace" "F6 Deska"; do
  read -r key name <<<"$window"
  keys Blikonem "${key,,}"
  id=$(window_id " - $name") || fail "$key opened no window '$name'"
  [ "$(exact_title "$id")" = "$title - $name" ] || fail "the window is titled '$(exact_title "$id")'"
  sleep 1
  keys "Blikonem - $name" escape
  window_gone " - $name" || fail "Escape left the window '$name' open"
  ok "$key opens the window '$title - $name', Escape closes it"
done
keys Blikonem alt+f4
wait "$program" || fail "the program ended with status $?"
window_gone Blikonem || fail "the main window is still there"
ok "Alt+F4 ends the program, status 0"
wineserver --wait

# 3. The settings through an upgrade and the uninstall.
speed=$(value "$settings_key\\Path" R1)
[ -n "$speed" ] || fail "the animation speed was not stored under $settings_key"
run_installer
[ -f "$folder/blikon.exe" ] || fail "installing again left no program"
[ "$(value "$settings_key\\Path" R1)" = "$speed" ] || fail "installing again lost the setting"
ok "installing again keeps the stored speed R1 = $speed"
timeout "$WINE_STEP_TIMEOUT" wine "$folder/Odinstalovat.exe" /S
timeout "$WINE_STEP_TIMEOUT" wineserver --wait  # the uninstaller runs on from a copy of itself
[ ! -e "$folder/blikon.exe" ] || fail "the uninstaller left blikon.exe"
[ ! -e "$menu" ] || fail "the uninstaller left the Start-menu folder"
[ -z "$(value "$uninstall_key" DisplayName)" ] || fail "the uninstaller left the entry in Programs and Features"
[ "$(value "$settings_key\\Path" R1)" = "$speed" ] || fail "the uninstaller took the settings"
ok "uninstalled: files, Start menu and entry gone, the settings kept"
CHECK
wineserver --wait  # the last reg query's server, saving the registry
rm -rf "$WINEPREFIX"  # 700 MB, kept only when a check failed
echo "The installer passed every check"
