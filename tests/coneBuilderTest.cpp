#include <vezODedizezivuz/geAlignedBox3.h>
#include <vezODedizezivuz/geConeBuilder.h>
#include <zevIRudez/RnRng.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

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

GeFloatingCone build(std::initializer_list<GeUnitVector3<float>> directions) {
  GeFloatingConeBuilder builder;
  UnaryFunctor<GeUnitVector3<float>, void>& sink = builder;
  for (const GeUnitVector3<float>& d : directions) sink(d);
  return builder.createCone();
}

bool isTheSphere(const GeFloatingCone& c) {
  return c.getAxis() == unit(0, 0, 1) && c.getSemiAngle() == GeFloatingCone::sphereAlpha;
}

GeAnchoredCone anchored(std::initializer_list<GePoint3<float>> points, const GeFloatingCone& f) {
  GeAnchoredConeBuilder builder;
  for (const GePoint3<float>& p : points) EXPECT_TRUE(builder(p));
  return builder.createCone(f);
}

}  // namespace

TEST(FloatingConeBuilder,
     AxisIsTheNormalisedBoxCentreUnlessTheBoxReachesTheOriginOrTheListIsEmpty) {
  // Box [0.6, 1] x [0, 0.8] x [0, 0], centre (0.8, 0.4, 0); alpha is half the angle acos(0.6).
  const GeFloatingCone cone = build({unit(1, 0, 0), unit(0.6f, 0.8f, 0)});
  EXPECT_TRUE(cone.isEqual(GeFloatingCone(unit(0.8f, 0.4f, 0), std::acos(0.6f) / 2), 1e-6f, 1e-6f))
      << cone;
  EXPECT_TRUE(build({unit(1, 0, 0)}).isEqualExact(GeFloatingCone(unit(1, 0, 0), 0.0f)));
  EXPECT_TRUE(isTheSphere(build({unit(1, 0, 0), unit(0, 1, 0)})));  // the box touches the origin
  EXPECT_TRUE(isTheSphere(build({unit(1, 0, 0), unit(-1, 0, 0)})));
  EXPECT_TRUE(isTheSphere(build({})));
  // createCone empties the list: a second call gives the sphere.
  GeFloatingConeBuilder builder;
  builder(unit(0, 1, 0));
  EXPECT_FALSE(isTheSphere(builder.createCone()));
  EXPECT_TRUE(builder.getSamples().empty());
  EXPECT_TRUE(isTheSphere(builder.createCone()));
}

TEST(FloatingConeBuilder, BuiltConeContainsEverySampleUpToRimRounding) {
  RnDefaultRng<float> rng(31);
  for (int i = 0; i < 200; ++i) {
    const GeUnitVector3<float> centre = randomDirection(rng);
    const float spread = 1.5f * rng();
    std::vector<GeUnitVector3<float>> samples(1 + static_cast<int>(20 * rng()));
    GeFloatingConeBuilder builder;
    for (GeUnitVector3<float>& d : samples) {
      d = GeUnitVector3<float>(centre + randomDirection(rng) * spread);
      builder(d);
    }
    const GeFloatingCone cone = builder.createCone();
    for (const GeUnitVector3<float>& d : samples) {
      EXPECT_GE(dot(cone.getAxis(), d), std::cos(cone.getSemiAngle()) - 1e-6f)
          << "set " << i << ", cone " << cone;
    }
  }
}

TEST(AnchoredConeBuilder, LowestPointGivesTheBaseSlidPointsTheRadiusAndTheHighestTheHeight) {
  const GeFloatingCone up(unit(0, 0, 1), 0.0f);
  // (1, 0, 2) and (-1, 0, 1) slide down to distance 1 from the axis through (0, 0, 0).
  EXPECT_TRUE(anchored({{0, 0, 0}, {1, 0, 2}, {-1, 0, 1}}, up)
                  .isEqualExact(GeAnchoredCone(up, GePoint3<float>(0, 0, 0), 1, 2)));
  // A point straight above the lowest raises only the height.
  const GeFloatingCone open(unit(0, 0, 1), 0.3f);
  EXPECT_TRUE(anchored({{0, 0, 3}, {0, 0, -1}}, open)
                  .isEqualExact(GeAnchoredCone(open, GePoint3<float>(0, 0, -1), 0, 4)));
  // The corners of the unit box give its circumscribed cylinder.
  GeAnchoredConeBuilder builder;
  GeAlignedBox3<float>(GePoint3<float>(0, 0, 0), GePoint3<float>(1, 1, 1))
      .enumerateCorners(builder);
  EXPECT_TRUE(builder.createCone(up).isEqual(
      GeAnchoredCone(up, GePoint3<float>(0.5f, 0.5f, 0), std::sqrt(0.5f), 1), 1e-7f, 0));
}

