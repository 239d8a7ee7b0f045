#include <vezODedizezivuz/geCameraBuilder.h>
#include <vezODedizezivuz/geFrustum.h>
#include <zevIRudez/RnRng.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <sstream>
#include <utility>

#include "testUtil.h"

using namespace Vo;

namespace {

using Frustum = GeFrustum<float>;
using Box = GeAlignedBox3<float>;
using I = Interval<float>;
constexpr float threshold = Frustum::classificationThreshold;

// Perspective, with a w row of its own; the identity gives the clip cube.
const GeProjectiveMatrix3<float> camera =
    GeCameraBuilder<float>::makePerspective(1.0f, 0.5f, 50.0f, 1.5f);

// The sphere rule in float, plane by plane in index order, as the portable build runs it.
Frustum::Classification sphereByPlanes(const Frustum& f, const GePoint3<float>& c, float r) {
  Frustum::Classification result = Frustum::INSIDE;
  for (int i = 0; i < 6; ++i) {
    const float v = f.getPlane(i).evaluate(c);
    if (v - r < threshold) {
      if (v + r < threshold) return Frustum::OUTSIDE;
      result = Frustum::INTERSECTING;
    }
  }
  return result;
}

}  // namespace

// The text form shows the planes exactly: x = -1, x = 1, y = -1, ... with inward unit normals.
TEST(Frustum, IdentityMatrixGivesTheClipCube) {
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
      VoTest::failsWith([&] { Frustum f(singular); }, GeReportSites::projectiveMatrixSingular));
  EXPECT_TRUE(VoTest::failsWith([&] { Frustum f(flat); }, GeReportSites::unitVectorLength));
}

// The inverse maps the near corner to w = 0: the low planes' offsets become NaN.
TEST(Frustum, ComparisonsNeverMatchNaNPlanes) {
  GeProjectiveMatrix3<float> inverseWithWZero;
  inverseWithWZero(3, 0) = inverseWithWZero(3, 1) = 0.5f;
  const Frustum broken(inverseWithWZero.computeInverse());
  EXPECT_FALSE(broken.isEqualExact(broken) || broken.isEqual(broken, 1.0f));
}

// Against the signed distances in double: OUTSIDE only when the sphere lies more than 1e-4
// beyond one plane, INTERSECTING when it reaches past one; spheres touching a face from outside
// are never OUTSIDE. Cases within 1e-5 of a decision are left to the touching checks. Every
// sphere, including radii within an ulp of a plane's decision and non-finite inputs, gets
// exactly the answer of the float rule plane by plane.
TEST(Frustum, SphereClassificationFollowsTheSignedDistances) {
  const Frustum f(camera);
  RnDefaultRng<float> rng(31);
  for (int i = 0; i < 3000; ++i) {
    const GePoint3<float> c(60 * rng() - 30, 60 * rng() - 30, 60 * rng() - 55);
    float r = 5 * rng();
    if (i % 2 != 0) {
      // |v − threshold| for one plane, give or take an ulp: v ± r lands on the decision.
      r = std::fabs(f.getPlane(i / 2 % 6).evaluate(c) - threshold);
      if (i % 3 != 1) r = std::nextafter(r, i % 3 == 0 ? 0.0f : 1e9f);
    }
    EXPECT_EQ(f.classify(c, r), sphereByPlanes(f, c, r)) << i;
    bool outside = false, crossing = false, nearDecision = false;
    for (int k = 0; k < 6; ++k) {
      const GePlane3<float>& p = f.getPlane(k);
      const double v =
          double(p.normal.x) * c.x + double(p.normal.y) * c.y + double(p.normal.z) * c.z + p.d;
      outside |= v + r < threshold;
      crossing |= v - r < threshold;
      nearDecision |= std::fabs(v + r - threshold) < 1e-5 || std::fabs(v - r - threshold) < 1e-5;
    }
    if (nearDecision) continue;
    const Frustum::Classification expected = outside    ? Frustum::OUTSIDE
                                             : crossing ? Frustum::INTERSECTING
                                                        : Frustum::INSIDE;
    EXPECT_EQ(f.classify(c, r), expected) << i;
  }
  const std::array<GePoint3<float>, 8> corner = f.getCorners();
  for (int k = 0; k < 6; ++k) {
    // The centre of face k, from the corners on its plane, and a sphere touching it outside.
    GeVector3<float> sum(0, 0, 0);
    for (int i = 0; i < 8; ++i) {
      const int bit = (i >> (k / 2)) & 1;
      if (bit == k % 2) sum += corner[i].toVector();
    }
    const GePoint3<float> face(sum / 4.0f);
    const float r = 0.25f;
    EXPECT_NE(f.classify(face - f.getPlane(k).normal * r, r), Frustum::OUTSIDE) << k;
    EXPECT_EQ(f.classify(GeSphere3<float>(face - f.getPlane(k).normal * r * 1.01f, r)),
              Frustum::OUTSIDE)
        << k;
  }
  const float inf = std::numeric_limits<float>::infinity(), nan = std::nanf("");
  for (const float r : {0.0f, 1.0f, inf}) {
    for (const float x : {0.0f, 100.0f, -inf, inf, nan}) {
      const GePoint3<float> c(x, 0, -10);
      EXPECT_EQ(f.classify(c, r), sphereByPlanes(f, c, r)) << x << ' ' << r;
    }
  }
  for (const float r : {-1.0f, nan}) {
    EXPECT_TRUE(VoTest::failsWith([&] { (void)f.classify(GePoint3<float>(0, 0, 0), r); },
                                  GeReportSites::frustumSphereRadius));
  }
}

// Each corner lies on its three planes and is the clip-space corner taken back to world space.
TEST(Frustum, CornersLieOnTheirPlanesAndAreTheClipCornersMappedBack) {
  for (const GeProjectiveMatrix3<float>& m :
       {camera, GeCameraBuilder<float>::makeOrthographic(0.8f, 1.0f, 20.0f, 1.0f)}) {
    const Frustum f(m);
    const GeProjectiveMatrix3<float> inverse = m.computeInverse();
    const std::array<GePoint3<float>, 8> corner = f.getCorners();
    for (int i = 0; i < 8; ++i) {
      const float tol = 1e-5f * (1 + corner[i].toVector().length());
      for (int plane : {i & 1, 2 + ((i >> 1) & 1), 4 + (i >> 2)}) {
        EXPECT_NEAR(f.getPlane(plane).evaluate(corner[i]), 0.0f, tol) << i << ' ' << plane;
      }
      GePoint3<float> clip;
      ASSERT_TRUE(inverse.transformPoint(
          GePoint3<float>(i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 4 ? 1.0f : -1.0f), clip));
      EXPECT_TRUE(corner[i].isEqual(clip, 20 * tol)) << i;
    }
  }
}
