#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests (AddressSanitizer + UBSan), the fuzz
# targets over their seeds and a fixed number of new inputs (clang, libFuzzer), then the Windows
# module and its tests under Wine for each architecture: the 64-bit (x64) build in a win64 prefix
# and the 32-bit (x86) build in a win32 prefix; then the release package as a user would unpack
# it, made from those builds. Ends with one line "N passed, N failed, N skipped", counting them all.
#
# The ARM64 module is built with Zig (nothing else here has an ARM64 Windows runtime) and checked
# by reading it; the x64 module built with the same compiler and runtime runs the whole set of x64
# Windows tests. The Windows tests built for ARM64 run against the ARM64 module itself in an arm64
# Debian root with Wine, under qemu-user emulation, beside the other parts (tests/windows/run-arm64.sh;
# the root is made once, tools/arm64-root.sh). Where emulation cannot be set up
# (tools/arm64-emulation.sh says why) they are built and counted as skipped.
#
# On a machine that runs no 32-bit programs (tools/runs-32bit-programs.sh says why) the x86 module
# and every x86 program are still built, and the module is checked without running it; its Windows
# tests and the package's x86 reference host checks are skipped. ZEM_NO_32BIT=1 takes that path on
# any machine.
set -uo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh || exit 1

passed=0
failed=0
skipped=0
summary=()
status=0
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
started=$SECONDS

# Adds one part's counts to the totals and its line to the summary.
count_part() {
  local part=$1 good=$2 bad=$3 skips=${4:-0} why=${5:-}
  passed=$((passed + good))
  failed=$((failed + bad))
  skipped=$((skipped + skips))
  [ "$bad" -eq 0 ] || status=1
  local line="$part: $good passed, $bad failed"
  [ "$skips" -eq 0 ] || line+=", $skips skipped ($why)"
  summary+=("$line  [at $((SECONDS - started)) s]")
}

# Configures and builds a preset; a part that does not build counts as one failure.
build_preset() {
  local preset=$1
  echo "== $preset"
  if cmake --preset "$preset" >"$logs/$preset.configure" && cmake --build --preset "$preset"; then
    return 0
  fi
  cat "$logs/$preset.configure"
  count_part "$preset" 0 1 0
  summary[-1]="${summary[-1]} (the build failed)"
  return 1
}

# Runs a preset's tests into its log, with the given runner in front of ctest.
run_ctest() {
  local preset=$1
  shift
  "$@" ctest --preset "$preset" >"$logs/$preset.ctest" 2>&1
}

# Counts one part's tests from ctest's summary line in its log: "100% tests passed, 0 tests failed
# out of 41".
#   count_ctest PART LOG
count_ctest() {
  local part=$1 log=$2 line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    count_part "$part" 0 1 0
    summary[-1]="${summary[-1]} (ctest ran no test)"
    return
  fi
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  count_part "$part" $((total - bad)) "$bad"
}

run_native_preset() {
  build_preset "$1" || return
  run_ctest "$1" env CTEST_PARALLEL_LEVEL=2
  cat "$logs/$1.ctest"
  count_ctest "$1" "$logs/$1.ctest"
}

# The Windows tests show real dialogs: give them a virtual display of their own, in true colour so
# that screenshots show the dialogs as they are. They spend much of their time waiting for windows,
# so they run in the background while other work goes on (each architecture in its own Wine
# prefixes); their output is shown when they end.
declare -A windows_tests
start_windows_tests() {
  local preset=$1
  windows_tests[$preset]=none  # until they run: a prefix that cannot be made leaves only its log
  cmake --build --preset "$preset" --target wine_test_prefixes >"$logs/$preset.ctest" 2>&1 || return
  run_ctest "$preset" xvfb-run -a -s "-screen 0 1024x768x24" &
  windows_tests[$preset]=$!
  # xvfb-run -a takes the first free display: let this one claim its own before another starts.
  sleep 3
}

finish_windows_tests() {
  local preset=$1 pid=${windows_tests[$1]:-}
  [ -n "$pid" ] || return
  unset "windows_tests[$preset]"
  [ "$pid" = none ] || wait "$pid"
  echo "== $preset tests"
  cat "$logs/$preset.ctest"
  count_ctest "$preset" "$logs/$preset.ctest"
}

# A module checked without running it (tests/static/check-module.sh), as one part:
#   check_module_statically PART MODULE ARCH OBJDUMP REFERENCE REFERENCE_ARCH
check_module_statically() {
  local part=$1 good bad
  shift
  echo "== $part"
  bash tests/static/check-module.sh "$@" | tee "$logs/static"
  read -r good bad < <(tail -n 1 "$logs/static" | sed -nE 's/^([0-9]+) passed, ([0-9]+) failed$/\1 \2/p')
  count_part "$part" "${good:-0}" "${bad:-1}"
}

# The x86 module, read; then its Windows tests, or, on a machine that runs no 32-bit programs, each
# of its test programs named as skipped.
check_win32() {
  check_module_statically "x86 module read" build/win32/bin/ZEM_Variations.8li x86 i686-w64-mingw32-objdump \
    build/win64/bin/ZEM_Variations.8li x64
  if [ -z "$x86_skip_reason" ]; then
    start_windows_tests win32  # finished after the ARM64 part
    return
  fi
  local programs
  programs=$(cd build/win32/bin && ls -- *_tests.exe | sed 's/\.exe$//')
  echo "== win32: not run ($x86_skip_reason):" $programs
  count_part win32 0 0 "$(wc -l <<<"$programs")" "x86 test programs not run: $x86_skip_reason"
}

