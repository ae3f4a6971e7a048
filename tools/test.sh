#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests (AddressSanitizer + UBSan), the fuzz
# targets over their seeds and a fixed number of new inputs (clang, libFuzzer), then the Windows
# module and its tests under Wine for each architecture: the 64-bit (x64) build in a win64 prefix
# and the 32-bit (x86) build in a win32 prefix; then the release package as a user would unpack
# it, made from those builds. Ends with one line "N passed, N failed, N skipped", counting them all.
#
# The ARM64 module is built with Zig (nothing else here has an ARM64 Windows runtime) and checked
# without running it, as nothing here runs ARM64 code; the x64 module built with the same compiler
# and runtime runs the whole set of x64 Windows tests instead, which shows that runtime at work.
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

# Runs a preset's tests and counts them from ctest's summary line.
run_ctest() {
  local preset=$1
  shift
  "$@" ctest --preset "$preset" 2>&1 | tee "$logs/$preset.ctest"
  count_ctest "$preset" "$logs/$preset.ctest"
}

# Counts one part's tests from the summary line of its ctest output.
count_ctest() {
  local part=$1 log=$2
  # ctest's summary: "100% tests passed, 0 tests failed out of 41"
  local line total bad
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
  build_preset "$1" && run_ctest "$1" env CTEST_PARALLEL_LEVEL=2
}

# The Windows tests show real dialogs: give them a virtual display, in true colour so that
# screenshots show the dialogs as they are.
run_windows_tests() {
  local preset=$1
  cmake --build --preset "$preset" --target wine_test_prefixes &&
    run_ctest "$preset" xvfb-run -a -s "-screen 0 1024x768x24"
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
  tally resource_check_sees_one_changed_byte $module x86 $reference x64
  count_part "x86 module read" "$good" "$bad"
}

# The resource comparison refuses a copy of the module with one byte of its property list changed.
#   resource_check_sees_one_changed_byte MODULE ARCH REFERENCE REFERENCE_ARCH
resource_check_sees_one_changed_byte() {
  local copy=$logs/changed.8li offset
  cp "$1" "$copy"
  offset=$(grep -obUa 'MIB8lbne' "$copy" | head -n 1 | cut -d: -f1)  # the 'enbl' property's record
  [ -n "$offset" ] || return 1
  printf 'X' | dd of="$copy" bs=1 seek=$((offset + 12)) conv=notrunc status=none
  ! tests/static/check-module-resources.sh "$copy" "$2" "$3" "$4" >/dev/null
}

# The ARM64 module checked without running it: its format, machine, exports and imports, and its
# resources those of the x64 module built with the same compiler, byte for byte but for the
# architecture; that x64 module's resources are checked by running it.
check_arm64_module_statically() {
  echo "== the ARM64 module, read without running it"
  local module=build/arm64/bin/ZEM_Variations.8li reference=build/x64-zig/bin/ZEM_Variations.8li
  local objdump good=0 bad=0
  objdump=$(command -v llvm-objdump || command -v llvm-objdump-14)
  tally() { if "$@"; then good=$((good + 1)); else bad=$((bad + 1)); echo "FAILED: $*"; fi; }
  tally cmake -DOBJDUMP="$objdump" -DMODULE=$module -DARCH=ARM64 -P cmake/CheckModuleBinary.cmake
  tally binary_check_refuses "$objdump" $module x64
  tally tests/static/check-module-resources.sh $module ARM64 $reference x64
  tally resource_check_sees_one_changed_byte $module ARM64 $reference x64
  tally version_check_sees_a_wrong_length $module ARM64 $reference x64
  count_part "ARM64 module read" "$good" "$bad"
}

# The resource comparison, which reads version resources by their blocks' lengths, refuses a copy
# of the module whose version text "FileDescription" claims one character more than it holds.
#   version_check_sees_a_wrong_length MODULE ARCH REFERENCE REFERENCE_ARCH
version_check_sees_a_wrong_length() {
  local copy=$logs/lengths.8li key offset
  cp "$1" "$copy"
  key=$(printf 'FileDescription' | iconv -t UTF-16LE | od -An -v -tx1 | tr -d ' \n')
  offset=$(od -An -v -tx1 "$copy" | tr -d ' \n' | grep -ob "$key" | head -n 1 | cut -d: -f1)
  [ -n "$offset" ] && [ $((offset % 2)) -eq 0 ] || return 1
  offset=$((offset / 2 - 4))  # the block's value length (characters), then its type, then its key
  local count
  count=$(od -An -tu2 -j "$offset" -N2 "$copy" | tr -d ' ')
  printf "$(printf '\\%03o' $(((count + 1) & 255)))" | dd of="$copy" bs=1 seek="$offset" conv=notrunc status=none
  ! tests/static/check-module-resources.sh "$copy" "$2" "$3" "$4" >/dev/null
}

# The module check refuses a module taken for another architecture.
binary_check_refuses() {
  ! cmake -DOBJDUMP="$1" -DMODULE="$2" -DARCH="$3" -P cmake/CheckModuleBinary.cmake >/dev/null 2>&1
}

# The ARM64 module and, with the same compiler and runtime, the x64 one; the ARM64 one read, the
# x64 one run through every x64 Windows test program of the win64 build, which is not built again.
run_arm64() {
  build_preset arm64 || return
  build_preset x64-zig || return
  check_arm64_module_statically
  if [ ! -f build/win64/CTestTestfile.cmake ]; then
    count_part "x64 module built with Zig" 0 1 0
    summary[-1]="${summary[-1]} (no win64 test programs to run it with)"
    return
  fi
  echo "== the win64 Windows tests against the x64 module built with Zig"
  xvfb-run -a -s "-screen 0 1024x768x24" tests/windows/run-against-module.sh build/win64 \
    build/x64-zig/bin/ZEM_Variations.8li build/x64-zig/tests 2>&1 | tee "$logs/x64-zig.ctest"
  count_ctest "x64 module built with Zig" "$logs/x64-zig.ctest"
}

run_win32() {
  build_preset win32 || return
  [ -f build/win64/bin/ZEM_Variations.8li ] && check_x86_module_statically
  if [ -z "$x86_skip_reason" ]; then
    run_windows_tests win32
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
build_preset win64 && run_windows_tests win64
run_arm64
run_win32
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
