// The AVX2 LU path: every operation on the columns (a 4-double column in one register; the
// stored ones for the affine and 4x4 matrices, those of the row-by-row 3x3 matrix gathered once
// on loading), the float lanes in the three-operand encoding with blends. Compiled with -mavx2
// -mno-fma -ffp-contract=off and called only after the processor has been seen to support AVX2; it
// includes no library header (see luKernel.h).

#include "matrixLu.h"

#if defined(__AVX2__) && !defined(VO_NO_SIMD)
#include <immintrin.h>

#include "matrixLuTable.h"

#if defined(__FMA__)
#error "the LU kernels must not contract products and sums into fused multiply-adds"
#endif

namespace Vo {
namespace MatrixImp {
namespace {

struct Avx2Double {
  using Scalar = double;
  using V = __m256d;
  static VO_LU_INLINE V set(double a, double b, double c, double d) noexcept {
    return _mm256_set_pd(d, c, b, a);
  }
  static VO_LU_INLINE V set1(double x) noexcept { return _mm256_set1_pd(x); }
  static VO_LU_INLINE V zero() noexcept { return _mm256_setzero_pd(); }
  static VO_LU_INLINE double lane(V v, int i) noexcept { return v[i]; }
  static VO_LU_INLINE V broadcast(V v, int i) noexcept { return _mm256_set1_pd(v[i]); }
  static VO_LU_INLINE V sub(V a, V b) noexcept { return _mm256_sub_pd(a, b); }
  static VO_LU_INLINE V mul(V a, V b) noexcept { return _mm256_mul_pd(a, b); }
  static VO_LU_INLINE V add(V a, V b) noexcept { return _mm256_add_pd(a, b); }
  static VO_LU_INLINE V neg(V a) noexcept { return _mm256_xor_pd(a, _mm256_set1_pd(-0.0)); }
  static VO_LU_INLINE V div(V a, V b) noexcept { return _mm256_div_pd(a, b); }
  static VO_LU_INLINE V bitAnd(V a, V b) noexcept { return _mm256_and_pd(a, b); }
  static VO_LU_INLINE V bitOr(V a, V b) noexcept { return _mm256_or_pd(a, b); }
  static VO_LU_INLINE V unitMask(int i) noexcept {
    return _mm256_castsi256_pd(
        _mm256_cmpeq_epi64(_mm256_set1_epi64x(i), _mm256_set_epi64x(3, 2, 1, 0)));
  }
  static VO_LU_INLINE int lowMaskBits(V mask) noexcept { return _mm256_movemask_pd(mask); }
  static VO_LU_INLINE V select(V mask, V a, V b) noexcept { return _mm256_blendv_pd(b, a, mask); }
  static VO_LU_INLINE V max(V a, V b) noexcept { return _mm256_max_pd(a, b); }
  static VO_LU_INLINE V loadu(const double* p) noexcept { return _mm256_loadu_pd(p); }
  static VO_LU_INLINE void storeu(double* p, V v) noexcept { _mm256_storeu_pd(p, v); }
  // As 32 + 32 + 8 bytes; a caller's 16-byte loads each lie within one of them.
  static VO_LU_INLINE void store3x3(double* p, V a, V b, V c) noexcept {
    _mm256_storeu_pd(p, _mm256_blend_pd(a, _mm256_permute4x64_pd(b, _MM_SHUFFLE(0, 0, 0, 0)), 8));
    _mm256_storeu_pd(p + 4, _mm256_blend_pd(_mm256_permute4x64_pd(b, _MM_SHUFFLE(0, 0, 2, 1)),
                                            _mm256_permute4x64_pd(c, _MM_SHUFFLE(1, 0, 0, 0)), 12));
    _mm_store_sd(p + 8, _mm256_extractf128_pd(c, 1));
  }
  static VO_LU_INLINE V withLane3(V a, double x) noexcept {
    return _mm256_blend_pd(a, _mm256_set1_pd(x), 8);
  }
  static VO_LU_INLINE void transpose(V& a, V& b, V& c, V& d) noexcept {
    const V ab0 = _mm256_unpacklo_pd(a, b), ab1 = _mm256_unpackhi_pd(a, b);
    const V cd0 = _mm256_unpacklo_pd(c, d), cd1 = _mm256_unpackhi_pd(c, d);
    a = _mm256_permute2f128_pd(ab0, cd0, 0x20);
    b = _mm256_permute2f128_pd(ab1, cd1, 0x20);
    c = _mm256_permute2f128_pd(ab0, cd0, 0x31);
    d = _mm256_permute2f128_pd(ab1, cd1, 0x31);
  }
  static VO_LU_INLINE V abs(V a) noexcept {
    return _mm256_and_pd(a, _mm256_castsi256_pd(_mm256_set1_epi64x(0x7FFFFFFFFFFFFFFF)));
  }
  static VO_LU_INLINE V negligible(V a) noexcept {
    return _mm256_cmp_pd(abs(a), _mm256_set1_pd(negligibleDouble), _CMP_LT_OQ);
  }
  static VO_LU_INLINE V mask(int bits) noexcept {
    const auto m = [](int b) { return b ? std::int64_t(-1) : std::int64_t(0); };
    return _mm256_castsi256_pd(
        _mm256_set_epi64x(m(bits & 8), m(bits & 4), m(bits & 2), m(bits & 1)));
  }
  // Lane l of the result is lane (imm >> 2l) & 3 of v; lanes of b where mask is set, else of a.
  template <int imm>
  static VO_LU_INLINE V permute(V v) noexcept {
    return _mm256_permute4x64_pd(v, imm);
  }
  template <int mask>
  static VO_LU_INLINE V blend(V a, V b) noexcept {
    return _mm256_blend_pd(a, b, mask);
  }
  static VO_LU_INLINE double first(V v) noexcept { return _mm256_cvtsd_f64(v); }
  // The columns of a 3x3 matrix stored row by row, p[0..8], from 16-byte halves and two
  // unpacks; lane 3 holds another element of the matrix, never read past p[8].
  static VO_LU_INLINE void loadColumns3x3(const double* p, V& a, V& b, V& c) noexcept {
    const V r06 =
        _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(p)), _mm_loadu_pd(p + 6), 1);
    const V r37 =
        _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(p + 3)), _mm_loadu_pd(p + 7), 1);
    const __m128d last = _mm_loaddup_pd(p + 8);
    a = _mm256_unpacklo_pd(r06, r37);
    b = _mm256_unpackhi_pd(r06, r37);
    c = _mm256_unpacklo_pd(
        _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(p + 2)), last, 1),
        _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(p + 5)), last, 1));
  }
};

