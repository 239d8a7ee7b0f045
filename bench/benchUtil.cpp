#include "benchUtil.h"

#include <algorithm>
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
  return benchmark::RegisterBenchmark((std::string(operation) + "/" + impl).c_str(), fn);
}

}  // namespace VoBench
