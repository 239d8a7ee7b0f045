#include <vezODedizezivuz/geFrustum.h>

namespace Vo {

namespace {

// A clip-space corner mapped back to world space; the fourth component is not checked.
GePoint3<float> worldCorner(const GeProjectiveMatrix3<float>& inverse, float c) noexcept {
  return (inverse * GeHomogeneousCoord3<float>(c, c, c, 1.0f)).project();
}

// The meeting point of planes a, b, c by Cramer's rule: −(d_a·(n_b × n_c) + d_b·(n_c × n_a) +
// d_c·(n_a × n_b)) / (n_a · (n_b × n_c)), in double so that the far corners of a deep volume
// keep float accuracy.
GePoint3<float> meetingPoint(const GePlane3<float>& a, const GePlane3<float>& b,
                             const GePlane3<float>& c) noexcept {
  const auto wide = [](const GeVector3<float>& v) { return GeVector3<double>(v.x, v.y, v.z); };
  const GeVector3<double> na = wide(a.normal), nb = wide(b.normal), nc = wide(c.normal);
  const GeVector3<double> bc = cross(nb, nc);
  const GeVector3<double> sum =
      bc * double(a.d) + cross(nc, na) * double(b.d) + cross(na, nb) * double(c.d);
  const GeVector3<double> p = sum / -dot(na, bc);
  return GePoint3<float>(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z));
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
  computeSphereLanes();
}

void GeFrustum<float>::computeSphereLanes() noexcept {
  static constexpr int plane[8] = {0, 1, 2, 3, 4, 5, 4, 5};
  for (int lane = 0; lane < 8; ++lane) {
    const GePlane3<float>& p = planes_[plane[lane]];
    sphereLanes_[lane] = p.normal.x;
    sphereLanes_[8 + lane] = p.normal.y;
    sphereLanes_[16 + lane] = p.normal.z;
    sphereLanes_[24 + lane] = p.d;
  }
}

std::array<GePoint3<float>, 8> GeFrustum<float>::getCorners() const noexcept {
  std::array<GePoint3<float>, 8> corners;
  for (int i = 0; i < 8; ++i) {
    corners[i] = meetingPoint(planes_[i & 1], planes_[2 + ((i >> 1) & 1)], planes_[4 + (i >> 2)]);
  }
  return corners;
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