// The SSE2 float lanes with the shuffles of the column kernel, in the three-operand encoding.
struct Avx2Float : Sse2Float {
  template <int imm>
  static VO_LU_INLINE V permute(V v) noexcept {
    return _mm_shuffle_ps(v, v, imm);
  }
  template <int mask>
  static VO_LU_INLINE V blend(V a, V b) noexcept {
    return _mm_blend_ps(a, b, mask);
  }
  static VO_LU_INLINE float first(V v) noexcept { return _mm_cvtss_f32(v); }
  // The columns of a 3x3 matrix stored row by row, p[0..8]; lane 3 holds another element of the
  // matrix.
  static VO_LU_INLINE void loadColumns3x3(const float* p, V& a, V& b, V& c) noexcept {
    const V r0 = _mm_loadu_ps(p), r1 = _mm_loadu_ps(p + 3), r2 = _mm_loadu_ps(p + 5);
    const V lo = _mm_unpacklo_ps(r0, r1), hi = _mm_unpackhi_ps(r0, r1);
    a = _mm_shuffle_ps(lo, r2, _MM_SHUFFLE(1, 1, 1, 0));
    b = _mm_shuffle_ps(lo, r2, _MM_SHUFFLE(2, 2, 3, 2));
    c = _mm_shuffle_ps(hi, r2, _MM_SHUFFLE(3, 3, 1, 0));
  }
};

// The decomposition of an n x n matrix stored column by column (n = 4, or n = 3: the affine
// matrix's linear part or the columns gathered from a 3x3 one, lane 3 ignored), over 4 doubles in
// 256 bits or 4 floats in 128, kept in the columns as loaded, with no transpose (which the row-wise
// kernel needs first, and whose shuffles lie on its critical path): the elimination subtracts from
// every column at once, a(i, k) − l(i)·a(j, k) in lane i of column k, the very products and
// differences the row-wise kernel forms; the scaled pivot candidates of a column are one
// multiplication; the scales follow their rows through the exchanges. A pivot exchange is a branch
// to an immediate lane permutation, so a predicted pivot lets the elimination start before the
// candidates are known. The columns stay in registers: lanes are spread by immediate shuffles,
// never read through memory. For the determinant (solve false) the lanes above the current column
// turn to scratch; for a solve the upper triangle is kept (the update is blended into the lanes
// below the pivot), the multipliers are kept per column and follow later exchanges, and so does the
// permutation. The 3x3 operations load and scale here but decompose in FixedPivotLu3 below, which
// exchanges no lanes.
template <class L, int n, bool solve>
class ColumnLu {
  using T = typename L::Scalar;
  using V = typename L::V;

