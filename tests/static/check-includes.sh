#!/usr/bin/env bash
# Checks that includes run one way between the folders: each folder may include only itself and
# the folders listed for it, which come before it, so that no two folders include each other. Every
# include is spelled from the root ("hostsim/Host.h"). Prints each include that breaks the rule with
# its file and line, and exits 1 when there is one.
#   check-includes.sh [ROOT]
set -uo pipefail
cd "${1:-$(dirname "$0")/../..}"

# folder: the folders it may include besides itself, in the order the folders build on each other.
declare -A allowed=(
  [host]=""
  [actions]=""
  [resources]=""
  [hostaccess]="host"
  [platform]="host hostaccess"
  [variations]="host hostaccess platform"
  [ui]="host hostaccess platform resources"
  [entry]="host hostaccess platform ui variations"
  [hostsim]="host actions platform"
  [imaging]="platform"
  [document]="host actions hostsim imaging"
  [refhost]="host actions hostsim imaging document platform"
)

broken=0
while IFS=: read -r file line text; do
  folder=${file%%/*}
  target=$(sed -nE 's/^[[:space:]]*#[[:space:]]*include "([^"]+)".*/\1/p' <<<"$text")
  [ -n "$target" ] || continue
  target_folder=${target%%/*}
  if [ "$target_folder" = "$target" ]; then
    # Generated headers of the build (Version.h, WebHost.h) are the one exception to the root.
    case $target in Version.h | WebHost.h) continue ;; esac
    echo "$file:$line: \"$target\" is not spelled from the root"
    broken=1
    continue
  fi
  [ "$target_folder" = "$folder" ] && continue
  if [ "$folder" = bench ]; then
    case $target in tests/support/*) continue ;; tests/*) ;; *) continue ;; esac
    echo "$file:$line: the benchmark includes \"$target\"; of tests/ it may include tests/support/ only"
    broken=1
    continue
  fi
  [ -n "${allowed[$folder]+known}" ] || continue  # tests/, tools/: they may include both sides
  if [[ " ${allowed[$folder]} " != *" $target_folder "* ]]; then
    echo "$file:$line: $folder/ includes \"$target\", but may include only ${allowed[$folder]:-itself}"
    broken=1
  fi
done < <(git ls-files -- '*.h' '*.cpp' '*.c' '*.rc' | xargs grep -n '^[[:space:]]*#[[:space:]]*include "')
[ "$broken" -eq 0 ] && echo "every include runs one way between the folders"
exit "$broken"
