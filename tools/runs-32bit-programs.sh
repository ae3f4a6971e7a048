#!/usr/bin/env bash
# Tells whether this machine runs 32-bit x86 programs, which Wine's 32-bit loader is: exits 0 when
# it does; otherwise prints why not, in one line, and exits 1. Some kernels refuse every i386
# executable ("Exec format error"), and a machine may lack the 32-bit packages. ZEM_NO_32BIT=1
# answers no on any machine, so that the path for machines without them can be tried anywhere.
set -u
loader=/usr/lib/wine/wine
if [ "${ZEM_NO_32BIT:-0}" = 1 ]; then
  echo "ZEM_NO_32BIT=1 treats this machine as one that runs no 32-bit programs"
  exit 1
fi
if [ ! -e "$loader" ]; then
  echo "Wine's 32-bit loader $loader is not installed (package wine32:i386)"
  exit 1
fi
if ! output=$("$loader" --version 2>&1); then
  echo "this machine runs no 32-bit programs: $loader --version fails: $(tail -n 1 <<<"${output##*"$loader": }")"
  exit 1
fi
exit 0
