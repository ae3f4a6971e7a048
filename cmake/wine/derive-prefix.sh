#!/usr/bin/env bash
# Creates a prefix for tests that need a desktop of their own, as a copy of the build's test
# prefix (a wineserver belongs to one prefix, so such tests cannot share the test prefix's), with
# the screen's resolution set when one is given. The test prefix's server may be running: it
# writes its registry files whole, through a new file renamed over the old, so a copy never holds
# half of one.
#   derive-prefix.sh BASE PREFIX STAMP RUNNER [LOGPIXELS]
set -euo pipefail
base=$1
prefix=$2
stamp=$3
runner=$4
logpixels=${5:-}
[ -e "$base.ready" ] || "$(dirname "$base")/wine-run.sh" cmd /c exit
rm -rf "$prefix"
cp -a "$base" "$prefix"
if [ -n "$logpixels" ]; then
  "$runner" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$logpixels" /f >/dev/null 2>&1
fi
WINEPREFIX=$prefix wineserver -w
touch "$stamp"
