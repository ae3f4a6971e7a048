#!/usr/bin/env bash
# Creates the Wine prefix the Windows tests run in, once per build folder, for the build's
# architecture (win32 for the x86 programs, win64 for the x64 ones): windows unmanaged by the X
# driver, so that dialogs close without the window manager's delay under Xvfb.
#   prepare-prefix.sh PREFIX STAMP RUNNER
# When ZEM_PREFIX_CACHE names a folder, the first prefix made is kept there, under a name keyed by
# this script, and later ones are copies of it (under emulation a prefix takes a minute to make).
# A prefix does not depend on its path: the build's other prefixes are copies of it too.
set -euo pipefail
prefix=$1
stamp=$2
runner=$3
rm -rf "$prefix"

cached=
if [ -n "${ZEM_PREFIX_CACHE:-}" ]; then
  cached=$ZEM_PREFIX_CACHE/wineprefix-$(sha256sum "$0" | cut -c1-12)
  if [ -d "$cached" ]; then
    cp -a "$cached" "$prefix"
    touch "$stamp"
    exit 0
  fi
fi

"$runner" wineboot -i >/dev/null 2>&1
"$runner" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
WINEPREFIX=$prefix wineserver -w

# Kept whole or not at all: copied beside the cache's name and moved there; of two builds making
# theirs at once, the first to move keeps it.
if [ -n "$cached" ]; then
  mkdir -p "$ZEM_PREFIX_CACHE"
  partial=$(mktemp -d "$cached.partial.XXXXXX")
  cp -a "$prefix/." "$partial/" && mv -T "$partial" "$cached" 2>/dev/null || rm -rf "$partial"
fi
touch "$stamp"
