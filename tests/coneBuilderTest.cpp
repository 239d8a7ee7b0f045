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

}  // namespace

TEST(FloatingConeBuilder, AxisIsTheNormalisedCentreOfTheBoundingBox) {
  const GeFloatingCone cone = build({unit(1, 0, 0), unit(0.6f, 0.8f, 0)});
  EXPECT_NEAR(cone.getAxis().x, 0.894427f, 1e-6f);
  EXPECT_NEAR(cone.getAxis().y, 0.447214f, 1e-6f);
  EXPECT_EQ(cone.getAxis().z, 0.0f);
  EXPECT_NEAR(cone.getSemiAngle(), 0.463648f, 1e-6f);
}

TEST(FloatingConeBuilder, BoxesReachingTheOriginGiveTheSphere) {
  EXPECT_TRUE(isTheSphere(build({unit(1, 0, 0), unit(0, 1, 0)})));
  EXPECT_TRUE(isTheSphere(build({unit(1, 0, 0), unit(-1, 0, 0)})));
  EXPECT_TRUE(isTheSphere(build({})));
}

TEST(FloatingConeBuilder, SingleDirectionGivesAZeroAngle) {
  const GeFloatingCone cone = build({unit(1, 0, 0)});
  EXPECT_TRUE(cone.isEqualExact(GeFloatingCone(unit(1, 0, 0), 0.0f)));
}

TEST(FloatingConeBuilder, CreateConeEmptiesTheListAndCopiesKeepTheirOwn) {
  GeFloatingConeBuilder builder(2);
  builder(unit(0, 1, 0));
  const GeFloatingConeBuilder copy = builder;
  EXPECT_FALSE(isTheSphere(builder.createCone()));
  EXPECT_TRUE(builder.getSamples().empty());
  EXPECT_TRUE(isTheSphere(builder.createCone()));
  EXPECT_EQ(copy.getSamples().size(), 1u);
  GeFloatingConeBuilder other;
  other = copy;
  other.reset();
  EXPECT_TRUE(other.getSamples().empty());
  EXPECT_EQ(copy.getSamples().size(), 1u);
}

TEST(FloatingConeBuilder, BuiltConeContainsEverySampleUpToRimRounding) {
  RnDefaultRng<float> rng(31);
  for (int i = 0; i < 200; ++i) {
    const GeUnitVector3<float> centre = randomDirection(rng);
    const float spread = 1.5f * rng();
    std::vector<GeUnitVector3<float>> samples;
    GeFloatingConeBuilder builder;
    const int n = 1 + static_cast<int>(20 * rng());
    for (int k = 0; k < n; ++k) {
      const GeUnitVector3<float> d(centre + randomDirection(rng) * spread);
      samples.push_back(d);
      builder(d);
    }
    const GeFloatingCone cone = builder.createCone();
    const float rim = std::cos(cone.getSemiAngle());
    for (const GeUnitVector3<float>& d : samples) {
      EXPECT_GE(dot(cone.getAxis(), d), rim - 1e-6f) << "set " << i << ", cone " << cone;
    }
  }
}

TEST(AnchoredConeBuilder, SlidPointsSetTheRadiusAndTheHighestTheHeight) {
  GeAnchoredConeBuilder builder;
  EXPECT_TRUE(builder(GePoint3<float>(0, 0, 0)));
  builder(GePoint3<float>(1, 0, 2));
  builder(GePoint3<float>(-1, 0, 1));
  const GeAnchoredCone cone = builder.createCone(GeFloatingCone(unit(0, 0, 1), 0.0f));
  EXPECT_EQ(cone.getBasePoint(), GePoint3<float>(0, 0, 0));
  EXPECT_EQ(cone.getBottomRadius(), 1.0f);
  EXPECT_EQ(cone.getHeight(), 2.0f);
  EXPECT_EQ(cone.getAxis(), unit(0, 0, 1));
}

TEST(AnchoredConeBuilder, PointAboveTheLowestRaisesOnlyTheHeight) {
  GeAnchoredConeBuilder builder;
  builder(GePoint3<float>(0, 0, 3));
  builder(GePoint3<float>(0, 0, -1));
  const GeAnchoredCone cone = builder.createCone(GeFloatingCone(unit(0, 0, 1), 0.3f));
  EXPECT_EQ(cone.getBasePoint(), GePoint3<float>(0, 0, -1));
  EXPECT_EQ(cone.getBottomRadius(), 0.0f);
  EXPECT_EQ(cone.getHeight(), 4.0f);
}