  static constexpr int swapped(int l, int j, int p) noexcept {
    if (l == j) return p;
    if (l == p) return j;
    return l;
  }

  // Lanes j and p exchanged.
  template <int j, int p>
  static VO_LU_INLINE V exchanged(V v) noexcept {
    return L::template permute<swapped(0, j, p) | swapped(1, j, p) << 2 | swapped(2, j, p) << 4 |
                               swapped(3, j, p) << 6>(v);
  }

 public:
  V c[4];
  V scales;
  V lower[n - 1];  // lane i of lower[j]: the multiplier l(i, j), i > j
  int origin[n];   // the original row now at each position
  int exchanges = 0;
  T pivot[n];

  template <int j>
  static VO_LU_INLINE V spread(V v) noexcept {
    return L::template permute<j * 0x55>(v);
  }
  template <int j>
  static VO_LU_INLINE T lane(V v) noexcept {
    return L::first(spread<j>(v));
  }
  // Lane i (a constant once inlined) in every lane.
  static VO_LU_INLINE V spreadLane(V v, int i) noexcept {
    switch (i) {
      case 0:
        return spread<0>(v);
      case 1:
        return spread<1>(v);
      case 2:
        return spread<2>(v);
      default:
        return spread<3>(v);
    }
  }

  // Loads the columns; false when a row's largest magnitude is negligible.
  VO_LU_INLINE bool start(const T* m) noexcept {
    VO_LU_UNROLL
    for (int k = 0; k < 4; ++k) c[k] = L::loadu(m + 4 * k);
    return scale();
  }
  // The same from a 3x3 matrix stored row by row.
  VO_LU_INLINE bool startRows3x3(const T* m) noexcept {
    L::loadColumns3x3(m, c[0], c[1], c[2]);
    return scale();
  }

  // The row scales of the loaded columns; false when a row's largest magnitude is negligible.
  VO_LU_INLINE bool scale() noexcept {
    V rowMax = L::max(L::abs(c[0]), L::abs(c[1]));
    if constexpr (n == 4) {
      rowMax = L::max(rowMax, L::max(L::abs(c[2]), L::abs(c[3])));
    } else {
      rowMax = L::max(rowMax, L::abs(c[2]));
    }
    if (L::lowMaskBits(L::negligible(rowMax)) & ((1 << n) - 1)) return false;
    scales = L::div(L::set1(T(1)), rowMax);
    VO_LU_UNROLL
    for (int i = 0; i < n; ++i) origin[i] = i;
    return true;
  }

  // Every column's pivot chosen, brought up and eliminated; false where the row-wise kernel's
  // decomposition is.
  VO_LU_INLINE bool decompose() noexcept {
    if (!step<0>() || !step<1>() || !step<2>()) return false;
    if constexpr (n == 4) return step<3>();
    return true;
  }

  // The row-wise kernel's solve for the n unit vectors (see LuKernel::invert), its multipliers
  // and upper triangle spread from the columns: lane c of x[r] is element (r, c) of the inverse.
  VO_LU_INLINE void invert(V (&x)[4]) const noexcept {
    V started[n];
    V any = L::zero();
    VO_LU_UNROLL
    for (int i = 0; i < n; ++i) {
      const V one = L::unitMask(origin[i]);
      V s = L::bitAnd(one, L::set1(T(1)));
      VO_LU_UNROLL
      for (int k = 0; k < i; ++k) {
        s = L::sub(s, L::mul(L::bitAnd(spreadLane(lower[k], i), started[k]), x[k]));
      }
      any = L::bitOr(any, one);
      started[i] = any;
      x[i] = s;
    }
    VO_LU_UNROLL
    for (int i = n - 1; i >= 0; --i) {
      V s = x[i];
      VO_LU_UNROLL
      for (int k = i + 1; k < n; ++k) s = L::sub(s, L::mul(spreadLane(c[k], i), x[k]));
      x[i] = L::div(s, spreadLane(c[i], i));
    }
  }

