#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer + UBSan) and runs each for a bounded
# time from its seeds: tests/fuzz/corpus/NAME and the seeds the build makes from real inputs in
# build/fuzz/fuzz-seeds/NAME. Prints a minute-by-minute progress line per running target, then its
# executions, coverage, corpus and findings.
#   bash tools/fuzz.sh [SECONDS] [TARGET...]      (default: 60 seconds each, every target)
#   ZEM_FUZZ_JOBS=2 bash tools/fuzz.sh 600        (every target 10 minutes, two at a time)
# What it keeps: the corpus each target grew, in build/fuzz/fuzz-corpus/NAME (the next run starts
# from it); each input that failed, as build/fuzz/findings/NAME-crash-..., -leak-..., -timeout-...
# or -oom-...; each target's log, build/fuzz/findings/NAME.log; the summary,
# build/fuzz/findings/summary.txt. Exits nonzero when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
seconds=${1:-60}
shift || true
jobs=${ZEM_FUZZ_JOBS:-1}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for program in build/fuzz/bin/fuzz_*; do
    name=${program##*/fuzz_}
    [ -d "tests/fuzz/corpus/$name" ] && targets+=("$name")
  done
fi
findings=build/fuzz/findings
mkdir -p "$findings"

# Runs one target; its exit status is the fuzzer's.
run_target() {
  local name=$1 corpus=build/fuzz/fuzz-corpus/$1
  mkdir -p "$corpus" "build/fuzz/fuzz-seeds/$name"
  build/fuzz/bin/fuzz_"$name" -max_total_time="$seconds" -print_final_stats=1 -max_len=65536 \
    -rss_limit_mb=2048 -timeout=20 -artifact_prefix="$findings/$name-" \
    "$corpus" "tests/fuzz/corpus/$name" "build/fuzz/fuzz-seeds/$name" >"$findings/$name.log" 2>&1
}

# The fuzzer's last progress line: "#123456 pulse cov: ... exec/s: ..." shortened.
progress() {
  grep -aE '^#[0-9]+' "$findings/$1.log" 2>/dev/null | tail -n 1 | cut -c1-100 || true
}

summary() {
  local name=$1 status=$2 log=$findings/$1.log
  local executions seeds corpus kept
  executions=$(grep -a '^stat::number_of_executed_units' "$log" | awk '{print $2}' || true)
  seeds=$(grep -aE 'files found in (tests/fuzz/corpus|build/fuzz/fuzz-seeds)/' "$log" |
          awk '{sum += $2} END {print sum + 0}' || true)
  corpus=$(find "build/fuzz/fuzz-corpus/$name" -type f | wc -l || true)
  kept=$(find "$findings" -maxdepth 1 -name "$name-*" -newer "$findings/.started-$name" | wc -l || true)
  local verdict="no findings"
  [ "$status" -ne 0 ] && verdict="FINDING ($kept input(s) kept): see $log"
  printf '%-18s %5s s  %10s executions  %4s seeds  %6s files in the corpus folder  %s\n' \
    "$name" "$seconds" "${executions:-?}" "$seeds" "$corpus" "$verdict"
}

declare -A pids=()
declare -A started=()
status=0
: >"$findings/summary.txt"
finish() {
  local name=$1 result=0
  wait "${pids[$name]}" || result=$?
  unset "pids[$name]"
  [ $result -ne 0 ] && status=1
  summary "$name" $result | tee -a "$findings/summary.txt"
}
next=0
while [ $next -lt ${#targets[@]} ] || [ ${#pids[@]} -gt 0 ]; do
  while [ $next -lt ${#targets[@]} ] && [ ${#pids[@]} -lt "$jobs" ]; do
    name=${targets[$next]}
    next=$((next + 1))
    touch "$findings/.started-$name"
    echo "== $name: $seconds s from its seeds ($(date -u +%H:%M:%S) UTC)"
    run_target "$name" &
    pids[$name]=$!
    started[$name]=$SECONDS
  done
  # Wait a minute, or until a target ends while another waits to start or none is left running;
  # then report each running target's progress.
  for _ in $(seq 60); do
    for name in "${!pids[@]}"; do
      if ! kill -0 "${pids[$name]}" 2>/dev/null; then finish "$name"; fi
    done
    if [ ${#pids[@]} -eq 0 ] || { [ $next -lt ${#targets[@]} ] && [ ${#pids[@]} -lt "$jobs" ]; }; then break; fi
    sleep 1
  done
  for name in "${!pids[@]}"; do
    echo "   $name, $((SECONDS - started[$name])) s: $(progress "$name")"
  done
done
rm -f "$findings"/.started-*
exit $status
