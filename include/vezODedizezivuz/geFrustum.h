#pragma once

/// @file
/// The view volume of a camera matrix as six planes, for culling points and boxes (float only).

#include <vezODedizezivuz/geAlignedBox3.h>
#include <vezODedizezivuz/geMatrix3.h>
#include <vezODedizezivuz/gePlane3.h>
#include <vezODedizezivuz/geVector.h>
#include <vezODedizezivuz/vezODedizezivuzExport.h>

#include <ostream>

namespace Vo {

/// The view volume of a projective matrix. Only `GeFrustum<float>` exists.
template <class T>
class GeFrustum;

/// The view volume of a projective (camera) matrix M, which maps world space to clip space
/// (column vectors): the points whose clip coordinates satisfy −w <= x, y, z <= w.
///
/// Usage: build it once per camera, `GeFrustum<float> frustum(projection * view);`, then
/// `if (frustum.classify(box) != GeFrustum<float>::OUTSIDE) draw(object);`.
///
/// Planes, in index order: clip x >= −w, clip x <= w, then the same for y and z. Each normal is
/// the unit normal of rows 3 ± a of M and points inwards; each offset is taken from the clip-space
/// corner (−1, −1, −1) mapped back to world space (low planes) or (1, 1, 1) (high planes), so the
/// planes pass exactly through those corners whatever the matrix's rounding.
///
/// Accuracy: a point up to 1e-4 (in units of the world, as the normals have unit length) outside
/// a plane still counts as inside it, so objects touching the boundary are not culled. A box is
/// `OUTSIDE` only when it lies wholly outside one plane; a box outside the volume but across the
/// extension of several planes is reported `INTERSECTING` (no false `OUTSIDE`).
///
/// A plain value of six planes: copying is trivial and nothing is allocated.
template <>
class VO_EXPORT GeFrustum<float> {
 public:
  /// Result of a classification.
  enum Classification {
    OUTSIDE = 1,      ///< wholly on the outer side of at least one plane
    INSIDE = 2,       ///< on the inner side of all six planes
    INTERSECTING = 3  ///< a box not wholly outside any plane but crossing at least one
  };

  /// Points up to this far outside a plane still count as inside it (the float −1e-4).
  static constexpr float classificationThreshold = -0.0001f;

  /// Builds the six planes of `m`.
  ///
  /// Reports "nonSingular" (source "base/matrix4x4Imp.imp", line 175) when `m` cannot be
  /// inverted, and "len > 0" (source "primitives/geVector3.inline", line 496) when a plane's
  /// normal has zero length; construction does not complete then. A clip-space corner that maps
  /// to infinity (fourth component 0) is not checked: its planes get non-finite offsets.
  explicit GeFrustum(const GeProjectiveMatrix3<float>& m);

  /// Plane 0 to 5 in the order above (no range test).
  const GePlane3<float>& getPlane(int index) const noexcept { return planes_[index]; }

  /// `OUTSIDE` when `p` is more than 1e-4 outside any plane, else `INSIDE`.
  Classification classify(const GePoint3<float>& p) const noexcept {
    for (const GePlane3<float>& plane : planes_) {
      if (plane.evaluate(p) < classificationThreshold) return OUTSIDE;
    }
    return INSIDE;
  }

  /// `OUTSIDE`, `INSIDE` or `INTERSECTING` for the box `b`.
  ///
  /// Per plane, the box corner nearest to the outside decides whether the box crosses the plane
  /// and the farthest one whether it lies wholly outside; the planes are visited in order and the
  /// first plane with the box wholly outside ends the test.
  Classification classify(const GeAlignedBox3<float>& b) const noexcept {
    Classification result = INSIDE;
    for (const GePlane3<float>& plane : planes_) {
      const GeVector3<float>& n = plane.normal;
      // A zero normal component contributes nothing either way; it takes the maximum bound.
      const float nearX = n.x > 0.0f ? b.x.min : b.x.max;
      const float nearY = n.y > 0.0f ? b.y.min : b.y.max;
      const float nearZ = n.z > 0.0f ? b.z.min : b.z.max;
      if (n.x * nearX + n.y * nearY + n.z * nearZ + plane.d < classificationThreshold) {
        const float farX = n.x > 0.0f ? b.x.max : b.x.min;
        const float farY = n.y > 0.0f ? b.y.max : b.y.min;
        const float farZ = n.z > 0.0f ? b.z.max : b.z.min;
        if (n.x * farX + n.y * farY + n.z * farZ + plane.d < classificationThreshold) {
          return OUTSIDE;
        }
        result = INTERSECTING;
      }
    }
    return result;
  }

  /// Normal x, y, z and d of each plane, in index order, within `tolerance` (absolute).
  bool isEqual(const GeFrustum& other, float tolerance) const noexcept;
  /// All 24 components compared with `==` (a NaN component never compares equal).
  bool isEqualExact(const GeFrustum& other) const noexcept;

  /// For each plane: a line end, "plane( i ) = " and the plane's text; no final line end.
  void dump(std::ostream& os) const;

 private:
  GePlane3<float> planes_[6];
};

}  // namespace Vo
