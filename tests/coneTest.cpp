#include <vezODedizezivuz/geCone.h>
#include <zevIRudez/RnRng.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "testUtil.h"

using namespace Vo;

namespace {

GeUnitVector3<float> unit(float x, float y, float z) {
  return GeUnitVector3<float>(GeVector3<float>(x, y, z));
}

// Not uniform, but spread over all directions; the seeded draws never come near zero length.
GeUnitVector3<float> randomDirection(RnRng<float>& rng) {
  return GeUnitVector3<float>(GeVector3<float>(2 * rng() - 1, 2 * rng() - 1, 2 * rng() - 1));
}

double angleBetween(const GeVector3<float>& a, const GeVector3<float>& b) {
  return std::acos(std::fmax(-1.0, std::fmin(1.0, static_cast<double>(dot(a, b)))));
}

GeFloatingCone expanded(GeFloatingCone a, const GeFloatingCone& b) {
  a.expand(b);
  return a;
}

const float pi = GeFloatingCone::sphereAlpha;

}  // namespace

TEST(FloatingCone, OnlyTheFloatPiMakesASphere) {
  const GeUnitVector3<float> z = unit(0, 0, 1);
  EXPECT_TRUE(GeFloatingCone(z, pi).isSphere() && !GeFloatingCone(z, 3.1415925f).isSphere());
}

TEST(FloatingCone, TheRimIsInside) {
  const GeUnitVector3<float> z = unit(0, 0, 1);
  const GeFloatingCone hemisphere(z, 1.5707964f);
  EXPECT_TRUE(hemisphere.contains(unit(1, 0, 0)));
  EXPECT_FALSE(hemisphere.contains(unit(1, 0, -0.001f)));
}

TEST(FloatingCone, ExpandGivesTheSphereForSpheresAndNearlyOppositeAxes) {
  const float a150 = 150.0f * pi / 180.0f, a160 = 160.0f * pi / 180.0f;
  const GeFloatingCone sphere(unit(0, 1, 0), pi);
  EXPECT_TRUE(expanded(sphere, GeFloatingCone(unit(1, 0, 0), 0.2f)).isEqualExact(sphere));
  EXPECT_TRUE(expanded(GeFloatingCone(unit(0, 1, 0), 0.1f),
                       GeFloatingCone(unit(std::sin(a160), std::cos(a160), 0), 0.1f))
                  .isEqualExact(sphere));
  EXPECT_NEAR(expanded(GeFloatingCone(unit(1, 0, 0), 0.1f),
                       GeFloatingCone(unit(std::cos(a150), std::sin(a150), 0), 0.1f))
                  .getSemiAngle(),
              (a150 + 0.2f) / 2, 1e-5f);
}

// The expanded cone holds both cones: the angle between the axes plus the inner semi-angle
// stays within the outer semi-angle.
TEST(FloatingCone, ExpandedConeHoldsBothConesOnRandomPairs) {
  RnDefaultRng<float> rng(5);
  int checked = 0;
  for (int i = 0; i < 500; ++i) {
    const GeFloatingCone a(randomDirection(rng), 1.2f * rng());
    const GeFloatingCone b(randomDirection(rng), 1.2f * rng());
    const double between = angleBetween(a.getAxis(), b.getAxis());
    // Skip pairs where one cone holds the other, or that turn into the sphere.
    if (between + b.getSemiAngle() <= a.getSemiAngle() ||
        between + a.getSemiAngle() <= b.getSemiAngle() || std::cos(between) < -0.9) {
      continue;
    }
    const GeFloatingCone merged = expanded(a, b);
    ++checked;
    for (const GeFloatingCone* c : {&a, &b}) {
      EXPECT_LE(angleBetween(merged.getAxis(), c->getAxis()) + c->getSemiAngle(),
                merged.getSemiAngle() + 1e-3)
          << "pair " << i << ": " << a << " and " << b << " gave " << merged;
    }
  }
  EXPECT_GT(checked, 100);
}

TEST(FloatingCone, ExpandReportsAnAxisThatCannotBeNormalised) {
  GeFloatingCone cone(unit(1, 0, 0), std::numeric_limits<float>::quiet_NaN());
  EXPECT_TRUE(VoTest::failsWith([&] { cone.expand(GeFloatingCone(unit(0, 1, 0), 0.1f)); },
                                GeReportSites::floatingConeAxis));
  EXPECT_EQ(cone.getAxis(), unit(1, 0, 0));
}

TEST(CullingCones, WideConesAndTheDefaultCullNothing) {
  // 1.5707964 is the float nearest pi/2, just above it: twice the angle exceeds pi.
  const GeCullingCones wide(GeFloatingCone(unit(0, 0, 1), 1.6f), GePoint3<float>(0, 0, 0), 1),
      halfPi(GeFloatingCone(unit(0, 0, 1), 1.5707964f), GePoint3<float>(0, 0, 0), 1), none;
  for (const GeCullingCones* c : {&wide, &halfPi, &none}) {
    EXPECT_EQ(c->getCosBeta(), -1.0f);
    for (const GePoint3<float>& p : {GePoint3<float>(0, 0, -9), GePoint3<float>(3, 0, 9)})
      EXPECT_TRUE(!c->isBehind(p) && c->isInFront(p)) << *c << " at " << p;
  }
}

TEST(CullingCones, BehindAndFrontConesOpenAwayFromTheirApexesWithTheCullingAngle) {
  // Radius 1, height 2, slope 1: top radius 3, behind apex 1 below the base, front apex 5 above
  // it, both cones with beta = pi/4.
  const GeCullingCones cones(
      GeAnchoredCone(GeFloatingCone(unit(0, 0, 1), pi / 4), GePoint3<float>(0, 0, 0), 1, 2));
  EXPECT_TRUE(cones.isBehind(GePoint3<float>(2.9f, 0, -4)));
  EXPECT_FALSE(cones.isBehind(GePoint3<float>(3.1f, 0, -4)));
  EXPECT_TRUE(cones.isInFront(GePoint3<float>(0, 2.9f, 8)));
  EXPECT_FALSE(cones.isInFront(GePoint3<float>(0, 3.1f, 8)));
  // A slope other than 1 tells h * t from h / t: radius 1, height 2 and tangent 0.5 put the
  // front apex (2 * 0.5 + 1) * 0.5 + 2 + 1 * 0.5 = 3.5 beyond the behind apex.
  const GeAnchoredCone shallow(GeFloatingCone(unit(0, 0, 1), std::atan(0.5f)),
                               GePoint3<float>(0, 0, 0), 1, 2);
  EXPECT_NEAR(GeCullingCones(shallow).getFrontfacingOffset(), 3.5f, 1e-5f);
  // The apex itself is behind; a point beside it at distance 1 is not.
  const GeCullingCones atOrigin(GeFloatingCone(unit(0, 0, 1), pi / 4), GePoint3<float>(0, 0, 0), 1);
  EXPECT_TRUE(atOrigin.isBehind(GePoint3<float>(0, 0, 0)));
  EXPECT_FALSE(atOrigin.isBehind(GePoint3<float>(1, 0, 0)));
}
