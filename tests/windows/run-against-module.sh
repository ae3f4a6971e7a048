#!/usr/bin/env bash
# Runs a Windows build's whole set of Windows tests against another module of the same
# architecture, without building anything: the build's test programs and their data are copied
# into a folder of their own with that module beside them (the programs load the module found
# beside them), and the build's test list is pointed there. The Wine prefixes, runners and
# displays (fixtures) stay the build's own. Passes ctest's options on.
#   run-against-module.sh BUILD MODULE FOLDER [CTEST OPTIONS...]
set -euo pipefail
build=$(realpath "$1") module=$2 folder=$3
shift 3
[ -f "$build/CTestTestfile.cmake" ] || { echo "run-against-module: $build holds no test list" >&2; exit 1; }
[ -f "$module" ] || { echo "run-against-module: no module at $module" >&2; exit 1; }

rm -rf "$folder"
mkdir -p "$folder"
folder=$(realpath "$folder")
cp -a "$build/bin" "$folder/bin"
cp "$module" "$folder/bin/ZEM_Variations.8li"
# The test list and each program's discovery script, naming the copies of the programs and of the
# lists they discover; the subfolders' tests (the action files') do not load the module.
for list in "$build/CTestTestfile.cmake" "$build"/*_include.cmake; do
  sed -E -e "s#$build/(bin/|[^/\"]*_(include|tests)\\.cmake)#$folder/\\1#g" -e '/^subdirs\(/d' \
    "$list" >"$folder/${list##*/}"
done
if grep -q "$build/bin/" "$folder"/*.cmake; then
  echo "run-against-module: the test list still names $build/bin" >&2
  exit 1
fi
ctest --test-dir "$folder" --output-on-failure "$@"
