#!/usr/bin/env bash
# Builds everything and runs every test, each part a CMake workflow preset (configure, build, then
# CTest) whose every check is a CTest test: the native unit tests (AddressSanitizer + UBSan), the
# fuzz targets over their seeds and a fixed number of new inputs, the x64 and x86 modules with
# their Windows tests under Wine, the ARM64 module read without running it, and the release package
# as a user unpacks it. Prints a line per part and ends with "N passed, N failed, N skipped", added
# up from CTest's own JUnit results: a check that skips (on a machine that runs no 32-bit programs,
# each x86 Windows case; where ../shared/testdata is absent, the checks of the files it holds) is
# counted as skipped, never as passed.
#
# The ARM64 module is built with Zig and read; the Windows tests built for ARM64 then run against it
# in an arm64 Debian root with Wine under qemu-user emulation (made once, tools/arm64-root.sh), with
# the qemu-aarch64 binfmt entry registered for that run only (tools/arm64-emulation.sh). Where
# emulation cannot be set up, each of their cases is skipped with the reason, and the x64 module
# built with the same compiler and runtime runs the x64 Windows tests instead.
#
# On a machine that runs no 32-bit programs (tools/runs-32bit-programs.sh says why) the x86 module
# and every x86 program are still built and the module is read; its Windows cases and the package's
# x86 reference-host checks are skipped, with the reason. ZEM_NO_32BIT=1 takes that path anywhere.
set -uo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh || exit 1

passed=0
failed=0
skipped=0
summary=()
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
started=$SECONDS

# Adds a part's counts to the totals and its line to the summary.
#   count_part PART PASSED FAILED SKIPPED [NOTE]
count_part() {
  passed=$((passed + $2))
  failed=$((failed + $3))
  skipped=$((skipped + $4))
  summary+=("$1: $2 passed, $3 failed, $4 skipped${5:+ ($5)}  [at $((SECONDS - started)) s]")
}

# Counts a part from the JUnit file CTest wrote; a part without one (its build failed, or CTest ran
# nothing) counts as one failure.
#   count_junit PART FILE
count_junit() {
  local part=$1 file=$2 suite tests failures skips
  suite=$(grep -m 1 -A 6 '<testsuite' "$file" 2>/dev/null | tr '\n' ' ')
  tests=$(sed -nE 's/.*[[:space:]]tests="([0-9]+)".*/\1/p' <<<"$suite")
  failures=$(sed -nE 's/.*[[:space:]]failures="([0-9]+)".*/\1/p' <<<"$suite")
  skips=$(sed -nE 's/.*[[:space:]]skipped="([0-9]+)".*/\1/p' <<<"$suite")
  if [ -z "$tests" ] || [ "$tests" -eq 0 ]; then
    count_part "$part" 0 1 0 "no tests ran: see its log above"
    return
  fi
  local note=
  [ "$skips" -eq 0 ] || note="skipped: $(skip_reasons "$file")"
  count_part "$part" $((tests - failures - skips)) "$failures" "$skips" "$note"
}

# The distinct reasons of a JUnit file's skipped tests, in one line: the runner's "skipped: why",
# or the line after GoogleTest's "Skipped".
skip_reasons() {
  sed -nE 's/^(.*<system-out>)?skipped: (.*)$/\2/p; /: Skipped$/{n;p}' "$1" | cut -c 1-90 | sort -u | head -n 3 |
    paste -sd ';' | sed 's/;/; /g; s/&apos;/'"'"'/g; s/&quot;/"/g; s/&amp;/\&/g'
}

# A workflow preset run into its log, in the background; then finished: its log shown and its
# tests counted.
#   start_workflow PRESET [JUNIT]
#   finish_workflow PRESET PART [JUNIT]
declare -A workflows
start_workflow() {
  rm -f "${2:-build/$1/junit.xml}"
  cmake --workflow --preset "$1" >"$logs/$1" 2>&1 &
  workflows[$1]=$!
}
finish_workflow() {
  local preset=$1 part=$2 junit=${3:-build/$1/junit.xml}
  wait "${workflows[$preset]}"
  echo "== $part"
  cat "$logs/$preset"
  count_junit "$part" "$junit"
}
run_workflow() {
  start_workflow "$1" "${3:-}"
  finish_workflow "$@"
}

# Configures and builds a preset ahead of its workflow, so that one part's tests can run while
# another builds; its workflow then finds it built. A cross build converts the action set with the
# native build's converter instead of building its own. A build that fails is shown and the
# workflow counts it.
build_preset() {
  echo "== building $1"
  cmake --preset "$1" -DZEM_BUILD_MACHINE_ATN="$PWD/build/native/actions/atn" >"$logs/$1.configure" 2>&1 &&
    cmake --build --preset "$1" && return 0
  cat "$logs/$1.configure"
  return 1
}

x86_reason=$(tools/runs-32bit-programs.sh) || echo "== x86 Windows programs will be built but not run: $x86_reason"

run_workflow native native
run_workflow fuzz fuzz
# The x64 Windows tests run while the x86 and ARM64 builds are made; the x86 ones beside the ARM64
# ones (or beside the Zig-built x64 module's run of the x64 ones). Each run has its own displays and
# Wine prefixes. The package's checks come last, alone: beside the emulated dialog tests they
# slowed those past what their waits allow (a screenshot taken before the dialog was painted).
build_preset win64
start_workflow win64
build_preset win32
build_preset x64-zig
build_preset arm64
build_preset arm64-tests
finish_workflow win64 win64
start_workflow win32
run_workflow arm64 "ARM64 module read"

# The ARM64 Windows tests, under emulation where it can be set up; its cases skipped otherwise.
arm64_junit=build/arm64-tests/junit.xml
rm -f "$arm64_junit"
if arm64_reason=$(tools/arm64-emulation.sh check) && tools/arm64-root.sh >"$logs/arm64-root" 2>&1; then
  tools/arm64-emulation.sh run ctest --preset arm64-windows >"$logs/arm64-windows" 2>&1
else
  [ -n "$arm64_reason" ] || arm64_reason="the arm64 root could not be made: $(tail -n 1 "$logs/arm64-root")"
  echo "== ARM64 Windows tests not run: $arm64_reason"
  ctest --preset arm64-windows >"$logs/arm64-windows" 2>&1
fi
echo "== ARM64 Windows"
cat "$logs/arm64-windows"
count_junit "ARM64 Windows" "$arm64_junit"

# The x64 module built with the ARM64 module's compiler and runtime runs the x64 Windows tests
# where the ARM64 ones could not run that runtime on its own architecture.
if [ -n "$arm64_reason" ]; then
  echo "== x64 module built with Zig: the win64 Windows tests against it"
  zig_junit=$PWD/build/x64-zig/junit-windows.xml
  rm -f "$zig_junit"
  if [ -f build/x64-zig/bin/ZEM_Variations.8li ]; then
    tests/windows/run-against-module.sh build/win64 build/x64-zig/bin/ZEM_Variations.8li build/x64-zig/tests \
      --output-junit "$zig_junit" >"$logs/x64-zig" 2>&1
    cat "$logs/x64-zig"
  fi
  count_junit "x64 module built with Zig" "$zig_junit"
fi
finish_workflow win32 win32

run_workflow package package build/package-checks/junit.xml

printf '%s\n' "${summary[@]}"
echo "the test command took $((SECONDS - started)) s"
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