TEST(AnchoredConeBuilder, EmptyListAndUnusableAxisAreReported) {
  GeAnchoredConeBuilder builder;
  const GeFloatingCone up(unit(0, 0, 1), 0.2f);
  EXPECT_TRUE(VoTest::failsWith([&] { builder.createCone(up); },
                                "primitives\\geAnchoredConeBuilder", 96, "size > 0"));
  builder(GePoint3<float>(1, 2, 3));
  GeUnitVector3<float> nanAxis;
  nanAxis.setNormalized(std::numeric_limits<float>::quiet_NaN(), 0, 0);
  EXPECT_TRUE(VoTest::failsWith([&] { builder.createCone(GeFloatingCone(nanAxis, 0.2f)); },
                                "primitives\\geAnchoredConeBuilder", 111, "len > 0"));
}

// The base lies at the level of the lowest point P0 along the axis, every point lies between base
// and top, and points outside P0's slope lie within the slanted side.
TEST(AnchoredConeBuilder, SlidPointsLieInsideTheBuiltConeOnRandomClusters) {
  RnDefaultRng<float> rng(41);
  for (int i = 0; i < 200; ++i) {
    const GeUnitVector3<float> a = randomDirection(rng);
    const float alpha = 1.2f * rng();
    std::vector<GePoint3<float>> points(12);
    GeAnchoredConeBuilder builder;
    for (GePoint3<float>& p : points)
      builder(p = GePoint3<float>(4 * rng() - 2, 4 * rng() - 2, 4 * rng() - 2));
    const GeAnchoredCone cone = builder.createCone(GeFloatingCone(a, alpha));
    GePoint3<float> lowest = points[0];
    for (const GePoint3<float>& p : points) lowest = dot(p - lowest, a) < 0 ? p : lowest;
    EXPECT_NEAR(dot(cone.getBasePoint() - lowest, a), 0.0f, 1e-5f) << "cluster " << i;
    // Distance of v from the axis direction.
    const auto offAxis = [&](const GeVector3<float>& v) { return (v - a * dot(v, a)).length(); };
    for (const GePoint3<float>& p : points) {
      const float h = dot(p - cone.getBasePoint(), a);
      EXPECT_GE(h, -1e-5f) << "cluster " << i;
      EXPECT_LE(h, cone.getHeight() + 1e-5f) << "cluster " << i;
      if (offAxis(p - lowest) <= dot(p - lowest, a) * std::tan(alpha) + 1e-4f) continue;
      EXPECT_LE(offAxis(p - cone.getBasePoint()),
                cone.getBottomRadius() + h * std::tan(alpha) + 1e-4f)
          << "cluster " << i;
    }
  }
}

TEST(CullingConesFromBuilders, ViewpointsBehindOrInFrontSeeEveryElementFromThatSide) {
  RnDefaultRng<float> rng(51);
  int behind = 0, inFront = 0;
  for (int cluster = 0; cluster < 100; ++cluster) {
    const GeUnitVector3<float> mainNormal = randomDirection(rng);
    const float spread = 0.6f * rng();
    std::vector<GePoint3<float>> positions(10);
    std::vector<GeUnitVector3<float>> normals(10);
    GeFloatingConeBuilder normalCone;
    GeAnchoredConeBuilder placement;
    for (int k = 0; k < 10; ++k) {
      normalCone(normals[k] = GeUnitVector3<float>(mainNormal + randomDirection(rng) * spread));
      placement(positions[k] = GePoint3<float>(2 * rng() - 1, 2 * rng() - 1, 2 * rng() - 1));
    }
    const GeCullingCones cones(placement.createCone(normalCone.createCone()));
    for (int v = 0; v < 200; ++v) {
      const GePoint3<float> eye(40 * rng() - 20, 40 * rng() - 20, 40 * rng() - 20);
      const bool isBehind = cones.isBehind(eye), isInFront = cones.isInFront(eye);
      behind += isBehind;
      inFront += isInFront;
      for (int k = 0; k < 10; ++k) {
        const float facing = dot(normals[k], eye - positions[k]);
        EXPECT_TRUE(!isBehind || facing <= 1e-4f) << "cluster " << cluster << " element " << k;
        EXPECT_TRUE(!isInFront || facing >= -1e-4f) << "cluster " << cluster << " element " << k;
      }
    }
  }
  EXPECT_GT(behind, 100);
  EXPECT_GT(inFront, 100);
}
