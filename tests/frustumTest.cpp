#include <vezODedizezivuz/geCameraBuilder.h>
#include <vezODedizezivuz/geFrustum.h>
#include <zevIRudez/RnRng.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <vector>

#include "testUtil.h"

using namespace Vo;

namespace {

using Frustum = GeFrustum<float>;
using Box = GeAlignedBox3<float>;
using I = Interval<float>;
constexpr float threshold = Frustum::classificationThreshold;

// A perspective camera at (1, 2, 3) turned 0.4 rad about y: projection · rotation · translation.
GeProjectiveMatrix3<float> camera() {
  const float c = std::cos(0.4f), s = std::sin(0.4f);
  return GeCameraBuilder<float>::makePerspective(1.0f, 0.5f, 50.0f, 1.5f) *
         (GeProjectiveMatrix3<float>(c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1) *
          GeProjectiveMatrix3<float>(1, 0, 0, -1, 0, 1, 0, -2, 0, 0, 1, -3, 0, 0, 0, 1));
}

// Corner k of b: bit 0 picks the maximum x, bit 1 the maximum y, bit 2 the maximum z.
GePoint3<float> corner(const Box& b, int k) {
  return GePoint3<float>(k & 1 ? b.x.max : b.x.min, k & 2 ? b.y.max : b.y.min,
                         k & 4 ? b.z.max : b.z.min);
}

// The rule written plainly, plane by plane in index order.
Frustum::Classification planeByPlane(const Frustum& f, const Box& b) {
  Frustum::Classification result = Frustum::INSIDE;
  for (int i = 0; i < 6; ++i) {
    const GePlane3<float>& p = f.getPlane(i);
    const int low = (p.normal.x > 0 ? 0 : 1) | (p.normal.y > 0 ? 0 : 2) | (p.normal.z > 0 ? 0 : 4);
    if (p.evaluate(corner(b, low)) < threshold) {
      if (p.evaluate(corner(b, 7 - low)) < threshold) return Frustum::OUTSIDE;
      result = Frustum::INTERSECTING;
    }
  }
  return result;
}

}  // namespace

// The text form shows the planes exactly: x = -1, x = 1, y = -1, ... with inward unit normals.
TEST(Frustum, IdentityMatrixGivesTheClipCubeAndDumpWritesOnePlanePerLine) {
  const Frustum f{GeProjectiveMatrix3<float>()};
  std::ostringstream os;
  f.dump(os);
  EXPECT_EQ(os.str(),
            "\nplane( 0 ) = [1, 0, 0, 1]\nplane( 1 ) = [-1, 0, 0, 1]\nplane( 2 ) = [0, 1, 0, 1]"
            "\nplane( 3 ) = [0, -1, 0, 1]\nplane( 4 ) = [0, 0, 1, 1]\nplane( 5 ) = [0, 0, -1, 1]");
  EXPECT_EQ(VoTest::bits(threshold), 0xB8D1B717u);
  EXPECT_EQ(f.classify(GePoint3<float>(1.00005f, 0, 0)), Frustum::INSIDE);
  EXPECT_EQ(f.classify(GePoint3<float>(0, 0, -1.00009f)), Frustum::INSIDE);
  EXPECT_EQ(f.classify(GePoint3<float>(1.0002f, 0, 0)), Frustum::OUTSIDE);
  // Boxes: across plane 1; on plane 1 within the threshold; across plane 0 but beyond plane 5.
  const I mid(-0.5f, 0.5f);
  EXPECT_EQ(f.classify(Box(mid, mid, mid)), Frustum::INSIDE);
  EXPECT_EQ(f.classify(Box(I(0.5f, 1.5f), mid, mid)), Frustum::INTERSECTING);
  EXPECT_EQ(f.classify(Box(I(1.00005f, 2), mid, mid)), Frustum::INTERSECTING);
  EXPECT_EQ(f.classify(Box(I(-1.5f, 0), mid, I(2, 3))), Frustum::OUTSIDE);
  EXPECT_EQ(f.classify(Box(GePoint3<float>(1, 0, 0))), Frustum::INSIDE);
}

