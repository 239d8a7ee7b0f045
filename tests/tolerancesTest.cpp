#include <vezODedizezivuz/geTolerances.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Vo::GeTolerances;

// The defaults are the nominal values, with the derived ones as the setters derive them.
TEST(GeTolerances, DefaultsAreTheNominalValuesThroughTheSetters) {
  const GeTolerances defaults;
  GeTolerances t;
  t.setLengthTolerance(0.0005f);
  t.setAngleTolerance(0.0001f);
  t.setFractionTolerance(1e-7f);
  for (auto get : {&GeTolerances::getLengthTolerance, &GeTolerances::getLengthToleranceSquared,
                   &GeTolerances::getLengthToleranceFourth, &GeTolerances::getAngleTolerance,
                   &GeTolerances::getCosAngleTolerance, &GeTolerances::getCosAngleToleranceSquared,
                   &GeTolerances::getSinAngleTolerance, &GeTolerances::getFractionTolerance,
                   &GeTolerances::getTwiceFractionTolerance,
                   &GeTolerances::getFractionToleranceSquaredPlusOne})
    EXPECT_EQ((defaults.*get)(), (t.*get)());
}

TEST(GeTolerances, SettersKeepDerivedValuesInStep) {
  GeTolerances t;
  t.setLengthTolerance(0.1f);
  EXPECT_EQ(t.getLengthToleranceSquared(), 0.1f * 0.1f);
  EXPECT_EQ(t.getLengthToleranceFourth(), (0.1f * 0.1f) * (0.1f * 0.1f));
  EXPECT_TRUE(t.lengthSquaredIsZero(0.01f));
  t.setAngleTolerance(0.5f);
  EXPECT_EQ(t.getCosAngleTolerance(), static_cast<float>(std::cos(0.5)));
  EXPECT_EQ(t.getCosAngleToleranceSquared(), static_cast<float>(std::cos(0.5) * std::cos(0.5)));
  t.setFractionTolerance(0.25f);
  EXPECT_EQ(t.getTwiceFractionTolerance(), 0.5f);
  EXPECT_EQ(t.getFractionToleranceSquaredPlusOne(), 1.0625f);
}

TEST(GeTolerances, LengthsDifferOnlyBeyondTheTolerance) {
  const GeTolerances t;
  EXPECT_EQ(t.compareLength(1.0f, 1.0004f), 0);
  EXPECT_EQ(t.compareLength(1.0f, 1.0006f), -1);
  EXPECT_EQ(t.compareLength(1.0006f, 1.0f), 1);
  EXPECT_EQ(t.compareLengthToZero(-0.001f), -1);
  EXPECT_EQ(t.compareLengthToZero(0.0004f), 0);
  EXPECT_EQ(t.compareLengthToZero(0.001f), 1);
  GeTolerances whole;
  whole.setLengthTolerance(0.5f);
  EXPECT_EQ(whole.compareLength(1.0f, 1.5f), 0);  // exactly the tolerance apart
}

TEST(GeTolerances, SquaredLengthsCompareTheirRoots) {
  const GeTolerances t;
  EXPECT_EQ(t.compareLengthSquared(0, 0), 0);
  EXPECT_EQ(t.compareLengthSquared(4, 1), 1);
  EXPECT_EQ(t.compareLengthSquared(1, 4), -1);
  // √1.0008 − 1 ≈ 0.0004: within L; √1.0012 − 1 ≈ 0.0006: beyond it.
  EXPECT_EQ(t.compareLengthSquared(1.0008f, 1.0f), 0);
  EXPECT_EQ(t.compareLengthSquared(1.0012f, 1.0f), 1);
}

TEST(GeTolerances, CosinesCompareAsTheirAngles) {
  const GeTolerances t;
  EXPECT_EQ(t.compareCosine(1, 0), -1);
  EXPECT_EQ(t.compareCosine(0, 1), 1);
  EXPECT_EQ(t.compareCosine(0.5f, 0.5f), 0);
  EXPECT_TRUE(t.cosineIsOne(1.0f));
  EXPECT_FALSE(t.cosineIsOne(0.99999994f));
  EXPECT_TRUE(t.cosineIsMinusOne(-1.0f));
  EXPECT_FALSE(t.cosineIsMinusOne(-0.99999994f));
  EXPECT_EQ(t.compareCosineToZero(0.00005f), 0);
  EXPECT_EQ(t.compareCosineToZero(-0.001f), -1);
  EXPECT_EQ(t.compareCosineToZero(t.getSinAngleTolerance()), 0);
  EXPECT_EQ(t.compareAngle(0.3f, 0.30005f), 0);
  EXPECT_EQ(t.compareAngle(0.3f, 0.3002f), -1);
}

TEST(GeTolerances, FractionsScaleWithTheLargerMagnitude) {
  GeTolerances t;
  t.setFractionTolerance(0.01f);
  EXPECT_EQ(t.compareFraction(1000.0f, 1005.0f), 0);
  EXPECT_EQ(t.compareFraction(-1000.0f, -1020.0f), 1);
  EXPECT_EQ(t.compareFraction(1.0f, 1.02f), -1);
  // x = 10, y = 9.95 (within 1%) and y = 9.8 (beyond it), compared through their squares.
  EXPECT_EQ(t.compareFractionSquared(100.0f, 99.0025f), 0);
  EXPECT_EQ(t.compareFractionSquared(100.0f, 96.04f), 1);
  EXPECT_EQ(t.compareFractionSquared(96.04f, 100.0f), -1);
}

TEST(GeTolerances, SamePointsVectorsAndHomogeneousCoordinates) {
  const GeTolerances t;
  EXPECT_TRUE(t.samePoint(Vo::GePoint3<float>(1, 2, 3), Vo::GePoint3<float>(1, 2, 3.0004f)));
  EXPECT_FALSE(t.samePoint(Vo::GePoint3<float>(1, 2, 3), Vo::GePoint3<float>(1, 2, 3.001f)));
  EXPECT_FALSE(t.sameVector(Vo::GeVector2<float>(0, 0), Vo::GeVector2<float>(0.0004f, 0.0004f)));
  using H = Vo::GeHomogeneousCoord3<float>;
  EXPECT_TRUE(t.sameVector(H(1, 2, 3, 1), H(2, 4, 6, 2)));
  EXPECT_FALSE(t.sameVector(H(1, 2, 3, 1), H(1, 2, 4, 1)));
  EXPECT_FALSE(t.sameVector(H(1, 0, 0, 0), H(1, 0, 0, 0)));
  EXPECT_FALSE(t.sameVector(H(0, 0, 0, 0), H(0, 0, 0, 1)));
}

}  // namespace
