#!/bin/sh
# Writes SOURCE_DATE_EPOCH, when set, into the time stamp of a linked PE module's file header. The
# linker as Zig drives it always stamps the time of the link, and takes no option against it; the
# release package sets SOURCE_DATE_EPOCH so that the same commit gives the same module.
#   stamp-module.sh MODULE
set -eu
module=$1
[ -n "${SOURCE_DATE_EPOCH:-}" ] || exit 0
pe=$(od -An -tu4 -j 60 -N4 "$module" | tr -d ' ')
if [ "$(od -An -c -j "$pe" -N2 "$module" | tr -d ' ')" != "PE" ]; then
  echo "stamp-module: $module has no PE header at offset $pe" >&2
  exit 1
fi
t=$SOURCE_DATE_EPOCH
# The 32-bit stamp follows the signature (4 bytes) and the machine and section count (2 + 2).
printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $((t & 255)) $((t >> 8 & 255)) $((t >> 16 & 255)) $((t >> 24 & 255)))" |
  dd of="$module" bs=1 seek=$((pe + 8)) conv=notrunc status=none