 private:
  // Row p brought to position j in the columns j.., the scales, the multipliers and the
  // permutation.
  template <int j, int p>
  VO_LU_INLINE void exchange() noexcept {
    VO_LU_UNROLL
    for (int k = j; k < n; ++k) c[k] = exchanged<j, p>(c[k]);
    scales = exchanged<j, p>(scales);
    if constexpr (solve) {
      VO_LU_UNROLL
      for (int k = 0; k < j; ++k) lower[k] = exchanged<j, p>(lower[k]);
      const int t = origin[j];
      origin[j] = origin[p];
      origin[p] = t;
    }
    ++exchanges;
  }

  // The row the pivot of column j comes from, −1 when none can be chosen: the last row i >= j
  // whose candidate scale(i)·|a(i, j)| is >= every candidate before it and >= 0.
  template <int j>
  VO_LU_INLINE int pivotRow() const noexcept {
    const V candidates = L::mul(scales, L::abs(c[j]));
    const T candidate[4] = {lane<0>(candidates), lane<1>(candidates), lane<2>(candidates),
                            lane<3>(candidates)};
    T big = T(0);
    int row = -1;
    VO_LU_UNROLL
    for (int i = j; i < n; ++i) {
      if (candidate[i] >= big) {
        big = candidate[i];
        row = i;
      }
    }
    return row;
  }

  // Column j's pivot chosen and brought to position j, then eliminated from the rows below.
  template <int j>
  VO_LU_INLINE bool step() noexcept {
    const int p = pivotRow<j>();
    if (p < j) return false;
    if constexpr (j + 1 < n) {
      if (p == j + 1) {
        exchange<j, j + 1>();
      } else if constexpr (j + 2 < n) {
        if (p == j + 2) {
          exchange<j, j + 2>();
        } else if constexpr (j + 3 < n) {
          if (p == j + 3) exchange<j, j + 3>();
        }
      }
    }
    const V pivots = spread<j>(c[j]);
    pivot[j] = L::first(pivots);
    if (isNegligible(pivot[j])) return false;
    if constexpr (j + 1 < n) {
      // 1 / pivot in every lane, then a(i, j) · (1 / pivot) as the row-wise kernel forms them.
      const V multipliers = L::mul(c[j], L::div(L::set1(T(1)), pivots));
      if constexpr (solve) lower[j] = multipliers;
      VO_LU_UNROLL
      for (int k = j + 1; k < n; ++k) {
        const V updated = L::sub(c[k], L::mul(multipliers, spread<j>(c[k])));
        if constexpr (solve) {
          c[k] = L::template blend<0xF & ~((2 << j) - 1)>(c[k], updated);
        } else {
          c[k] = updated;
        }
      }
    }
    return true;
  }
};

// The 3x3 decomposition and solve of ColumnLu with the rows left in the lanes they were loaded
// in: the pivot search branches to an elimination written for the row it chose, so every lane a
// step reads or blends is an immediate and an exchange moves no data. The permutation is a
// template argument (the original row at position i in bits 2i and 2i + 1), and with it the
// unit vectors of the solve and the lanes that skip a term are constants. Each element still
// goes through the very operations of ColumnLu, only in the lane of its original row.
// The same scheme for the 4x4 matrices measured no faster for the determinant and at most a few
// per cent for the double inverse, at 24 copies of its solve, so they stay on ColumnLu.
template <class L>
class FixedPivotLu3 : public ColumnLu<L, 3, true> {
  using Base = ColumnLu<L, 3, true>;
  using T = typename L::Scalar;
  using V = typename L::V;
  using Base::c;
  using Base::lower;
  using Base::pivot;
  using Base::scales;

  static constexpr int identity = 0 | 1 << 2 | 2 << 4;
  static constexpr int rowAt(int perm, int i) noexcept { return (perm >> (2 * i)) & 3; }
  static constexpr int exchanged(int perm, int a, int b) noexcept {
    const int kept = perm & ~(3 << (2 * a)) & ~(3 << (2 * b));
    return kept | rowAt(perm, a) << (2 * b) | rowAt(perm, b) << (2 * a);
  }
  // The lanes of the rows at positions first..last.
  static constexpr int lanes(int perm, int first, int last) noexcept {
    int m = 0;
    for (int i = first; i <= last; ++i) m |= 1 << rowAt(perm, i);
    return m;
  }

