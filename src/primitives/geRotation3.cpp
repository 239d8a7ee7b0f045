#include <vezODedizezivuz/geRotation3.h>

#include <vezODedizezivuz/geReportSites.h>

namespace Vo {

template <class T>
GeRotation3<T> GeRotation3<T>::aim(const GeUnitVector3<T>& direction, int aimAxis, bool inverse) {
  // Any other axis serves as the up axis of the check; only aimAxis is in question here.
  checkAxes(aimAxis, (aimAxis + 1) % 3);
  const GeVector3<T> a = aimVector(direction);
  const GeVector3<T> b = normalizeOrFail(cross(a, fallbackVector(a)), GeReportSites::aimAcross);
  const GeVector3<T> c = normalizeOrFail(cross(b, a), GeReportSites::aimRemaining);
  // The cyclic order k, k + 1, k + 2 is right-handed for every k, so no table is needed.
  GeRotation3 r;
  setFrameVector(r, aimAxis, a, inverse);
  setFrameVector(r, (aimAxis + 1) % 3, c, inverse);
  setFrameVector(r, (aimAxis + 2) % 3, b, inverse);
  return r;
}

template <class T>
GeRotation3<T> GeRotation3<T>::aim(int pointCount, const GePoint3<T>* points, int aimAxis,
                                   int upAxis, bool inverse) {
  checkAxes(aimAxis, upAxis);
  // Newell's normal, the vector of the areas projected on the coordinate planes: exact for
  // planar polygons (twice the area along the normal) and a stable average for slightly
  // non-planar ones, whatever the vertex count.
  GeVector3<T> normal(0, 0, 0);
  for (int i = 0; i < pointCount; ++i) {
    const GePoint3<T>& a = points[i];
    const GePoint3<T>& b = points[(i + 1) % pointCount];
    normal.x += (a.y - b.y) * (a.z + b.z);
    normal.y += (a.z - b.z) * (a.x + b.x);
    normal.z += (a.x - b.x) * (a.y + b.y);
  }
  const GeVector3<T> n = normalizeOrFail(normal, GeReportSites::aimPolygonNormal);

  int best = 0;
  T bestLength = 0;
  for (int i = 0; i < pointCount; ++i) {
    const T length = (points[(i + 1) % pointCount] - points[i]).length();
    if (length > bestLength) {
      best = i;
      bestLength = length;
    }
  }
  const GeVector3<T> edge = points[(best + 1) % pointCount] - points[best];

  // n has unit length already; the unit-vector type is filled without normalising it again.
  GeUnitVector3<T> direction;
  direction.x = n.x;
  direction.y = n.y;
  direction.z = n.z;
  return aim(direction, edge, aimAxis, upAxis, inverse);
}

template class GeRotation3<float>;
template class GeRotation3<double>;
template class GeAxisRotation3<0, float>;
template class GeAxisRotation3<0, double>;
template class GeAxisRotation3<1, float>;
template class GeAxisRotation3<1, double>;
template class GeAxisRotation3<2, float>;
template class GeAxisRotation3<2, double>;
template class GeXAxisRotation3<float>;
template class GeXAxisRotation3<double>;
template class GeYAxisRotation3<float>;
template class GeYAxisRotation3<double>;
template class GeZAxisRotation3<float>;
template class GeZAxisRotation3<double>;

}  // namespace Vo
