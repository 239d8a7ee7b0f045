#include <vezODedizezivuz/geCone.h>
#include <zevIRudez/RnRng.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "testUtil.h"

using namespace Vo;

namespace {

GeUnitVector3<float> unit(float x, float y, float z) {
  return GeUnitVector3<float>(GeVector3<float>(x, y, z));
}

GeUnitVector3<float> randomDirection(RnRng<float>& rng) {
  for (;;) {
    const GeVector3<float> v(2 * rng() - 1, 2 * rng() - 1, 2 * rng() - 1);
    const float l2 = v.lengthSquared();
    if (l2 > 0.01f && l2 <= 1.0f) return GeUnitVector3<float>(v);
  }
}

// A direction at `angle` from `axis`, turned by `turn` around it.
GeUnitVector3<float> onRim(const GeUnitVector3<float>& axis, float angle, float turn) {
  const GeVector3<float> helper =
      std::fabs(axis.x) < 0.9f ? GeVector3<float>(1, 0, 0) : GeVector3<float>(0, 1, 0);
  const GeUnitVector3<float> u(cross(axis, helper));
  const GeUnitVector3<float> v(cross(axis, u));
  return GeUnitVector3<float>(axis * std::cos(angle) +
                              (u * std::cos(turn) + v * std::sin(turn)) * std::sin(angle));
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

TEST(FloatingCone, OnlyTheFloatPiMakesASphereAndTheRimIsInside) {
  EXPECT_EQ(VoTest::bits(pi), 0x40490FDBu);
  EXPECT_TRUE(GeFloatingCone(unit(0, 0, 1), pi).isSphere());
  EXPECT_FALSE(GeFloatingCone(unit(0, 0, 1), 3.1415925f).isSphere());
  EXPECT_TRUE(GeFloatingCone(unit(0, 0, 1), pi).contains(unit(0, 0, -1)));
  const GeFloatingCone ray(unit(1, 0, 0), 0.0f), hemisphere(unit(0, 0, 1), 1.5707964f);
  EXPECT_TRUE(ray.contains(unit(1, 0, 0)));
  EXPECT_FALSE(ray.contains(unit(1, 0.001f, 0)));
  EXPECT_TRUE(hemisphere.contains(unit(1, 0, 0)));
  EXPECT_FALSE(hemisphere.contains(unit(1, 0, -0.001f)));
}

TEST(FloatingCone, ExpandGivesTheSphereForSpheresAndNearlyOppositeAxesKeepingTheAxis) {
  const float a150 = 150.0f * pi / 180.0f, a160 = 160.0f * pi / 180.0f;
  const GeFloatingCone sphere(unit(0, 1, 0), pi);
  EXPECT_TRUE(expanded(sphere, GeFloatingCone(unit(1, 0, 0), 0.2f)).isEqualExact(sphere));
  EXPECT_TRUE(expanded(GeFloatingCone(unit(0, 1, 0), 0.3f), GeFloatingCone(unit(1, 0, 0), 4))
                  .isEqualExact(sphere));
  EXPECT_TRUE(expanded(GeFloatingCone(unit(0, 1, 0), 0.1f),
                       GeFloatingCone(unit(std::sin(a160), std::cos(a160), 0), 0.1f))
                  .isEqualExact(sphere));
  const GeFloatingCone wide =
      expanded(GeFloatingCone(unit(1, 0, 0), 0.1f),
               GeFloatingCone(unit(std::cos(a150), std::sin(a150), 0), 0.1f));
  EXPECT_FALSE(wide.isSphere());
  EXPECT_NEAR(wide.getSemiAngle(), (a150 + 0.2f) / 2, 1e-5f);
}

TEST(FloatingCone, ExpandByAnEqualConeChangesNothingAndTwoRaysGiveTheConeBetweenThem) {
  const GeFloatingCone cone(unit(0, -1, 0), 0.4f), x(unit(1, 0, 0), 0), y(unit(0, 1, 0), 0);
  EXPECT_TRUE(expanded(cone, cone).isEqualExact(cone)) << expanded(cone, cone);
  EXPECT_TRUE(expanded(x, y).isEqual(GeFloatingCone(unit(1, 1, 0), pi / 4), 1e-6f, 1e-6f))
      << expanded(x, y);
}

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
    EXPECT_NEAR(merged.getAxis().length(), 1.0f, 1e-6f);
    for (const GeFloatingCone* c : {&a, &b}) {
      for (int k = 0; k < 8; ++k) {
        const GeUnitVector3<float> d = onRim(c->getAxis(), c->getSemiAngle(), k * pi / 4);
        EXPECT_LE(angleBetween(merged.getAxis(), d), merged.getSemiAngle() + 1e-3)
            << "pair " << i << ": " << a << " and " << b << " gave " << merged;
      }
    }
  }
  EXPECT_GT(checked, 100);
}

TEST(FloatingCone, ExpandReportsAnAxisThatCannotBeNormalised) {
  GeFloatingCone cone(unit(1, 0, 0), std::numeric_limits<float>::quiet_NaN());
  EXPECT_TRUE(VoTest::failsWith([&] { cone.expand(GeFloatingCone(unit(0, 1, 0), 0.1f)); },
                                "primitives\\geFloatingCone", 136, "len > 0"));
  EXPECT_EQ(cone.getAxis(), unit(1, 0, 0));
}

