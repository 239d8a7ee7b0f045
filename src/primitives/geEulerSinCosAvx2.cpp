// AVX2 sines and cosines of three angles, with fused multiply-adds. Compiled with -mavx2 -mfma and
// called only after the processor has been seen to support both; see the kernel header for the
// rounding argument (which holds for any evaluation as accurate as this one: the fused forms
// round less often) and why this file includes no library header.

#include "geEulerSinCosKernel.h"

#if defined(__AVX2__) && defined(__FMA__) && !defined(VO_NO_SIMD)
#include <immintrin.h>

namespace Vo {
namespace EulerSinCos {

namespace {

// π/2 in two parts, the second the rest of the first: k times the first, subtracted from the
// angle with one rounding by a fused multiply-add, then the same with the second, leaves r
// within a unit of its last place (about 2^-37 for the closest covered floats to a multiple of
// π/2) plus k·2^-107.
constexpr double halfPi1 = 1.5707963267948966;
constexpr double halfPi2 = 6.123233995736766e-17;
constexpr double twoOverPi = 0.6366197723675814;

// Minimax coefficients of sin r = r + r³·S(r²) and cos r = 1 − r²/2 + r⁴·C(r²) on |r| <= π/4
// (relative error below 2^-58 for the sine and about 2^-56 for the cosine, far below the margin).
constexpr double s1 = -1.66666666666666324348e-01, s2 = 8.33333333332248946124e-03,
                 s3 = -1.98412698298579493134e-04, s4 = 2.75573137070700676789e-06,
                 s5 = -2.50507602534068634195e-08, s6 = 1.58969099521155010221e-10;
constexpr double c1 = 4.16666666666666019037e-02, c2 = -1.38888888888741095749e-03,
                 c3 = 2.48015872894767294178e-05, c4 = -2.75573143513906633035e-07,
                 c5 = 2.08757232129817482790e-09, c6 = -1.13596475577881948265e-11;

// A double that rounds to a float lies between two float rounding midpoints; in the bits of a
// double these sit where the low 29 bits of the significand are 2^28. A lane is answered when
// moving its value by `margin` double units either way crosses no midpoint. The polynomial and
// the reduction stay within about 2^-50 of the exact value (2^2 units) and the system functions
// within one unit, so 2^13 units (about 2^-40 of the value) leave ample room, and a lane is
// refused only within 2^-16 float units of a midpoint.
constexpr long long margin = 1LL << 13;

// Degree-5 polynomial in z by Estrin's scheme, shorter in latency than Horner's.
inline __m256d poly(__m256d z, __m256d z2, __m256d z4, double a1, double a2, double a3, double a4,
                    double a5, double a6) {
  const __m256d p01 = _mm256_fmadd_pd(_mm256_set1_pd(a2), z, _mm256_set1_pd(a1));
  const __m256d p23 = _mm256_fmadd_pd(_mm256_set1_pd(a4), z, _mm256_set1_pd(a3));
  const __m256d p45 = _mm256_fmadd_pd(_mm256_set1_pd(a6), z, _mm256_set1_pd(a5));
  return _mm256_fmadd_pd(z4, p45, _mm256_fmadd_pd(z2, p23, p01));
}

// All ones in the lanes whose value rounds to the same float as everything within the margin.
// The values are at most 1 in magnitude, so no carry reaches the sign.
inline __m256i safelyRounded(__m256d v) {
  const __m256i bits = _mm256_castpd_si256(v);
  const __m256i up = _mm256_add_epi64(bits, _mm256_set1_epi64x((1LL << 28) + margin));
  const __m256i down = _mm256_add_epi64(bits, _mm256_set1_epi64x((1LL << 28) - margin));
  return _mm256_cmpeq_epi64(_mm256_srli_epi64(up, 29), _mm256_srli_epi64(down, 29));
}

}  // namespace

unsigned sinCosAvx2(float a, float b, float c, float* sines, float* cosines) noexcept {
  const __m256d t = _mm256_cvtps_pd(_mm_setr_ps(a, b, c, 0.0f));
  // Ordered comparison: NaN is refused with the infinities and the large angles.
  const __m256d absMask = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7fffffffffffffffLL));
  const __m256d inRange = _mm256_cmp_pd(_mm256_and_pd(t, absMask),
                                        _mm256_set1_pd(double(coveredMagnitude)), _CMP_LE_OQ);

  // r = t − k·π/2 with k the nearest integer to t·2/π, so |r| <= π/4 (slightly more where t·2/π
  // rounds across a half, well inside the polynomials' accuracy).
  const __m256d k = _mm256_round_pd(_mm256_mul_pd(t, _mm256_set1_pd(twoOverPi)),
                                    _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
  __m256d r = _mm256_fnmadd_pd(k, _mm256_set1_pd(halfPi1), t);
  r = _mm256_fnmadd_pd(k, _mm256_set1_pd(halfPi2), r);

  const __m256d z = _mm256_mul_pd(r, r);
  const __m256d z2 = _mm256_mul_pd(z, z);
  const __m256d z4 = _mm256_mul_pd(z2, z2);
  const __m256d sinR =
      _mm256_fmadd_pd(_mm256_mul_pd(z, r), poly(z, z2, z4, s1, s2, s3, s4, s5, s6), r);
  const __m256d cosR =
      _mm256_fmadd_pd(z2, poly(z, z2, z4, c1, c2, c3, c4, c5, c6),
                      _mm256_fnmadd_pd(z, _mm256_set1_pd(0.5), _mm256_set1_pd(1.0)));

  // Quadrant k mod 4: odd quadrants exchange sine and cosine; the sine is negated in quadrants 2
  // and 3, the cosine in 1 and 2. k + 1.5·2^52 lies in [2^52, 2^53), where the low bits of the
  // significand hold k in two's complement.
  const __m256i q = _mm256_castpd_si256(_mm256_add_pd(k, _mm256_set1_pd(6755399441055744.0)));
  const __m256d odd = _mm256_castsi256_pd(_mm256_slli_epi64(q, 63));
  const __m256i sinSign = _mm256_slli_epi64(_mm256_srli_epi64(q, 1), 63);
  const __m256i cosSign = _mm256_slli_epi64(_mm256_xor_si256(q, _mm256_srli_epi64(q, 1)), 63);
  // sin ±0 is the angle itself; the reduction and the polynomial would turn −0 into +0.
  const __m256d sine = _mm256_blendv_pd(
      _mm256_xor_pd(_mm256_blendv_pd(sinR, cosR, odd), _mm256_castsi256_pd(sinSign)), t,
      _mm256_cmp_pd(t, _mm256_setzero_pd(), _CMP_EQ_OQ));
  const __m256d cosine =
      _mm256_xor_pd(_mm256_blendv_pd(cosR, sinR, odd), _mm256_castsi256_pd(cosSign));

  _mm_storeu_ps(sines, _mm256_cvtpd_ps(sine));
  _mm_storeu_ps(cosines, _mm256_cvtpd_ps(cosine));
  const __m256i safe = _mm256_and_si256(
      _mm256_and_si256(safelyRounded(sine), safelyRounded(cosine)), _mm256_castpd_si256(inRange));
  return ~static_cast<unsigned>(_mm256_movemask_pd(_mm256_castsi256_pd(safe))) & 7u;
}

}  // namespace EulerSinCos
}  // namespace Vo

#else

namespace Vo {
namespace EulerSinCos {

// Never called where AVX2 and FMA are not compiled in; every lane is left to the caller.
unsigned sinCosAvx2(float, float, float, float*, float*) noexcept { return 7u; }

}  // namespace EulerSinCos
}  // namespace Vo

#endif