 public:
  // Decomposes the loaded matrix and solves for the unit vectors as ColumnLu::decompose and
  // ColumnLu::invert do; false where decompose is.
  VO_LU_INLINE bool solve(V (&x)[4]) noexcept { return step<identity, 0>(x); }

 private:
  // Column j's pivot among the rows at positions j..2 (ColumnLu::pivotRow's choice).
  template <int perm, int j>
  VO_LU_INLINE bool step(V (&x)[4]) noexcept {
    const V candidates = L::mul(scales, L::abs(c[j]));
    const T candidate[4] = {Base::template lane<0>(candidates), Base::template lane<1>(candidates),
                            Base::template lane<2>(candidates), Base::template lane<3>(candidates)};
    T big = T(0);
    int p = -1;
    VO_LU_UNROLL
    for (int i = j; i < 3; ++i) {
      if (candidate[rowAt(perm, i)] >= big) {
        big = candidate[rowAt(perm, i)];
        p = i;
      }
    }
    if (p == j) return eliminate<perm, j>(x);
    if constexpr (j < 2) {
      ++this->exchanges;
      if (p == j + 1) return eliminate<exchanged(perm, j, j + 1), j>(x);
      if constexpr (j == 0) {
        if (p == 2) return eliminate<exchanged(perm, 0, 2), 0>(x);
      }
    }
    return false;
  }

  // The pivot of column j in the lane of the row at position j, eliminated from the rows after
  // it; the solve once the last pivot is known.
  template <int perm, int j>
  VO_LU_INLINE bool eliminate(V (&x)[4]) noexcept {
    constexpr int r = rowAt(perm, j);
    const V pivots = Base::template spread<r>(c[j]);
    pivot[j] = L::first(pivots);
    if (isNegligible(pivot[j])) return false;
    if constexpr (j < 2) {
      const V multipliers = L::mul(c[j], L::div(L::set1(T(1)), pivots));
      lower[j] = multipliers;
      VO_LU_UNROLL
      for (int k = j + 1; k < 3; ++k) {
        const V updated = L::sub(c[k], L::mul(multipliers, Base::template spread<r>(c[k])));
        c[k] = L::template blend<lanes(perm, j + 1, 2)>(c[k], updated);
      }
      return step<perm, j + 1>(x);
    } else {
      invert<perm>(x);
      return true;
    }
  }

  template <int perm>
  VO_LU_INLINE void invert(V (&x)[4]) const noexcept {
    VO_LU_UNROLL
    for (int i = 0; i < 3; ++i) {
      const int r = rowAt(perm, i);
      V s = L::set(T(r == 0), T(r == 1), T(r == 2), T(0));
      VO_LU_UNROLL
      for (int k = 0; k < i; ++k) {
        const V started = L::mask(lanes(perm, 0, k));
        s = L::sub(s, L::mul(L::bitAnd(Base::spreadLane(lower[k], r), started), x[k]));
      }
      x[i] = s;
    }
    VO_LU_UNROLL
    for (int i = 2; i >= 0; --i) {
      const int r = rowAt(perm, i);
      V s = x[i];
      VO_LU_UNROLL
      for (int k = i + 1; k < 3; ++k) s = L::sub(s, L::mul(Base::spreadLane(c[k], r), x[k]));
      x[i] = L::div(s, Base::spreadLane(c[i], r));
    }
  }
};

template <class L, int n>
VO_LU_INLINE typename L::Scalar determinantOf(const ColumnLu<L, n, true>& lu) noexcept {
  using T = typename L::Scalar;
  T det = T(1 - 2 * (lu.exchanges & 1));
  VO_LU_UNROLL
  for (int i = 0; i < n; ++i) det = det * lu.pivot[i];
  return det;
}

// Zero for a singular matrix.
template <class L>
typename L::Scalar columnDeterminant(const typename L::Scalar* m) noexcept {
  using T = typename L::Scalar;
  ColumnLu<L, 4, false> lu;
  if (!lu.start(m) || !lu.decompose()) return T(0);
  const T parity = T(1 - 2 * (lu.exchanges & 1));
  return parity * lu.pivot[0] * lu.pivot[1] * lu.pivot[2] * lu.pivot[3];
}

