#include <vezODedizezivuz/geFrustum.h>

namespace Vo {

namespace {

// A clip-space corner mapped back to world space; the fourth component is not checked.
GePoint3<float> worldCorner(const GeProjectiveMatrix3<float>& inverse, float c) noexcept {
  const GeHomogeneousCoord3<float> h = inverse * GeHomogeneousCoord3<float>(c, c, c, 1.0f);
  return GePoint3<float>(h.x / h.w, h.y / h.w, h.z / h.w);
}

GePlane3<float> planeThrough(const GeVector3<float>& rawNormal, const GePoint3<float>& p) {
  const GeUnitVector3<float> n(rawNormal);
  return GePlane3<float>(n, -(n.x * p.x + n.y * p.y + n.z * p.z));
}

}  // namespace

GeFrustum<float>::GeFrustum(const GeProjectiveMatrix3<float>& m) {
  const GeProjectiveMatrix3<float> inverse = m.computeInverse();
  const GePoint3<float> p1 = worldCorner(inverse, -1.0f);
  const GePoint3<float> p2 = worldCorner(inverse, 1.0f);
  for (int a = 0; a < 3; ++a) {
    // Rows 3 ± a are the coefficients of clip w ± clip a. The offsets come from the corners
    // rather than from column 3, so every low plane passes through p1 and every high plane
    // through p2 exactly.
    const GeVector3<float> low(m(3, 0) + m(a, 0), m(3, 1) + m(a, 1), m(3, 2) + m(a, 2));
    planes_[2 * a] = planeThrough(low, p1);
    const GeVector3<float> high(m(3, 0) - m(a, 0), m(3, 1) - m(a, 1), m(3, 2) - m(a, 2));
    planes_[2 * a + 1] = planeThrough(high, p2);
  }
  computeBatchSigns();
}

bool GeFrustum<float>::isEqual(const GeFrustum& other, float tolerance) const noexcept {
  for (int i = 0; i < 6; ++i) {
    if (!planes_[i].isEqual(other.planes_[i], tolerance)) return false;
  }
  return true;
}

bool GeFrustum<float>::isEqualExact(const GeFrustum& other) const noexcept {
  for (int i = 0; i < 6; ++i) {
    // Component-wise ==, so a NaN component never compares equal.
    if (!(planes_[i] == other.planes_[i])) return false;
  }
  return true;
}

void GeFrustum<float>::dump(std::ostream& os) const {
  for (int i = 0; i < 6; ++i) {
    os << std::endl << "plane( " << i << " ) = ";
    planes_[i].dump(os);
  }
}

}  // namespace Vo
