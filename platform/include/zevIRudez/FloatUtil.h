#pragma once

#include <zevIRudez/zevIRudezExport.h>

#include <cmath>

namespace Vo {

/// Single-precision mathematics shared by the library family.
///
/// Every function is the standard single-precision function of the same name; angles are in
/// radians. The functions are inline so that hot paths of the callers pay no call overhead.
class FloatUtil {
 public:
  /// Tolerance of the two-argument `isEqual`: absolute, used to call a value negligible.
  static constexpr float defaultTolerance = 1e-6f;

  static float sqrt(float x) noexcept { return std::sqrt(x); }
  static float abs(float x) noexcept { return std::fabs(x); }
  static float sin(float x) noexcept { return std::sin(x); }
  static float cos(float x) noexcept { return std::cos(x); }
  static float tan(float x) noexcept { return std::tan(x); }
  static float acos(float x) noexcept { return std::acos(x); }
  static float pow(float base, float exponent) noexcept { return std::pow(base, exponent); }
  /// Ordinate first, as `std::atan2`.
  static float atan2(float a, float b) noexcept { return std::atan2(a, b); }

  /// True when |a - b| <= tolerance (absolute; false when either is NaN).
  static bool isEqual(float a, float b, float tolerance) noexcept {
    return std::fabs(a - b) <= tolerance;
  }
  /// `isEqual(a, b, defaultTolerance)`.
  static bool isEqual(float a, float b) noexcept { return isEqual(a, b, defaultTolerance); }
};

}  // namespace Vo
