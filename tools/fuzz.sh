#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer + UBSan) and runs each for a bounded
# time, printing its executions, coverage and findings. Crashes are written to build/fuzz/findings.
#   bash tools/fuzz.sh [SECONDS] [TARGET...]      (default: 60 seconds each, every target)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
seconds=${1:-60}
shift || true
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for program in build/fuzz/bin/fuzz_*; do targets+=("${program##*/fuzz_}"); done
fi
mkdir -p build/fuzz/findings
status=0
for name in "${targets[@]}"; do
  corpus=build/fuzz/fuzz-corpus/$name
  mkdir -p "$corpus"
  log=build/fuzz/findings/$name.log
  echo "== $name ($seconds s)"
  if build/fuzz/bin/fuzz_"$name" -max_total_time="$seconds" -print_final_stats=1 -max_len=65536 \
       -rss_limit_mb=2048 -timeout=20 -artifact_prefix=build/fuzz/findings/"$name"- \
       "$corpus" tests/fuzz/corpus/"$name" >"$log" 2>&1; then
    echo "   no findings"
  else
    echo "   FINDING: see $log"
    status=1
  fi
  grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$log" | tail -n 2 | sed 's/^/   /'
done
exit $status
