#pragma once

#include <zevIRudez/FloatUtil.h>

#include <cmath>

namespace Vo {

/// The scalar functions that the float and double instantiations of the library's templates
/// use. float goes through the base library's `FloatUtil`; double computes in double precision.
/// `isNegligible` is the library's test for a denominator or squared length too small to divide
/// by: `FloatUtil::isEqual(x, 0)` for float, |x| < 1e-7 for double.
template <class T>
struct GeScalar;

// The two tables list the same functions on purpose: float must go through `FloatUtil`, which
// the base library's other users share, and double through <cmath>. One template over std::
// would quietly bypass `FloatUtil` for float.
template <>
struct GeScalar<float> {
  static float sqrt(float x) noexcept { return FloatUtil::sqrt(x); }
  static float abs(float x) noexcept { return FloatUtil::abs(x); }
  static float sin(float x) noexcept { return FloatUtil::sin(x); }
  static float cos(float x) noexcept { return FloatUtil::cos(x); }
  static float tan(float x) noexcept { return FloatUtil::tan(x); }
  static float acos(float x) noexcept { return FloatUtil::acos(x); }
  static float atan2(float a, float b) noexcept { return FloatUtil::atan2(a, b); }
  static float pow(float base, float exponent) noexcept { return FloatUtil::pow(base, exponent); }
  static bool isNegligible(float x) noexcept { return FloatUtil::isEqual(x, 0.0f); }
};

template <>
struct GeScalar<double> {
  static double sqrt(double x) noexcept { return std::sqrt(x); }
  static double abs(double x) noexcept { return std::fabs(x); }
  static double sin(double x) noexcept { return std::sin(x); }
  static double cos(double x) noexcept { return std::cos(x); }
  static double tan(double x) noexcept { return std::tan(x); }
  static double acos(double x) noexcept { return std::acos(x); }
  static double atan2(double a, double b) noexcept { return std::atan2(a, b); }
  static double pow(double base, double exponent) noexcept { return std::pow(base, exponent); }
  /// |x| below this is negligible in double; the float test uses `FloatUtil::defaultTolerance`.
  static constexpr double negligibleBelow = 1e-7;
  static bool isNegligible(double x) noexcept { return std::fabs(x) < negligibleBelow; }
};

/// a·b rounded to T, whatever the host's flags. The empty asm statement claims to change the
/// product, so the compiler can no longer see a multiplication to fuse with the addition that
/// follows: GCC 12's vectoriser, with FMA instructions enabled, fuses alternating sums and
/// differences of products (vfmaddsub/vfmsubadd) even under -ffp-contract=off. It emits no
/// instruction; the product stays in its vector register.
template <class T>
inline T roundedProduct(T a, T b) noexcept {
  T product = a * b;
#if defined(__GNUC__) && (defined(__SSE2__) || defined(__x86_64__))
  __asm__("" : "+x"(product));
#elif defined(__GNUC__) && defined(__aarch64__)
  __asm__("" : "+w"(product));
#elif defined(__GNUC__)
  __asm__("" : "+g"(product));
#endif
  return product;
}

}  // namespace Vo
