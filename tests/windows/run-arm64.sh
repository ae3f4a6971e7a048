#!/usr/bin/env bash
# Runs the ARM64 build's Windows tests (preset arm64-tests) against its ARM64 module, in the arm64
# root under qemu-user emulation, on an Xvfb display of their own and in the build's own prefixes.
# Makes the root the first time (tools/arm64-root.sh), and keeps the qemu-aarch64 binfmt entry
# registered for the whole run only (tools/arm64-emulation.sh). Where emulation cannot be set up it
# prints why in one line and exits 77. Tests that cannot pass under emulation are left out by name,
# each printed with its reason. Passes ctest's options on.
#   run-arm64.sh BUILD [CTEST OPTIONS...]
set -uo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "$1")
shift
[ -f "$build/CTestTestfile.cmake" ] || { echo "run-arm64: $build holds no test list" >&2; exit 1; }

# Left out under emulation, each with why (a ctest name pattern, then the reason).
not_under_emulation=(
  'TwoMonitorTest\.WithoutAnOwnerTheMonitorNearestTheCursorIsTheArea$'
  "Debian's arm64 Wine does not move the cursor: after SetCursorPos(1200, 950) GetCursorPos reads the first screen's centre, where the same five-line program built for x64 under the x64 Wine reads 1200, 950"
)

if ! reason=$("$source_dir/tools/arm64-emulation.sh" check); then
  echo "ARM64 Windows tests not run: $reason"
  exit 77
fi
"$source_dir/tools/arm64-root.sh" >/dev/null || exit 1

# The run itself, with the binfmt entry registered throughout.
if [ "${1:-}" != --registered ]; then
  exec "$source_dir/tools/arm64-emulation.sh" run "$0" "$build" --registered "$@"
fi
shift

display_file=$(mktemp)
exec 3>"$display_file"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb=$!
exec 3>&-
trap 'kill "$xvfb" 2>/dev/null; rm -f "$display_file"' EXIT
for _ in $(seq 100); do
  [ -s "$display_file" ] && break
  sleep 0.1
done
[ -s "$display_file" ] || { echo "run-arm64: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(tr -d '\n' <"$display_file")"

cmake --build "$build" --target wine_test_prefixes || exit 1
exclude=()
for ((i = 0; i < ${#not_under_emulation[@]}; i += 2)); do
  echo "skipped under emulation: ${not_under_emulation[i]} (${not_under_emulation[i + 1]})"
  exclude+=("${not_under_emulation[i]}")
done
if [ ${#exclude[@]} -gt 0 ]; then
  pattern=$(IFS='|'; echo "${exclude[*]}")
  ctest --test-dir "$build" --output-on-failure -E "$pattern" "$@"
else
  ctest --test-dir "$build" --output-on-failure "$@"
fi