TEST(AnchoredConeBuilder, BoxCornersGiveTheCircumscribedCylinder) {
  GeAnchoredConeBuilder builder;
  const GeAlignedBox3<float> box(GePoint3<float>(0, 0, 0), GePoint3<float>(1, 1, 1));
  box.enumerateCorners(builder);
  EXPECT_EQ(builder.getSamples().size(), 8u);
  const GeAnchoredCone cone = builder.createCone(GeFloatingCone(unit(0, 0, 1), 0.0f));
  EXPECT_EQ(cone.getBasePoint(), GePoint3<float>(0.5f, 0.5f, 0));
  EXPECT_NEAR(cone.getBottomRadius(), std::sqrt(0.5f), 1e-7f);
  EXPECT_EQ(cone.getHeight(), 1.0f);
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

TEST(AnchoredConeBuilder, SlidPointsLieInsideTheBuiltConeOnRandomClusters) {
  RnDefaultRng<float> rng(41);
  for (int i = 0; i < 200; ++i) {
    const GeUnitVector3<float> a = randomDirection(rng);
    const float alpha = 1.2f * rng();
    const float t = std::tan(alpha);
    std::vector<GePoint3<float>> points;
    GeAnchoredConeBuilder builder;
    for (int k = 0; k < 12; ++k) {
      points.emplace_back(4 * rng() - 2, 4 * rng() - 2, 4 * rng() - 2);
      builder(points.back());
    }
    const GeAnchoredCone cone = builder.createCone(GeFloatingCone(a, alpha));
    const GePoint3<float> base = cone.getBasePoint();
    GePoint3<float> lowest = points[0];
    for (const GePoint3<float>& p : points) {
      if (dot(p - lowest, a) < 0) lowest = p;
    }
    EXPECT_NEAR(dot(base - lowest, a), 0.0f, 1e-5f) << "cluster " << i;
    for (const GePoint3<float>& p : points) {
      const float h = dot(p - base, a);
      EXPECT_GE(h, -1e-5f);
      EXPECT_LE(h, cone.getHeight() + 1e-5f);
      // Points farther from P0's axis than the slope reaches must lie within the slanted side.
      const GeVector3<float> fromLowest = p - lowest;
      const float h0 = dot(fromLowest, a);
      const float off0 = (fromLowest - a * h0).length();
      if (off0 <= h0 * t + 1e-4f) continue;
      const GeVector3<float> fromBase = p - base;
      const float off = (fromBase - a * h).length();
      EXPECT_LE(off, cone.getBottomRadius() + h * t + 1e-4f) << "cluster " << i;
    }
  }
}

TEST(CullingConesFromBuilders, ViewpointsBehindOrInFrontSeeEveryElementFromThatSide) {
  RnDefaultRng<float> rng(51);
  int behind = 0, inFront = 0;
  for (int cluster = 0; cluster < 100; ++cluster) {
    const GeUnitVector3<float> mainNormal = randomDirection(rng);
    const float spread = 0.6f * rng();
    std::vector<GePoint3<float>> positions;
    std::vector<GeUnitVector3<float>> normals;
    GeFloatingConeBuilder normalCone;
    GeAnchoredConeBuilder placement;
    for (int k = 0; k < 10; ++k) {
      normals.emplace_back(mainNormal + randomDirection(rng) * spread);
      positions.emplace_back(2 * rng() - 1, 2 * rng() - 1, 2 * rng() - 1);
      normalCone(normals.back());
      placement(positions.back());
    }
    const GeCullingCones cones(placement.createCone(normalCone.createCone()));
    for (int v = 0; v < 200; ++v) {
      const GePoint3<float> eye(40 * rng() - 20, 40 * rng() - 20, 40 * rng() - 20);
      const bool isBehind = cones.isBehind(eye);
      const bool isInFront = cones.isInFront(eye);
      behind += isBehind;
      inFront += isInFront;
      for (int k = 0; k < 10; ++k) {
        const float facing = dot(normals[k], eye - positions[k]);
        if (isBehind) {
          EXPECT_LE(facing, 1e-4f) << "cluster " << cluster << " element " << k;
        }
        if (isInFront) {
          EXPECT_GE(facing, -1e-4f) << "cluster " << cluster << " element " << k;
        }
      }
    }
  }
  EXPECT_GT(behind, 100);
  EXPECT_GT(inFront, 100);
}
