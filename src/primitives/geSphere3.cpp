#include <vezODedizezivuz/geSphere3.h>

namespace Vo {

template <class T>
bool GeSphere3<T>::getClosestPoint(const GePoint3<T>& origin, const GeVector3<T>& direction,
                                   GePoint3<T>& result) const noexcept {
  const GeVector3<T> toCenter = center - origin;
  if (radius * radius > toCenter.lengthSquared()) return false;
  const T t = dot(direction, toCenter);
  if (T(0) > t) return false;
  // Offset from the centre to the foot of the perpendicular; zero when the ray hits the centre,
  // and normalized() leaves it zero then.
  const GeVector3<T> w = ((origin + direction * t) - center).normalized();
  result = center + w * radius;
  return true;
}

template <class T>
std::ostream& GeSphere3<T>::dump(std::ostream& s) const {
  s << "GeSphere {";
  center.dump(s);
  return s << ", " << radius << "} ";
}

template class GeSphere3<float>;
template class GeSphere3<double>;

}  // namespace Vo
