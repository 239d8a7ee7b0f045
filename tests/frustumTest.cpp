#include <vezODedizezivuz/geCameraBuilder.h>
#include <vezODedizezivuz/geFrustum.h>
#include <zevIRudez/RnRng.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <vector>

#include "testUtil.h"

using namespace Vo;

namespace {

using Frustum = GeFrustum<float>;
using Box = GeAlignedBox3<float>;

// A perspective camera at (1, 2, 3) turned 0.4 rad about y: projection · rotation · translation.
GeProjectiveMatrix3<float> camera() {
  const GeProjectiveMatrix3<float> projection =
      GeCameraBuilder<float>::makePerspective(1.0f, 0.5f, 50.0f, 1.5f);
  const float c = std::cos(0.4f);
  const float s = std::sin(0.4f);
  const GeProjectiveMatrix3<float> rotation(c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1);
  const GeProjectiveMatrix3<float> translation(1, 0, 0, -1, 0, 1, 0, -2, 0, 0, 1, -3, 0, 0, 0, 1);
  return projection * (rotation * translation);
}

GePoint3<float> fromClip(const GeProjectiveMatrix3<float>& inverse, float x, float y, float z) {
  const GeHomogeneousCoord3<float> h = inverse * GeHomogeneousCoord3<float>(x, y, z, 1.0f);
  return GePoint3<float>(h.x / h.w, h.y / h.w, h.z / h.w);
}

struct CornerCollector : UnaryFunctor<GePoint3<float>, bool> {
  std::vector<GePoint3<float>> corners;
  bool operator()(const GePoint3<float>& p) override {
    corners.push_back(p);
    return true;
  }
};

std::vector<GePoint3<float>> cornersOf(const Box& b) {
  CornerCollector collect;
  b.enumerateCorners(collect);
  return collect.corners;
}

// The rule written plainly, plane by plane in index order.
Frustum::Classification planeByPlane(const Frustum& f, const Box& b) {
  Frustum::Classification result = Frustum::INSIDE;
  for (int i = 0; i < 6; ++i) {
    const GePlane3<float>& p = f.getPlane(i);
    const GePoint3<float> nearest(p.normal.x > 0 ? b.x.min : b.x.max,
                                  p.normal.y > 0 ? b.y.min : b.y.max,
                                  p.normal.z > 0 ? b.z.min : b.z.max);
    const GePoint3<float> farthest(p.normal.x > 0 ? b.x.max : b.x.min,
                                   p.normal.y > 0 ? b.y.max : b.y.min,
                                   p.normal.z > 0 ? b.z.max : b.z.min);
    if (p.evaluate(nearest) < Frustum::classificationThreshold) {
      if (p.evaluate(farthest) < Frustum::classificationThreshold) return Frustum::OUTSIDE;
      result = Frustum::INTERSECTING;
    }
  }
  return result;
}

}  // namespace

TEST(Frustum, IdentityMatrixGivesTheClipCubeWithInwardUnitNormals) {
  const Frustum f{GeProjectiveMatrix3<float>()};
  const GeVector3<float> normals[6] = {{1, 0, 0},  {-1, 0, 0}, {0, 1, 0},
                                       {0, -1, 0}, {0, 0, 1},  {0, 0, -1}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(f.getPlane(i).normal, normals[i]) << "plane " << i;
    EXPECT_EQ(f.getPlane(i).d, 1.0f) << "plane " << i;
  }
  EXPECT_EQ(f.classify(GePoint3<float>(0, 0, 0)), Frustum::INSIDE);
  EXPECT_EQ(f.classify(GePoint3<float>(2, 0, 0)), Frustum::OUTSIDE);
}

TEST(Frustum, PointsWithinTheThresholdOutsideAPlaneCountAsInside) {
  const Frustum f{GeProjectiveMatrix3<float>()};
  EXPECT_EQ(VoTest::bits(Frustum::classificationThreshold), 0xB8D1B717u);
  EXPECT_EQ(f.classify(GePoint3<float>(1.00005f, 0, 0)), Frustum::INSIDE);
  EXPECT_EQ(f.classify(GePoint3<float>(0, 0, -1.00009f)), Frustum::INSIDE);
  EXPECT_EQ(f.classify(GePoint3<float>(1.0002f, 0, 0)), Frustum::OUTSIDE);
  EXPECT_EQ(f.classify(GePoint3<float>(0, 0, -1.0002f)), Frustum::OUTSIDE);
}

