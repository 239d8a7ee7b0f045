#include "benchUtil.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>

namespace VoBench {

std::vector<double> randomValues(std::size_t count, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  std::vector<double> v(count);
  for (double& x : v) x = dist(rng);
  return v;
}

std::vector<double> wellConditioned(int n, unsigned seed) {
  std::vector<double> v = randomValues(batchSize * n * n, seed);
  std::mt19937 rng(seed + 1);
  std::vector<double> out(v.size());
  for (std::size_t k = 0; k < batchSize; ++k) {
    double* m = &v[k * n * n];
    for (int d = 0; d < n; ++d) m[d * n + d] += m[d * n + d] < 0 ? -2.0 * n : 2.0 * n;
    std::vector<int> rows(n);
    for (int r = 0; r < n; ++r) rows[r] = r;
    std::shuffle(rows.begin(), rows.end(), rng);
    for (int c = 0; c < n; ++c)
      for (int r = 0; r < n; ++r) out[k * n * n + c * n + rows[r]] = m[c * n + r];
  }
  return out;
}

benchmark::internal::Benchmark* add(const char* operation, const char* impl,
                                    void (*fn)(benchmark::State&)) {
  // Every run carries the floor counter, 0 where the benchmark sets none: the CSV reporter
  // fixes its columns with the first run and refuses counters that appear later.
  return benchmark::RegisterBenchmark((std::string(operation) + "/" + impl).c_str(),
                                      [fn](benchmark::State& state) {
                                        state.counters["floor_ns"] = 0;
                                        fn(state);
                                      });
}

double nanosecondsPerCycle() {
  static const double ns = [] {
#if defined(__x86_64__)
    // Eight dependent additions per loop turn; the loop's own counter runs beside them. The
    // least disturbed of several runs counts.
    constexpr std::uint64_t turns = 1u << 20;
    double best = 0;
    for (int run = 0; run < 7; ++run) {
      std::uint64_t x = 1;
      const auto start = std::chrono::steady_clock::now();
      for (std::uint64_t i = 0; i < turns; ++i) {
        // Register doublings: unlike additions of a constant, no renamer folds them away.
        asm volatile(
            "add %0, %0\n\tadd %0, %0\n\tadd %0, %0\n\tadd %0, %0\n\t"
            "add %0, %0\n\tadd %0, %0\n\tadd %0, %0\n\tadd %0, %0"
            : "+r"(x));
      }
      const std::chrono::duration<double, std::nano> t = std::chrono::steady_clock::now() - start;
      const double perAdd = t.count() / double(8 * turns);
      if (run == 0 || perAdd < best) best = perAdd;
    }
    return best;
#else
    return 0.0;
#endif
  }();
  return ns;
}

void setFloor(benchmark::State& state, double cycles) {
  const double ns = nanosecondsPerCycle();
  if (ns > 0) state.counters["floor_ns"] = cycles * ns;
}

}  // namespace VoBench
