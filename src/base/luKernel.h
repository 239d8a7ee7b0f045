#pragma once

// The LU machinery shared by matrix3x3Imp (n = 3) and matrix4x4Imp (n = 4): Crout's
// decomposition with partial pivoting on implicitly scaled rows, the solve and the inverse.
//
// Exactness: every element of the factors and of the inverse goes through exactly the
// operations of the column-by-column (Crout) formulation, in the same order:
// - the elimination is organised row-wise (each finished pivot row is subtracted from the rows
//   below it right away), which applies to every element the same products in the same
//   increasing k order as the column-wise formulation, only earlier;
// - row exchanges and pivot choices are made with masks instead of branches and indexed
//   stores: random pivot patterns would otherwise cost mispredictions and store-to-load
//   conflicts, which dominate a 4x4 inverse;
// - the n right-hand sides of the inverse (the unit vectors) are solved side by side, one SIMD
//   lane each. The row exchanges of the solve only permute entries not yet reached, so they are
//   applied up front: each lane starts from the permuted unit vector that the decomposition
//   carried along with the rows. Lanes that must skip a term get +0 subtracted instead
//   (x − (+0) is x for every x, −0 included), so each lane computes exactly what a solve of its
//   own column computes.
// Rows live in four-lane vectors (lane c = column c); lanes n and above are zero.

#include <vezODedizezivuz/geScalar.h>
#include <zevIRudez/FloatUtil.h>

#include <emmintrin.h>

#include <cstdint>

#if defined(__GNUC__)
#define VO_LU_INLINE inline __attribute__((always_inline))
#define VO_LU_UNROLL _Pragma("GCC unroll 4")
#else
#define VO_LU_INLINE inline
#define VO_LU_UNROLL
#endif

namespace Vo {
namespace MatrixImp {

// Four lanes of T with the few operations the kernel needs. Masks are vectors whose lanes are
// all ones (selected) or all zeros.
template <class T>
struct Lanes;

template <>
struct Lanes<float> {
  using V = __m128;
  static VO_LU_INLINE V set(float a, float b, float c, float d) noexcept {
    return _mm_set_ps(d, c, b, a);
  }
  static VO_LU_INLINE V set1(float x) noexcept { return _mm_set1_ps(x); }
  static VO_LU_INLINE V zero() noexcept { return _mm_setzero_ps(); }
  static VO_LU_INLINE float lane(V v, int i) noexcept { return v[i]; }
  static VO_LU_INLINE V broadcast(V v, int i) noexcept { return _mm_set1_ps(v[i]); }
  static VO_LU_INLINE V sub(V a, V b) noexcept { return _mm_sub_ps(a, b); }
  static VO_LU_INLINE V mul(V a, V b) noexcept { return _mm_mul_ps(a, b); }
  static VO_LU_INLINE V div(V a, V b) noexcept { return _mm_div_ps(a, b); }
  static VO_LU_INLINE V bitAnd(V a, V b) noexcept { return _mm_and_ps(a, b); }
  static VO_LU_INLINE V bitOr(V a, V b) noexcept { return _mm_or_ps(a, b); }
  static VO_LU_INLINE V notMask(V a) noexcept {
    return _mm_xor_ps(a, _mm_castsi128_ps(_mm_set1_epi32(-1)));
  }
  // b where mask is clear, a where it is set.
  static VO_LU_INLINE V select(V mask, V a, V b) noexcept {
    return _mm_or_ps(_mm_and_ps(mask, a), _mm_andnot_ps(mask, b));
  }
  static VO_LU_INLINE V notEqualZero(V a) noexcept { return _mm_cmpneq_ps(a, _mm_setzero_ps()); }
  static VO_LU_INLINE V greaterOrEqual(V a, V b) noexcept { return _mm_cmpge_ps(a, b); }
  static VO_LU_INLINE V abs(V a) noexcept {
    return _mm_and_ps(a, _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF)));
  }
  // The largest of the four lanes, in every lane.
  static VO_LU_INLINE V horizontalMax(V a) noexcept {
    const V m = _mm_max_ps(a, _mm_shuffle_ps(a, a, _MM_SHUFFLE(1, 0, 3, 2)));
    return _mm_max_ps(m, _mm_shuffle_ps(m, m, _MM_SHUFFLE(2, 3, 0, 1)));
  }
  // GeScalar<float>::isNegligible lane by lane: FloatUtil::isEqual(x, 0), |x| <= 1e-6f.
  static VO_LU_INLINE V negligible(V a) noexcept {
    return _mm_cmple_ps(abs(a), _mm_set1_ps(FloatUtil::defaultTolerance));
  }
  // Lane 0 of a mask.
  static VO_LU_INLINE bool first(V mask) noexcept { return _mm_movemask_ps(mask) & 1; }
  static VO_LU_INLINE bool any(V mask) noexcept { return _mm_movemask_ps(mask) != 0; }
  // Lane i selected when bit i of `bits` is set.
  static VO_LU_INLINE V mask(int bits) noexcept {
    return _mm_castsi128_ps(
        _mm_set_epi32(-((bits >> 3) & 1), -((bits >> 2) & 1), -((bits >> 1) & 1), -(bits & 1)));
  }
};