TEST(Frustum, BoxesStraddlingOrBeyondPlanesAreClassifiedPerPlane) {
  const Frustum f{GeProjectiveMatrix3<float>()};
  const Interval<float> mid(-0.5f, 0.5f);
  EXPECT_EQ(f.classify(Box(mid, mid, mid)), Frustum::INSIDE);
  EXPECT_EQ(f.classify(Box(Interval<float>(0.5f, 1.5f), mid, mid)), Frustum::INTERSECTING);
  // Box touching plane 1 from outside within the threshold is still not outside.
  EXPECT_EQ(f.classify(Box(Interval<float>(1.00005f, 2.0f), mid, mid)), Frustum::INTERSECTING);
  // Plane 0 makes it intersecting first; plane 5 still makes it outside.
  EXPECT_EQ(f.classify(Box(Interval<float>(-1.5f, 0.0f), mid, Interval<float>(2.0f, 3.0f))),
            Frustum::OUTSIDE);
  // A degenerate box on a plane with zero normal components on the other axes.
  EXPECT_EQ(f.classify(Box(GePoint3<float>(1, 0, 0))), Frustum::INSIDE);
}

TEST(Frustum, ClipSpacePointsMapBackInsideOrOutside) {
  const GeProjectiveMatrix3<float> m = camera();
  const Frustum f(m);
  const GeProjectiveMatrix3<float> inverse = m.computeInverse();
  RnDefaultRng<float> rng(7);
  for (int i = 0; i < 500; ++i) {
    const float x = 1.9f * rng() - 0.95f;
    const float y = 1.9f * rng() - 0.95f;
    const float z = 1.9f * rng() - 0.95f;
    EXPECT_EQ(f.classify(fromClip(inverse, x, y, z)), Frustum::INSIDE) << x << ' ' << y << ' ' << z;
    // Beyond a side face, at depths in front of the near plane's mirror image.
    const float side = 1.05f + rng();
    EXPECT_EQ(f.classify(fromClip(inverse, side, y, z)), Frustum::OUTSIDE) << side;
    EXPECT_EQ(f.classify(fromClip(inverse, x, -side, z)), Frustum::OUTSIDE) << side;
  }
}

TEST(Frustum, BoxClassificationAgreesWithItsCornersOnRandomBoxes) {
  const Frustum f(camera());
  RnDefaultRng<float> rng(2026);
  int counts[4] = {};
  for (int i = 0; i < 4096; ++i) {
    const GePoint3<float> c(40.0f * rng() - 20.0f, 40.0f * rng() - 20.0f, 40.0f * rng() - 30.0f);
    const GeVector3<float> h(4.0f * rng(), 4.0f * rng(), 4.0f * rng());
    const Box b(c - h, c + h);
    const std::vector<GePoint3<float>> corners = cornersOf(b);
    const Frustum::Classification result = f.classify(b);
    ++counts[result];
    bool allOutsideOnePlane = false;
    bool someCornerOutside = false;
    for (int p = 0; p < 6; ++p) {
      int outside = 0;
      for (const GePoint3<float>& q : corners) {
        if (f.getPlane(p).evaluate(q) < Frustum::classificationThreshold) ++outside;
      }
      allOutsideOnePlane = allOutsideOnePlane || outside == 8;
      someCornerOutside = someCornerOutside || outside > 0;
    }
    switch (result) {
      case Frustum::INSIDE:
        for (const GePoint3<float>& q : corners) EXPECT_EQ(f.classify(q), Frustum::INSIDE);
        break;
      case Frustum::OUTSIDE:
        EXPECT_TRUE(allOutsideOnePlane) << "box " << i;
        break;
      case Frustum::INTERSECTING:
        EXPECT_FALSE(allOutsideOnePlane) << "box " << i;
        EXPECT_TRUE(someCornerOutside) << "box " << i;
        break;
    }
  }
  EXPECT_GT(counts[Frustum::INSIDE], 0);
  EXPECT_GT(counts[Frustum::OUTSIDE], 0);
  EXPECT_GT(counts[Frustum::INTERSECTING], 0);
}

