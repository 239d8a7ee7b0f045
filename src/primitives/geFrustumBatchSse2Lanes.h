#pragma once

// Four float lanes in an SSE register, with the transposes that turn four consecutive boxes (or
// points) into one register per bound (or coordinate). Internal linkage only: this header is
// included by the SSE2 and the AVX2 kernel translation units, each compiled for its own
// instruction set.
//
// Every lane set (this one, AVX2, AVX-512) spells out the same short list of operations in its
// own intrinsics: each must sit in the file compiled for its instruction set, while the
// classification itself is written once, over any lane set, in the kernel header.

#include <emmintrin.h>

#include <cstddef>

namespace Vo {
namespace FrustumBatch {
namespace {

struct Sse2Lanes {
  using F = __m128;
  using M = __m128;
  static constexpr std::size_t width = 4;

  static F set1(float v) { return _mm_set1_ps(v); }
  static M none() { return _mm_setzero_ps(); }
  static F add(F a, F b) { return _mm_add_ps(a, b); }
  static F mul(F a, F b) { return _mm_mul_ps(a, b); }
  static F less(F a, F b) { return _mm_cmplt_ps(a, b); }
  static F bitOr(F a, F b) { return _mm_or_ps(a, b); }
  static F bitAnd(F a, F b) { return _mm_and_ps(a, b); }

  // Four boxes are twelve (min, max) pairs, box k's axis a at pair 3k + a. Pairs move as
  // doubles, then the even and odd floats of two pair registers give the minima and maxima.
  static void loadBoxes(const float* b, F bounds[6]) {
    const __m128d l0 = _mm_castps_pd(_mm_loadu_ps(b));       // x0 y0
    const __m128d l1 = _mm_castps_pd(_mm_loadu_ps(b + 4));   // z0 x1
    const __m128d l2 = _mm_castps_pd(_mm_loadu_ps(b + 8));   // y1 z1
    const __m128d l3 = _mm_castps_pd(_mm_loadu_ps(b + 12));  // x2 y2
    const __m128d l4 = _mm_castps_pd(_mm_loadu_ps(b + 16));  // z2 x3
    const __m128d l5 = _mm_castps_pd(_mm_loadu_ps(b + 20));  // y3 z3
    const __m128 x01 = _mm_castpd_ps(_mm_shuffle_pd(l0, l1, 2));
    const __m128 x23 = _mm_castpd_ps(_mm_shuffle_pd(l3, l4, 2));
    const __m128 y01 = _mm_castpd_ps(_mm_shuffle_pd(l0, l2, 1));
    const __m128 y23 = _mm_castpd_ps(_mm_shuffle_pd(l3, l5, 1));
    const __m128 z01 = _mm_castpd_ps(_mm_shuffle_pd(l1, l2, 2));
    const __m128 z23 = _mm_castpd_ps(_mm_shuffle_pd(l4, l5, 2));
    bounds[0] = _mm_shuffle_ps(x01, x23, _MM_SHUFFLE(2, 0, 2, 0));
    bounds[1] = _mm_shuffle_ps(x01, x23, _MM_SHUFFLE(3, 1, 3, 1));
    bounds[2] = _mm_shuffle_ps(y01, y23, _MM_SHUFFLE(2, 0, 2, 0));
    bounds[3] = _mm_shuffle_ps(y01, y23, _MM_SHUFFLE(3, 1, 3, 1));
    bounds[4] = _mm_shuffle_ps(z01, z23, _MM_SHUFFLE(2, 0, 2, 0));
    bounds[5] = _mm_shuffle_ps(z01, z23, _MM_SHUFFLE(3, 1, 3, 1));
  }

  // Four points a = x0 y0 z0 x1, b = y1 z1 x2 y2, e = z2 x3 y3 z3: each coordinate gathers its
  // two entries of the first half and its two of the second half, then interleaves them.
  static void loadPoints(const float* p, F c[3]) {
    const __m128 a = _mm_loadu_ps(p);
    const __m128 b = _mm_loadu_ps(p + 4);
    const __m128 e = _mm_loadu_ps(p + 8);
    const __m128 x0x1 = _mm_shuffle_ps(a, a, _MM_SHUFFLE(3, 3, 0, 0));
    const __m128 x2x3 = _mm_shuffle_ps(b, e, _MM_SHUFFLE(1, 1, 2, 2));
    const __m128 y0y1 = _mm_shuffle_ps(a, b, _MM_SHUFFLE(0, 0, 1, 1));
    const __m128 y2y3 = _mm_shuffle_ps(b, e, _MM_SHUFFLE(2, 2, 3, 3));
    const __m128 z0z1 = _mm_shuffle_ps(a, b, _MM_SHUFFLE(1, 1, 2, 2));
    const __m128 z2z3 = _mm_shuffle_ps(e, e, _MM_SHUFFLE(3, 3, 0, 0));
    c[0] = _mm_shuffle_ps(x0x1, x2x3, _MM_SHUFFLE(2, 0, 2, 0));
    c[1] = _mm_shuffle_ps(y0y1, y2y3, _MM_SHUFFLE(2, 0, 2, 0));
    c[2] = _mm_shuffle_ps(z0z1, z2z3, _MM_SHUFFLE(2, 0, 2, 0));
  }

  // 1 outside, 3 crossing, 2 otherwise, as 32-bit integers.
  static void storeCodes(void* out, F crossing, F outside) {
    const __m128i code = _mm_sub_epi32(_mm_set1_epi32(2), _mm_castps_si128(crossing));
    const __m128i o = _mm_castps_si128(outside);
    _mm_storeu_si128(static_cast<__m128i*>(out),
                     _mm_or_si128(_mm_andnot_si128(o, code), _mm_and_si128(o, _mm_set1_epi32(1))));
  }
};

}  // namespace
}  // namespace FrustumBatch
}  // namespace Vo
