#!/usr/bin/env bash
# Builds the reader fuzzers with clang (AddressSanitizer + UndefinedBehaviorSanitizer + libFuzzer)
# and runs each for a bounded time from its seed corpus, two at a time. New inputs go to scratch
# folders, so the seeds in the repository stay as committed.
# Usage: tests/fuzz/run.sh [seconds per target]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-20}
build=build-fuzz

CXX=${FUZZ_CXX:-clang++} cmake -S . -B "$build" -DVO_BUILD_FUZZERS=ON -DVO_BUILD_TESTS=OFF \
  -DVO_BUILD_EXAMPLES=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2

fuzz_one() {
  local target=$1 seconds=$2 build=$3
  local scratch log
  scratch=$(mktemp -d)
  log="$build/$target.log"
  if ! "$build/tests/fuzz/$target" "$scratch" "tests/fuzz/corpus/$target" \
       -max_total_time="$seconds" -print_final_stats=1 >"$log" 2>&1; then
    tail -40 "$log"
    echo "fuzzer $target failed"
    rm -rf "$scratch"
    return 1
  fi
  rm -rf "$scratch"
}
export -f fuzz_one

ls tests/fuzz/corpus | xargs -P2 -I{} bash -c 'fuzz_one "$@"' _ {} "$seconds" "$build"

total=0
for target in $(ls tests/fuzz/corpus); do
  runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$build/$target.log")
  echo "fuzz $target: ${runs:-0} executions, no crash"
  total=$((total + ${runs:-0}))
done
echo "fuzz total: $total executions, no crash"
