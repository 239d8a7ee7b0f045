#include <vezODedizezivuz/geVector.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "testUtil.h"

namespace {

using namespace Vo;

template <class T>
class Vectors : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(Vectors, Reals);

TYPED_TEST(Vectors, PointsAndVectorsCombineByTheirMeaning) {
  using T = TypeParam;
  const GePoint3<T> p(1, 2, 3);
  EXPECT_EQ(p + GeVector3<T>(1, 1, 1) - GeVector3<T>(1, 1, 1), p);
  EXPECT_EQ(p - GePoint3<T>(3, 2, 1), GeVector3<T>(-2, 0, 2));
  EXPECT_EQ(GePoint2<T>(3, 4) - GePoint2<T>(1, 1), GeVector2<T>(2, 3));
  EXPECT_EQ(-GeVector2<T>(1, -2), GeVector2<T>(-1, 2));
  EXPECT_EQ(GePoint3<T>(GeVector3<T>(1, 2, 3)).toVector(), GeVector3<T>(1, 2, 3));
}

TYPED_TEST(Vectors, CrossFollowsTheRightHandRule) {
  using T = TypeParam;
  EXPECT_EQ(cross(GeVector3<T>(1, 2, 3), GeVector3<T>(-2, 1, 5)), GeVector3<T>(7, -11, 5));
  // A unit vector is read wherever a vector is.
  EXPECT_EQ(dot(GeUnitVector3<T>(GeVector3<T>(0, 0, 2)), GeVector3<T>(1, 2, 3)), T(3));
}

// One reciprocal, then a multiplication per component; a zero vector is left alone with length
// 0 (no NaN from 0 · (1/0)); a NaN length propagates.
TYPED_TEST(Vectors, NormalizeMultipliesByTheReciprocalAndLeavesZeroAlone) {
  using T = TypeParam;
  GeVector3<T> v(3, 0, 4);
  const GeVector3<T> unit(T(3) * (T(1) / 5), 0, T(4) * (T(1) / 5));
  EXPECT_EQ(v.normalized(), unit);
  EXPECT_EQ(v.normalize(), T(5));
  EXPECT_EQ(v, unit);
  GeVector2<T> w(0, -2);
  EXPECT_EQ(w.normalize(), T(2));
  EXPECT_EQ(w, GeVector2<T>(0, -1));
  GeVector3<T> zero(0, 0, 0);
  EXPECT_EQ(zero.normalize(), T(0));
  EXPECT_EQ(zero, GeVector3<T>(0, 0, 0));
  EXPECT_EQ(GeVector2<T>(0, 0).normalized(), GeVector2<T>(0, 0));
  GeUnitVector3<T> u(GeVector3<T>(0, 0, 5));
  EXPECT_EQ(u.setNormalized(0, 0, 0), T(0));
  EXPECT_EQ(u, GeVector3<T>(0, 0, 1));
  EXPECT_EQ(u.setNormalized(GeVector3<T>(0, 3, 4)), T(5));
  GeUnitVector2<T> u2(GeVector2<T>(1, 0));
  EXPECT_EQ(u2.setNormalized(0, 0), T(0));
  EXPECT_EQ(u2, GeVector2<T>(1, 0));
  GeVector3<T> n(std::numeric_limits<T>::quiet_NaN(), 0, 0);
  EXPECT_TRUE(std::isnan(n.normalize()) && std::isnan(n.y));
  EXPECT_EQ(GeVector3<T>(3, 0, 4) / T(4), GeVector3<T>(T(0.75), 0, 1));
}

TYPED_TEST(Vectors, UnitVectorsOfZeroOrNaNReportLenGreaterThanZero) {
  using T = TypeParam;
  const T nan = std::numeric_limits<T>::quiet_NaN();
  for (const GeVector3<T>& bad : {GeVector3<T>(0, 0, 0), GeVector3<T>(nan, 1, 0)}) {
    EXPECT_TRUE(
        VoTest::failsWith([&] { GeUnitVector3<T> u(bad); }, GeReportSites::unitVectorLength));
  }
  EXPECT_TRUE(VoTest::failsWith([] { GeUnitVector2<T> u(GeVector2<T>(0, 0)); },
                                GeReportSites::unitVectorLength));
}

// Tolerances are inclusive; ±0 hash alike.
TYPED_TEST(Vectors, IsEqualIsInclusiveAndHashesIgnoreTheSignOfZero) {
  using T = TypeParam;
  const GeVector3<T> v(3, 0, 4);
  EXPECT_TRUE(v.isEqual(GeVector3<T>(3, T(0.5), 4), T(0.5)));
  EXPECT_FALSE(v.isEqual(GeVector3<T>(3, 0, T(4.5)), T(0.25)));
  EXPECT_FALSE(GePoint2<T>(1, 2).isEqual(GePoint2<T>(1, 3), T(0.5)));
  EXPECT_EQ(std::hash<GePoint3<T>>()(GePoint3<T>(T(-0.0), 1, 2)),
            std::hash<GePoint3<T>>()(GePoint3<T>(0, 1, 2)));
  EXPECT_NE(std::hash<GeVector3<T>>()(GeVector3<T>(1, 2, 3)),
            std::hash<GeVector3<T>>()(GeVector3<T>(3, 2, 1)));
}

template <class V>
bool readsInto(const std::string& input, V& v) {
  std::istringstream s(input);
  v.read(s);
  return !s.fail();
}

// Tuples without inner padding, in the caller's stream settings; read back at full precision.
TYPED_TEST(Vectors, TextUsesTheCallersSettingsAndRoundTrips) {
  using T = TypeParam;
  std::ostringstream os;
  os << GeUnitVector3<T>(GeVector3<T>(0, 2, 0)) << GeHomogeneousCoord3<T>(1, 2, 3, 4);
  os.precision(3);
  os.setf(std::ios::fixed);
  GeVector2<T>(1, T(0.25)).dump(os);
  EXPECT_EQ(os.str(), "(0, 1, 0)(1, 2, 3, 4)(1.000, 0.250)");
  const GePoint3<T> p(T(0.1), T(-1e-30), T(123456.789));
  std::stringstream s;
  s.precision(std::numeric_limits<T>::max_digits10);
  s << p;
  GePoint3<T> q(0, 0, 0);
  ASSERT_TRUE(readsInto(s.str(), q));
  EXPECT_EQ(q, p);
}

TEST(VectorText, BlanksAreSkippedMalformedTextFailsAndChangesNothing) {
  GeVector3<double> v;
  ASSERT_TRUE(readsInto(" ( 1 , 2 , 3 ) ", v));
  EXPECT_EQ(v, GeVector3<double>(1, 2, 3));
  const GeVector3<float> original(7, 8, 9);
  for (const char* bad :
       {"(1, 2)", "[1, 2, 3]", "(1; 2; 3)", "(1, 2, 3", "(1, x, 3)", "", "1, 2, 3)"}) {
    GeVector3<float> w = original;
    EXPECT_TRUE(!readsInto(bad, w) && w == original) << bad;
  }
  GePoint2<int> p(5, 6);
  EXPECT_TRUE(!readsInto("(1.5, 2)", p) && p == GePoint2<int>(5, 6));
  std::istringstream s("(1; 2)");
  s.exceptions(std::ios::failbit);
  EXPECT_THROW(GeVector2<double>().read(s), std::ios::failure);
}

TEST(VectorText, UnitVectorsNormaliseWhatTheyRead) {
  GeUnitVector3<double> w(GeVector3<double>(0, 0, 1));
  EXPECT_TRUE(readsInto("(0, 0, 0)", w));  // accepted, but nothing to normalise
  EXPECT_EQ(w, GeVector3<double>(0, 0, 1));
  ASSERT_TRUE(readsInto("(3, 0, 4)", w));
  EXPECT_EQ(w, GeVector3<double>(3 * (1.0 / 5), 0, 4 * (1.0 / 5)));
}

}  // namespace
