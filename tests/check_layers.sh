#!/usr/bin/env bash
# The source folders are layers, and every include points down: a file includes the
# headers of its own folder and of the folders below it, never of one above it or
# beside it. The Qt-free folders include no Qt header at all.
#
#   check_layers.sh [root]    root: the repository (default: this script's ../)
#
# Prints each include that breaks the order and fails; silent and successful otherwise.
set -euo pipefail

# The one statement of the order, from the bottom up. Folders of one rank stand side by
# side and include nothing of each other. platform/ sits below ui/: the windows' shared
# parts use the operating system's seams (the status bar shows the lock keys, the
# seams' holder makes the real ones), the operating system's code uses no window part.
declare -A rank=(
  [core]=0                    # plain C++, the standard library only
  [mcs51]=1 [platform]=1      # the 8051 (plain C++, showing core's lamps); the OS's code
  [ui]=2                      # the Qt parts that the windows share
  [document]=3 [animation]=3  # code files and printing; the animation window
  [app]=4                     # the windows, the start and the menu commands' wiring
)
qt_free=(core mcs51)
# A folder's subfolders are its parts (mcs51/asm, mcs51/sim): each may include the
# folder's own top level, which they share, and itself, never another part; the top
# level includes no part.
# Folders with a CMakeLists.txt that hold no program code.
not_layers=(tests bench)

root="${1:-$(dirname "${BASH_SOURCE[0]}")/..}"
cd "$root"

problems=0
complain() {
  echo "$1" >&2
  problems=$((problems + 1))
}

folders=()
for folder in */; do
  folder=${folder%/}
  if [[ -n ${rank[$folder]:-} ]]; then
    folders+=("$folder")
  elif [[ -f $folder/CMakeLists.txt && " ${not_layers[*]} " != *" $folder "* ]]; then
    complain "$folder/ has no place in the layer order of tests/check_layers.sh"
  fi
done

# An include names its header by its path from the top ("mcs51/sim/cpu.h"), so that it
# says where the header comes from; a bare name is only a header beside the including
# file. A generated header is known by its template (core/buildinfo.h by its .h.in).
# The part of a file: its subfolder below the layer folder, empty at the top level.
part_of() {
  local rest=${1#*/}
  [[ $rest == */* ]] && echo "${rest%%/*}" || echo ""
}
is_header() { [[ -f $1 || -f $1.in ]]; }
# Every layer header's file name, to catch one in angle brackets without its folder.
declare -A known=()
while IFS= read -r header; do
  name=${header##*/}
  known[${name%.in}]=1
done < <(find "${folders[@]}" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.h.in' \))

include_pattern='#[[:space:]]*include[[:space:]]*([<"])([^>"]+)'
# Qt's headers: <QString>, <QtGui/qguiapplication_platform.h>, <qglobal.h>.
qt_header='^(Q|Qt[A-Za-z]*/|q[a-z0-9_]*\.h$)'

while IFS=: read -r file line text; do
  [[ $text =~ $include_pattern ]] || continue
  bracket=${BASH_REMATCH[1]}
  included=${BASH_REMATCH[2]}
  folder=${file%%/*}
  target="" target_path=""
  if [[ $bracket == '<' && $included != */* && -n ${known[$included]:-} ]]; then
    complain "$file:$line: <$included> is a header of this program: name its folder (\"mcs51/sim/cpu.h\")"
    continue
  fi
  if [[ $bracket == '"' ]] || is_header "$included"; then
    if [[ $included != */* ]]; then
      if is_header "$(dirname "$file")/$included"; then
        target_path="$(dirname "$file")/$included"
      elif [[ $included != *.h && $included != *.hpp ]]; then
        continue  # a generated source of the build (moc, rcc)
      else
        complain "$file:$line: \"$included\" is not beside $file: name its folder (\"mcs51/sim/cpu.h\")"
        continue
      fi
    elif is_header "$included"; then
      target_path=$included
    else
      complain "$file:$line: \"$included\" is a header of no layer folder"
      continue
    fi
    target=${target_path%%/*}
    [[ -n ${rank[$target]:-} ]] || { complain "$file:$line: \"$included\" is a header of no layer folder"; continue; }
  fi

  if [[ -z $target ]]; then
    if [[ " ${qt_free[*]} " == *" $folder "* && $included =~ $qt_header ]]; then
      complain "$file:$line: <$included> is a Qt header, and $folder/ is free of Qt"
    fi
  elif [[ $target == "$folder" ]]; then
    target_part=$(part_of "$target_path")
    part=$(part_of "$file")
    if [[ -n $target_part && $target_part != "$part" ]]; then
      complain "$file:$line: $included is in $folder/$target_part/, which ${part:+$folder/$part/}${part:-the top of $folder/} must not include"
    fi
  elif ((rank[$target] >= rank[$folder])); then
    if ((rank[$target] == rank[$folder])); then
      complain "$file:$line: $included is in $target/, which stands beside $folder/, not below it"
    else
      complain "$file:$line: $included is in $target/, a layer above $folder/"
    fi
  fi
done < <(grep -rnE "^[[:space:]]*$include_pattern" "${folders[@]}" \
           --include='*.cpp' --include='*.h' --include='*.hpp' --include='*.h.in' | sort -t: -k1,1 -k2,2n)

if ((problems > 0)); then
  echo "$problems break(s) of the layer order" >&2
  exit 1
fi
