// The AVX2 LU path: a 4-double row in one register, and the float rows in the three-operand
// encoding with blends. Compiled with -mavx2 -mno-fma -ffp-contract=off and called only after the
// processor has been seen to support AVX2; it includes no library header (see luKernel.h).

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
  static VO_LU_INLINE void loadRows3x3(const double* p, V& a, V& b, V& c) noexcept {
    a = _mm256_loadu_pd(p), b = _mm256_loadu_pd(p + 3);
    c = _mm256_permute4x64_pd(_mm256_loadu_pd(p + 5), _MM_SHUFFLE(3, 3, 2, 1));
  }
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
};

// The 4x4 double determinant on the columns as stored, with no transpose: the elimination
// subtracts from every column at once, a(i, k) − l(i)·a(j, k) in lane i of column k, the very
// products and differences the row-wise kernel forms; the scaled pivot candidates of a column are
// one multiplication; the scales follow their rows through the exchanges. Lanes above the current
// column turn to scratch and are never read. A pivot exchange is a branch to an immediate lane
// permutation, so a predicted pivot lets the elimination start before the candidates are known.
class ColumnDeterminant {
  using V = __m256d;
  using L = Avx2Double;

  // Lanes j and p exchanged.
  template <int j, int p>
  static VO_LU_INLINE V exchanged(V v) noexcept {
    constexpr int from[4] = {j == 0   ? p
                             : p == 0 ? j
                                      : 0,
                             j == 1   ? p
                             : p == 1 ? j
                                      : 1,
                             j == 2   ? p
                             : p == 2 ? j
                                      : 2,
                             j == 3   ? p
                             : p == 3 ? j
                                      : 3};
    return _mm256_permute4x64_pd(v, from[0] | from[1] << 2 | from[2] << 4 | from[3] << 6);
  }

  // Lane j in every lane, and lane j alone: by immediate shuffles, so that the columns stay in
  // registers.
  template <int j>
  static VO_LU_INLINE V spread(V v) noexcept {
    return _mm256_permute4x64_pd(v, j * 0x55);
  }
  template <int j>
  static VO_LU_INLINE double lane(V v) noexcept {
    return _mm256_cvtsd_f64(spread<j>(v));
  }

  // Brings row p to position j in columns j..3 and in the scales.
  template <int j, int p>
  static VO_LU_INLINE void exchange(V (&c)[4], V& scales) noexcept {
    VO_LU_UNROLL
    for (int k = j; k < 4; ++k) c[k] = exchanged<j, p>(c[k]);
    scales = exchanged<j, p>(scales);
  }

  // The row the pivot of column j comes from, −1 when none can be chosen: the last row i >= j
  // whose candidate scale(i)·|a(i, j)| is >= every candidate before it and >= 0, which is the last
  // row holding the largest candidate that is not NaN (the candidates are never negative, and
  // NaN is never taken).
  template <int j>
  static VO_LU_INLINE int pivotRow(V column, V scales) noexcept {
    const V candidates = L::mul(scales, L::abs(column));
    double big = 0.0;
    int row = -1;
    const double candidate[4] = {lane<0>(candidates), lane<1>(candidates), lane<2>(candidates),
                                 lane<3>(candidates)};
    VO_LU_UNROLL
    for (int i = j; i < 4; ++i) {
      if (candidate[i] >= big) {
        big = candidate[i];
        row = i;
      }
    }
    return row;
  }

  // Column j's pivot chosen and brought to position j, then eliminated from the rows below.
  // False when no pivot can be chosen or it is negligible.
  template <int j>
  static VO_LU_INLINE bool step(V (&c)[4], V& scales, int& exchanges, double& pivot) noexcept {
    const int p = pivotRow<j>(c[j], scales);
    if (p < j) return false;
    if (p != j) {
      ++exchanges;
      if constexpr (j < 3) {
        if (p == j + 1) {
          exchange<j, j + 1>(c, scales);
        } else if constexpr (j < 2) {
          if (p == j + 2) {
            exchange<j, j + 2>(c, scales);
          } else if constexpr (j < 1) {
            exchange<j, j + 3>(c, scales);
          }
        }
      }
    }
    const V pivots = spread<j>(c[j]);
    pivot = _mm256_cvtsd_f64(pivots);
    if (isNegligible(pivot)) return false;
    if constexpr (j < 3) {
      // 1 / pivot in every lane, then a(i, j) · (1 / pivot) as the row-wise kernel forms them.
      const V multipliers = L::mul(c[j], L::div(L::set1(1.0), pivots));
      VO_LU_UNROLL
      for (int k = j + 1; k < 4; ++k) c[k] = L::sub(c[k], L::mul(multipliers, spread<j>(c[k])));
    }
    return true;
  }

 public:
  static double determinant(const double* m) noexcept {
    V c[4] = {L::loadu(m), L::loadu(m + 4), L::loadu(m + 8), L::loadu(m + 12)};
    const V rowMax = L::max(L::max(L::abs(c[0]), L::abs(c[1])), L::max(L::abs(c[2]), L::abs(c[3])));
    if (L::lowMaskBits(L::negligible(rowMax))) return 0.0;
    V scales = L::div(L::set1(1.0), rowMax);
    int exchanges = 0;
    double p0, p1, p2, p3;
    if (!step<0>(c, scales, exchanges, p0) || !step<1>(c, scales, exchanges, p1) ||
        !step<2>(c, scales, exchanges, p2) || !step<3>(c, scales, exchanges, p3)) {
      return 0.0;
    }
    const double parity = double(1 - 2 * (exchanges & 1));
    return parity * p0 * p1 * p2 * p3;
  }
};

constexpr MatrixLu::Ops<double> withColumnDeterminant(MatrixLu::Ops<double> ops) noexcept {
  ops.projectiveDeterminant = &ColumnDeterminant::determinant;
  return ops;
}

constexpr MatrixLu::Ops<float> avx2FloatOps = MatrixLu::table<Sse2Float>();
constexpr MatrixLu::Ops<double> avx2DoubleOps =
    withColumnDeterminant(MatrixLu::table<Avx2Double>());

}  // namespace
}  // namespace MatrixImp

const MatrixLu::Ops<float>* MatrixLu::avx2Float() noexcept { return &MatrixImp::avx2FloatOps; }
const MatrixLu::Ops<double>* MatrixLu::avx2Double() noexcept { return &MatrixImp::avx2DoubleOps; }

}  // namespace Vo

#else

const Vo::MatrixLu::Ops<float>* Vo::MatrixLu::avx2Float() noexcept { return nullptr; }
const Vo::MatrixLu::Ops<double>* Vo::MatrixLu::avx2Double() noexcept { return nullptr; }

#endif
