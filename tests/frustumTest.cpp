#include <vezODedizezivuz/geCameraBuilder.h>
#include <vezODedizezivuz/geFrustum.h>
#include <zevIRudez/RnRng.h>

#include <cmath>
#include <utility>

#include "testUtil.h"

using namespace Vo;

namespace {

using Frustum = GeFrustum<float>;
using Box = GeAlignedBox3<float>;
using P = GePoint3<float>;
using I = Interval<float>;
constexpr float threshold = Frustum::classificationThreshold;
const float inf = HUGE_VALF, NaN = std::nanf("");

// Perspective, with a w row of its own; the identity gives the clip cube.
const auto camera = GeCameraBuilder<float>::makePerspective(1.0f, 0.5f, 50.0f, 1.5f);

// The sphere rule in float, plane by plane in index order. (A radius that passed the check is
// not negative, so v + r below the threshold implies v - r below it.)
Frustum::Classification sphereByPlanes(const Frustum& f, const P& c, float r) {
  Frustum::Classification result = Frustum::INSIDE;
  for (int i = 0; i < 6; ++i) {
    const float v = f.getPlane(i).evaluate(c);
    if (v + r < threshold) return Frustum::OUTSIDE;
    if (v - r < threshold) result = Frustum::INTERSECTING;
  }
  return result;
}

}  // namespace

// Wholly outside one plane, wholly inside all, or neither; within the threshold counts as inside,
// for points as for boxes. (The batch tests hold every path, the portable one included, to this
// one box for box.)
TEST(Frustum, ClassifiesAgainstTheClipCubeWithTheThreshold) {
  const Frustum cube{GeProjectiveMatrix3<float>()};
  const std::pair<Box, Frustum::Classification> cases[] = {
      {Box(I(-0.5f, 0.5f), I(-1, 1), I(0, 1.00005f)), Frustum::INSIDE},
      {Box(I(0.5f, 2), I(0, 0.5f), I(0, 0.5f)), Frustum::INTERSECTING},
      {Box(I(-inf, inf), I(0, 0.5f), I(0, 0.5f)), Frustum::INTERSECTING},
      {Box(I(0, 0.5f), I(-3, -1.0002f), I(0, 0.5f)), Frustum::OUTSIDE},
      {Box(I(0, 0.5f), I(0, 0.5f), I(1.0002f, 3)), Frustum::OUTSIDE},
      {Box(I(2, 3), I(-9, 9), I(-9, 9)), Frustum::OUTSIDE}};
  for (const auto& [box, expected] : cases) EXPECT_EQ(cube.classify(box), expected) << box;
  EXPECT_EQ(cube.classify(P(1.00005f, 0, 0)), Frustum::INSIDE);
  EXPECT_EQ(cube.classify(P(1.0002f, 0, 0)), Frustum::OUTSIDE);
  // A perspective camera looks down -z.
  EXPECT_EQ(Frustum(camera).classify(Box(P(0, 0, -5))), Frustum::INSIDE);
  EXPECT_EQ(Frustum(camera).classify(Box(P(0, 0, 5))), Frustum::OUTSIDE);
}

TEST(Frustum, SingularMatrixOrDegeneratePlaneIsReported) {
  GeProjectiveMatrix3<float> singular, flat;
  singular(3, 3) = 0.0f;
  flat(3, 0) = -1.0f;  // row 3 + row 0 has no x, y, z part, although the matrix is invertible
  EXPECT_TRUE(
      VoTest::failsWith([&] { Frustum f(singular); }, GeReportSites::projectiveMatrixSingular));
  EXPECT_TRUE(VoTest::failsWith([&] { Frustum f(flat); }, GeReportSites::unitVectorLength));
}

// Equal planes compare equal; the inverse below maps the near corner to w = 0, so the low
// planes' offsets become NaN, which never compare equal.
TEST(Frustum, ComparisonsMatchEqualPlanesAndNeverNaNPlanes) {
  const Frustum f(camera);
  EXPECT_TRUE(f.isEqualExact(Frustum(camera)) && f.isEqual(Frustum(camera), 0.0f));
  GeProjectiveMatrix3<float> inverseWithWZero;
  inverseWithWZero(3, 0) = inverseWithWZero(3, 1) = 0.5f;
  const Frustum broken(inverseWithWZero.computeInverse());
  EXPECT_FALSE(broken.isEqualExact(broken) || broken.isEqual(broken, 1.0f));
}

// Every sphere gets exactly the answer of the float rule plane by plane: random spheres, radii
// within an ulp of a plane's decision, non-finite centres and radii, and both overloads. A
// negative or NaN radius is reported.
TEST(Frustum, SpheresFollowTheRulePlaneByPlane) {
  const Frustum f(camera);
  RnDefaultRng<float> rng(31);
  for (int i = 0; i < 1200; ++i) {
    const P c(60 * rng() - 30, 60 * rng() - 30, 60 * rng() - 55);
    float r = 5 * rng();
    // For odd i, |v − threshold| for one plane, give or take an ulp: v ± r lands on the decision.
    if (i % 2 != 0) r = std::fabs(f.getPlane(i / 2 % 6).evaluate(c) - threshold);
    if (i % 2 != 0 && i % 3 != 1) r = std::nextafter(r, i % 3 == 0 ? 0.0f : 1e9f);
    EXPECT_EQ(f.classify(c, r), sphereByPlanes(f, c, r)) << i;
    EXPECT_EQ(f.classify(GeSphere3<float>(c, r)), sphereByPlanes(f, c, r)) << i;
  }
  for (const float r : {0.0f, 1.0f, inf})
    for (const float x : {0.0f, 100.0f, -inf, inf, NaN})
      EXPECT_EQ(f.classify(P(x, 0, -10), r), sphereByPlanes(f, P(x, 0, -10), r)) << x << ' ' << r;
  for (const float r : {-1.0f, NaN})
    EXPECT_TRUE(VoTest::failsWith([&] { (void)f.classify(P(0, 0, 0), r); },
                                  GeReportSites::frustumSphereRadius));
}

// Corner i is the clip-space corner with bits 0, 1, 2 of i choosing high x, y, z, taken back
// to world space.
TEST(Frustum, CornersAreTheClipCornersMappedBack) {
  for (const GeProjectiveMatrix3<float>& m :
       {camera, GeCameraBuilder<float>::makeOrthographic(0.8f, 1.0f, 20.0f, 1.0f)}) {
    const auto corner = Frustum(m).getCorners();
    for (int i = 0; i < 8; ++i) {
      P clip;
      ASSERT_TRUE(m.computeInverse().transformPoint(
          P(i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 4 ? 1.0f : -1.0f), clip));
      EXPECT_TRUE(corner[i].isEqual(clip, 2e-4f * (1 + clip.toVector().length()))) << i;
    }
  }
}