// Radius 1, height 2, slope 1: top radius 3, apex 1 below the base, culling apexes at 1 below
// the base and 5 above it.
TEST(AnchoredCone, DistancesAndApexesFollowTheSlope) {
  const GeAnchoredCone cone(GeFloatingCone(unit(0, 0, 1), pi / 4), GePoint3<float>(1, 2, 3), 1, 2);
  EXPECT_NEAR(cone.getTopRadius(), 3.0f, 1e-5f);
  EXPECT_NEAR(cone.getApexDistance(), 1.0f, 1e-5f);
  EXPECT_NEAR(cone.getBackfacingDistance(), 1.0f, 1e-5f);
  EXPECT_NEAR(cone.getFrontfacingDistance(), 5.0f, 1e-5f);
  EXPECT_NEAR((cone.getFrontfacingApex() - GePoint3<float>(1, 2, 8)).length(), 0.0f, 1e-5f);
  EXPECT_NEAR(GeCullingCones(cone).getFrontfacingOffset(), 6.0f, 1e-5f);
}

TEST(CullingCones, WideConesAndTheDefaultCullNothing) {
  const GePoint3<float> o(0, 0, 0);
  // 1.5707964 is the float nearest pi/2, just above it: twice the angle exceeds pi.
  const GeCullingCones wide(GeFloatingCone(unit(0, 0, 1), 1.6f), o, 1.0f),
      halfPi(GeFloatingCone(unit(0, 0, 1), 1.5707964f), o, 1), none;
  EXPECT_EQ(wide.getCullingSemiAngle(), 0.0f);
  EXPECT_TRUE(none.isSphere());
  RnDefaultRng<float> rng(9);
  for (const GeCullingCones* c : {&wide, &halfPi, &none}) {
    EXPECT_EQ(c->getCosBeta(), -1.0f);
    for (int i = 0; i < 100; ++i) {
      const GePoint3<float> p(20 * rng() - 10, 20 * rng() - 10, 20 * rng() - 10);
      EXPECT_FALSE(c->isBehind(p)) << *c;
      EXPECT_TRUE(c->isInFront(p)) << *c;
    }
  }
}

TEST(CullingCones, BehindAndFrontConesOpenAwayFromTheirApexesWithTheCullingAngle) {
  const GeCullingCones quarter(GeFloatingCone(unit(0, 0, 1), pi / 4), GePoint3<float>(0, 0, 0), 1);
  EXPECT_NEAR(quarter.getCosBeta(), std::sqrt(0.5f), 1e-7f);
  EXPECT_NEAR(quarter.getCullingSemiAngle(), pi / 4, 1e-6f);
  // Behind apex at z = -1, front apex at z = 5, both with beta = pi/4.
  const GeCullingCones cones(
      GeAnchoredCone(GeFloatingCone(unit(0, 0, 1), pi / 4), GePoint3<float>(0, 0, 0), 1, 2));
  EXPECT_TRUE(cones.isBehind(cones.getBackfacingApex()));
  EXPECT_TRUE(cones.isBehind(GePoint3<float>(2.9f, 0, -4)));
  EXPECT_FALSE(cones.isBehind(GePoint3<float>(3.1f, 0, -4)));
  EXPECT_FALSE(cones.isBehind(GePoint3<float>(0, 0, 0)));
  EXPECT_TRUE(cones.isInFront(GePoint3<float>(0, 2.9f, 8)));
  EXPECT_FALSE(cones.isInFront(GePoint3<float>(0, 3.1f, 8)));
  EXPECT_FALSE(cones.isInFront(GePoint3<float>(0, 0, 4)));
}

// The text of the culling cones includes the floating cone's own text form.
TEST(CullingCones, ComparisonsAndTextUseTheCullingData) {
  const GeCullingCones a(GeFloatingCone(unit(0, 0, 1), 0.5f), GePoint3<float>(1, 2, 3), 4.0f);
  const GeCullingCones b(GeFloatingCone(unit(0, 1, 0), 0.5f), GePoint3<float>(1, 2, 3), 4.0f);
  const GeCullingCones c(GeFloatingCone(unit(0, 0, 1), 0.5f), GePoint3<float>(1, 2, 3), 4.5f);
  EXPECT_TRUE(a.isEqualExact(b));
  EXPECT_FALSE(a.isEqualExact(c));
  EXPECT_TRUE(a.isEqual(c, 0.5f, 0.0f));
  EXPECT_FALSE(a.isEqual(c, 0.4f, 1.0f));
  std::ostringstream os;
  os << GeCullingCones(GeFloatingCone(unit(0, 0, 1), 1.6f), GePoint3<float>(1, 2, 3), 4.0f);
  EXPECT_EQ(os.str(),
            "cullingCones( backfacingApex=(1, 2, 3), frontfacingOffset=4, cosBeta=-1, "
            "floatingCone( axis=(0, 0, 1), alpha=1.6 ) )");
}
