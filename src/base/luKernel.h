#pragma once

// The LU machinery shared by matrix3x3Imp (n = 3) and matrix4x4Imp (n = 4): Crout's
// decomposition with partial pivoting on implicitly scaled rows, the solve and the inverse.
//
// Exactness: every element of the factors and of the inverse goes through exactly the
// operations of the column-by-column (Crout) formulation, in the same order:
// - the elimination is organised row-wise (each finished pivot row is subtracted from the rows
//   below it right away), which applies to every element the same products in the same
//   increasing k order as the column-wise formulation, only earlier;
// - the row maxima are taken over columns rather than along rows: a maximum does not depend on
//   the order of its comparisons (NaN aside, and a NaN matrix ends without a pivot anyway);
// - the n right-hand sides of the inverse (the unit vectors) are solved side by side, one SIMD
//   lane each. The row exchanges of the solve only permute entries not yet reached, so they are
//   applied up front: each lane starts from the unit vector of the original row that the
//   decomposition moved to its position. Lanes that must skip a term get +0 subtracted instead
//   (x − (+0) is x for every x, −0 included), so each lane computes exactly what a solve of its
//   own column computes.
// Rows live in four-lane vectors (lane c = column c) held in registers, the multipliers in a
// second set beside them. Nothing is allocated and nothing is stored to memory by index.
//
// The kernels are instantiated once per instruction set, each in its own translation unit, over
// a "lane set" L (the vector type and its few operations). This header therefore includes no
// library header and gives everything internal linkage: a copy compiled for AVX2 can never be
// the one the linker keeps for code that runs on a processor without it.

#include <cstdint>
#include <cstring>
#include <type_traits>

#if (defined(__SSE2__) || defined(_M_X64)) && !defined(VO_NO_SIMD)
#include <emmintrin.h>
#if defined(__SSE4_1__)
#include <smmintrin.h>
#endif
#define VO_LU_SSE2 1
#endif

#if defined(__GNUC__)
#define VO_LU_INLINE inline __attribute__((always_inline))
#define VO_LU_UNROLL _Pragma("GCC unroll 4")
#else
#define VO_LU_INLINE inline
#define VO_LU_UNROLL
#endif

