# shellcheck shell=bash
# Sourced by the scripts that run Wine: the locale it runs in, the fonts it has and the
# making of a prefix.
#
# Wine takes its Windows locale and ANSI code
# page from the Unix locale it starts in (cs_CZ: Czech, code page 1250), and the
# character set of file names and arguments from it as well; a locale that is not
# installed gives the first but spoils the second for every letter beyond ASCII. So
# the locale is compiled once into a folder of our own (LOCPATH), from the locales
# package's sources, and the system's locales stay as they are.
#
#   use_locale <folder> <locale, such as cs_CZ.UTF-8>
use_locale() {
  local folder=$1 locale=$2
  # A folder without the character classes was left by an older, interrupted script.
  [[ -d $folder/$locale && ! -f $folder/$locale/LC_CTYPE ]] && rm -rf "${folder:?}/$locale"
  for _ in 1 2; do
    [[ -d $folder/$locale ]] || compile_locale "$folder" "$locale" || continue
    export LOCPATH=$folder
    # The shell itself sees LOCPATH only in its children, and would warn here.
    { export LANG=$locale LC_ALL=$locale; } 2>/dev/null
    return 0
  done
  echo "Could not compile the locale $locale; localedef printed:" >&2
  cat "$folder/localedef.log" >&2
  return 1
}

# Compiled in a folder of its own beside the others and moved into place whole; by
# whichever script came first, the others take that one.
compile_locale() {  # folder locale
  local folder=$1 locale=$2 new
  [[ -d /usr/share/i18n/locales ]] || { echo "The locale sources are missing (package locales)" >&2; return 1; }
  mkdir -p "$folder"
  new=$(mktemp -d "$folder/.new.XXXXXX")
  timeout "$WINE_STEP_TIMEOUT" localedef -c -i "${locale%%.*}" -f "${locale#*.}" "$new/$locale" >"$folder/localedef.log" 2>&1
  [[ -f $new/$locale/LC_CTYPE ]] && mv -T "$new/$locale" "$folder/$locale" 2>/dev/null
  rm -rf "$new"
  [[ -f $folder/$locale/LC_CTYPE ]]
}

