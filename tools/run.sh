#!/usr/bin/env bash
# Builds both plug-in modules and their reference hosts, then runs the plug-in without Photoshop:
# the reference host loads the built ZEM_Variations.8li, plays the eighteen variations on its
# built-in image in the default mode, and writes the contact sheet and the event log to
# build/win64/reference/ (build/win32/reference/ with --arch x86, build/arm64-tests/reference/ with
# --arch arm64).
#   bash tools/run.sh [--arch x64|x86|arm64] [reference host options...]
# The x64 module is the one for today's Photoshop and runs by default. --arch x86 needs a machine
# that runs 32-bit programs (tools/runs-32bit-programs.sh); --arch arm64 builds the ARM64 module
# and reference host with Zig (preset arm64-tests) and runs them in the arm64 root under emulation
# (tools/arm64-emulation.sh says whether it can be set up here). Further arguments go to the reference
# host (for example --mode 5, --image photo.png, --dialog); `bash tools/run.sh --help` lists them.
set -euo pipefail
cd "$(dirname "$0")/.."

arch=x64
if [ "${1:-}" = "--arch" ]; then
  arch=${2:-}
  shift 2 || { echo "--arch needs a value: x64, x86 or arm64" >&2; exit 2; }
fi
case $arch in
  x64) preset=win64 objdump=x86_64-w64-mingw32-objdump ;;
  x86) preset=win32 objdump=i686-w64-mingw32-objdump ;;
  arm64) preset=arm64-tests objdump=$(command -v llvm-objdump || command -v llvm-objdump-14) ;;
  *) echo "--arch takes x64, x86 or arm64, not '$arch'" >&2; exit 2 ;;
esac

tools/install-deps.sh
for build in win32 win64; do
  cmake --preset "$build" >/dev/null
  cmake --build --preset "$build" --target ZEM_Variations hostsim_program
done
if [ "$arch" = arm64 ]; then
  cmake --preset arm64-tests >/dev/null
  cmake --build --preset arm64-tests --target ZEM_Variations hostsim_program
fi
module=build/$preset/bin/ZEM_Variations.8li
echo "built build/win32/bin/ZEM_Variations.8li ($(stat -c %s build/win32/bin/ZEM_Variations.8li) bytes, x86)" \
     "and build/win64/bin/ZEM_Variations.8li ($(stat -c %s build/win64/bin/ZEM_Variations.8li) bytes, x64)"
cmake -DOBJDUMP="$objdump" -DMODULE="$module" -DARCH="${arch/arm64/ARM64}" -P cmake/CheckModuleBinary.cmake
if [ "$arch" = x86 ] && ! reason=$(tools/runs-32bit-programs.sh); then
  echo "cannot run the x86 module here: $reason" >&2
  exit 1
fi
runner=(build/$preset/wine-run.sh)
if [ "$arch" = arm64 ]; then
  if ! reason=$(tools/arm64-emulation.sh check); then
    echo "cannot run the arm64 module here: $reason" >&2
    exit 1
  fi
  tools/arm64-root.sh >/dev/null
  # The qemu-aarch64 binfmt entry registered while the reference host runs.
  runner=(tools/arm64-emulation.sh run "${runner[@]}")
fi
echo "running the $arch module"

# A dialog (--dialog, --about) needs a display; without one it is shown on a virtual display,
# where nobody sees it, so use those options on a desktop.
if [ -z "${DISPLAY:-}" ] && [[ " $* " == *" --dialog "* || " $* " == *" --about "* ]]; then
  runner=(xvfb-run -a -s "-screen 0 1024x768x24" "${runner[@]}")
fi
out="Z:$PWD/build/$preset/reference"
"${runner[@]}" build/$preset/bin/hostsim.exe --out "${out//\//\\}" "$@"
