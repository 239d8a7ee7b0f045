#include <vezODedizezivuz/geTolerances.h>

#include <gtest/gtest.h>

namespace {

using Vo::GeTolerances;

// Each comparison answers -1, 0 or 1 by the tolerance it names; the defaults are a length of
// 0.0005, an angle of 0.0001 (whose cosine rounds to 1) and a fraction of 1e-7; a difference
// of exactly the tolerance is within it.
TEST(GeTolerances, ComparisonsAreWithinTheirToleranceInclusively) {
  GeTolerances t, coarse;
  coarse.setLengthTolerance(0.5f);
  coarse.setAngleTolerance(0.5f);
  coarse.setFractionTolerance(0.01f);
  EXPECT_EQ(t.compareLength(1.0f, 1.0004f), 0);
  EXPECT_EQ(t.compareLength(1.0f, 1.0006f), -1);
  EXPECT_EQ(coarse.compareLength(1.0f, 1.5f), 0);
  EXPECT_EQ(t.compareLengthToZero(-0.001f), -1);
  EXPECT_EQ(t.compareLengthToZero(0.0004f), 0);
  EXPECT_EQ(t.compareLengthToZero(0.001f), 1);
  // √1.0008 − 1 ≈ 0.0004: within L; √1.0012 − 1 ≈ 0.0006: beyond it.
  EXPECT_EQ(t.compareLengthSquared(1, 4), -1);
  EXPECT_EQ(t.compareLengthSquared(1.0008f, 1.0f), 0);
  EXPECT_EQ(coarse.compareLengthSquared(0.2f, 0.0f), 0);
  // √0.4 ≈ 0.63 is beyond L = 0.5, which the squared-out test sees only through its L⁴ term.
  EXPECT_EQ(coarse.compareLengthSquared(0.4f, 0.0f), 1);
  EXPECT_EQ(t.compareCosine(0, 1), 1);
  EXPECT_EQ(t.compareCosine(0.5f, 0.5f), 0);
  // Angles 1.05 and 1.37 differ by less than A = 0.5; 0.64 and 1.16 by more.
  EXPECT_EQ(coarse.compareCosine(0.5f, 0.2f), 0);
  EXPECT_EQ(coarse.compareCosine(0.8f, 0.4f), -1);
  EXPECT_EQ(t.compareCosineToZero(-0.001f), -1);
  EXPECT_EQ(t.compareCosineToZero(0.001f), 1);
  EXPECT_EQ(t.compareCosineToZero(t.getSinAngleTolerance()), 0);
  EXPECT_EQ(t.compareCosineToZero(-t.getSinAngleTolerance()), 0);
  EXPECT_EQ(t.compareAngle(0.3f, 0.30005f), 0);
  EXPECT_EQ(t.compareAngle(0.3f, 0.3002f), -1);
  EXPECT_EQ(t.compareFraction(1.0f, 0.99999994f), 0);
  EXPECT_EQ(t.compareFraction(1.0f, 1.00000012f), -1);
  EXPECT_EQ(coarse.compareFraction(-1000.0f, -1020.0f), 1);
  // x = 10, y = 9.95 (within 1 %) and y = 9.8 (beyond it), compared through their squares.
  EXPECT_EQ(coarse.compareFractionSquared(100.0f, 99.0025f), 0);
  EXPECT_EQ(coarse.compareFractionSquared(100.0f, 96.04f), 1);
  EXPECT_EQ(coarse.compareFractionSquared(96.04f, 100.0f), -1);
  EXPECT_EQ(coarse.compareFractionSquared(99.0025f, 100.0f), 0);
  EXPECT_TRUE(t.cosineIsOne(1.0f));
  EXPECT_FALSE(t.cosineIsOne(0.99999994f));
  EXPECT_TRUE(t.cosineIsMinusOne(-1.0f));
  EXPECT_TRUE(coarse.cosineIsOne(0.9f));
  EXPECT_TRUE(coarse.lengthSquaredIsZero(0.25f));
  EXPECT_FALSE(coarse.lengthSquaredIsZero(0.26f));
}

// A distance of exactly the length tolerance is within it. Homogeneous coordinates are compared
// after the divide by w; w = 0 is never the same.
TEST(GeTolerances, SameIsWithinTheLengthToleranceInclusively) {
  const GeTolerances t;
  EXPECT_TRUE(t.sameVector(Vo::GeVector3<float>(0.0005f, 0, 0), Vo::GeVector3<float>(0, 0, 0)));
  EXPECT_FALSE(t.samePoint(Vo::GePoint3<float>(1, 2, 3), Vo::GePoint3<float>(1, 2, 3.001f)));
  EXPECT_FALSE(t.sameVector(Vo::GeVector2<float>(0, 0), Vo::GeVector2<float>(0.0004f, 0.0004f)));
  using H = Vo::GeHomogeneousCoord3<float>;
  EXPECT_TRUE(t.sameVector(H(2, 4, 6, 2), H(4, 8, 12, 4)));
  EXPECT_FALSE(t.sameVector(H(1, 2, 3, 1), H(1, 2, 4, 1)));
  EXPECT_FALSE(t.sameVector(H(1, 0, 0, 0), H(1, 0, 0, 0)));
}

}  // namespace
