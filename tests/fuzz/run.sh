#!/usr/bin/env bash
# Builds the reader fuzzers with clang (AddressSanitizer + UndefinedBehaviorSanitizer + libFuzzer)
# and runs each for a bounded time from its seed corpus. New inputs go to a scratch folder, so
# the seeds in the repository stay as committed. Usage: tests/fuzz/run.sh [seconds per target]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-20}
build=build-fuzz

CXX=${FUZZ_CXX:-clang++} cmake -S . -B "$build" -DVO_BUILD_FUZZERS=ON -DVO_BUILD_TESTS=OFF \
  -DVO_BUILD_EXAMPLES=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2

total=0
for corpus in tests/fuzz/corpus/*/; do
  target=$(basename "$corpus")
  scratch=$(mktemp -d)
  log="$build/$target.log"
  if ! "$build/tests/fuzz/$target" "$scratch" "$corpus" -max_total_time="$seconds" \
       -print_final_stats=1 >"$log" 2>&1; then
    tail -40 "$log"
    echo "fuzzer $target failed"
    exit 1
  fi
  runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log")
  echo "fuzz $target: ${runs:-0} executions, no crash"
  total=$((total + ${runs:-0}))
  rm -rf "$scratch"
done
echo "fuzz total: $total executions, no crash"
