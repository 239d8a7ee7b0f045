// AVX-512 batch kernels: sixteen boxes or points per step, comparisons into mask registers.
// Compiled with -mavx512f and called only after the processor has been seen to support
// AVX-512F; see the kernel header for why this file includes no library header.

#define VO_FRUSTUM_BATCH_KERNELS
#include "geFrustumBatchKernel.h"

#include <immintrin.h>

#include "geFrustumBatchSse2Lanes.h"

namespace Vo {
namespace FrustumBatch {
namespace {

// Sixteen lanes: the four 128-bit quarters hold elements 0-3, 4-7, 8-11 and 12-15.
struct Avx512Lanes {
  using F = __m512;
  using M = __mmask16;
  static constexpr std::size_t width = 16;
  static F set1(float v) { return _mm512_set1_ps(v); }
  static M none() { return 0; }
  static F add(F a, F b) { return _mm512_add_ps(a, b); }
  static F mul(F a, F b) { return _mm512_mul_ps(a, b); }
  static M less(F a, F b) { return _mm512_cmp_ps_mask(a, b, _CMP_LT_OQ); }
  static M bitOr(M a, M b) { return static_cast<M>(a | b); }
  static M bitAnd(M a, M b) { return static_cast<M>(a & b); }
  // The same 16 bytes of each group of four boxes side by side in the four 128-bit quarters,
  // then the in-lane shuffles of the four-box transpose serve all quarters at once: the AVX2
  // steps at twice the width, written out again because each width has its own intrinsics.
  static void loadBoxes(const float* b, F bounds[6]) {
    __m512d l[6];
    for (int k = 0; k < 6; ++k) {
      __m512 joined = _mm512_castps128_ps512(_mm_loadu_ps(b + 4 * k));
      joined = _mm512_insertf32x4(joined, _mm_loadu_ps(b + 24 + 4 * k), 1);
      joined = _mm512_insertf32x4(joined, _mm_loadu_ps(b + 48 + 4 * k), 2);
      joined = _mm512_insertf32x4(joined, _mm_loadu_ps(b + 72 + 4 * k), 3);
      l[k] = _mm512_castps_pd(joined);
    }
    const __m512 x01 = _mm512_castpd_ps(_mm512_shuffle_pd(l[0], l[1], 0xAA));
    const __m512 x23 = _mm512_castpd_ps(_mm512_shuffle_pd(l[3], l[4], 0xAA));
    const __m512 y01 = _mm512_castpd_ps(_mm512_shuffle_pd(l[0], l[2], 0x55));
    const __m512 y23 = _mm512_castpd_ps(_mm512_shuffle_pd(l[3], l[5], 0x55));
    const __m512 z01 = _mm512_castpd_ps(_mm512_shuffle_pd(l[1], l[2], 0xAA));
    const __m512 z23 = _mm512_castpd_ps(_mm512_shuffle_pd(l[4], l[5], 0xAA));
    bounds[0] = _mm512_shuffle_ps(x01, x23, _MM_SHUFFLE(2, 0, 2, 0));
    bounds[1] = _mm512_shuffle_ps(x01, x23, _MM_SHUFFLE(3, 1, 3, 1));
    bounds[2] = _mm512_shuffle_ps(y01, y23, _MM_SHUFFLE(2, 0, 2, 0));
    bounds[3] = _mm512_shuffle_ps(y01, y23, _MM_SHUFFLE(3, 1, 3, 1));
    bounds[4] = _mm512_shuffle_ps(z01, z23, _MM_SHUFFLE(2, 0, 2, 0));
    bounds[5] = _mm512_shuffle_ps(z01, z23, _MM_SHUFFLE(3, 1, 3, 1));
  }
  static void loadPoints(const float* p, F c[3]) {
    __m128 q[4][3];
    for (int k = 0; k < 4; ++k) Sse2Lanes::loadPoints(p + 12 * k, q[k]);
    for (int a = 0; a < 3; ++a) {
      __m512 joined = _mm512_castps128_ps512(q[0][a]);
      joined = _mm512_insertf32x4(joined, q[1][a], 1);
      joined = _mm512_insertf32x4(joined, q[2][a], 2);
      c[a] = _mm512_insertf32x4(joined, q[3][a], 3);
    }
  }
  // 1 outside, 3 crossing, 2 otherwise.
  static void storeCodes(void* out, M crossing, M outside) {
    __m512i code = _mm512_mask_mov_epi32(_mm512_set1_epi32(2), crossing, _mm512_set1_epi32(3));
    code = _mm512_mask_mov_epi32(code, outside, _mm512_set1_epi32(1));
    _mm512_storeu_si512(out, code);
  }
};
}  // namespace

const Kernels avx512Kernels{classifyBoxes<Avx512Lanes>, classifyPoints<Avx512Lanes>};

}  // namespace FrustumBatch
}  // namespace Vo
