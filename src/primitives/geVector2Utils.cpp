#include <vezODedizezivuz/geVector2Utils.h>

namespace Vo {

template <class T>
T GeVector2Utils<T>::distanceSquaredFromPointToLineSegment(GePoint2<T> p, GePoint2<T> a,
                                                           GePoint2<T> b,
                                                           bool infiniteLine) noexcept {
  const GeVector2<T> w = a - p;
  const GeVector2<T> d = a - b;
  const T len2 = dot(d, d);
  if (!(len2 > T(0))) return dot(w, w);
  // Twice the area of the triangle (a, b, p); squared over len2 it is the distance to the line.
  const T cross = d.x * w.y - w.x * d.y;
  if (infiniteLine) return cross * cross / len2;
  const T inv = T(1) / len2;
  const T s = dot(w, d) * inv;
  if (s < T(0)) return dot(w, w);
  if (s > T(1)) {
    const GeVector2<T> toB = b - p;
    return dot(toB, toB);
  }
  return cross * cross * inv;
}

template class GeVector2Utils<float>;
template class GeVector2Utils<double>;

}  // namespace Vo
