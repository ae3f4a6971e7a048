#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests (AddressSanitizer + UBSan), the fuzz
# targets over their seeds and a fixed number of new inputs (clang, libFuzzer), then the Windows
# module and its tests under Wine for each architecture: the 64-bit (x64) build in a win64 prefix
# and the 32-bit (x86) build in a win32 prefix; then the release package as a user would unpack
# it, made from those builds. Ends with one line "N passed, N failed, N skipped", counting them all.
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

# Counts a preset's tests from ctest's summary line in its log: "100% tests passed, 0 tests failed
# out of 41".
count_ctest() {
  local preset=$1 line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$logs/$preset.ctest" | tail -n 1)
  if [ -z "$line" ]; then
    count_part "$preset" 0 1 0
    summary[-1]="${summary[-1]} (ctest ran no test)"
    return
  fi
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  count_part "$preset" $((total - bad)) "$bad"
}

run_native_preset() {
  build_preset "$1" || return
  run_ctest "$1" env CTEST_PARALLEL_LEVEL=2
  cat "$logs/$1.ctest"
  count_ctest "$1"
}

# The Windows tests show real dialogs: give them a virtual display, in true colour so that
# screenshots show the dialogs as they are. They spend much of their time waiting for windows, so
# the x64 ones run while the x86 build goes on; their output is shown when they end.
start_windows_tests() {
  local preset=$1
  {
    cmake --build --preset "$preset" --target wine_test_prefixes >"$logs/$preset.ctest" 2>&1 &&
      run_ctest "$preset" xvfb-run -a -s "-screen 0 1024x768x24"
  } &
  windows_tests_pid=$!
}

finish_windows_tests() {
  local preset=$1
  wait "$windows_tests_pid"
  echo "== $preset tests"
  cat "$logs/$preset.ctest"
  count_ctest "$preset"
}

# The x86 module checked without running it: its format, machine, exports and imports, and its
# resources byte for byte those of the x64 module, which the x64 tests check by running it.
check_x86_module_statically() {
  echo "== the x86 module, read without running it"
  local module=build/win32/bin/ZEM_Variations.8li reference=build/win64/bin/ZEM_Variations.8li
  local good=0 bad=0
  tally() { if "$@"; then good=$((good + 1)); else bad=$((bad + 1)); echo "FAILED: $*"; fi; }
  tally cmake -DOBJDUMP=i686-w64-mingw32-objdump -DMODULE=$module -DARCH=x86 -P cmake/CheckModuleBinary.cmake
  tally tests/static/check-module-resources.sh $module x86 $reference x64
  tally resource_check_sees_one_changed_byte $module $reference
  count_part "x86 module read" "$good" "$bad"
}

# The resource comparison refuses a copy of the module with one byte of its property list changed.
resource_check_sees_one_changed_byte() {
  local copy=$logs/changed.8li offset
  cp "$1" "$copy"
  offset=$(grep -obUa 'MIB8lbne' "$copy" | head -n 1 | cut -d: -f1)  # the 'enbl' property's record
  [ -n "$offset" ] || return 1
  printf 'X' | dd of="$copy" bs=1 seek=$((offset + 12)) conv=notrunc status=none
  ! tests/static/check-module-resources.sh "$copy" x86 "$2" x64 >/dev/null
}

run_win32() {
  build_preset win32
  local built=$?
  [ -n "$windows_tests_pid" ] && finish_windows_tests win64
  [ "$built" -eq 0 ] || return
  [ -f build/win64/bin/ZEM_Variations.8li ] && check_x86_module_statically
  if [ -z "$x86_skip_reason" ]; then
    start_windows_tests win32
    finish_windows_tests win32
    return
  fi
  # Every Windows test program of the build, each a set of gtest cases that would run under Wine.
  local programs
  programs=$(cd build/win32/bin && ls -- *_tests.exe | sed 's/\.exe$//')
  echo "== win32: not run ($x86_skip_reason):" $programs
  count_part win32 0 0 "$(wc -l <<<"$programs")" "x86 test programs not run: $x86_skip_reason"
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

x86_skip_reason=$(tools/runs-32bit-programs.sh)
[ -n "$x86_skip_reason" ] && echo "== x86 Windows programs will be built but not run: $x86_skip_reason"

run_native_preset native
run_native_preset fuzz
windows_tests_pid=""
build_preset win64 && start_windows_tests win64
run_win32
if [ -f build/win64/bin/ZEM_Variations.8li ] && [ -f build/win32/bin/ZEM_Variations.8li ]; then
  run_package
else
  count_part package 0 1 0
  summary[-1]="${summary[-1]} (a module did not build)"
fi

printf '%s\n' "${summary[@]}"
echo "the test command took $((SECONDS - started)) s"
echo "$passed passed, $failed failed, $skipped skipped"
[ "$status" -eq 0 ] && [ "$failed" -eq 0 ]
