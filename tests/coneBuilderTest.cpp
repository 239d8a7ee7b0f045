#include <vezODedizezivuz/geConeBuilder.h>
#include <zevIRudez/RnRng.h>

#include <gtest/gtest.h>

#include <algorithm>
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
  return unit(2 * rng() - 1, 2 * rng() - 1, 2 * rng() - 1);
}

GeFloatingCone build(std::initializer_list<GeUnitVector3<float>> directions) {
  GeFloatingConeBuilder builder;
  for (const GeUnitVector3<float>& d : directions) builder(d);
  return builder.createCone();
}

const GeFloatingCone sphere(unit(0, 0, 1), GeFloatingCone::sphereAlpha);

}  // namespace

TEST(FloatingConeBuilder, AxisIsTheNormalisedBoxCentreUnlessTheBoxReachesTheOrigin) {
  // Box [0.6, 1] x [0, 0.8] x [0, 0], centre (0.8, 0.4, 0); alpha is half the angle acos(0.6).
  const GeFloatingCone cone = build({unit(1, 0, 0), unit(0.6f, 0.8f, 0)});
  EXPECT_TRUE(cone.isEqual(GeFloatingCone(unit(0.8f, 0.4f, 0), std::acos(0.6f) / 2), 1e-6f, 1e-6f))
      << cone;
  EXPECT_TRUE(
      build({unit(1, 0, 0), unit(0, 1, 0)}).isEqualExact(sphere));  // the box touches the origin
}

// A second call gives the sphere of the empty list.
TEST(FloatingConeBuilder, CreateConeEmptiesTheList) {
  GeFloatingConeBuilder builder;
  builder(unit(0, 1, 0));
  EXPECT_FALSE(builder.createCone().isEqualExact(sphere));
  EXPECT_TRUE(builder.createCone().isEqualExact(sphere));
}

// The lowest point gives the base, points slid down along the slope the radius, the highest
// point the height.
TEST(AnchoredConeBuilder, BaseFromTheLowestPointRadiusFromSlidPointsHeightFromTheHighest) {
  const GeFloatingCone up(unit(0, 0, 1), 0.0f);
  GeAnchoredConeBuilder builder;
  // (1, 0, 2) and (-1, 0, 1) slide down to distance 1 from the axis through (0, 0, 0).
  for (const GePoint3<float>& p :
       {GePoint3<float>(0, 0, 0), GePoint3<float>(1, 0, 2), GePoint3<float>(-1, 0, 1)})
    EXPECT_TRUE(builder(p));
  EXPECT_TRUE(
      builder.createCone(up).isEqualExact(GeAnchoredCone(up, GePoint3<float>(0, 0, 0), 1, 2)));
  // Sliding (3, 4, 1) down a 45-degree slope brings it to (2.4, 3.2, 0); the base is the middle.
  GeAnchoredConeBuilder sliding;
  sliding(GePoint3<float>(0, 0, 0));
  sliding(GePoint3<float>(3, 4, 1));
  const GeAnchoredCone slid = sliding.createCone(GeFloatingCone(unit(0, 0, 1), std::atan(1.0f)));
  EXPECT_TRUE(std::fabs(slid.getBottomRadius() - 2) < 1e-5f && slid.getHeight() == 1 &&
              (slid.getBasePoint() - GePoint3<float>(1.2f, 1.6f, 0)).length() < 1e-5f)
      << slid.getBottomRadius() << ' ' << slid.getBasePoint();
}

TEST(AnchoredConeBuilder, ReportsAnEmptyListOrAnAxisThatCannotBeNormalised) {
  GeAnchoredConeBuilder builder;
  EXPECT_TRUE(VoTest::failsWith([&] { builder.createCone(GeFloatingCone(unit(0, 0, 1), 0.0f)); },
                                GeReportSites::anchoredConeNoSamples));
  builder(GePoint3<float>(0, 0, 0));
  GeUnitVector3<float> nanAxis;
  nanAxis.setNormalized(std::numeric_limits<float>::quiet_NaN(), 0, 0);
  EXPECT_TRUE(VoTest::failsWith([&] { builder.createCone(GeFloatingCone(nanAxis, 0.2f)); },
                                GeReportSites::anchoredConeFirstAcross));
}

// The end-to-end meaning of both builders: the culling cones built from the element normals and
// positions only answer "behind" or "in front" for viewpoints that see every element from that
// side.
TEST(CullingConesFromBuilders, ViewpointsBehindOrInFrontSeeEveryElementFromThatSide) {
  RnDefaultRng<float> rng(51);
  int behind = 0, inFront = 0;
  for (int cluster = 0; cluster < 100; ++cluster) {
    const GeUnitVector3<float> mainNormal = randomDirection(rng);
    const float spread = 0.6f * rng();
    GePoint3<float> positions[10];
    GeUnitVector3<float> normals[10];
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
        EXPECT_TRUE((!isBehind || facing <= 1e-4f) && (!isInFront || facing >= -1e-4f))
            << "cluster " << cluster << " element " << k;
      }
    }
  }
  EXPECT_GT(std::min(behind, inFront), 100) << behind << " behind, " << inFront << " in front";
}
