#include <vezODedizezivuz/geConeBuilder.h>

#include <cmath>
#include <limits>

#include "testUtil.h"

using namespace Vo;

namespace {

using P = GePoint3<float>;

GeUnitVector3<float> unit(float x, float y, float z) { return GeUnitVector3<float>({x, y, z}); }

// The direction in the (x, y) plane at `angle` from x towards y.
GeUnitVector3<float> inXY(float angle) { return unit(std::cos(angle), std::sin(angle), 0); }

GeFloatingCone expanded(GeFloatingCone a, const GeFloatingCone& b) {
  a.expand(b);
  return a;
}

const float pi = GeFloatingCone::sphereAlpha;
const GeUnitVector3<float> z = unit(0, 0, 1);
const P origin(0, 0, 0);
const GeFloatingCone sphere(z, pi), zLine(z, 0.0f);

// The culling cones of a cone of semi-angle alpha about z, with its apex at the origin.
GeCullingCones culling(float alpha) { return GeCullingCones(GeFloatingCone(z, alpha), origin, 1); }

}  // namespace

TEST(FloatingCone, OnlyTheFloatPiMakesASphere) {
  EXPECT_TRUE(sphere.isSphere() && !GeFloatingCone(z, 3.1415925f).isSphere());
}

// A cone of angle 0 holds its axis, a direction exactly on its rim, and nothing else.
TEST(FloatingCone, TheRimIsInside) {
  EXPECT_TRUE(zLine.contains(z) && !zLine.contains(unit(0, 0.001f, 1)));
}

TEST(FloatingCone, ExpandGivesTheSphereForSpheresAndNearlyOppositeAxes) {
  const float a160 = 160.0f * pi / 180.0f;
  const GeFloatingCone yAxis(unit(0, 1, 0), 0.1f);
  EXPECT_TRUE(expanded(sphere, yAxis).isEqualExact(sphere));
  EXPECT_TRUE(expanded(yAxis, sphere).isSphere());
  EXPECT_TRUE(
      expanded(yAxis, GeFloatingCone(unit(std::sin(a160), std::cos(a160), 0), 0.1f)).isSphere());
}

// Axes 150 degrees apart: the expanded cone reaches from the far rim of one cone to the far rim
// of the other, its axis half-way between them.
TEST(FloatingCone, ExpandedConeSpansTheFarRimsOfBoth) {
  const float a150 = 150.0f * pi / 180.0f, axisAngle = (a150 + 0.3f - 0.1f) / 2;
  const auto merged = expanded(GeFloatingCone(inXY(0), 0.1f), GeFloatingCone(inXY(a150), 0.3f));
  const GeFloatingCone expected(inXY(axisAngle), (a150 + 0.4f) / 2);
  EXPECT_TRUE(merged.isEqual(expected, 1e-5f, 1e-5f)) << merged;
}

TEST(FloatingCone, ExpandReportsAnAxisThatCannotBeNormalised) {
  GeFloatingCone cone(unit(1, 0, 0), std::numeric_limits<float>::quiet_NaN());
  EXPECT_TRUE(VoTest::failsWith([&] { cone.expand(GeFloatingCone(unit(0, 1, 0), 0.1f)); },
                                GeReportSites::floatingConeAxis));
  EXPECT_EQ(cone.getAxis(), unit(1, 0, 0));
}

// Twice the semi-angle beyond pi leaves no culling cone: 1.5707964 is the float just above
// pi/2, 1.5707963 the one just below. The default culls nothing either.
TEST(CullingCones, WideConesAndTheDefaultCullNothing) {
  for (const GeCullingCones& c : {culling(1.6f), culling(1.5707964f), GeCullingCones()})
    EXPECT_TRUE(!c.isBehind(P(0, 0, -9)) && c.isInFront(P(3, 0, 9))) << c;
  EXPECT_GT(culling(1.5707963f).getCosBeta(), 0.0f);
  EXPECT_EQ(culling(0.0f).getCullingSemiAngle(), FloatUtil::acos(0.0f));
}

