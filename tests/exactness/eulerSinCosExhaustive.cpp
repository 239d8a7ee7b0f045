// Exhaustive proof that the AVX2 Euler sine and cosine kernel agrees with the system functions:
// for every one of the 2^32 float bit patterns, each lane the kernel answers must hold exactly
// the bits of the double sine and cosine rounded to float; the lanes it leaves to its caller get
// those same values from the caller. Too long for the default suite (about a minute per core);
// CI runs it. Exit status 0 when every answered lane matches (or the processor lacks AVX2).

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <vector>

#include "primitives/geEulerSinCosKernel.h"

namespace {

float fromBits(std::uint32_t u) { return __builtin_bit_cast(float, u); }
std::uint32_t bits(float f) { return __builtin_bit_cast(std::uint32_t, f); }

struct Tally {
  unsigned long long answered = 0, leftInRange = 0, mismatches = 0;  // as printf reads them
  void operator+=(const Tally& t) {
    answered += t.answered;
    leftInRange += t.leftInRange;
    mismatches += t.mismatches;
  }
};

// Patterns [begin, end), three per kernel call (the last call repeats the final pattern).
Tally check(std::uint64_t begin, std::uint64_t end) {
  Tally tally;
  for (std::uint64_t u = begin; u < end; u += 3) {
    float t[3], s[4], c[4];
    for (int n = 0; n < 3; ++n)
      t[n] = fromBits(static_cast<std::uint32_t>(u + n < end ? u + n : end - 1));
    const unsigned rest = Vo::EulerSinCos::sinCosAvx2(t[0], t[1], t[2], s, c);
    for (int n = 0; n < 3; ++n) {
      if ((rest >> n) & 1u) {
        if (std::fabs(t[n]) <= Vo::EulerSinCos::coveredMagnitude) ++tally.leftInRange;
        continue;
      }
      ++tally.answered;
      const float rs = static_cast<float>(std::sin(static_cast<double>(t[n])));
      const float rc = static_cast<float>(std::cos(static_cast<double>(t[n])));
      if (bits(s[n]) != bits(rs) || bits(c[n]) != bits(rc)) {
        if (++tally.mismatches <= 10) {
          std::printf("mismatch at %a (0x%08x): sin %a vs %a, cos %a vs %a\n", double(t[n]),
                      bits(t[n]), double(s[n]), double(rs), double(c[n]), double(rc));
        }
      }
    }
  }
  return tally;
}

}  // namespace

int main() {
  if (!__builtin_cpu_supports("avx2") || !__builtin_cpu_supports("fma")) {
    std::printf(
        "this processor lacks AVX2 or FMA: the kernel is never used here, nothing to check\n");
    return 0;
  }
  const std::uint64_t total = std::uint64_t(1) << 32, chunk = std::uint64_t(3) << 20;
  // Thread w takes chunks w, w + threads, ...: interleaved, the angles outside the covered range,
  // which cost almost nothing, fall evenly to every thread.
  const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  std::vector<Tally> tallies(threads);
  std::vector<std::thread> pool;
  for (unsigned w = 0; w < threads; ++w) {
    pool.emplace_back([&, w] {
      for (std::uint64_t begin = w * chunk; begin < total; begin += threads * chunk)
        tallies[w] += check(begin, std::min(total, begin + chunk));
    });
  }
  Tally sum;
  for (unsigned w = 0; w < threads; ++w) {
    pool[w].join();
    sum += tallies[w];
  }
  std::printf(
      "%llu lanes answered by the kernel, %llu in-range lanes left to the system, "
      "%llu mismatches\n",
      sum.answered, sum.leftInRange, sum.mismatches);
  return sum.mismatches == 0 ? 0 : 1;
}