TEST(Frustum, SingularMatrixOrDegeneratePlaneIsReported) {
  GeProjectiveMatrix3<float> singular;
  singular(3, 3) = 0.0f;
  EXPECT_TRUE(
      VoTest::failsWith([&] { Frustum f(singular); }, "base/matrix4x4Imp.imp", 175, "nonSingular"));
  // Row 3 + row 0 has no x, y, z part, although the matrix is invertible.
  GeProjectiveMatrix3<float> flat;
  flat(3, 0) = -1.0f;
  EXPECT_TRUE(
      VoTest::failsWith([&] { Frustum f(flat); }, "primitives/geVector3.inline", 496, "len > 0"));
}

TEST(Frustum, ComparisonsTellToleranceFromExactnessAndRejectNaN) {
  const Frustum a(camera());
  GeProjectiveMatrix3<float> nudged = camera();
  nudged(0, 0) *= 1.000001f;
  const Frustum b(nudged);
  EXPECT_TRUE(a.isEqualExact(a));
  EXPECT_FALSE(a.isEqualExact(b));
  EXPECT_TRUE(a.isEqual(b, 1e-3f));
  EXPECT_FALSE(a.isEqual(b, 0.0f));
  EXPECT_FALSE(a.isEqual(Frustum(GeProjectiveMatrix3<float>()), 1e-4f));

  // The inverse maps the near corner to w = 0: the low planes' offsets become NaN.
  GeProjectiveMatrix3<float> inverseWithWZero;
  inverseWithWZero(3, 0) = 0.5f;
  inverseWithWZero(3, 1) = 0.5f;
  const Frustum broken(inverseWithWZero.computeInverse());
  EXPECT_FALSE(broken.isEqualExact(broken));
  EXPECT_FALSE(broken.isEqual(broken, 1.0f));
}

TEST(Frustum, DumpWritesEachPlaneOnItsOwnLine) {
  std::ostringstream os;
  Frustum(GeProjectiveMatrix3<float>()).dump(os);
  EXPECT_EQ(os.str(),
            "\nplane( 0 ) = [1, 0, 0, 1]\nplane( 1 ) = [-1, 0, 0, 1]\nplane( 2 ) = [0, 1, 0, 1]"
            "\nplane( 3 ) = [0, -1, 0, 1]\nplane( 4 ) = [0, 0, 1, 1]\nplane( 5 ) = [0, 0, -1, 1]");
}

TEST(Frustum, BoxClassificationFollowsThePlaneByPlaneRuleEvenForOddBoxes) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float big = std::numeric_limits<float>::max();
  const Interval<float> unit(-0.5f, 0.5f);
  std::vector<Box> boxes = {Box(),
                            Box(Interval<float>(-inf, inf), unit, unit),
                            Box(Interval<float>(2, inf), unit, unit),
                            Box(Interval<float>(-inf, -2), unit, unit),
                            Box(unit, Interval<float>(nan, 0.5f), unit),
                            Box(unit, unit, Interval<float>(-0.5f, nan)),
                            Box(Interval<float>(0.5f, -0.5f), unit, unit),
                            Box(Interval<float>(-big, big), Interval<float>(-big, big), unit),
                            Box(GePoint3<float>(1, 1, 1))};
  RnDefaultRng<float> rng(99);
  for (int i = 0; i < 2000; ++i) {
    const GePoint3<float> c(60.0f * rng() - 30.0f, 60.0f * rng() - 30.0f, 60.0f * rng() - 40.0f);
    const GeVector3<float> h(3.0f * rng(), 3.0f * rng(), 3.0f * rng());
    boxes.emplace_back(c - h, c + h);
  }
  const Frustum frusta[] = {
      Frustum(GeProjectiveMatrix3<float>()), Frustum(camera()),
      Frustum(GeCameraBuilder<float>::makeOrthographic(0.8f, 1.0f, 20.0f, 1.0f))};
  for (const Frustum& f : frusta) {
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      EXPECT_EQ(f.classify(boxes[i]), planeByPlane(f, boxes[i])) << "box " << i;
    }
  }
}
