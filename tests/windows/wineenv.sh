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
  local folder=$1 locale=$2 new
  if [[ ! -d $folder/$locale ]]; then
    [[ -d /usr/share/i18n/locales ]] || { echo "The locale sources are missing (package locales)" >&2; return 1; }
    mkdir -p "$folder"
    new=$(mktemp -d "$folder/.new.XXXXXX")
    localedef -c -i "${locale%%.*}" -f "${locale#*.}" "$new/$locale" >/dev/null 2>&1
    # Compiled by whichever script came first; the others take that one.
    mv -T "$new/$locale" "$folder/$locale" 2>/dev/null
    rm -rf "$new"
    [[ -d $folder/$locale ]] || { echo "Could not compile the locale $locale" >&2; return 1; }
  fi
  export LOCPATH=$folder
  # The shell itself sees LOCPATH only in its children, and would warn here.
  { export LANG=$locale LC_ALL=$locale; } 2>/dev/null
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

# Makes the Wine prefix $WINEPREFIX once (half a minute and 700 MB, most of it copies of
# Wine's own DLLs), with Wine's fonts; a prefix made before is left as it is. Where
# several may come at once, the caller holds "$WINEPREFIX.lock".
make_wine_prefix() {
  [[ -f $WINEPREFIX/.made ]] && return 0
  env -u DISPLAY -u WAYLAND_DISPLAY wine wineboot --init >/dev/null 2>&1 && wineserver --wait &&
    add_wine_fonts && touch "$WINEPREFIX/.made"
}
