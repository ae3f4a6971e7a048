#!/usr/bin/env bash
# Creates the Wine prefix the Windows tests run in, once per build folder: windows unmanaged by the
# X driver, so that dialogs close without the window manager's delay under Xvfb.
set -euo pipefail
prefix=$1
stamp=$2
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$prefix"
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
touch "$stamp"