template <>
struct Lanes<double> {
  struct V {
    __m128d lo, hi;
  };
  static VO_LU_INLINE V set(double a, double b, double c, double d) noexcept {
    return {_mm_set_pd(b, a), _mm_set_pd(d, c)};
  }
  static VO_LU_INLINE V set1(double x) noexcept { return {_mm_set1_pd(x), _mm_set1_pd(x)}; }
  static VO_LU_INLINE V zero() noexcept { return {_mm_setzero_pd(), _mm_setzero_pd()}; }
  static VO_LU_INLINE double lane(V v, int i) noexcept { return i < 2 ? v.lo[i] : v.hi[i - 2]; }
  static VO_LU_INLINE V broadcast(V v, int i) noexcept { return set1(lane(v, i)); }
  static VO_LU_INLINE V sub(V a, V b) noexcept {
    return {_mm_sub_pd(a.lo, b.lo), _mm_sub_pd(a.hi, b.hi)};
  }
  static VO_LU_INLINE V mul(V a, V b) noexcept {
    return {_mm_mul_pd(a.lo, b.lo), _mm_mul_pd(a.hi, b.hi)};
  }
  static VO_LU_INLINE V div(V a, V b) noexcept {
    return {_mm_div_pd(a.lo, b.lo), _mm_div_pd(a.hi, b.hi)};
  }
  static VO_LU_INLINE V bitAnd(V a, V b) noexcept {
    return {_mm_and_pd(a.lo, b.lo), _mm_and_pd(a.hi, b.hi)};
  }
  static VO_LU_INLINE V bitOr(V a, V b) noexcept {
    return {_mm_or_pd(a.lo, b.lo), _mm_or_pd(a.hi, b.hi)};
  }
  static VO_LU_INLINE V notMask(V a) noexcept {
    const __m128d ones = _mm_castsi128_pd(_mm_set1_epi32(-1));
    return {_mm_xor_pd(a.lo, ones), _mm_xor_pd(a.hi, ones)};
  }
  static VO_LU_INLINE V select(V mask, V a, V b) noexcept {
    return {_mm_or_pd(_mm_and_pd(mask.lo, a.lo), _mm_andnot_pd(mask.lo, b.lo)),
            _mm_or_pd(_mm_and_pd(mask.hi, a.hi), _mm_andnot_pd(mask.hi, b.hi))};
  }
  static VO_LU_INLINE V notEqualZero(V a) noexcept {
    return {_mm_cmpneq_pd(a.lo, _mm_setzero_pd()), _mm_cmpneq_pd(a.hi, _mm_setzero_pd())};
  }
  static VO_LU_INLINE V greaterOrEqual(V a, V b) noexcept {
    return {_mm_cmpge_pd(a.lo, b.lo), _mm_cmpge_pd(a.hi, b.hi)};
  }
  static VO_LU_INLINE V abs(V a) noexcept {
    const __m128d m = _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFF));
    return {_mm_and_pd(a.lo, m), _mm_and_pd(a.hi, m)};
  }
  static VO_LU_INLINE V horizontalMax(V a) noexcept {
    const __m128d m = _mm_max_pd(a.lo, a.hi);
    const __m128d h = _mm_max_pd(m, _mm_shuffle_pd(m, m, 1));
    return {h, h};
  }
  // GeScalar<double>::isNegligible lane by lane: |x| < 1e-7.
  static VO_LU_INLINE V negligible(V a) noexcept {
    const V b = abs(a);
    const __m128d t = _mm_set1_pd(1e-7);
    return {_mm_cmplt_pd(b.lo, t), _mm_cmplt_pd(b.hi, t)};
  }
  static VO_LU_INLINE bool first(V mask) noexcept { return _mm_movemask_pd(mask.lo) & 1; }
  static VO_LU_INLINE bool any(V mask) noexcept {
    return (_mm_movemask_pd(mask.lo) | _mm_movemask_pd(mask.hi)) != 0;
  }
  static VO_LU_INLINE V maskIf(bool b) noexcept {
    const __m128d m = _mm_castsi128_pd(_mm_set1_epi64x(-static_cast<std::int64_t>(b)));
    return {m, m};
  }
  static VO_LU_INLINE V mask(int bits) noexcept {
    const auto m = [](int b) { return b ? std::int64_t(-1) : std::int64_t(0); };
    return {_mm_castsi128_pd(_mm_set_epi64x(m(bits & 2), m(bits & 1))),
            _mm_castsi128_pd(_mm_set_epi64x(m(bits & 8), m(bits & 4)))};
  }
};

template <class T, int n>
class LuKernel {
 public:
  using L = Lanes<T>;
  using V = typename L::V;

  // The packed factors, row i in row[i] (unit lower triangle below the diagonal, upper triangle
  // on and above it), the pivot row chosen for each column, the parity of the exchanges, and
  // the rows of the identity exchanged like the matrix rows (the permuted right-hand sides).
  struct Decomposition {
    V row[n];
    V permuted[n];
    int index[n];
    T parity;

    T at(int r, int c) const noexcept { return L::lane(row[r], c); }
  };

