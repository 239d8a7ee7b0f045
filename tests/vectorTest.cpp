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
  const GeVector3<T> zero{};
  EXPECT_EQ(p - p, zero);
  EXPECT_EQ(p + zero, p);
  EXPECT_EQ(p + GeVector3<T>(1, 1, 1) - GeVector3<T>(1, 1, 1), p);
  EXPECT_EQ(GePoint2<T>(3, 4) - GePoint2<T>(1, 1), GeVector2<T>(2, 3));
  EXPECT_EQ(T(2) * GeVector3<T>(1, -2, 3), GeVector3<T>(2, -4, 6));
  EXPECT_EQ(-GeVector2<T>(1, -2), GeVector2<T>(-1, 2));
}

TYPED_TEST(Vectors, CrossFollowsTheRightHandRuleAndIsOrthogonal) {
  using T = TypeParam;
  EXPECT_EQ(cross(GeVector3<T>(1, 0, 0), GeVector3<T>(0, 1, 0)), GeVector3<T>(0, 0, 1));
  EXPECT_EQ(cross(GeVector3<T>(0, 1, 0), GeVector3<T>(1, 0, 0)), GeVector3<T>(0, 0, -1));
  const GeVector3<T> a(T(0.3), T(-1.2), T(2.5));
  const GeVector3<T> b(T(4.1), T(0.7), T(-0.9));
  const GeVector3<T> c = cross(a, b);
  EXPECT_NEAR(dot(c, a), 0, 10 * VoTest::tolerance<T>());
  EXPECT_NEAR(dot(c, b), 0, 10 * VoTest::tolerance<T>());
  // A unit vector is read wherever a vector is.
  EXPECT_EQ(dot(GeUnitVector3<T>(GeVector3<T>(0, 0, 2)), GeVector3<T>(1, 2, 3)), T(3));
}

TYPED_TEST(Vectors, NormalizeMultipliesByTheReciprocalOnce) {
  using T = TypeParam;
  GeVector3<T> v(3, 4, 0);
  EXPECT_EQ(v.normalize(), T(5));
  const T inv = T(1) / T(5);
  EXPECT_EQ(v, GeVector3<T>(3 * inv, 4 * inv, 0));
  GeVector2<T> w(0, -2);
  EXPECT_EQ(w.normalize(), T(2));
  EXPECT_EQ(w, GeVector2<T>(0, -1));
}

TYPED_TEST(Vectors, ZeroVectorsAreLeftAloneAndReportLengthZero) {
  using T = TypeParam;
  GeVector3<T> v(0, 0, 0);
  EXPECT_EQ(v.normalize(), T(0));
  EXPECT_EQ(v, GeVector3<T>(0, 0, 0));

  GeUnitVector3<T> u(GeVector3<T>(0, 0, 5));
  EXPECT_EQ(u.setNormalized(0, 0, 0), T(0));
  EXPECT_EQ(u, GeVector3<T>(0, 0, 1));
  EXPECT_EQ(u.setNormalized(GeVector3<T>(0, 3, 4)), T(5));
  EXPECT_NEAR(u.length(), 1, VoTest::tolerance<T>());

  GeUnitVector2<T> u2(GeVector2<T>(1, 0));
  EXPECT_EQ(u2.setNormalized(0, 0), T(0));
  EXPECT_EQ(u2, GeVector2<T>(1, 0));

  // A NaN length is not zero: it propagates instead of leaving the vector alone.
  GeVector3<T> n(std::numeric_limits<T>::quiet_NaN(), 0, 0);
  EXPECT_TRUE(std::isnan(n.normalize()));
  EXPECT_TRUE(std::isnan(n.y));
}

TYPED_TEST(Vectors, FailingNormalisationReportsLenGreaterThanZero) {
  using T = TypeParam;
  const T nan = std::numeric_limits<T>::quiet_NaN();
  for (const GeVector3<T>& bad : {GeVector3<T>(0, 0, 0), GeVector3<T>(nan, 1, 0)}) {
    EXPECT_TRUE(
        VoTest::failsWith([&] { GeUnitVector3<T> u(bad); }, GeReportSites::unitVectorLength));
  }
  EXPECT_TRUE(VoTest::failsWith([] { GeUnitVector2<T> u(GeVector2<T>(0, 0)); },
                                GeReportSites::unitVectorLength));
  EXPECT_EQ(GeUnitVector3<T>(GeVector3<T>(0, 0, 2)), GeVector3<T>(0, 0, 1));
}

// ---- Text ----

template <class V>
std::string text(const V& v) {
  std::ostringstream s;
  v.dump(s);
  return s.str();
}

template <class V>
bool readsInto(const std::string& input, V& v) {
  std::istringstream s(input);
  v.read(s);
  return !s.fail();
}