TEST(Frustum, ClipSpacePointsMapBackInsideOrOutside) {
  const Frustum f(camera());
  const GeProjectiveMatrix3<float> inverse = camera().computeInverse();
  const auto fromClip = [&](float x, float y, float z) {
    const GeHomogeneousCoord3<float> h = inverse * GeHomogeneousCoord3<float>(x, y, z, 1.0f);
    return GePoint3<float>(h.x / h.w, h.y / h.w, h.z / h.w);
  };
  RnDefaultRng<float> rng(7);
  for (int i = 0; i < 300; ++i) {
    const float x = 1.9f * rng() - 0.95f, y = 1.9f * rng() - 0.95f, z = 1.9f * rng() - 0.95f;
    const float side = 1.05f + rng();  // beyond the side face x = 1
    EXPECT_EQ(f.classify(fromClip(x, y, z)), Frustum::INSIDE) << x << ' ' << y << ' ' << z;
    EXPECT_EQ(f.classify(fromClip(side, y, z)), Frustum::OUTSIDE) << side << ' ' << y << ' ' << z;
  }
}

// INSIDE boxes have every corner inside, OUTSIDE boxes all corners outside one plane; the fast
// test also follows the plain rule for infinite, NaN and inverted boxes.
TEST(Frustum, BoxClassificationFollowsThePlaneByPlaneRuleAndAgreesWithTheCorners) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float big = std::numeric_limits<float>::max();
  const I u(-0.5f, 0.5f);
  std::vector<Box> boxes = {Box(), Box(GePoint3<float>(1, 1, 1)),
                            Box(I(-big, big), I(-big, big), u)};
  for (const I& x : {I(-inf, inf), I(2, inf), I(-inf, -2), I(0.5f, -0.5f)})
    boxes.emplace_back(x, u, u);
  boxes.emplace_back(u, I(nan, 0.5f), u);
  boxes.emplace_back(u, u, I(-0.5f, nan));
  const std::size_t odd = boxes.size();
  RnDefaultRng<float> rng(2026);
  for (int i = 0; i < 3000; ++i) {
    const GePoint3<float> c(40.0f * rng() - 20.0f, 40.0f * rng() - 20.0f, 40.0f * rng() - 30.0f);
    const GeVector3<float> h(4.0f * rng(), 4.0f * rng(), 4.0f * rng());
    boxes.emplace_back(c - h, c + h);
  }
  const Frustum frusta[] = {
      Frustum(GeProjectiveMatrix3<float>()), Frustum(camera()),
      Frustum(GeCameraBuilder<float>::makeOrthographic(0.8f, 1.0f, 20.0f, 1.0f))};
  int counts[4] = {};
  for (const Frustum& f : frusta) {
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      const Frustum::Classification result = f.classify(boxes[i]);
      EXPECT_EQ(result, planeByPlane(f, boxes[i])) << "box " << i;
      if (i < odd) continue;
      ++counts[result];
      int outside[6] = {};  // per plane, the corners on its outer side
      for (int k = 0; k < 48; ++k) {
        outside[k / 8] += f.getPlane(k / 8).evaluate(corner(boxes[i], k % 8)) < threshold;
      }
      EXPECT_EQ(result == Frustum::OUTSIDE, std::count(outside, outside + 6, 8) > 0) << "box " << i;
      EXPECT_EQ(result == Frustum::INSIDE, std::count(outside, outside + 6, 0) == 6) << "box " << i;
    }
  }
  for (int k = 1; k <= 3; ++k) EXPECT_GT(counts[k], 0) << "classification " << k;
}

TEST(Frustum, SingularMatrixOrDegeneratePlaneIsReported) {
  GeProjectiveMatrix3<float> singular, flat;
  singular(3, 3) = 0.0f;
  flat(3, 0) = -1.0f;  // row 3 + row 0 has no x, y, z part, although the matrix is invertible
  EXPECT_TRUE(
      VoTest::failsWith([&] { Frustum f(singular); }, "base/matrix4x4Imp.imp", 175, "nonSingular"));
  EXPECT_TRUE(
      VoTest::failsWith([&] { Frustum f(flat); }, "primitives/geVector3.inline", 496, "len > 0"));
}

TEST(Frustum, ComparisonsTellToleranceFromExactnessAndNeverMatchNaN) {
  GeProjectiveMatrix3<float> nudged = camera();
  nudged(0, 0) *= 1.000001f;
  const Frustum a(camera()), b(nudged);
  EXPECT_FALSE(a.isEqualExact(b));
  EXPECT_TRUE(a.isEqual(b, 1e-3f));
  // The inverse maps the near corner to w = 0: the low planes' offsets become NaN.
  GeProjectiveMatrix3<float> inverseWithWZero;
  inverseWithWZero(3, 0) = inverseWithWZero(3, 1) = 0.5f;
  const Frustum broken(inverseWithWZero.computeInverse());
  EXPECT_FALSE(broken.isEqualExact(broken));
  EXPECT_FALSE(broken.isEqual(broken, 1.0f));
}