  // Factors the rows in d.row (lanes n..3 zero). False when a row's largest magnitude or a
  // pivot is negligible, or when no pivot can be chosen (NaN elements).
  static VO_LU_INLINE bool decompose(Decomposition& d) noexcept {
    V* r = d.row;
    // scale[i]: 1 / (largest magnitude of row i), in every lane. (Zero lanes beyond n cannot
    // be the largest; NaN rows end up without a pivot whatever their scale.)
    V scale[n];
    V bad = L::zero();
    VO_LU_UNROLL
    for (int i = 0; i < n; ++i) {
      const V big = L::horizontalMax(L::abs(r[i]));
      bad = L::bitOr(bad, L::negligible(big));
      scale[i] = L::div(L::set1(T(1)), big);
    }
    if (L::any(bad)) return false;
    VO_LU_UNROLL
    for (int i = 0; i < n; ++i) d.permuted[i] = L::bitAnd(L::mask(1 << i), L::set1(T(1)));
    int exchanges = 0;
    VO_LU_UNROLL
    for (int j = 0; j < n; ++j) {
      // The pivot is the last row whose scaled magnitude is >= the largest before it (a tie
      // goes to the later row; NaN is never taken), all in masks: pivots of real matrices
      // come in patterns no branch predictor learns.
      V big = L::zero();
      V take[n];
      VO_LU_UNROLL
      for (int i = j; i < n; ++i) {
        const V candidate = L::mul(scale[i], L::abs(L::broadcast(r[i], j)));
        take[i] = L::greaterOrEqual(candidate, big);
        big = L::select(take[i], candidate, big);
      }
      V chosen[n];
      V takenLater = L::zero();
      VO_LU_UNROLL
      for (int i = n - 1; i >= j; --i) {
        chosen[i] = L::bitAnd(take[i], L::notMask(takenLater));
        takenLater = L::bitOr(takenLater, take[i]);
      }
      if (!L::any(takenLater)) return false;
      int pmax = j;
      VO_LU_UNROLL
      for (int i = j + 1; i < n; ++i) {
        pmax += (i - pmax) & -static_cast<int>(L::first(chosen[i]));
        // Rows j and pmax exchange places, with their scales and permuted unit vectors.
        const V rj = r[j], pj = d.permuted[j], sj = scale[j];
        r[j] = L::select(chosen[i], r[i], rj);
        d.permuted[j] = L::select(chosen[i], d.permuted[i], pj);
        r[i] = L::select(chosen[i], rj, r[i]);
        d.permuted[i] = L::select(chosen[i], pj, d.permuted[i]);
        scale[i] = L::select(chosen[i], sj, scale[i]);
      }
      exchanges += pmax != j;
      d.index[j] = pmax;
      const T pivot = L::lane(r[j], j);
      if (GeScalar<T>::isNegligible(pivot)) return false;
      if (j + 1 < n) {
        const V inv = L::set1(T(1) / pivot);
        const V later = L::mask(0xF & ~((2 << j) - 1));
        const V here = L::mask(1 << j);
        VO_LU_UNROLL
        for (int i = j + 1; i < n; ++i) {
          // LU(i, j) · (1 / LU(j, j)) in every lane.
          const V l = L::mul(L::broadcast(r[i], j), inv);
          const V updated = L::sub(r[i], L::bitAnd(L::mul(l, r[j]), later));
          r[i] = L::select(here, l, updated);
        }
      }
    }
    // 1 negated once per exchange.
    d.parity = T(1 - 2 * (exchanges & 1));
    return true;
  }

  // Solves for the n unit vectors at once: lane c of x[r] is element (r, c) of the inverse.
  static VO_LU_INLINE void invert(const Decomposition& d, V x[n]) noexcept {
    // started[k]: the lanes whose first non-zero entry came at or before row k; only those
    // subtract the term of row k (the solve skips the leading zeros of its right-hand side).
    V started[n];
    V any = L::zero();
    VO_LU_UNROLL
    for (int i = 0; i < n; ++i) {
      V s = d.permuted[i];
      VO_LU_UNROLL
      for (int k = 0; k < i; ++k) {
        s = L::sub(s, L::bitAnd(L::mul(L::broadcast(d.row[i], k), x[k]), started[k]));
      }
      any = L::bitOr(any, L::notEqualZero(s));
      started[i] = any;
      x[i] = s;
    }
    VO_LU_UNROLL
    for (int i = n - 1; i >= 0; --i) {
      V s = x[i];
      VO_LU_UNROLL
      for (int k = i + 1; k < n; ++k) s = L::sub(s, L::mul(L::broadcast(d.row[i], k), x[k]));
      x[i] = L::div(s, L::broadcast(d.row[i], i));
    }
  }

  // parity · LU(0, 0) · LU(1, 1) · …, multiplied in that order.
  static VO_LU_INLINE T determinant(const Decomposition& d) noexcept {
    T det = d.parity;
    VO_LU_UNROLL
    for (int i = 0; i < n; ++i) det = det * L::lane(d.row[i], i);
    return det;
  }
};

}  // namespace MatrixImp
}  // namespace Vo
