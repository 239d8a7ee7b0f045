#include <vezODedizezivuz/gePlane3.h>

#include <vezODedizezivuz/geReportSites.h>

namespace Vo {

namespace {

template <class T>
std::ostream& writePlane(std::ostream& s, const GeVector3<T>& n, T d) {
  return s << '[' << n.x << ", " << n.y << ", " << n.z << ", " << d << ']';
}

}  // namespace

template <class T>
std::ostream& GePlane3<T>::dump(std::ostream& s) const {
  return writePlane(s, normal, d);
}

template <class T>
std::ostream& GeNormalizedPlane3<T>::dump(std::ostream& s) const {
  return writePlane<T>(s, normal, d);
}

template <class T>
void GePlane3Builder<T>::addPoint(const GePoint3<T>& p) noexcept {
  if (count <= 0) {
    origin = p;
    previous = GeVector3<T>(0, 0, 0);
    sum = GeVector3<T>(0, 0, 0);
    normalSum = GeVector3<T>(0, 0, 0);
    count = 1;
    return;
  }
  // Newell's edge terms from the previous vertex to this one, both relative to the first.
  const GeVector3<T> q = p - origin;
  normalSum.x += (previous.z + q.z) * (previous.y - q.y);
  normalSum.y += (previous.z - q.z) * (previous.x + q.x);
  normalSum.z += (previous.x - q.x) * (previous.y + q.y);
  sum += q;
  previous = q;
  ++count;
}

template <class T>
void GePlane3Builder<T>::computeQuantities() {
  if (count < 0) return;
  if (count < 3) GeReportSites::planeBuilderTooFewPoints.raise();

  // The closing edge runs back to the first vertex, whose relative coordinates are zero.
  normalSum.x += previous.y * previous.z;
  normalSum.y += previous.x * previous.z;
  normalSum.z += previous.x * previous.y;

  GeUnitVector3<T> n;
  const T len = n.setNormalized(normalSum);
  if (!(len > T(0))) GeReportSites::planeBuilderNormalLength.raise();
  const T nDotOrigin = n.x * origin.x + n.y * origin.y + n.z * origin.z;
  const T pointCount = static_cast<T>(count);
  plane = GeNormalizedPlane3<T>(n, -(dot(n, sum) / pointCount + nDotOrigin));
  // From here on `sum` holds the mean offset, so the centroid stays readable.
  sum = GeVector3<T>(sum.x / pointCount, sum.y / pointCount, sum.z / pointCount);
  count = -1;
}

template class GePlane3<float>;
template class GePlane3<double>;
template class GeNormalizedPlane3<float>;
template class GeNormalizedPlane3<double>;
template class GePlane3Builder<float>;
template class GePlane3Builder<double>;

}  // namespace Vo
