#pragma once

/// @file
/// `GeCameraBuilder`: projection matrices of a camera that looks along −z with y up.

#include <vezODedizezivuz/geMatrix3.h>
#include <vezODedizezivuz/vezODedizezivuzExport.h>

namespace Vo {

/// Static builders of perspective and orthographic projections. T is float or double.
///
/// Both projections map view space to clip space: a point at z = −near reaches depth −1 and one
/// at z = −far depth +1 (after the division by w for the perspective), the edges of the field
/// of view reach x, y = ±1. Nothing is ever rejected; degenerate arguments are replaced:
/// - the field of view (radians, full vertical angle) below 0 becomes 0, at or above π becomes
///   π − 0.001;
/// - a near or far distance that is not greater than 0 becomes ε;
/// - an aspect ratio (width / height) that is negligible becomes ε;
/// - a negligible far + near or far − near gets 0.5 added (equal distances give far − near =
///   0.5);
/// - a negligible cotangent of the half angle becomes ε.
/// ε is 1e-4f for float and 1e-7 for double; "negligible" is `FloatUtil::isEqual(x, 0)` for
/// float and |x| < 1e-7 for double.
template <class T>
class VO_EXPORT GeCameraBuilder {
 public:
  GeCameraBuilder() = delete;

  /// The symmetric perspective projection: (0,0) = k / aspect, (1,1) = k, (2,2) =
  /// −(far + near)/(far − near), (2,3) = −2·far·near/(far − near), (3,2) = −1, all others 0,
  /// with k = 1 / tan(fieldOfView / 2). A field of view of 0 gives infinite k.
  static GeProjectiveMatrix3<T> makePerspective(T fieldOfView, T nearDistance, T farDistance,
                                                T aspectRatio) noexcept;
  /// The orthographic projection whose half height r is that of the perspective view at the
  /// near distance: (0,0) = (1/r) / aspect, (1,1) = 1/r, (2,2) = −2/(far − near), (2,3) =
  /// −(far + near)/(far − near), (3,3) = 1, all others 0.
  static GeProjectiveMatrix3<T> makeOrthographic(T fieldOfView, T nearDistance, T farDistance,
                                                 T aspectRatio) noexcept;
  /// The half height tan(fieldOfView / 2)·distance of the view at `distance`; a result that is
  /// not positive (a negative distance, a zero angle) becomes ε.
  static T computeOrthoRadius(T fieldOfView, T distance) noexcept;
};

extern template class GeCameraBuilder<float>;
extern template class GeCameraBuilder<double>;

}  // namespace Vo