// Tuples without inner padding, in the caller's stream settings.
TEST(VectorText, TupleFormsInTheCallersSettings) {
  EXPECT_EQ(text(GeHomogeneousCoord3<float>(1, 2, 3, 4)), "(1, 2, 3, 4)");
  EXPECT_EQ(text(GePoint2<int>(-3, 7)), "(-3, 7)");
  std::ostringstream s;
  s << GeUnitVector3<float>(GeVector3<float>(0, 2, 0));
  s.precision(3);
  s.setf(std::ios::fixed);
  GeVector2<float>(1.0f, 0.25f).dump(s);
  EXPECT_EQ(s.str(), "(0, 1, 0)(1.000, 0.250)");
}

TEST(VectorText, BlanksAreSkippedMalformedTextFailsAndChangesNothing) {
  GeVector3<double> v;
  ASSERT_TRUE(readsInto(" ( 1 , 2 , 3 ) ", v));
  EXPECT_EQ(v, GeVector3<double>(1, 2, 3));
  const GeVector3<float> original(7, 8, 9);
  for (const char* bad :
       {"(1, 2)", "[1, 2, 3]", "(1; 2; 3)", "(1, 2, 3", "(1, x, 3)", "", "1, 2, 3)"}) {
    GeVector3<float> w = original;
    EXPECT_FALSE(readsInto(bad, w)) << bad;
    EXPECT_EQ(w, original) << bad;
  }
  GePoint2<int> p(5, 6);
  EXPECT_FALSE(readsInto("(1.5, 2)", p));
  EXPECT_EQ(p, GePoint2<int>(5, 6));
  std::istringstream s("(1; 2)");
  s.exceptions(std::ios::failbit);
  EXPECT_THROW(GeVector2<double>().read(s), std::ios::failure);
}

TEST(VectorText, UnitVectorsNormaliseWhatTheyRead) {
  GeUnitVector2<float> u(GeVector2<float>(1, 0));
  ASSERT_TRUE(readsInto("(3, 4)", u));
  EXPECT_EQ(u, GeVector2<float>(3 * (1.0f / 5), 4 * (1.0f / 5)));
  GeUnitVector3<double> w(GeVector3<double>(0, 0, 1));
  EXPECT_TRUE(readsInto("(0, 0, 0)", w));  // accepted, but nothing to normalise
  EXPECT_EQ(w, GeVector3<double>(0, 0, 1));
  ASSERT_TRUE(readsInto("(0, 5, 0)", w));
  EXPECT_EQ(w, GeVector3<double>(0, 1, 0));
}

TYPED_TEST(Vectors, TextRoundTripsAtFullPrecision) {
  using T = TypeParam;
  const GePoint3<T> p(T(0.1), T(-1e-30), T(123456.789));
  std::stringstream s;
  s.precision(std::numeric_limits<T>::max_digits10);
  s << p;
  GePoint3<T> q(0, 0, 0);
  s >> q;
  EXPECT_FALSE(s.fail());
  EXPECT_EQ(q, p);
}

// The copy keeps the original; a zero vector stays zero (no NaN from 0 · (1/0)); tolerances
// are inclusive; the point-vector conversions are inverse to each other; ±0 hash alike.
TYPED_TEST(Vectors, NormalizedCopiesComparisonsConversionsAndHashes) {
  using T = TypeParam;
  const GeVector3<T> v(3, 0, 4);
  EXPECT_EQ(v.normalized(), GeVector3<T>(T(3) * (T(1) / 5), 0, T(4) * (T(1) / 5)));
  EXPECT_EQ(v, GeVector3<T>(3, 0, 4));
  EXPECT_EQ(GeVector3<T>(0, 0, 0).normalized(), GeVector3<T>(0, 0, 0));
  EXPECT_EQ(GeVector2<T>(0, 0).normalized(), GeVector2<T>(0, 0));
  EXPECT_EQ(v / T(4), GeVector3<T>(T(0.75), 0, 1));
  EXPECT_TRUE(v.isEqual(GeVector3<T>(3, T(0.5), 4), T(0.5)));
  EXPECT_FALSE(v.isEqual(GeVector3<T>(3, 0, T(4.5)), T(0.25)));
  EXPECT_FALSE(GePoint2<T>(1, 2).isEqual(GePoint2<T>(1, 3), T(0.5)));
  EXPECT_EQ(GePoint3<T>(v).toVector(), v);
  EXPECT_EQ(std::hash<GePoint3<T>>()(GePoint3<T>(T(-0.0), 1, 2)),
            std::hash<GePoint3<T>>()(GePoint3<T>(0, 1, 2)));
  EXPECT_NE(std::hash<GeVector3<T>>()(GeVector3<T>(1, 2, 3)),
            std::hash<GeVector3<T>>()(GeVector3<T>(3, 2, 1)));
}

}  // namespace
