#pragma once

// Shared pieces of the benchmark executable.
//
// Naming convention: every benchmark is registered as "<operation>/<impl>", where <impl> is
// "vo" for this library and "imath", "glm" or "eigen" for a peer. compare.sh groups the
// benchmarks by <operation> and compares "vo" with the fastest peer. Operation names say the
// element type: "mat4f_mul", "mat3d_inverse", ...
//
// Every benchmark runs over pre-generated inputs: one operation per iteration, the inputs
// cycling through a batch, each result stored, so that nothing can be hoisted out of the loop
// and every implementation sees the same values.
//
// Each benchmark file has a section per implementation that repeats the same list of operations
// through that implementation's own types, input converters and registrations. The sections are
// written out in each peer's idiomatic use, so that what is timed for a peer is what its users
// would write; only the loops and the inputs are shared, from here.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <random>
#include <vector>

namespace VoBench {

// Inputs per batch: a power of two, small enough to stay in the first cache levels.
constexpr std::size_t batchSize = 256;

// Fixed-seed random numbers in [-1, 1].
std::vector<double> randomValues(std::size_t count, unsigned seed);

// `batchSize` random n x n matrices in column-major order, well conditioned: diagonally
// dominant matrices whose rows are then shuffled, so that an inverse with partial pivoting
// exchanges rows in an unpredictable pattern. Element (r, c) of matrix k is
// values[k * n * n + c * n + r].
std::vector<double> wellConditioned(int n, unsigned seed);

// Registers `fn` as "<operation>/<impl>".
benchmark::internal::Benchmark* add(const char* operation, const char* impl,
                                    void (*fn)(benchmark::State&));

// A batch of inputs: make(0), make(1), ... make(batchSize - 1).
template <class Out, class Make>
std::vector<Out> each(Make make) {
  std::vector<Out> out;
  out.reserve(batchSize);
  for (std::size_t k = 0; k < batchSize; ++k) out.push_back(make(k));
  return out;
}

// Runs `op(in[i])` per iteration, storing the result in out[i].
template <class In, class Out, class Op>
void runUnary(benchmark::State& state, const std::vector<In>& in, std::vector<Out>& out, Op op) {
  std::size_t i = 0;
  for (auto _ : state) {
    out[i] = op(in[i]);
    benchmark::ClobberMemory();
    i = (i + 1) & (batchSize - 1);
  }
}

// Runs `op(a[i], b[i])` per iteration, storing the result in out[i].
template <class A, class B, class Out, class Op>
void runBinary(benchmark::State& state, const std::vector<A>& a, const std::vector<B>& b,
               std::vector<Out>& out, Op op) {
  std::size_t i = 0;
  for (auto _ : state) {
    out[i] = op(a[i], b[i]);
    benchmark::ClobberMemory();
    i = (i + 1) & (batchSize - 1);
  }
}

// Floors. A benchmark of this library may report a floor: the time below which no code doing
// the prescribed arithmetic could run here. Each floor is counted in a comment next to its
// benchmark, in cycles, with one throughput model: three floating-point or vector operations
// (add, subtract, multiply, fused multiply-add, compare, min, max, conversion, bit mask, blend)
// issue per cycle, as on this machine's three vector ports, a packed operation counting as one;
// a division or square root holds the divider for 3 cycles in float and 4 in double and so
// bounds the rate on its own; loads, stores, shuffles and branches are free. The benchmark loops
// run independent calls back to back, so the throughput bound, not the latency of one call, is the
// floor. setFloor converts the count with the measured cycle time into the "floor_ns" counter,
// which compare.sh prints.
void setFloor(benchmark::State& state, double cycles);

// The duration of one processor cycle in ns, measured once with a chain of dependent integer
// additions (one cycle each); 0 where that cannot be measured (no floors are reported then).
double nanosecondsPerCycle();

}  // namespace VoBench

// VO_BENCH(operation, impl, function): registers function under "<operation>/<impl>".
#define VO_BENCH_CAT2(a, b) a##b
#define VO_BENCH_CAT(a, b) VO_BENCH_CAT2(a, b)
#define VO_BENCH(operation, impl, function)                                  \
  static benchmark::internal::Benchmark* VO_BENCH_CAT(voBenchAt, __LINE__) = \
      ::VoBench::add(operation, impl, function)
