#pragma once

/// @file
/// A culling volume enclosing two axis-aligned boxes and the space between them (float only).

#include <vezODedizezivuz/geAlignedBox3.h>
#include <vezODedizezivuz/gePlane3.h>
#include <vezODedizezivuz/geVector.h>
#include <vezODedizezivuz/vezODedizezivuzExport.h>
#include <zevIRudez/Interval.h>

#include <ostream>

namespace Vo {

/// The shaft between two boxes: their common extent box cut by up to eight planes, each joining
/// an edge of the first box to the matching edge of the second. It approximates the convex hull
/// of the two boxes from outside, for a cheap test whether a point or a box can lie between them
/// before any exact test.
///
/// Usage: `GeShaft shaft(box1, box2); if (shaft.overlaps(b) != Interval<float>::DISJOINT) ...`.
///
/// Conventions:
/// - `initialize` enlarges each box by a margin of 0.001 times its largest size (a box flat on
///   some axis is thickened along the first flat axis, in the order x, y, z, only), so the
///   stored reference boxes are not the boxes passed in. Faces of the two boxes within 0.001 of
///   each other count as shared and produce no plane.
/// - The planes are not normalised; the inside of the shaft lies on their negative side
///   (normal·p + d < 0).
/// - The default (uninitialized) shaft has three empty boxes and no plane: it contains nothing.
/// - The boxes passed to `initialize` must not be empty.
/// A plain value: copying copies the boxes and all eight plane slots; nothing is allocated.
class VO_EXPORT GeShaft {
 public:
  using Containment = Interval<float>::Containment;

  /// The uninitialized shaft.
  GeShaft() noexcept;
  /// The shaft between `box1` and `box2`.
  GeShaft(const GeAlignedBox3<float>& box1, const GeAlignedBox3<float>& box2);

  /// Builds the shaft between `box1` and `box2`, replacing any previous state.
  void initialize(const GeAlignedBox3<float>& box1, const GeAlignedBox3<float>& box2);

  /// The enlarged first box.
  const GeAlignedBox3<float>& getRefBox1() const noexcept { return refBox1_; }
  /// The enlarged second box.
  const GeAlignedBox3<float>& getRefBox2() const noexcept { return refBox2_; }
  /// The smallest box enclosing both enlarged boxes.
  const GeAlignedBox3<float>& getExtentBox() const noexcept { return extentBox_; }
  /// The joining planes: sets `count` (0 to 8) and returns the first of them.
  const GePlane3<float>* getPlaneSet(unsigned short& count) const noexcept {
    count = planeCount_;
    return planes_;
  }

  /// True when `p` lies in the shaft: inside the extent box (bounds included) and either in one
  /// of the reference boxes (bounds included) or strictly on the inner side of every plane. A
  /// point on a joining plane is not contained.
  bool contains(const GePoint3<float>& p) const noexcept;
  /// As `contains` with the opposite boundary rules: the extent and reference box bounds count
  /// as outside, a point on a joining plane counts as inside.
  bool containsExclude(const GePoint3<float>& p) const noexcept;

  /// How `b` (the subject) stands to the shaft: `DISJOINT`, `CONTAINED` (b lies inside the
  /// shaft), `OVERLAPPING`, or `CONTAINING` (b encloses the extent box). Boxes are compared with
  /// `GeAlignedBox3::classify` (touching counts as contact); a box whose nearest corner lies on
  /// or beyond a joining plane is `DISJOINT`; otherwise a box is never reported `DISJOINT`, so
  /// the answer errs on the side of overlap (one plane at a time decides).
  Containment overlaps(const GeAlignedBox3<float>& b) const noexcept;
  /// As `overlaps` with `GeAlignedBox3::classifyExclude` (touching is no contact), and a box
  /// that only touches a joining plane is not `DISJOINT`.
  Containment overlapsExclude(const GeAlignedBox3<float>& b) const noexcept;

  /// Boxes bound by bound, then the plane count exactly, then the planes' normal x, y, z and d,
  /// all within `tolerance` (absolute).
  bool isEqual(const GeShaft& other, float tolerance) const noexcept;
  /// The eighteen box bounds, the count and the used planes compared with `==`; the unused
  /// plane slots are not compared.
  bool isEqualExact(const GeShaft& other) const noexcept;

  friend bool isEqual(const GeShaft& a, const GeShaft& b, float tolerance) noexcept {
    return a.isEqual(b, tolerance);
  }
  friend bool operator==(const GeShaft& a, const GeShaft& b) noexcept { return a.isEqualExact(b); }
  friend bool operator!=(const GeShaft& a, const GeShaft& b) noexcept { return !(a == b); }

  /// Writes "Uninitialized shaft" and a line end for the default state, otherwise one line per
  /// box ("Ref.box 1=", "Ref.box 2=", "Extent box="), "Plane set=" and one line per plane.
  void dump(std::ostream& os) const;
  friend std::ostream& operator<<(std::ostream& os, const GeShaft& s) {
    s.dump(os);
    return os;
  }

 private:
  GeAlignedBox3<float> refBox1_;
  GeAlignedBox3<float> refBox2_;
  GeAlignedBox3<float> extentBox_;
  GePlane3<float> planes_[8];
  unsigned short planeCount_;
};

}  // namespace Vo