# The ARM64 module, read: its resources are compared with those of the x64 module built with the
# same compiler and runtime. Where the ARM64 Windows tests cannot run, that x64 module runs every x64
# Windows test program of the win64 build (not built again), showing that runtime at work on Windows.
check_arm64() {
  local objdump
  objdump=$(command -v llvm-objdump || command -v llvm-objdump-14)
  check_module_statically "ARM64 module read" build/arm64/bin/ZEM_Variations.8li ARM64 "$objdump" \
    build/x64-zig/bin/ZEM_Variations.8li x64
  # The ARM64 Windows tests run the same runtime on its own architecture; the x64 twin's run is
  # needed only where they cannot run.
  if [ -z "$arm64_reason" ]; then
    echo "== the x64 module built with Zig is not run: the ARM64 Windows tests run its runtime"
    return
  fi
  if [ ! -f build/win64/CTestTestfile.cmake ]; then
    count_part "x64 module built with Zig" 0 1 0
    summary[-1]="${summary[-1]} (no win64 test programs to run it with)"
    return
  fi
  echo "== the win64 Windows tests against the x64 module built with Zig"
  xvfb-run -a -s "-screen 0 1024x768x24" tests/windows/run-against-module.sh build/win64 \
    build/x64-zig/bin/ZEM_Variations.8li build/x64-zig/tests >"$logs/x64-zig.ctest" 2>&1
  cat "$logs/x64-zig.ctest"
  count_ctest "x64 module built with Zig" "$logs/x64-zig.ctest"
}

run_package() {
  echo "== package"
  xvfb-run -a -s "-screen 0 1024x768x24" env ZEM_X86_SKIP_REASON="$x86_skip_reason" \
    bash tests/package/check-package.sh --builds build 2>&1 | tee "$logs/package"
  local line good bad skips
  line=$(grep -E '^package: [0-9]+ passed, [0-9]+ failed, [0-9]+ skipped$' "$logs/package" | tail -n 1)
  if [ -z "$line" ]; then
    count_part package 0 1 0
    return
  fi
  read -r good bad skips < <(sed -E 's/package: ([0-9]+) passed, ([0-9]+) failed, ([0-9]+) skipped/\1 \2 \3/' <<<"$line")
  count_part package "$good" "$bad" "$skips" "x86 reference host checks: $x86_skip_reason"
}

# The ARM64 Windows tests, built and run in the background into their log: the build, then the run
# in the arm64 root under emulation, unless it cannot be set up here.
start_arm64_windows() {
  arm64_reason=$(tools/arm64-emulation.sh check)
  {
    if ! cmake --preset arm64-tests >/dev/null || ! cmake --build --preset arm64-tests; then
      echo "ARM64 Windows: the build failed"
      exit 1
    fi
    [ -n "$arm64_reason" ] || tests/windows/run-arm64.sh build/arm64-tests
  } >"$logs/arm64-windows" 2>&1 &
  arm64_windows=$!
}

finish_arm64_windows() {
  wait "$arm64_windows"
  echo "== ARM64 Windows tests"
  cat "$logs/arm64-windows"
  if grep -q '^ARM64 Windows: the build failed$' "$logs/arm64-windows"; then
    count_part "ARM64 Windows" 0 1 0
    summary[-1]="${summary[-1]} (the build failed)"
  elif [ -n "$arm64_reason" ]; then
    local programs
    programs=$(cd build/arm64-tests/bin && ls -- *_tests.exe | sed 's/\.exe$//')
    echo "== ARM64 Windows: not run ($arm64_reason):" $programs
    count_part "ARM64 Windows" 0 0 "$(wc -l <<<"$programs")" "ARM64 test programs not run: $arm64_reason"
  else
    local line total bad skips
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$logs/arm64-windows" | tail -n 1)
    skips=$(grep -c '^skipped under emulation: ' "$logs/arm64-windows")
    if [ -z "$line" ]; then
      count_part "ARM64 Windows" 0 1 "$skips" "under emulation, named above"
      summary[-1]="${summary[-1]} (ctest ran no test)"
      return
    fi
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    count_part "ARM64 Windows" $((total - bad)) "$bad" "$skips" "under emulation, named above"
  fi
}

x86_skip_reason=$(tools/runs-32bit-programs.sh)
[ -n "$x86_skip_reason" ] && echo "== x86 Windows programs will be built but not run: $x86_skip_reason"

run_native_preset native
run_native_preset fuzz
# The x64 Windows tests run while the x86 and ARM64 modules build, and the x86 ones while the
# Zig-built x64 module runs the x64 tests.
build_preset win64 && start_windows_tests win64
build_preset win32
win32_built=$?
build_preset arm64 && build_preset x64-zig
arm64_built=$?
start_arm64_windows
finish_windows_tests win64
[ "$win32_built" -eq 0 ] && check_win32
[ "$arm64_built" -eq 0 ] && check_arm64
finish_windows_tests win32
finish_arm64_windows
if [ -f build/win64/bin/ZEM_Variations.8li ] && [ -f build/win32/bin/ZEM_Variations.8li ] &&
  [ -f build/arm64/bin/ZEM_Variations.8li ]; then
  run_package
else
  count_part package 0 1 0
  summary[-1]="${summary[-1]} (a module did not build)"
fi

printf '%s\n' "${summary[@]}"
echo "the test command took $((SECONDS - started)) s"
echo "$passed passed, $failed failed, $skipped skipped"
[ "$status" -eq 0 ] && [ "$failed" -eq 0 ]
