#pragma once

/// @file
/// Distances in the plane.

#include <vezODedizezivuz/geVector.h>
#include <vezODedizezivuz/vezODedizezivuzExport.h>

namespace Vo {

/// Static 2D utilities. T is float or double.
template <class T>
class VO_EXPORT GeVector2Utils {
 public:
  GeVector2Utils() = delete;

  /// Squared distance from `p` to the segment from `a` to `b`, or to the whole line through
  /// them when `infiniteLine` is true. When `a` and `b` coincide it is the squared distance to
  /// `a`, in both modes.
  static T distanceSquaredFromPointToLineSegment(GePoint2<T> p, GePoint2<T> a, GePoint2<T> b,
                                                 bool infiniteLine) noexcept;
};

extern template class GeVector2Utils<float>;
extern template class GeVector2Utils<double>;

}  // namespace Vo
