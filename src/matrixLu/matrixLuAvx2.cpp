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

constexpr MatrixLu::Ops<float> avx2FloatOps = MatrixLu::table<Sse2Float>();
constexpr MatrixLu::Ops<double> avx2DoubleOps = MatrixLu::table<Avx2Double>();

}  // namespace
}  // namespace MatrixImp

const MatrixLu::Ops<float>* MatrixLu::avx2Float() noexcept { return &MatrixImp::avx2FloatOps; }
const MatrixLu::Ops<double>* MatrixLu::avx2Double() noexcept { return &MatrixImp::avx2DoubleOps; }

}  // namespace Vo

#else

const Vo::MatrixLu::Ops<float>* Vo::MatrixLu::avx2Float() noexcept { return nullptr; }
const Vo::MatrixLu::Ops<double>* Vo::MatrixLu::avx2Double() noexcept { return nullptr; }

#endif
