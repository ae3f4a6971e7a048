#!/usr/bin/env bash
# Builds the plug-in and the reference host, then runs the plug-in without Photoshop: the
# reference host loads the built ZEM_Variations.8li, plays the eighteen variations on its built-in
# image in the default mode, and writes the contact sheet and the event log to
# build/win32/reference/. Any further arguments go to the reference host (for example --mode 5,
# --image photo.png, --dialog); `bash tools/run.sh --help` lists them.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target ZEM_Variations hostsim_program wine_prefix
module=build/win32/bin/ZEM_Variations.8li
echo "built $module ($(stat -c %s "$module") bytes)"
cmake -DOBJDUMP=i686-w64-mingw32-objdump -DMODULE="$module" -P cmake/CheckModuleBinary.cmake

# A dialog (--dialog, --about) needs a display; without one it is shown on a virtual display,
# where nobody sees it, so use those options on a desktop.
runner=(build/win32/wine-run.sh)
if [ -z "${DISPLAY:-}" ] && [[ " $* " == *" --dialog "* || " $* " == *" --about "* ]]; then
  runner=(xvfb-run -a -s "-screen 0 1024x768x24" "${runner[@]}")
fi
out="Z:$PWD/build/win32/reference"
"${runner[@]}" build/win32/bin/hostsim.exe --out "${out//\//\\}" "$@"
