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
  const struct {
    const char* what;
    int got, want;
  } cases[] = {
      {"length 1 1.0004", t.compareLength(1.0f, 1.0004f), 0},
      {"length 1 1.0006", t.compareLength(1.0f, 1.0006f), -1},
      {"coarse length 1 1.5", coarse.compareLength(1.0f, 1.5f), 0},
      {"length -0.001 0", t.compareLengthToZero(-0.001f), -1},
      {"length 0.0004 0", t.compareLengthToZero(0.0004f), 0},
      {"length 0.001 0", t.compareLengthToZero(0.001f), 1},
      // √1.0008 − 1 ≈ 0.0004: within L; √1.0012 − 1 ≈ 0.0006: beyond it.
      {"squared 1 4", t.compareLengthSquared(1, 4), -1},
      {"squared 1.0008 1", t.compareLengthSquared(1.0008f, 1.0f), 0},
      {"coarse squared 0.2 0", coarse.compareLengthSquared(0.2f, 0.0f), 0},
      // √0.4 ≈ 0.63 is beyond L = 0.5, which the squared-out test sees only through its L⁴ term.
      {"coarse squared 0.4 0", coarse.compareLengthSquared(0.4f, 0.0f), 1},
      {"cosine 0 1", t.compareCosine(0, 1), 1},
      {"cosine 0.5 0.5", t.compareCosine(0.5f, 0.5f), 0},
      // Angles 1.05 and 1.37 differ by less than A = 0.5; 0.64 and 1.16 by more.
      {"coarse cosine 0.5 0.2", coarse.compareCosine(0.5f, 0.2f), 0},
      {"coarse cosine 0.8 0.4", coarse.compareCosine(0.8f, 0.4f), -1},
      {"cosine -0.001 0", t.compareCosineToZero(-0.001f), -1},
      {"cosine 0.001 0", t.compareCosineToZero(0.001f), 1},
      {"cosine sin A 0", t.compareCosineToZero(t.getSinAngleTolerance()), 0},
      {"cosine -sin A 0", t.compareCosineToZero(-t.getSinAngleTolerance()), 0},
      {"angle 0.3 0.30005", t.compareAngle(0.3f, 0.30005f), 0},
      {"angle 0.3 0.3002", t.compareAngle(0.3f, 0.3002f), -1},
      {"fraction 1 1-ulp", t.compareFraction(1.0f, 0.99999994f), 0},
      {"fraction 1 1+ulp", t.compareFraction(1.0f, 1.00000012f), -1},
      {"coarse fraction -1000 -1020", coarse.compareFraction(-1000.0f, -1020.0f), 1},
      // x = 10, y = 9.95 (within 1 %) and y = 9.8 (beyond it), compared through their squares.
      {"coarse fraction squared 100 99.0025", coarse.compareFractionSquared(100.0f, 99.0025f), 0},
      {"coarse fraction squared 100 96.04", coarse.compareFractionSquared(100.0f, 96.04f), 1},
      {"coarse fraction squared 96.04 100", coarse.compareFractionSquared(96.04f, 100.0f), -1},
      {"coarse fraction squared 99.0025 100", coarse.compareFractionSquared(99.0025f, 100.0f), 0},
      {"cosine is one 1", t.cosineIsOne(1.0f), true},
      {"cosine is one 1-ulp", t.cosineIsOne(0.99999994f), false},
      {"cosine is minus one -1", t.cosineIsMinusOne(-1.0f), true},
      {"coarse cosine is one 0.9", coarse.cosineIsOne(0.9f), true},
      {"coarse squared is zero 0.25", coarse.lengthSquaredIsZero(0.25f), true},
      {"coarse squared is zero 0.26", coarse.lengthSquaredIsZero(0.26f), false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
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
