#include <vezODedizezivuz/geCameraBuilder.h>
#include <vezODedizezivuz/geFrustum.h>
#include <zevIRudez/RnRng.h>

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <utility>

#include "testUtil.h"

using namespace Vo;

namespace {

using Frustum = GeFrustum<float>;
using Box = GeAlignedBox3<float>;
using I = Interval<float>;

// Perspective, with a w row of its own; the identity gives the clip cube.
const GeProjectiveMatrix3<float> camera =
    GeCameraBuilder<float>::makePerspective(1.0f, 0.5f, 50.0f, 1.5f);

}  // namespace

// The text form shows the planes exactly: x = -1, x = 1, y = -1, ... with inward unit normals.
TEST(Frustum, IdentityMatrixGivesTheClipCubeAndDumpWritesOnePlanePerLine) {
  const Frustum f{GeProjectiveMatrix3<float>()};
  std::ostringstream os;
  f.dump(os);
  EXPECT_EQ(os.str(),
            "\nplane( 0 ) = [1, 0, 0, 1]\nplane( 1 ) = [-1, 0, 0, 1]\nplane( 2 ) = [0, 1, 0, 1]"
            "\nplane( 3 ) = [0, -1, 0, 1]\nplane( 4 ) = [0, 0, 1, 1]\nplane( 5 ) = [0, 0, -1, 1]");
  // Points outside plane 0 by less than the threshold still count as inside it.
  EXPECT_EQ(f.classify(GePoint3<float>(1.00005f, 0, 0)), Frustum::INSIDE);
  EXPECT_EQ(f.classify(GePoint3<float>(1.0002f, 0, 0)), Frustum::OUTSIDE);
}

// Points inside the clip cube, mapped back through the camera, are inside; beyond x = 1 outside.
TEST(Frustum, ClipSpacePointsMapBackInsideOrOutside) {
  const Frustum f(camera);
  const GeProjectiveMatrix3<float> inverse = camera.computeInverse();
  RnDefaultRng<float> rng(7);
  for (int i = 0; i < 300; ++i) {
    const float x = 2.5f * rng() - 0.95f, y = 1.9f * rng() - 0.95f, z = 1.9f * rng() - 0.95f;
    const GeHomogeneousCoord3<float> h = inverse * GeHomogeneousCoord3<float>(x, y, z, 1.0f);
    if (std::fabs(x - 1) < 0.05f) continue;
    EXPECT_EQ(f.classify(GePoint3<float>(h.x / h.w, h.y / h.w, h.z / h.w)),
              x < 1 ? Frustum::INSIDE : Frustum::OUTSIDE)
        << x << ' ' << y << ' ' << z;
  }
}

// Wholly outside one plane, wholly inside all, or neither; within the threshold counts as inside.
// (The batch tests hold every path, the portable one included, to this one box for box.)
TEST(Frustum, BoxesInsideOutsideOrAcrossTheClipCube) {
  const Frustum cube{GeProjectiveMatrix3<float>()};
  const float inf = HUGE_VALF;
  const std::pair<Box, Frustum::Classification> cases[] = {
      {Box(I(-0.5f, 0.5f), I(-1, 1), I(0, 1.00005f)), Frustum::INSIDE},
      {Box(I(0.5f, 2), I(0, 0.5f), I(0, 0.5f)), Frustum::INTERSECTING},
      {Box(I(-inf, inf), I(0, 0.5f), I(0, 0.5f)), Frustum::INTERSECTING},
      {Box(I(0, 0.5f), I(-3, -1.0002f), I(0, 0.5f)), Frustum::OUTSIDE},
      {Box(I(0, 0.5f), I(0, 0.5f), I(1.0002f, 3)), Frustum::OUTSIDE},
      {Box(I(2, 3), I(-9, 9), I(-9, 9)), Frustum::OUTSIDE}};
  for (const auto& [box, expected] : cases) EXPECT_EQ(cube.classify(box), expected) << box;
  EXPECT_EQ(Frustum(camera).classify(Box(GePoint3<float>(0, 0, -5))), Frustum::INSIDE);
  EXPECT_EQ(Frustum(camera).classify(Box(GePoint3<float>(0, 0, 5))), Frustum::OUTSIDE);
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

// The inverse maps the near corner to w = 0: the low planes' offsets become NaN.
TEST(Frustum, ComparisonsNeverMatchNaNPlanes) {
  GeProjectiveMatrix3<float> inverseWithWZero;
  inverseWithWZero(3, 0) = inverseWithWZero(3, 1) = 0.5f;
  const Frustum broken(inverseWithWZero.computeInverse());
  EXPECT_FALSE(broken.isEqualExact(broken) || broken.isEqual(broken, 1.0f));
}