namespace Vo {
namespace MatrixImp {
namespace {

// The library's test for a pivot or a row too small to divide by (GeScalar<T>::isNegligible):
// |x| <= 1e-6 for float, |x| < 1e-7 for double. matrixLu.cpp checks the float tolerance against
// the library's; the tests hold the double one to GeScalar on the boundary.
inline constexpr float negligibleFloat = 1e-6f;
inline constexpr double negligibleDouble = 1e-7;

// The builtins keep the magnitude in a vector register (the pivot search's critical path); <cmath>
// would bring inline library functions into the wide kernels' files. The two overloads differ
// only in the width of the sign mask, which a template over the bit type would hide.
VO_LU_INLINE float scalarAbs(float x) noexcept {
#if defined(__GNUC__)
  return __builtin_fabsf(x);
#else
  std::uint32_t b;
  std::memcpy(&b, &x, sizeof b);
  b &= 0x7FFFFFFFu;
  std::memcpy(&x, &b, sizeof b);
  return x;
#endif
}
VO_LU_INLINE double scalarAbs(double x) noexcept {
#if defined(__GNUC__)
  return __builtin_fabs(x);
#else
  std::uint64_t b;
  std::memcpy(&b, &x, sizeof b);
  b &= 0x7FFFFFFFFFFFFFFFu;
  std::memcpy(&x, &b, sizeof b);
  return x;
#endif
}

VO_LU_INLINE bool isNegligible(float x) noexcept { return scalarAbs(x) <= negligibleFloat; }
VO_LU_INLINE bool isNegligible(double x) noexcept { return scalarAbs(x) < negligibleDouble; }

// Four lanes of T with the few operations the kernel needs, one element at a time: the path of
// processors without SIMD and the one the vector lane sets are held to. Masks are vectors whose
// lanes are all ones (selected) or all zeros.
template <class T>
struct PortableLanes {
  using Scalar = T;
  using Bits = std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>;
  struct V {
    T v[4];
  };
  static Bits bits(T x) noexcept {
    Bits b;
    std::memcpy(&b, &x, sizeof b);
    return b;
  }
  static T fromBits(Bits b) noexcept {
    T x;
    std::memcpy(&x, &b, sizeof x);
    return x;
  }
  template <class F>
  static V each(F f) noexcept {
    return {{f(0), f(1), f(2), f(3)}};
  }
  static V set(T a, T b, T c, T d) noexcept { return {{a, b, c, d}}; }
  static V set1(T x) noexcept { return {{x, x, x, x}}; }
  static V zero() noexcept { return set1(T(0)); }
  static T lane(V a, int i) noexcept { return a.v[i]; }
  static V broadcast(V a, int i) noexcept { return set1(a.v[i]); }
  static V sub(V a, V b) noexcept {
    return each([&](int i) { return a.v[i] - b.v[i]; });
  }
  static V mul(V a, V b) noexcept {
    return each([&](int i) { return a.v[i] * b.v[i]; });
  }
  static V add(V a, V b) noexcept {
    return each([&](int i) { return a.v[i] + b.v[i]; });
  }
  static V neg(V a) noexcept {
    return each([&](int i) { return -a.v[i]; });
  }
  static V div(V a, V b) noexcept {
    return each([&](int i) { return a.v[i] / b.v[i]; });
  }
  static V bitAnd(V a, V b) noexcept {
    return each([&](int i) { return fromBits(bits(a.v[i]) & bits(b.v[i])); });
  }
  static V bitOr(V a, V b) noexcept {
    return each([&](int i) { return fromBits(bits(a.v[i]) | bits(b.v[i])); });
  }
  static T maskLane(bool on) noexcept { return fromBits(on ? ~Bits(0) : Bits(0)); }
  static V unitMask(int k) noexcept {
    return each([&](int i) { return maskLane(i == k); });
  }
  static int lowMaskBits(V m) noexcept {
    int r = 0;
    for (int i = 0; i < 4; ++i) r |= static_cast<int>(bits(m.v[i]) >> (8 * sizeof(T) - 1)) << i;
    return r;
  }
  static V select(V m, V a, V b) noexcept {
    return each([&](int i) { return bits(m.v[i]) ? a.v[i] : b.v[i]; });
  }
  // The second operand when the first is not greater (NaN included), as the SSE2 maximum.
  static V max(V a, V b) noexcept {
    return each([&](int i) { return a.v[i] > b.v[i] ? a.v[i] : b.v[i]; });
  }
  static V loadu(const T* p) noexcept { return {{p[0], p[1], p[2], p[3]}}; }
  // The rows of a 3x3 matrix stored row by row, p[0..8] (lane 3 unspecified).
  static void loadRows3x3(const T* p, V& a, V& b, V& c) noexcept {
    a = set(p[0], p[1], p[2], T(0));
    b = set(p[3], p[4], p[5], T(0));
    c = set(p[6], p[7], p[8], T(0));
  }
  static void storeu(T* p, V a) noexcept { std::memcpy(p, a.v, sizeof a.v); }
  // Lanes 0-2 of a, b and c to p[0..8].
  static void store3x3(T* p, V a, V b, V c) noexcept {
    std::memcpy(p, a.v, 3 * sizeof(T));
    std::memcpy(p + 3, b.v, 3 * sizeof(T));
    std::memcpy(p + 6, c.v, 3 * sizeof(T));
  }
  static V withLane3(V a, T x) noexcept { return {{a.v[0], a.v[1], a.v[2], x}}; }
  static void transpose(V& a, V& b, V& c, V& d) noexcept {
    const V m[4] = {a, b, c, d};
    a = {{m[0].v[0], m[1].v[0], m[2].v[0], m[3].v[0]}};
    b = {{m[0].v[1], m[1].v[1], m[2].v[1], m[3].v[1]}};
    c = {{m[0].v[2], m[1].v[2], m[2].v[2], m[3].v[2]}};
    d = {{m[0].v[3], m[1].v[3], m[2].v[3], m[3].v[3]}};
  }
  static V abs(V a) noexcept {
    return each([&](int i) { return scalarAbs(a.v[i]); });
  }
  static V negligible(V a) noexcept {
    return each([&](int i) { return maskLane(isNegligible(a.v[i])); });
  }
  static V mask(int laneBits) noexcept {
    return each([&](int i) { return maskLane((laneBits >> i) & 1); });
  }
};

#ifdef VO_LU_SSE2

// Each instruction set's lane struct spells out the same operations with its own intrinsics (the
// AVX2 ones live in matrixLuAvx2.cpp, the only file compiled for AVX2): the kernels above are
// written once against this interface.
struct Sse2Float {
  using Scalar = float;
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
  static VO_LU_INLINE V add(V a, V b) noexcept { return _mm_add_ps(a, b); }
  static VO_LU_INLINE V neg(V a) noexcept { return _mm_xor_ps(a, _mm_set1_ps(-0.0f)); }
  static VO_LU_INLINE V div(V a, V b) noexcept { return _mm_div_ps(a, b); }
  static VO_LU_INLINE V bitAnd(V a, V b) noexcept { return _mm_and_ps(a, b); }
  static VO_LU_INLINE V bitOr(V a, V b) noexcept { return _mm_or_ps(a, b); }
  // Lane `i` selected.
  static VO_LU_INLINE V unitMask(int i) noexcept {
    return _mm_castsi128_ps(_mm_cmpeq_epi32(_mm_set1_epi32(i), _mm_set_epi32(3, 2, 1, 0)));
  }
  static VO_LU_INLINE int lowMaskBits(V mask) noexcept { return _mm_movemask_ps(mask); }
  // b where mask is clear, a where it is set.
  static VO_LU_INLINE V select(V mask, V a, V b) noexcept {
#if defined(__SSE4_1__)
    return _mm_blendv_ps(b, a, mask);
#else
    return _mm_or_ps(_mm_and_ps(mask, a), _mm_andnot_ps(mask, b));
#endif
  }
  static VO_LU_INLINE V max(V a, V b) noexcept { return _mm_max_ps(a, b); }
  static VO_LU_INLINE V loadu(const float* p) noexcept { return _mm_loadu_ps(p); }
  // Whole 16-byte loads, none past p[8]; lane 3 is the next row's first element.
  static VO_LU_INLINE void loadRows3x3(const float* p, V& a, V& b, V& c) noexcept {
    a = _mm_loadu_ps(p), b = _mm_loadu_ps(p + 3);
    const V last = _mm_loadu_ps(p + 5);
    c = _mm_shuffle_ps(last, last, _MM_SHUFFLE(3, 3, 2, 1));
  }
  static VO_LU_INLINE void storeu(float* p, V v) noexcept { _mm_storeu_ps(p, v); }
  // Lanes 0-2 of a, b and c to p[0..8] as 16 + 16 + 4 bytes: a caller copying the result with
  // 16-byte loads then reads each from one store, which the processor forwards.
  static VO_LU_INLINE void store3x3(float* p, V a, V b, V c) noexcept {
    const V b0a2 = _mm_shuffle_ps(b, a, _MM_SHUFFLE(2, 2, 0, 0));
    _mm_storeu_ps(p, _mm_shuffle_ps(a, b0a2, _MM_SHUFFLE(0, 2, 1, 0)));
    _mm_storeu_ps(p + 4, _mm_shuffle_ps(b, c, _MM_SHUFFLE(1, 0, 2, 1)));
    _mm_store_ss(p + 8, _mm_movehl_ps(c, c));
  }
  static VO_LU_INLINE V withLane3(V a, float x) noexcept {
    const V xa2 = _mm_shuffle_ps(_mm_set1_ps(x), a, _MM_SHUFFLE(2, 2, 0, 0));
    return _mm_shuffle_ps(a, xa2, _MM_SHUFFLE(0, 2, 1, 0));
  }
  static VO_LU_INLINE void transpose(V& a, V& b, V& c, V& d) noexcept {
    _MM_TRANSPOSE4_PS(a, b, c, d);
  }
  static VO_LU_INLINE V abs(V a) noexcept {
    return _mm_and_ps(a, _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF)));
  }
  static VO_LU_INLINE V negligible(V a) noexcept {
    return _mm_cmple_ps(abs(a), _mm_set1_ps(negligibleFloat));
  }
  // Lane i selected when bit i of `bits` is set.
  static VO_LU_INLINE V mask(int bits) noexcept {
    return _mm_castsi128_ps(
        _mm_set_epi32(-((bits >> 3) & 1), -((bits >> 2) & 1), -((bits >> 1) & 1), -(bits & 1)));
  }
};

// A 4-double row split over two registers.
struct Sse2Double {
  using Scalar = double;
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
  static VO_LU_INLINE V add(V a, V b) noexcept {
    return {_mm_add_pd(a.lo, b.lo), _mm_add_pd(a.hi, b.hi)};
  }
  static VO_LU_INLINE V neg(V a) noexcept {
    const __m128d sign = _mm_set1_pd(-0.0);
    return {_mm_xor_pd(a.lo, sign), _mm_xor_pd(a.hi, sign)};
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
  static VO_LU_INLINE V unitMask(int i) noexcept {
    const __m128i index = _mm_set1_epi32(i);
    return {_mm_castsi128_pd(_mm_cmpeq_epi32(index, _mm_set_epi32(1, 1, 0, 0))),
            _mm_castsi128_pd(_mm_cmpeq_epi32(index, _mm_set_epi32(3, 3, 2, 2)))};
  }
  static VO_LU_INLINE int lowMaskBits(V mask) noexcept {
    return _mm_movemask_pd(mask.lo) | (_mm_movemask_pd(mask.hi) << 2);
  }
  static VO_LU_INLINE V select(V mask, V a, V b) noexcept {
#if defined(__SSE4_1__)
    return {_mm_blendv_pd(b.lo, a.lo, mask.lo), _mm_blendv_pd(b.hi, a.hi, mask.hi)};
#else
    return {_mm_or_pd(_mm_and_pd(mask.lo, a.lo), _mm_andnot_pd(mask.lo, b.lo)),
            _mm_or_pd(_mm_and_pd(mask.hi, a.hi), _mm_andnot_pd(mask.hi, b.hi))};
#endif
  }
  static VO_LU_INLINE V max(V a, V b) noexcept {
    return {_mm_max_pd(a.lo, b.lo), _mm_max_pd(a.hi, b.hi)};
  }
  static VO_LU_INLINE V loadu(const double* p) noexcept {
    return {_mm_loadu_pd(p), _mm_loadu_pd(p + 2)};
  }
  static VO_LU_INLINE void loadRows3x3(const double* p, V& a, V& b, V& c) noexcept {
    a = loadu(p), b = loadu(p + 3);
    c = {_mm_loadu_pd(p + 6), _mm_load_sd(p + 8)};
  }
  static VO_LU_INLINE void storeu(double* p, V v) noexcept {
    _mm_storeu_pd(p, v.lo);
    _mm_storeu_pd(p + 2, v.hi);
  }
  // As 16-byte pieces at offsets 0, 16, 32, 48 and 8 bytes at 64, the pieces a caller's copy
  // loads.
  static VO_LU_INLINE void store3x3(double* p, V a, V b, V c) noexcept {
    _mm_storeu_pd(p, a.lo);
    _mm_storeu_pd(p + 2, _mm_shuffle_pd(a.hi, b.lo, 0));
    _mm_storeu_pd(p + 4, _mm_shuffle_pd(b.lo, b.hi, 1));
    _mm_storeu_pd(p + 6, c.lo);
    _mm_store_sd(p + 8, c.hi);
  }
  static VO_LU_INLINE V withLane3(V a, double x) noexcept {
    return {a.lo, _mm_move_sd(_mm_set1_pd(x), a.hi)};
  }
  static VO_LU_INLINE void transpose(V& a, V& b, V& c, V& d) noexcept {
    const V a0 = a, b0 = b, c0 = c, d0 = d;
    a = {_mm_unpacklo_pd(a0.lo, b0.lo), _mm_unpacklo_pd(c0.lo, d0.lo)};
    b = {_mm_unpackhi_pd(a0.lo, b0.lo), _mm_unpackhi_pd(c0.lo, d0.lo)};
    c = {_mm_unpacklo_pd(a0.hi, b0.hi), _mm_unpacklo_pd(c0.hi, d0.hi)};
    d = {_mm_unpackhi_pd(a0.hi, b0.hi), _mm_unpackhi_pd(c0.hi, d0.hi)};
  }
  static VO_LU_INLINE V abs(V a) noexcept {
    const __m128d m = _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFF));
    return {_mm_and_pd(a.lo, m), _mm_and_pd(a.hi, m)};
  }
  static VO_LU_INLINE V negligible(V a) noexcept {
    const V b = abs(a);
    const __m128d t = _mm_set1_pd(negligibleDouble);
    return {_mm_cmplt_pd(b.lo, t), _mm_cmplt_pd(b.hi, t)};
  }
  static VO_LU_INLINE V mask(int bits) noexcept {
    const auto m = [](int b) { return b ? std::int64_t(-1) : std::int64_t(0); };
    return {_mm_castsi128_pd(_mm_set_epi64x(m(bits & 2), m(bits & 1))),
            _mm_castsi128_pd(_mm_set_epi64x(m(bits & 8), m(bits & 4)))};
  }
};

