#include <vezODedizezivuz/geShaft.h>

#include <vezODedizezivuz/geReportSites.h>
#include <zevIRudez/FloatUtil.h>

namespace Vo {

namespace {

using Containment = Interval<float>::Containment;

// Margin factor and face-coincidence tolerance (the float 0.001, bits 0x3A83126F).
constexpr float shaftMargin = 0.001f;

// Enlarges a box so that a flat box still has a volume to test against: only the first flat
// axis (x, y, z order) is widened, so a box flat on two axes stays flat on the second.
void enlarge(GeAlignedBox3<float>& box) noexcept {
  const GeVector3<float> size = box.getSize();
  float largest = FloatUtil::abs(size.x);
  if (FloatUtil::abs(size.y) > largest) largest = FloatUtil::abs(size.y);
  if (FloatUtil::abs(size.z) > largest) largest = FloatUtil::abs(size.z);
  const float margin = shaftMargin * largest;
  const bool flatX = FloatUtil::isEqual(size.x, 0.0f);
  const bool flatY = !flatX && FloatUtil::isEqual(size.y, 0.0f);
  const bool flatZ = !flatX && !flatY && FloatUtil::isEqual(size.z, 0.0f);
  const bool all = !flatX && !flatY && !flatZ;
  if (flatX || all) {
    box.x.min -= margin;
    box.x.max += margin;
  }
  if (flatY || all) {
    box.y.min -= margin;
    box.y.max += margin;
  }
  if (flatZ || all) {
    box.z.min -= margin;
    box.z.max += margin;
  }
}

// Coordinate of face 0..5 (min x, min y, min z, max x, max y, max z); `site` tells the two
// lookups of the plane construction apart in the report of an impossible face index.
float faceCoordinate(const GeAlignedBox3<float>& box, int face, const GeReportSite& site) {
  if (face < 0 || face > 5) site.raise();
  const Interval<float>& axis = face % 3 == 0 ? box.x : face % 3 == 1 ? box.y : box.z;
  return face < 3 ? axis.min : axis.max;
}

// The faces of the two boxes on one axis: the extent's bounds, and which box alone reaches the
// low face (index `axis`) or the high face (index `axis + 3`). Bounds within the margin are
// shared and reach the extent from neither box alone.
void mergeAxis(const Interval<float>& a, const Interval<float>& b, int axis, Interval<float>& e,
               bool flags1[6], bool flags2[6]) noexcept {
  if (FloatUtil::isEqual(a.min, b.min, shaftMargin)) {
    e.min = a.min < b.min ? a.min : b.min;
  } else if (b.min > a.min) {
    e.min = a.min;
    flags1[axis] = true;
  } else {
    e.min = b.min;
    flags2[axis] = true;
  }
  if (FloatUtil::isEqual(a.max, b.max, shaftMargin)) {
    e.max = a.max > b.max ? a.max : b.max;
  } else if (a.max > b.max) {
    e.max = a.max;
    flags1[axis + 3] = true;
  } else {
    e.max = b.max;
    flags2[axis + 3] = true;
  }
}

// The plane joining the edge where faces i and j of box 1 meet to the matching edge of box 2:
// the line through the two edges in the (i, j) axis plane, swept along the third axis, oriented
// so that `inside` (box 1's centre) is on its negative side or on it.
GePlane3<float> joiningPlane(const GeAlignedBox3<float>& box1, const GeAlignedBox3<float>& box2,
                             int i, int j, const GePoint3<float>& inside) {
  const int u = i % 3;
  const int v = j % 3;
  const float c1i = faceCoordinate(box1, i, GeReportSites::shaftFirstFace);
  const float c2i = faceCoordinate(box2, i, GeReportSites::shaftFirstFace);
  const float c1j = faceCoordinate(box1, j, GeReportSites::shaftSecondFace);
  const float c2j = faceCoordinate(box2, j, GeReportSites::shaftSecondFace);
  GeVector3<float> normal(0.0f, 0.0f, 0.0f);
  normal[u] = c1j - c2j;
  normal[v] = c2i - c1i;
  GePoint3<float> anchor(0.0f, 0.0f, 0.0f);
  anchor[u] = c1i;
  anchor[v] = c1j;
  GePlane3<float> plane(normal, -(normal.x * anchor.x + normal.y * anchor.y + normal.z * anchor.z));
  if (plane.evaluate(inside) > 0.0f) {
    plane.normal = -plane.normal;
    plane.d = -plane.d;
  }
  return plane;
}

// The box stage and the plane stage of both box tests; `exclude` picks the classification table
// and the strict plane comparisons.
template <bool exclude>
Containment overlapsImpl(const GeAlignedBox3<float>& extent, const GeAlignedBox3<float>& ref1,
                         const GeAlignedBox3<float>& ref2, const GePlane3<float>* planes,
                         unsigned short count, const GeAlignedBox3<float>& b) noexcept {
  auto classify = [&b](const GeAlignedBox3<float>& stored) {
    return exclude ? stored.classifyExclude(b) : stored.classify(b);
  };
  Containment result;
  switch (classify(extent)) {
    case Interval<float>::DISJOINT:
      return Interval<float>::DISJOINT;
    case Interval<float>::CONTAINED:
      return Interval<float>::CONTAINING;
    case Interval<float>::OVERLAPPING:
      for (const GeAlignedBox3<float>* ref : {&ref1, &ref2}) {
        const Containment c = classify(*ref);
        if (c == Interval<float>::CONTAINED || c == Interval<float>::OVERLAPPING) {
          return Interval<float>::OVERLAPPING;
        }
      }
      result = Interval<float>::OVERLAPPING;
      break;
    default:  // CONTAINING: the extent box encloses b
      for (const GeAlignedBox3<float>* ref : {&ref1, &ref2}) {
        const Containment c = classify(*ref);
        if (c == Interval<float>::CONTAINED || c == Interval<float>::OVERLAPPING) {
          return Interval<float>::OVERLAPPING;
        }
        if (c == Interval<float>::CONTAINING) return Interval<float>::CONTAINED;
      }
      result = Interval<float>::CONTAINED;
      break;
  }

  for (unsigned short i = 0; i < count; ++i) {
    const GeVector3<float>& n = planes[i].normal;
    // The corner of b nearest to the inside (minimising n·q + d) and the farthest one.
    const GePoint3<float> nearCorner(n.x < 0.0f ? b.x.max : b.x.min, n.y < 0.0f ? b.y.max : b.y.min,
                                     n.z < 0.0f ? b.z.max : b.z.min);
    const GePoint3<float> farCorner(n.x > 0.0f ? b.x.max : b.x.min, n.y > 0.0f ? b.y.max : b.y.min,
                                    n.z > 0.0f ? b.z.max : b.z.min);
    const float vNear = planes[i].evaluate(nearCorner);
    if (exclude) {
      if (vNear > 0.0f) return Interval<float>::DISJOINT;
      if (result == Interval<float>::CONTAINED && planes[i].evaluate(farCorner) > 0.0f) {
        result = Interval<float>::OVERLAPPING;
      }
    } else {
      if (vNear >= 0.0f) return Interval<float>::DISJOINT;
      if (result != Interval<float>::OVERLAPPING && planes[i].evaluate(farCorner) >= 0.0f) {
        result = Interval<float>::OVERLAPPING;
      }
    }
  }
  return result;
}

}  // namespace

GeShaft::GeShaft() noexcept : planes_{}, planeCount_(0) {}

GeShaft::GeShaft(const GeAlignedBox3<float>& box1, const GeAlignedBox3<float>& box2) : GeShaft() {
  initialize(box1, box2);
}

void GeShaft::initialize(const GeAlignedBox3<float>& box1, const GeAlignedBox3<float>& box2) {
  refBox1_ = box1;
  refBox2_ = box2;
  enlarge(refBox1_);
  enlarge(refBox2_);

  // flags1[k] / flags2[k]: face k of that box alone reaches the extent box.
  bool flags1[6] = {};
  bool flags2[6] = {};
  mergeAxis(refBox1_.x, refBox2_.x, 0, extentBox_.x, flags1, flags2);
  mergeAxis(refBox1_.y, refBox2_.y, 1, extentBox_.y, flags1, flags2);
  mergeAxis(refBox1_.z, refBox2_.z, 2, extentBox_.z, flags1, flags2);

  // A plane for every pair of faces on different axes that reach the extent from different
  // boxes. Box 1 lies inside the shaft, so its centre fixes the negative side.
  const GePoint3<float> centre1 = refBox1_.getCenter();
  planeCount_ = 0;
  for (int i = 0; i < 6; ++i) {
    if (!flags1[i]) continue;
    for (int j = 0; j < 6; ++j) {
      if (!flags2[j] || i % 3 == j % 3) continue;
      planes_[planeCount_++] = joiningPlane(refBox1_, refBox2_, i, j, centre1);
    }
  }
}

bool GeShaft::contains(const GePoint3<float>& p) const noexcept {
  const GeAlignedBox3<float>& e = extentBox_;
  if (p.x < e.x.min || p.x > e.x.max || p.y < e.y.min || p.y > e.y.max || p.z < e.z.min ||
      p.z > e.z.max) {
    return false;
  }
  if (refBox1_.contains(p) || refBox2_.contains(p)) return true;
  for (unsigned short i = 0; i < planeCount_; ++i) {
    if (planes_[i].evaluate(p) >= 0.0f) return false;
  }
  return true;
}

bool GeShaft::containsExclude(const GePoint3<float>& p) const noexcept {
  if (!extentBox_.containsStrictly(p)) return false;
  if (refBox1_.containsStrictly(p) || refBox2_.containsStrictly(p)) return true;
  for (unsigned short i = 0; i < planeCount_; ++i) {
    if (planes_[i].evaluate(p) > 0.0f) return false;
  }
  return true;
}

Containment GeShaft::overlaps(const GeAlignedBox3<float>& b) const noexcept {
  return overlapsImpl<false>(extentBox_, refBox1_, refBox2_, planes_, planeCount_, b);
}

Containment GeShaft::overlapsExclude(const GeAlignedBox3<float>& b) const noexcept {
  return overlapsImpl<true>(extentBox_, refBox1_, refBox2_, planes_, planeCount_, b);
}

bool GeShaft::isEqual(const GeShaft& other, float tolerance) const noexcept {
  if (!refBox1_.isEqual(other.refBox1_, tolerance) ||
      !refBox2_.isEqual(other.refBox2_, tolerance) ||
      !extentBox_.isEqual(other.extentBox_, tolerance) || planeCount_ != other.planeCount_) {
    return false;
  }
  for (unsigned short i = 0; i < planeCount_; ++i) {
    if (!planes_[i].isEqual(other.planes_[i], tolerance)) return false;
  }
  return true;
}

bool GeShaft::isEqualExact(const GeShaft& other) const noexcept {
  if (refBox1_ != other.refBox1_ || refBox2_ != other.refBox2_ || extentBox_ != other.extentBox_ ||
      planeCount_ != other.planeCount_) {
    return false;
  }
  for (unsigned short i = 0; i < planeCount_; ++i) {
    // Component-wise ==, so a NaN component never compares equal.
    if (!(planes_[i] == other.planes_[i])) return false;
  }
  return true;
}

void GeShaft::dump(std::ostream& os) const {
  if (refBox1_.x.min > refBox1_.x.max && refBox1_.y.min > refBox1_.y.max &&
      refBox1_.z.min > refBox1_.z.max) {
    os << "Uninitialized shaft" << std::endl;
    return;
  }
  os << "Ref.box 1=";
  refBox1_.dump(os) << std::endl << "Ref.box 2=";
  refBox2_.dump(os) << std::endl << "Extent box=";
  extentBox_.dump(os) << std::endl << "Plane set=" << std::endl;
  for (unsigned short i = 0; i < planeCount_; ++i) {
    os << ' ';
    planes_[i].dump(os) << std::endl;
  }
}

}  // namespace Vo
