#!/usr/bin/env bash
# Creates the Wine prefix the Windows tests run in, once per build folder, for the build's
# architecture (win32 for the x86 programs, win64 for the x64 ones): windows unmanaged by the X
# driver, so that dialogs close without the window manager's delay under Xvfb.
#   prepare-prefix.sh PREFIX STAMP RUNNER
set -euo pipefail
prefix=$1
stamp=$2
runner=$3
rm -rf "$prefix"
"$runner" wineboot -i >/dev/null 2>&1
"$runner" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
WINEPREFIX=$prefix wineserver -w
touch "$stamp"