#endif

template <class L, int n>
class LuKernel {
 public:
  using T = typename L::Scalar;
  using V = typename L::V;

  // The packed factors, row i in row[i] (unit lower triangle below the diagonal, upper triangle
  // on and above it), the pivot row chosen for each column, the parity of the exchanges, and
  // the original row now at each position (the permutation of the right-hand sides).
  // The upper triangle lives in the rows (lanes c >= r of row[r]; the lanes below are scratch)
  // and the multipliers in lower[r] (lanes c < r), so that storing a multiplier is off the
  // elimination's critical path.
  struct Decomposition {
    V row[n];
    V lower[n];
    int index[n];
    int origin[n];
    T parity;

    T at(int r, int c) const noexcept { return c < r ? L::lane(lower[r], c) : L::lane(row[r], c); }
  };

  // Factors the rows in d.row (lanes n..3 are never read; d.lower is filled); lane i of rowMax is
  // the largest magnitude of row i. False when a row's largest magnitude or a pivot is negligible,
  // or when no pivot can be chosen (NaN elements).
  static VO_LU_INLINE bool decompose(Decomposition& d, V rowMax) noexcept {
    if (L::lowMaskBits(L::negligible(rowMax)) & ((1 << n) - 1)) return false;
    const V scales = L::div(L::set1(T(1)), rowMax);
    T scale[n];
    VO_LU_UNROLL
    for (int i = 0; i < n; ++i) {
      scale[i] = L::lane(scales, i);
      d.origin[i] = i;
      d.lower[i] = L::zero();
    }
    int exchanges = 0;
    VO_LU_UNROLL
    for (int j = 0; j < n; ++j) {
      int pmax;
      pivot(d, scale, j, pmax, exchanges);
      if (pmax < 0) return false;
      d.index[j] = pmax;
      const T pivot = L::lane(d.row[j], j);
      if (isNegligible(pivot)) return false;
      if (j + 1 < n) eliminateBelow(d, j, pivot);
    }
    // 1 negated once per exchange.
    d.parity = T(1 - 2 * (exchanges & 1));
    return true;
  }