TEST(CullingCones, BehindAndFrontConesOpenAwayFromTheirApexesWithTheCullingAngle) {
  // Radius 1, height 2, slope 1: top radius 3, behind apex 1 below the base, front apex 5 above
  // it, both cones with beta = pi/4.
  const GeCullingCones cones(GeAnchoredCone(GeFloatingCone(z, pi / 4), origin, 1, 2));
  for (const float r : {2.9f, 3.1f}) EXPECT_EQ(cones.isBehind(P(r, 0, -4)), r < 3) << r;
  for (const float r : {2.9f, 3.1f}) EXPECT_EQ(cones.isInFront(P(0, r, 8)), r < 3) << r;
  // A slope other than 1 tells h * t from h / t: radius 1, height 2 and tangent 0.5 put the
  // front apex (2 * 0.5 + 1) * 0.5 + 2 + 1 * 0.5 = 3.5 beyond the behind apex.
  const GeAnchoredCone shallow(GeFloatingCone(z, std::atan(0.5f)), origin, 1, 2);
  EXPECT_NEAR(GeCullingCones(shallow).getFrontfacingOffset(), 3.5f, 1e-5f);
  // The apex itself is behind; a point beside it at distance 1 is not.
  const GeCullingCones atOrigin = culling(pi / 4);
  EXPECT_TRUE(atOrigin.isBehind(origin) && !atOrigin.isBehind(P(1, 0, 0)));
}

// The empty list counts as reaching the origin (its box centre is the origin). The builder is
// reused: each createCone empties the list, or the last cone would be the sphere.
TEST(FloatingConeBuilder, AxisIsTheNormalisedBoxCentreUnlessTheBoxReachesTheOrigin) {
  GeFloatingConeBuilder builder;
  EXPECT_TRUE(builder.createCone().isEqualExact(sphere));
  builder(unit(1, 0, 0)), builder(unit(0, 1, 0));
  EXPECT_TRUE(builder.createCone().isEqualExact(sphere));
  // Box [0.6, 1] x [0, 0.8] x [0, 0], centre (0.8, 0.4, 0); alpha is half the angle acos(0.6).
  builder(unit(1, 0, 0)), builder(unit(0.6f, 0.8f, 0));
  const GeFloatingCone cone = builder.createCone();
  EXPECT_TRUE(cone.isEqual(GeFloatingCone(unit(0.8f, 0.4f, 0), std::acos(0.6f) / 2), 1e-6f, 1e-6f))
      << cone;
}

// The lowest point gives the base, points slid down along the slope the radius, the highest
// point the height.
TEST(AnchoredConeBuilder, BaseFromTheLowestPointRadiusFromSlidPointsHeightFromTheHighest) {
  GeAnchoredConeBuilder builder, sliding;
  // (1, 0, 2) and (-1, 0, 1) slide down to distance 1 from the axis through the lowest point,
  // which is not the first.
  for (const P& p : {P(1, 0, 2), origin, P(-1, 0, 1)}) EXPECT_TRUE(builder(p));
  EXPECT_TRUE(builder.createCone(zLine).isEqualExact(GeAnchoredCone(zLine, origin, 1, 2)));
  // Sliding (3, 4, 0.5) down a 45-degree slope brings it to (2.7, 3.6, 0); the base is the
  // middle, the radius 2.25 (2.75 at the top), so the apex lies 2.25 below the base and the
  // front apex 0.5 + 2.25 + 0.5 above it.
  for (const P& p : {origin, P(3, 4, 0.5f)}) sliding(p);
  const GeAnchoredCone slid = sliding.createCone(GeFloatingCone(z, std::atan(1.0f)));
  EXPECT_TRUE(std::fabs(slid.getBottomRadius() - 2.25f) < 1e-5f && slid.getHeight() == 0.5f &&
              std::fabs(slid.getTopRadius() - 2.75f) < 1e-5f &&
              slid.getBasePoint().isEqual(P(1.35f, 1.8f, 0), 1e-5f) &&
              slid.getApex().isEqual(P(1.35f, 1.8f, -2.25f), 1e-5f) &&
              slid.getFrontfacingApex().isEqual(P(1.35f, 1.8f, 3.25f), 1e-5f))
      << slid.getBottomRadius() << ' ' << slid.getBasePoint();
}

TEST(AnchoredConeBuilder, ReportsAnEmptyListOrAnAxisThatCannotBeNormalised) {
  GeAnchoredConeBuilder builder;
  EXPECT_TRUE(
      VoTest::failsWith([&] { builder.createCone(zLine); }, GeReportSites::anchoredConeNoSamples));
  builder(origin);
  GeUnitVector3<float> nanAxis;
  nanAxis.setNormalized(std::numeric_limits<float>::quiet_NaN(), 0, 0);
  EXPECT_TRUE(VoTest::failsWith([&] { builder.createCone(GeFloatingCone(nanAxis, 0.2f)); },
                                GeReportSites::anchoredConeFirstAcross));
}
