#!/usr/bin/env bash
# Reads a module's resources without running it and fails unless they are those of a module of
# another architecture, byte for byte, but for what must differ: the code property's key in the
# property list ('wx86' on x86, '8664' on x64, 'wa64' on ARM64) and the architecture the version
# text names ("(x86)", "(x64)", "(ARM64)"). The reference module's resources are checked by running it; this is how a module that
# this machine cannot run is checked.
#   check-module-resources.sh MODULE ARCH REFERENCE REFERENCE_ARCH
set -euo pipefail
module=$1 arch=$2 reference=$3 reference_arch=$4
readobj=$(command -v llvm-readobj || command -v llvm-readobj-14) || {
  echo "llvm-readobj is not installed (package llvm)"
  exit 1
}

# One line per resource: "TYPE/NAME/LANGUAGE<tab>DATA", the data as one run of hex digits.
resources() {
  "$readobj" --coff-resources "$1" | awk '
    function heading(line) { sub(/^ *[A-Za-z]+: /, "", line); sub(/ \[$/, "", line); return line }
    /^  Type: /             { type = heading($0) }
    /^    Name: /           { name = heading($0) }
    /^      Language: /     { language = heading($0) }
    /^ +Data \($/           { in_data = 1; data = ""; next }
    in_data && /^ +\)$/     { print type "/" name "/" language "\t" data; in_data = 0; next }
    in_data                 { sub(/^ +[0-9A-F]+: /, ""); sub(/ +\|.*$/, ""); gsub(/ /, ""); data = data $0 }
  ' | sort
}
hex() { od -An -v -tx1 | tr -d ' \n' | tr a-f A-F; }
# The code property's record starts with its signature and key, each read by the host as a
# little-endian 32-bit value: '8BIM' 'wx86' is stored "MIB868xw".
code_key_hex() {
  case $1 in
    x86) printf 'MIB868xw' | hex ;;
    x64) printf 'MIB84668' | hex ;;
    ARM64) printf 'MIB846aw' | hex ;;
    *) echo "unknown architecture '$1'" >&2; exit 2 ;;
  esac
}
version_text_hex() { printf '(%s)' "$1" | iconv -t UTF-16LE | hex; }
# A version resource as its blocks, one a line: "/KEY/KEY TYPE VALUE", the value in hex. It is read
# by the blocks' own lengths, so that two resources whose texts differ in length ("(x64)",
# "(ARM64)") compare by what they hold; a block whose children do not end where it ends is named.
version_blocks() {
  awk -v hex="$1" '
    function byte(o) { return (index("0123456789ABCDEF", substr(hex, o * 2 + 1, 1)) - 1) * 16 + index("0123456789ABCDEF", substr(hex, o * 2 + 2, 1)) - 1 }
    function word(o) { return byte(o) + 256 * byte(o + 1) }
    function align(o) { return o + (4 - o % 4) % 4 }
    # The block at offset o (its size, value size, type, key, value, children); returns its end.
    function block(o, path,    size, value_size, type, key, p, end) {
      size = word(o); type = word(o + 4)
      value_size = type == 1 ? 2 * word(o + 2) : word(o + 2)   # text values count characters
      key = ""
      for (p = o + 6; p < total && word(p) != 0; p += 2) key = key sprintf("%c", byte(p))
      p = align(p + 2)
      print path "/" key " " type " " substr(hex, p * 2 + 1, value_size * 2)
      p = align(p + value_size)
      end = o + size
      if (size < 6 || end > total) { print "a block of size " size " at offset " o; return total }
      while (p < end) p = align(block(p, path "/" key))
      if (p != align(end)) print "the children of " path "/" key " end at offset " p ", the block at " end
      return end
    }
    BEGIN { total = length(hex) / 2; end = block(0, ""); if (align(end) != align(total)) print "the resource holds " total " bytes, its block " end }
  '
}

ours=$(resources "$module")
theirs=$(resources "$reference")
[ -n "$theirs" ] || { echo "$reference has no resources"; exit 1; }
if [ "$(cut -f1 <<<"$ours")" != "$(cut -f1 <<<"$theirs")" ]; then
  echo "$module and $reference hold different resources:"
  diff <(cut -f1 <<<"$ours") <(cut -f1 <<<"$theirs") || true
  exit 1
fi

failed=0
while IFS=$'\t' read -r name data; do
  expected=$(grep -F "$name"$'\t' <<<"$theirs" | cut -f2)
  size=$((${#data} / 2))
  if [[ $name == VERSIONINFO* ]]; then
    data=$(version_blocks "$data")
    expected=$(version_blocks "$expected")
  fi
  case $name in
    PIPL/*) from=$(code_key_hex "$reference_arch") to=$(code_key_hex "$arch") ;;
    VERSIONINFO*) from=$(version_text_hex "$reference_arch") to=$(version_text_hex "$arch") ;;
    *) from="" to="" ;;
  esac
  if [ -n "$from" ]; then
    if [[ "$expected" != *"$from"* ]]; then
      echo "$name of $reference does not hold $reference_arch's ${from}"
      failed=1
      continue
    fi
    expected=${expected//"$from"/"$to"}
  fi
  if [ "$data" = "$expected" ]; then
    echo "$name: $size bytes, as $reference_arch's${from:+ but for the architecture}"
  else
    echo "$name differs from $reference_arch's:"
    diff <(fold -w 64 <<<"$data") <(fold -w 64 <<<"$expected") | head -n 10 || true
    failed=1
  fi
done <<<"$ours"
exit "$failed"
