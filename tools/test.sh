#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests (AddressSanitizer + UBSan), the fuzz
# targets over their seeds and a fixed number of new inputs (clang, libFuzzer), then the
# Windows module and its tests under Wine for each architecture: the 32-bit (x86) build in a win32
# prefix and the 64-bit (x64) build in a win64 prefix; then the release package as a user would
# unpack it. Ends with one line "N passed, N failed", counting them all.
set -uo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh || exit 1

passed=0
failed=0
summary=()
status=0
logs=$(mktemp -d)

# Adds one part's counts to the totals and its line to the summary.
count_part() {
  passed=$((passed + $2))
  failed=$((failed + $3))
  summary+=("$1: $2 passed, $3 failed")
}

run_preset() {
  local preset=$1
  echo "== $preset"
  if ! { cmake --preset "$preset" >"$logs/$preset.configure" && cmake --build --preset "$preset"; }; then
    cat "$logs/$preset.configure"
    echo "$preset: build failed"
    status=1
    return
  fi
  # The Windows tests show real dialogs: give them a virtual display, in true colour so that
  # screenshots show the dialogs as they are.
  local runner=()
  [[ "$preset" == win* ]] && runner=(xvfb-run -a -s "-screen 0 1024x768x24")
  "${runner[@]}" ctest --preset "$preset" 2>&1 | tee "$logs/$preset.ctest"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  # ctest's summary: "100% tests passed, 0 tests failed out of 41"
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$logs/$preset.ctest" | tail -n 1)
  if [ -z "$line" ]; then
    status=1
    return
  fi
  local total bad
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  count_part "$preset" $((total - bad)) "$bad"
}

# The release package, checked as a user would unpack it.
run_package() {
  echo "== package"
  xvfb-run -a -s "-screen 0 1024x768x24" bash tests/package/check-package.sh 2>&1 | tee "$logs/package"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  local line
  line=$(grep -E '^package: [0-9]+ passed, [0-9]+ failed$' "$logs/package" | tail -n 1)
  if [ -z "$line" ]; then
    status=1
    return
  fi
  local good bad
  read -r good bad < <(sed -E 's/package: ([0-9]+) passed, ([0-9]+) failed/\1 \2/' <<<"$line")
  count_part package "$good" "$bad"
}

run_preset native
run_preset fuzz
run_preset win32
run_preset win64
run_package
rm -rf "$logs"

printf '%s\n' "${summary[@]}"

echo "$passed passed, $failed failed"
[ "$status" -eq 0 ] && [ "$failed" -eq 0 ]