# Wine's own fonts (fonts-wine: Tahoma, which Blikon's windows use, and the Marlett of
# the title-bar buttons) into the Windows font folder of a prefix, where Wine finds
# them: Debian's Wine does not look in their folder by itself.
#
#   add_wine_fonts     (WINEPREFIX set, the prefix made)
add_wine_fonts() {
  local font
  for font in /usr/share/wine/fonts/*; do
    [[ -e $font ]] && ln -sf "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
  done
  return 0
}

# Wine's loader and server: the wine package's, or wine64's alone.
WINE=$(command -v wine || command -v wine64 || echo /usr/lib/wine/wine64)
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver64)

# How long Wine's steps may take before they count as hung: wineboot took 10 s on two
# cores at a load of 4 and 25 s at a load of 15 (README); many times that.
WINE_STEP_TIMEOUT=${BLIKON_WINE_STEP_TIMEOUT:-400}

# Makes the Wine prefix $WINEPREFIX once (half a minute and 700 MB, most of it copies of
# Wine's own DLLs), with Wine's fonts: whole or not at all, in a folder beside its place
# that is moved there when wineboot and the fonts have succeeded. A prefix made before
# is left as it is, one found half made is made anew; a failed attempt is tried once
# more, and a second failure shows what Wine printed. The caller holds
# "$WINEPREFIX.lock" (exclusively).
make_wine_prefix() {
  wine_prefix_whole "$WINEPREFIX" && return 0
  local place=$WINEPREFIX new stale
  mkdir -p "$(dirname "$place")"
  # Half made in place (by an older script) or broken; and what runs killed left beside.
  remove_wine_prefix "$place"
  for stale in "$place".new.*; do
    [[ -e $stale ]] && remove_wine_prefix "$stale"
  done
  for _ in 1 2; do
    new=$(mktemp -d "$place.new.XXXXXX")
    if boot_wine_prefix "$new" "$place.log" && mv -T "$new" "$place"; then
      rm -f "$place.log"
      return 0
    fi
    remove_wine_prefix "$new"
  done
  echo "Could not make the Wine prefix $place (twice); Wine printed:" >&2
  cat "$place.log" >&2
  return 1
}

# wineboot and the fonts in <folder>, with Wine's output in <log>.
boot_wine_prefix() {  # folder log
  local folder=$1
  WINEPREFIX=$folder timeout -k 10 "$WINE_STEP_TIMEOUT" env -u DISPLAY -u WAYLAND_DISPLAY "$WINE" wineboot --init >"$2" 2>&1 &&
    WINEPREFIX=$folder timeout -k 10 "$WINE_STEP_TIMEOUT" "$WINESERVER" --wait >>"$2" 2>&1 &&
    [[ -f $folder/system.reg && -f $folder/drive_c/windows/system32/kernel32.dll ]] &&
    WINEPREFIX=$folder add_wine_fonts && date +%s.%N >"$folder/.made"
}

# A prefix made whole: the stamp of make_wine_prefix, the registry and Windows's core.
wine_prefix_whole() {  # folder
  [[ -f $1/.made && -f $1/system.reg && -f $1/drive_c/windows/system32/kernel32.dll ]]
}

# Removes a prefix with the Wine server and programs that may still run in it.
remove_wine_prefix() {  # folder
  [[ -e $1 ]] || return 0
  WINEPREFIX=$1 timeout -k 5 60 "$WINESERVER" --kill >/dev/null 2>&1
  rm -rf "$1"
}

# Runs <command...>, which starts a program with wine in $WINEPREFIX, after making the
# prefix where it is missing or half made. When the command fails and Wine cannot start
# even its own cmd.exe there (as in a prefix whose kernel32.dll is lost), the prefix is
# removed, made again and the command run once more. Under "$WINEPREFIX.lock": shared
# while the command runs, so that programs run beside each other, unless <mode> is
# "alone" (one program at a time); exclusive while the prefix is made. Returns the
# command's status.
#   run_in_wine_prefix shared env -u DISPLAY wine program.exe
run_in_wine_prefix() {  # shared|alone command...
  local mode=$1 lock status=1 made attempt
  shift
  exec {lock}>"$WINEPREFIX.lock"
  for attempt in 1 2; do
    lock_whole_wine_prefix "$lock" "$mode" || { status=1; break; }
    made=$(cat "$WINEPREFIX/.made")
    status=0
    "$@" {lock}>&- || status=$?
    if ((status == 0)) || ! wine_prefix_broken; then
      break
    elif ((attempt == 2)); then
      echo "Wine cannot start programs in $WINEPREFIX, made anew just now" >&2
      break
    fi
    echo "Wine cannot start programs in $WINEPREFIX: the prefix is made anew" >&2
    flock -x "$lock"
    [[ $(cat "$WINEPREFIX/.made" 2>/dev/null) == "$made" ]] && remove_wine_prefix "$WINEPREFIX"
  done
  exec {lock}>&-
  return $status
}

# Wine cannot start its own cmd.exe in $WINEPREFIX.
wine_prefix_broken() {
  local output
  output=$(timeout -k 10 "$WINE_STEP_TIMEOUT" env -u DISPLAY -u WAYLAND_DISPLAY "$WINE" cmd /c echo started 2>&1 {lock}>&-)
  [[ $output != *started* ]]
}

# Holds the lock on fd <lock> in <mode> with the prefix whole, made first if need be.
lock_whole_wine_prefix() {  # lock shared|alone
  local lock=$1 mode=$2
  if [[ $mode == shared ]] && wine_prefix_whole "$WINEPREFIX"; then
    flock -s "$lock"
    wine_prefix_whole "$WINEPREFIX" && return 0
  fi
  flock -x "$lock"
  make_wine_prefix || return 1
  [[ $mode == shared ]] && flock -s "$lock"
  return 0
}