  // Solves for the n unit vectors at once: lane c of x[r] is element (r, c) of the inverse.
  static VO_LU_INLINE void invert(const Decomposition& d, V x[n]) noexcept {
    // started[k]: the lanes whose first non-zero entry came at or before row k; only those
    // subtract the term of row k (the solve skips the leading zeros of its right-hand side).
    // Before its 1 a lane holds exact zeros and subtracts nothing, so its first non-zero entry
    // is its 1: the masks follow from the permutation alone. They clear the multiplier, not the
    // product, which keeps them off the arithmetic's path: a skipped lane then subtracts
    // (+0)·(+0) = +0, exactly nothing.
    V started[n];
    V any = L::zero();
    VO_LU_UNROLL
    for (int i = 0; i < n; ++i) {
      const V one = L::unitMask(d.origin[i]);
      V s = L::bitAnd(one, L::set1(T(1)));
      VO_LU_UNROLL
      for (int k = 0; k < i; ++k) {
        s = L::sub(s, L::mul(L::bitAnd(L::broadcast(d.lower[i], k), started[k]), x[k]));
      }
      any = L::bitOr(any, one);
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

 private:
  // Chooses the pivot of column j and brings its row to position j; pmax is the row it came
  // from, −1 when none can be chosen. The pivot is the last row whose scaled magnitude is >= the
  // largest before it: a tie goes to the later row, NaN is never taken.
  // Branches on purpose: a predicted pivot lets the elimination start before the candidates are
  // even computed, and the pivots of real matrices (projections, rigid motions) repeat from call
  // to call. Masked selects were measured slower even on shuffled rows, as they put the whole
  // search on the critical path.
  static VO_LU_INLINE void pivot(Decomposition& d, T* scale, int j, int& pmax,
                                 int& exchanges) noexcept {
    T big = T(0);
    pmax = -1;
    VO_LU_UNROLL
    for (int i = j; i < n; ++i) {
      const T candidate = scale[i] * scalarAbs(L::lane(d.row[i], j));
      if (candidate >= big) {
        big = candidate;
        pmax = i;
      }
    }
    VO_LU_UNROLL
    for (int i = j + 1; i < n; ++i) {
      if (pmax == i) {
        swap(d.row[i], d.row[j]);
        swap(d.lower[i], d.lower[j]);
        swap(d.origin[i], d.origin[j]);
        scale[i] = scale[j];
        ++exchanges;
      }
    }
  }

  // LU(i, j) · (1 / LU(j, j)) for the rows below j, then LU(i, k) − LU(i, j)·LU(j, k) in their
  // lanes k > j; the lanes up to j become scratch and are never read again.
  static VO_LU_INLINE void eliminateBelow(Decomposition& d, int j, T pivot) noexcept {
    const V inv = L::set1(T(1) / pivot);
    const V here = L::mask(1 << j);
    VO_LU_UNROLL
    for (int i = j + 1; i < n; ++i) {
      const V l = L::mul(L::broadcast(d.row[i], j), inv);
      d.lower[i] = L::select(here, l, d.lower[i]);
      d.row[i] = L::sub(d.row[i], L::mul(l, d.row[j]));
    }
  }

  template <class X>
  static VO_LU_INLINE void swap(X& a, X& b) noexcept {
    const X t = a;
    a = b;
    b = t;
  }
};

}  // namespace
}  // namespace MatrixImp
}  // namespace Vo