// The affine inverse's columns, as Matrix3x3Imp::invert gives them to storeAffine; false for a
// singular matrix.
template <class L>
VO_LU_INLINE bool affineColumns(const typename L::Scalar* m, FixedPivotLu3<L>& lu,
                                typename L::V (&x)[4]) noexcept {
  if (!lu.start(m) || !lu.solve(x)) return false;
  x[3] = L::zero();
  L::transpose(x[0], x[1], x[2], x[3]);
  return true;
}

// As linearInverse<L>, `det` written when given.
template <class L>
VO_LU_INLINE bool columnLinear(const typename L::Scalar* m, typename L::Scalar* out,
                               typename L::Scalar* det) noexcept {
  FixedPivotLu3<L> lu;
  typename L::V x[4];
  if (!lu.startRows3x3(m) || !lu.solve(x)) return false;
  L::store3x3(out, x[0], x[1], x[2]);
  if (det) *det = determinantOf(lu);
  return true;
}

// As affineInverse<L>.
template <class L>
bool columnAffineInverse(const typename L::Scalar* m, typename L::Scalar* out) noexcept {
  using T = typename L::Scalar;
  FixedPivotLu3<L> lu;
  typename L::V x[4];
  if (!affineColumns(m, lu, x)) return false;
  const T t[3] = {m[12], m[13], m[14]};
  storeAffine<L>(x, t, nullptr, out);
  return true;
}

// As affineInverseAndDeterminant<L>.
template <class L>
bool columnAffineInverseAndDeterminant(const typename L::Scalar* m, typename L::Scalar* out,
                                       typename L::Scalar* det) noexcept {
  using T = typename L::Scalar;
  FixedPivotLu3<L> lu;
  typename L::V x[4];
  if (!affineColumns(m, lu, x)) return false;
  const T t[3] = {m[12], m[13], m[14]};
  const T bottom[4] = {out[3], out[7], out[11], out[15]};
  storeAffine<L>(x, t, bottom, out);
  *det = determinantOf(lu);
  return true;
}

// As projectiveInverse<L>, `det` written when given.
template <class L>
VO_LU_INLINE bool columnProjective(const typename L::Scalar* m, typename L::Scalar* out,
                                   typename L::Scalar* det) noexcept {
  ColumnLu<L, 4, true> lu;
  if (!lu.start(m) || !lu.decompose()) return false;
  typename L::V x[4];
  lu.invert(x);
  L::transpose(x[0], x[1], x[2], x[3]);
  VO_LU_UNROLL
  for (int k = 0; k < 4; ++k) L::storeu(out + 4 * k, x[k]);
  if (det) *det = determinantOf(lu);
  return true;
}

// The two table entries of an operation that writes the determinant when given one.
template <class T>
using WithDeterminant = bool (*)(const T* m, T* out, T* det) noexcept;
template <class T, WithDeterminant<T> op>
bool inverseOnly(const T* m, T* out) noexcept {
  return op(m, out, nullptr);
}
template <class T, WithDeterminant<T> op>
bool inverseAndDeterminant(const T* m, T* out, T* det) noexcept {
  return op(m, out, det);
}

// The table of a lane set with every operation on the columns.
template <class L>
constexpr MatrixLu::Ops<typename L::Scalar> columnTable() noexcept {
  using T = typename L::Scalar;
  return {&inverseOnly<T, &columnLinear<L>>,
          &inverseAndDeterminant<T, &columnLinear<L>>,
          &columnAffineInverse<L>,
          &columnAffineInverseAndDeterminant<L>,
          &inverseOnly<T, &columnProjective<L>>,
          &inverseAndDeterminant<T, &columnProjective<L>>,
          &columnDeterminant<L>};
}

constexpr MatrixLu::Ops<float> avx2FloatOps = columnTable<Avx2Float>();
constexpr MatrixLu::Ops<double> avx2DoubleOps = columnTable<Avx2Double>();

}  // namespace
}  // namespace MatrixImp

const MatrixLu::Ops<float>* MatrixLu::avx2Float() noexcept { return &MatrixImp::avx2FloatOps; }
const MatrixLu::Ops<double>* MatrixLu::avx2Double() noexcept { return &MatrixImp::avx2DoubleOps; }

}  // namespace Vo

#else

const Vo::MatrixLu::Ops<float>* Vo::MatrixLu::avx2Float() noexcept { return nullptr; }
const Vo::MatrixLu::Ops<double>* Vo::MatrixLu::avx2Double() noexcept { return nullptr; }

#endif
