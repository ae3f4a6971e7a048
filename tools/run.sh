#!/usr/bin/env bash
# Builds the plug-in module and reports what was built: its size, exports and imports.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target ZEM_Variations
module=build/win32/bin/ZEM_Variations.8li
echo "built $module ($(stat -c %s "$module") bytes)"
cmake -DOBJDUMP=i686-w64-mingw32-objdump -DMODULE="$module" -P cmake/CheckModuleBinary.cmake
