#!/usr/bin/env bash
# Checks a module without running it, as on a machine that cannot run it: its file format, machine,
# exports and imports, and its resources byte for byte those of a module of another architecture
# whose resources are checked by running it, but for the architecture. Then shows that these
# checks can fail: the module taken for the reference's architecture, a copy with one byte of its
# property list changed, and a copy whose version text claims one character more than it holds
# must each be refused. Each check is a CTest test (cmake/StaticModuleChecks.cmake): this script
# runs one, named, and exits 0 when it holds.
#   check-module.sh CHECK MODULE ARCH OBJDUMP REFERENCE REFERENCE_ARCH
set -uo pipefail
cd "$(dirname "$0")/../.."
[ $# -eq 6 ] || { echo "usage: check-module.sh CHECK MODULE ARCH OBJDUMP REFERENCE REFERENCE_ARCH" >&2; exit 2; }
check=$1 module=$2 arch=$3 objdump=$4 reference=$5 reference_arch=$6
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

compare_resources() { tests/static/check-module-resources.sh "$1" "$arch" "$reference" "$reference_arch"; }

binary_check_refuses_the_reference_architecture() {
  ! cmake -DOBJDUMP="$objdump" -DMODULE="$module" -DARCH="$reference_arch" -P cmake/CheckModuleBinary.cmake \
    >/dev/null 2>&1
}

resource_check_sees_one_changed_byte() {
  local copy=$work/changed.8li offset
  cp "$module" "$copy"
  offset=$(grep -obUa 'MIB8lbne' "$copy" | head -n 1 | cut -d: -f1)  # the 'enbl' property's record
  [ -n "$offset" ] || return 1
  printf 'X' | dd of="$copy" bs=1 seek=$((offset + 12)) conv=notrunc status=none
  ! compare_resources "$copy" >/dev/null
}

# The version resource is read by its blocks' lengths: "FileDescription" made to claim one
# character more than it holds must be seen.
version_check_sees_a_wrong_length() {
  local copy=$work/lengths.8li key offset count
  cp "$module" "$copy"
  key=$(printf 'FileDescription' | iconv -t UTF-16LE | od -An -v -tx1 | tr -d ' \n')
  offset=$(od -An -v -tx1 "$copy" | tr -d ' \n' | grep -ob "$key" | head -n 1 | cut -d: -f1)
  [ -n "$offset" ] && [ $((offset % 2)) -eq 0 ] || return 1
  offset=$((offset / 2 - 4))  # the block's value length (characters), then its type, then its key
  count=$(od -An -tu2 -j "$offset" -N2 "$copy" | tr -d ' ')
  printf "$(printf '\\%03o' $(((count + 1) & 255)))" | dd of="$copy" bs=1 seek="$offset" conv=notrunc status=none
  ! compare_resources "$copy" >/dev/null
}

case $check in
  binary) cmake -DOBJDUMP="$objdump" -DMODULE="$module" -DARCH="$arch" -P cmake/CheckModuleBinary.cmake ;;
  resources) compare_resources "$module" ;;
  refuses-reference-architecture) binary_check_refuses_the_reference_architecture ;;
  sees-one-changed-byte) resource_check_sees_one_changed_byte ;;
  sees-a-wrong-length) version_check_sees_a_wrong_length ;;
  *) echo "check-module: no check named '$check'" >&2; exit 2 ;;
esac
