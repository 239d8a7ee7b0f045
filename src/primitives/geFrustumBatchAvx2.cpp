// AVX2 batch kernels: eight boxes or points per step. Compiled with -mavx2 and called only after
// the processor has been seen to support AVX2; see the kernel header for why this file includes
// no library header.

#define VO_FRUSTUM_BATCH_KERNELS
#include "geFrustumBatchKernel.h"

#include <immintrin.h>

#include "geFrustumBatchSse2Lanes.h"

namespace Vo {
namespace FrustumBatch {
namespace {

// Eight lanes: the low half holds elements 0 to 3, the high half 4 to 7, each half transposed as
// in the four-lane case.
struct Avx2Lanes {
  using F = __m256;
  using M = __m256;
  static constexpr std::size_t width = 8;

  static F set1(float v) { return _mm256_set1_ps(v); }
  static M none() { return _mm256_setzero_ps(); }
  static F add(F a, F b) { return _mm256_add_ps(a, b); }
  static F mul(F a, F b) { return _mm256_mul_ps(a, b); }
  static F less(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_LT_OQ); }
  static F bitOr(F a, F b) { return _mm256_or_ps(a, b); }
  static F bitAnd(F a, F b) { return _mm256_and_ps(a, b); }

  // Each 256-bit register joins the same 16 bytes of boxes 0-3 (low half) and of boxes 4-7 (high
  // half); the in-lane shuffles of the four-box transpose then serve both halves at once.
  static void loadBoxes(const float* b, F bounds[6]) {
    __m256d l[6];
    for (int k = 0; k < 6; ++k) {
      l[k] = _mm256_castps_pd(_mm256_insertf128_ps(_mm256_castps128_ps256(_mm_loadu_ps(b + 4 * k)),
                                                   _mm_loadu_ps(b + 24 + 4 * k), 1));
    }
    const __m256 x01 = _mm256_castpd_ps(_mm256_shuffle_pd(l[0], l[1], 0xA));
    const __m256 x23 = _mm256_castpd_ps(_mm256_shuffle_pd(l[3], l[4], 0xA));
    const __m256 y01 = _mm256_castpd_ps(_mm256_shuffle_pd(l[0], l[2], 0x5));
    const __m256 y23 = _mm256_castpd_ps(_mm256_shuffle_pd(l[3], l[5], 0x5));
    const __m256 z01 = _mm256_castpd_ps(_mm256_shuffle_pd(l[1], l[2], 0xA));
    const __m256 z23 = _mm256_castpd_ps(_mm256_shuffle_pd(l[4], l[5], 0xA));
    bounds[0] = _mm256_shuffle_ps(x01, x23, _MM_SHUFFLE(2, 0, 2, 0));
    bounds[1] = _mm256_shuffle_ps(x01, x23, _MM_SHUFFLE(3, 1, 3, 1));
    bounds[2] = _mm256_shuffle_ps(y01, y23, _MM_SHUFFLE(2, 0, 2, 0));
    bounds[3] = _mm256_shuffle_ps(y01, y23, _MM_SHUFFLE(3, 1, 3, 1));
    bounds[4] = _mm256_shuffle_ps(z01, z23, _MM_SHUFFLE(2, 0, 2, 0));
    bounds[5] = _mm256_shuffle_ps(z01, z23, _MM_SHUFFLE(3, 1, 3, 1));
  }

  static void loadPoints(const float* p, F c[3]) {
    __m128 low[3], high[3];
    Sse2Lanes::loadPoints(p, low);
    Sse2Lanes::loadPoints(p + 12, high);
    for (int k = 0; k < 3; ++k) c[k] = _mm256_set_m128(high[k], low[k]);
  }

  static void storeCodes(void* out, F crossing, F outside) {
    const __m256i code = _mm256_sub_epi32(_mm256_set1_epi32(2), _mm256_castps_si256(crossing));
    const __m256i o = _mm256_castps_si256(outside);
    _mm256_storeu_si256(
        static_cast<__m256i*>(out),
        _mm256_or_si256(_mm256_andnot_si256(o, code), _mm256_and_si256(o, _mm256_set1_epi32(1))));
  }
};

}  // namespace

const Kernels avx2Kernels{classifyBoxes<Avx2Lanes>, classifyPoints<Avx2Lanes>};

}  // namespace FrustumBatch
}  // namespace Vo
