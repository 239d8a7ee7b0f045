#!/usr/bin/env bash
# Builds the benchmark executable (Release, default compiler flags, no -march=native), runs it
# and compares this library with the fastest peer library for every operation.
#
# Convention for benchmarks (any bench/<family>Bench.cpp added to voBench takes part):
#   every benchmark is named "<operation>/<impl>", registered with VO_BENCH(operation, impl, fn)
#   from bench/benchUtil.h; <impl> is "vo" for this library and "imath", "glm" or "eigen" for a
#   peer. Operations with a "vo" entry and at least one peer get a RATIO line; operations
#   without a peer (such as the "step_..." parts of an algorithm) only appear in the table.
#
#
# Floors: a "vo" benchmark may report the floor of its operation, the least time the prescribed
# arithmetic can take on this machine, by calling VoBench::setFloor(state, cycles) from
# bench/benchUtil.h after its loop. The cycles come from a counted model written in a comment
# next to the call (the model is described in benchUtil.h); setFloor turns them into the
# benchmark counter "floor_ns" with the measured cycle time, and this script prints it.
#
# Peers: all three (Imath, GLM, Eigen) must be in the build, or the script stops naming the
# missing ones (bench/CMakeLists.txt adds each peer that find_package finds, silently). With
# VO_BENCH_ALLOW_MISSING_PEERS=1 it runs anyway and repeats the warning after the results.
#
# Output: a table of every implementation's time, then one line per operation:
#   RATIO <operation> <our ns> <fastest peer> <peer ns> <our ns / peer ns> <floor ns or ->
# Times are CPU ns per operation, the minimum over the repetitions (the least disturbed run on
# a shared machine). Environment: VO_BENCH_BUILD_DIR (default build-bench in the source root),
# VO_BENCH_FILTER (a benchmark regex, default all), VO_BENCH_REPETITIONS (default 5),
# VO_BENCH_ALLOW_MISSING_PEERS (default 0).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${VO_BENCH_BUILD_DIR:-$root/build-bench}
filter=${VO_BENCH_FILTER:-.}
repetitions=${VO_BENCH_REPETITIONS:-5}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVO_BUILD_BENCH=ON \
  -DVO_BUILD_TESTS=OFF -DVO_BUILD_EXAMPLES=OFF >/dev/null
cmake --build "$build" -j2 --target voBench >/dev/null

# The peers compiled in, read from the registered benchmark names.
missing=()
listed=$("$build/bench/voBench" --benchmark_list_tests=true)
for peer in imath glm eigen; do
  grep -q "/$peer\$" <<<"$listed" || missing+=("$peer")
done
if [ ${#missing[@]} -gt 0 ]; then
  message="missing benchmark peers: ${missing[*]} (install their development packages and"
  message="$message reconfigure $build)"
  if [ "${VO_BENCH_ALLOW_MISSING_PEERS:-0}" != 1 ]; then
    echo "compare.sh: $message; set VO_BENCH_ALLOW_MISSING_PEERS=1 to compare without them" >&2
    exit 1
  fi
  echo "WARNING: $message; the ratios compare with the remaining peers only" >&2
fi

csv=$(mktemp)
trap 'rm -f "$csv" "$csv.out"' EXIT
"$build/bench/voBench" --benchmark_filter="$filter" --benchmark_min_time=0.05 \
  --benchmark_repetitions="$repetitions" --benchmark_enable_random_interleaving=true \
  --benchmark_out="$csv" --benchmark_out_format=csv >/dev/null 2>&1

awk -F, '
  function ns(t, unit) {
    if (unit == "us") return t * 1000
    if (unit == "ms") return t * 1000000
    if (unit == "s") return t * 1000000000
    return t
  }
  /^name,/ {
    for (f = 1; f <= NF; ++f) { h = $f; gsub(/"/, "", h); if (h == "floor_ns") floorCol = f }
    next
  }
  /^"/ {
    name = $1; gsub(/"/, "", name)
    n = split(name, part, "/")
    if (n != 2 || part[2] !~ /^[a-z]+$/) next   # skips the _mean, _median, ... aggregates
    op = part[1]; impl = part[2]; t = ns($4, $5)
    if (!(op in seen)) { seen[op] = 1; order[++ops] = op }
    if (!((op, impl) in best) || t < best[op, impl]) best[op, impl] = t
    if (floorCol && impl == "vo" && $floorCol + 0 > 0) floor[op] = $floorCol
    if (!((op, impl) in known)) { known[op, impl] = 1; impls[op] = impls[op] " " impl }
  }
  END {
    for (k = 1; k <= ops; ++k) {
      op = order[k]; line = sprintf("%-20s", op)
      if ((op, "vo") in best) line = line sprintf("  vo %.2f", best[op, "vo"])
      m = split(impls[op], list, " ")
      for (i = 1; i <= m; ++i)
        if (list[i] != "vo") line = line sprintf("  %s %.2f", list[i], best[op, list[i]])
      print line
    }
    for (k = 1; k <= ops; ++k) {
      op = order[k]
      if (!((op, "vo") in best)) continue
      peer = ""; m = split(impls[op], list, " ")
      for (i = 1; i <= m; ++i)
        if (list[i] != "vo" && (peer == "" || best[op, list[i]] < best[op, peer])) peer = list[i]
      if (peer == "") continue
      printf "RATIO %s %.2f %s %.2f %.2f %s\n", op, best[op, "vo"], peer, best[op, peer],
             best[op, "vo"] / best[op, peer], (op in floor) ? sprintf("%.2f", floor[op]) : "-"
    }
  }' "$csv" >"$csv.out"
# The table first, then the RATIO lines, each sorted by operation.
grep -v '^RATIO ' "$csv.out" | sort
grep '^RATIO ' "$csv.out" | sort -k2,2
rm -f "$csv.out"
if [ ${#missing[@]} -gt 0 ]; then
  echo "WARNING: these ratios were measured WITHOUT the missing peers: ${missing[*]}"
fi
