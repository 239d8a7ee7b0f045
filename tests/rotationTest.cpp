#include <vezODedizezivuz/geRotation3.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <sstream>
#include <type_traits>

#include "testUtil.h"

namespace {

using namespace Vo;

static_assert(sizeof(GeXAxisRotation3<float>) == 2 * sizeof(float));
static_assert(sizeof(GeRotation3<double>) == 9 * sizeof(double));
static_assert(std::is_trivially_copyable_v<GeZAxisRotation3<double>>);
static_assert(!std::is_convertible_v<GeLinearMatrix3<float>, GeRotation3<float>>,
              "a rotation is only taken from a matrix explicitly");

// Result kinds of the products: the most specific matrix kind that holds each one.
using R = GeAxisRotation3<1, float>;
static_assert(std::is_same_v<decltype(R() * GeScale3<float>()), GeLinearMatrix3<float>>);
static_assert(std::is_same_v<decltype(R().mulOnRight(GeScale3<float>())), GeLinearMatrix3<float>>);
static_assert(std::is_same_v<decltype(R() * GeLinearMatrix3<float>()), GeLinearMatrix3<float>>);
static_assert(std::is_same_v<decltype(R() * GeRotation3<float>()), GeRotation3<float>>);
static_assert(std::is_same_v<decltype(R().mulOnRight(GeRotation3<float>())), GeRotation3<float>>);
static_assert(std::is_same_v<decltype(R() * GeTranslation3<float>()), GeAffineMatrix3<float>>);
static_assert(
    std::is_same_v<decltype(R().mulOnRight(GeTranslation3<float>())), GeAffineMatrix3<float>>);
static_assert(std::is_same_v<decltype(R() * GeAffineMatrix3<float>()), GeAffineMatrix3<float>>);
static_assert(
    std::is_same_v<decltype(GeRotation3<float>() * GeRotation3<float>()), GeRotation3<float>>);

template <class T>
class AxisRotations : public ::testing::Test {};
template <class T>
class Aim : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(AxisRotations, Reals);
TYPED_TEST_SUITE(Aim, Reals);

template <class T>
GeLinearMatrix3<T> randomMatrix(std::mt19937& rng) {
  std::uniform_real_distribution<double> d(-2, 2);
  GeLinearMatrix3<T> m;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) m(r, c) = static_cast<T>(d(rng));
  return m;
}

template <class T>
GeVector3<T> randomVector(std::mt19937& rng) {
  std::uniform_real_distribution<double> d(-1, 1);
  return GeVector3<T>(static_cast<T>(d(rng)), static_cast<T>(d(rng)), static_cast<T>(d(rng)));
}

template <class T>
bool isProperRotation(const GeLinearMatrix3<T>& m) {
  const T tol = 10 * VoTest::tolerance<T>();
  const GeLinearMatrix3<T> product = m * m.computeTranspose();
  return product.isEqual(GeLinearMatrix3<T>(), tol) &&
         std::abs(m.computeDeterminant() - T(1)) <= tol;
}

// The sparse products skip only terms that are exactly 0 or 1 in the general product, so for
// finite non-zero operands they agree with it bit for bit.
template <int axis, class T>
void checkSparseProductsAgainstGeneralProducts(std::mt19937& rng) {
  std::uniform_real_distribution<double> angle(-3.1, 3.1);
  const GeAxisRotation3<axis, T> rot(static_cast<T>(angle(rng)));
  const GeLinearMatrix3<T> r = rot.getRotation();
  const GeLinearMatrix3<T> m = randomMatrix<T>(rng);
  const GeVector3<T> v = randomVector<T>(rng);
  const GeScale3<T> s(v.x, v.y, v.z);
  const GeTranslation3<T> t(v);
  const GeAffineMatrix3<T> a(m, randomVector<T>(rng));
  const GeLinearMatrix3<T> sm = s * GeLinearMatrix3<T>();
  const GeAffineMatrix3<T> tm(GeLinearMatrix3<T>(), v);
  const GeRotation3<T> q(r * r);

  SCOPED_TRACE(::testing::Message() << "axis " << axis);
  EXPECT_EQ(rot * s, r * sm);
  EXPECT_EQ(rot.mulOnRight(s), sm * r);
  EXPECT_EQ(rot * m, r * m);
  EXPECT_EQ(rot.mulOnRight(m), m * r);
  EXPECT_EQ(rot * q, r * q);
  EXPECT_EQ(rot.mulOnRight(q), q * r);
  EXPECT_EQ(rot * t, GeAffineMatrix3<T>(r) * tm);
  EXPECT_EQ(rot.mulOnRight(t), tm * r);
  EXPECT_EQ(rot * a, GeAffineMatrix3<T>(r) * a);
  EXPECT_EQ(rot.mulOnRight(a), a * r);
}

TYPED_TEST(AxisRotations, SparseProductsEqualTheGeneralProducts) {
  std::mt19937 rng(20261206);
  for (int n = 0; n < 50; ++n) {
    checkSparseProductsAgainstGeneralProducts<0, TypeParam>(rng);
    checkSparseProductsAgainstGeneralProducts<1, TypeParam>(rng);
    checkSparseProductsAgainstGeneralProducts<2, TypeParam>(rng);
  }
}

TYPED_TEST(AxisRotations, QuarterTurnsFollowTheRightHandRule) {
  using T = TypeParam;
  EXPECT_EQ(GeXAxisRotation3<T>(0, 1).getRotation() * GeVector3<T>(0, 1, 0), GeVector3<T>(0, 0, 1));
  EXPECT_EQ(GeYAxisRotation3<T>(0, 1).getRotation() * GeVector3<T>(0, 0, 1), GeVector3<T>(1, 0, 0));
  EXPECT_EQ(GeZAxisRotation3<T>(0, 1).getRotation() * GeVector3<T>(1, 0, 0), GeVector3<T>(0, 1, 0));
  const GeZAxisRotation3<T> fromAngle(T(0.5));
  EXPECT_EQ(fromAngle.cosine, GeScalar<T>::cos(T(0.5)));
  EXPECT_EQ(fromAngle.sine, GeScalar<T>::sin(T(0.5)));
}

TYPED_TEST(AxisRotations, PairIsUsedWithoutRenormalising) {
  using T = TypeParam;
  const GeLinearMatrix3<T> doubled = GeXAxisRotation3<T>(2, 0) * GeLinearMatrix3<T>();
  EXPECT_EQ(doubled, GeLinearMatrix3<T>(1, 0, 0, 0, 2, 0, 0, 0, 2));
  const GeAffineMatrix3<T> a(GeLinearMatrix3<T>(), GeVector3<T>(1, 2, 3));
  EXPECT_EQ(GeYAxisRotation3<T>() * a, a);
}

TYPED_TEST(AxisRotations, DumpWritesTheMatrixNotTheAngle) {
  using T = TypeParam;
  std::ostringstream axis;
  GeXAxisRotation3<T>(0, 1).dump(axis);
  EXPECT_EQ(axis.str(), "| 1 0 0 |\n| 0 0 -1 |\n| 0 1 0 |\n");
  std::ostringstream rotation;
  GeZAxisRotation3<T>(0, 1).getRotation().dump(rotation);
  EXPECT_EQ(rotation.str(), "| 0 -1 0 |\n| 1 0 0 |\n| 0 0 1 |\n");
}

TYPED_TEST(Aim, DirectionAndUpGiveTheExpectedFrame) {
  using T = TypeParam;
  const GeUnitVector3<T> x(GeVector3<T>(1, 0, 0));
  const GeRotation3<T> r = GeRotation3<T>::aim(x, GeVector3<T>(0, 1, 0), 2, 1, false);
  EXPECT_EQ(r, GeLinearMatrix3<T>(0, 0, 1, 0, 1, 0, -1, 0, 0));
  EXPECT_EQ(GeRotation3<T>::aim(x, GeVector3<T>(0, 1, 0), 2, 1, true), r.computeTranspose());
}

TYPED_TEST(Aim, UpParallelToTheDirectionFallsBackToTheSmallestAxis) {
  using T = TypeParam;
  const GeUnitVector3<T> z(GeVector3<T>(0, 0, 1));
  const GeRotation3<T> r = GeRotation3<T>::aim(z, GeVector3<T>(0, 0, 5), 2, 1, false);
  EXPECT_EQ(r.getColumn(1), GeVector3<T>(1, 0, 0));
  EXPECT_TRUE(isProperRotation<T>(r));
}

TYPED_TEST(Aim, WithoutUpTheFallbackPrefersYOnTiesAndZOnlyWhenStrictlySmallest) {
  using T = TypeParam;
  const T tol = VoTest::tolerance<T>();
  // x and y tie at 0: f = -y, so the result is the z rotation by -90 degrees.
  const GeRotation3<T> zAim =
      GeRotation3<T>::aim(GeUnitVector3<T>(GeVector3<T>(0, 0, 1)), 2, false);
  EXPECT_EQ(zAim, GeLinearMatrix3<T>(0, 1, 0, -1, 0, 0, 0, 0, 1));
  // All three tie: f = -y, so column 1 (aim axis + 2) lies along a × f = (1, 0, -1).
  const GeRotation3<T> diagonal =
      GeRotation3<T>::aim(GeUnitVector3<T>(GeVector3<T>(1, 1, 1)), 2, false);
  EXPECT_NEAR(dot(diagonal.getColumn(1), GeUnitVector3<T>(GeVector3<T>(1, 0, -1))), T(1), tol);
  // |x| = |z| < |y|: z is not strictly smaller, so f = -x and column 1 lies along (0, -1, 2).
  const GeRotation3<T> tilted =
      GeRotation3<T>::aim(GeUnitVector3<T>(GeVector3<T>(1, 2, 1)), 2, false);
  const GeUnitVector3<T> expected(GeVector3<T>(0, -1, 2));
  EXPECT_NEAR(dot(tilted.getColumn(1), expected), T(1), tol);
}

TYPED_TEST(Aim, ZeroDirectionLooksDownNegativeZ) {
  using T = TypeParam;
  GeUnitVector3<T> zero;
  zero.x = zero.y = zero.z = 0;
  const GeUnitVector3<T> down(GeVector3<T>(0, 0, -1));
  const GeVector3<T> up(T(0.3), 1, T(0.2));
  EXPECT_EQ(GeRotation3<T>::aim(zero, up, 2, 1, false), GeRotation3<T>::aim(down, up, 2, 1, false));
  EXPECT_EQ(GeRotation3<T>::aim(zero, 0, true), GeRotation3<T>::aim(down, 0, true));
}

TYPED_TEST(Aim, EveryResultIsAProperRotationForAllAxisPairs) {
  using T = TypeParam;
  std::mt19937 rng(4242);
  for (int n = 0; n < 40; ++n) {
    const GeUnitVector3<T> direction(randomVector<T>(rng));
    const GeVector3<T> up = randomVector<T>(rng);
    for (int aimAxis = 0; aimAxis < 3; ++aimAxis) {
      for (int upAxis = 0; upAxis < 3; ++upAxis) {
        if (aimAxis == upAxis) continue;
        SCOPED_TRACE(::testing::Message() << "aim " << aimAxis << " up " << upAxis);
        const GeRotation3<T> r = GeRotation3<T>::aim(direction, up, aimAxis, upAxis, false);
        EXPECT_TRUE(isProperRotation<T>(r));
        EXPECT_NEAR(dot(r.getColumn(aimAxis), direction), T(1), 10 * VoTest::tolerance<T>());
        EXPECT_GT(dot(r.getColumn(upAxis), up), T(0));
        const GeRotation3<T> inverse = GeRotation3<T>::aim(direction, up, aimAxis, upAxis, true);
        EXPECT_EQ(inverse, r.computeTranspose());
      }
      EXPECT_TRUE(isProperRotation<T>(GeRotation3<T>::aim(direction, aimAxis, n % 2 == 0)));
    }
  }
}

TYPED_TEST(Aim, PolygonAimsAtItsNormalWithTheFirstLongestEdgeUp) {
  using T = TypeParam;
  // Edges 0 and 2 are both the longest; the first one wins, else the frame would turn by π.
  const GePoint3<T> rectangle[4] = {GePoint3<T>(0, 0, 0), GePoint3<T>(2, 0, 0),
                                    GePoint3<T>(2, 1, 0), GePoint3<T>(0, 1, 0)};
  EXPECT_EQ(GeRotation3<T>::aim(4, rectangle, 2, 0, false), GeRotation3<T>());

  std::mt19937 rng(77);
  for (int n = 0; n < 20; ++n) {
    // A counter-clockwise triangle in a random plane: the normal follows the right-hand rule.
    const GePoint3<T> origin(1, 2, 3);
    const GeVector3<T> e1 = randomVector<T>(rng);
    const GeVector3<T> e2 = randomVector<T>(rng);
    const GePoint3<T> triangle[3] = {origin, origin + e1, origin + e2};
    const GeRotation3<T> r = GeRotation3<T>::aim(3, triangle, 0, 1, false);
    const GeUnitVector3<T> normal(cross(e1, e2));
    EXPECT_TRUE(isProperRotation<T>(r));
    EXPECT_NEAR(dot(r.getColumn(0), normal), T(1), 100 * VoTest::tolerance<T>());
  }
}

TYPED_TEST(Aim, NanDirectionIsReportedWhereTheFallbackIsNormalised) {
  using T = TypeParam;
  GeUnitVector3<T> nan;
  nan.x = nan.y = nan.z = std::numeric_limits<T>::quiet_NaN();
  EXPECT_TRUE(
      VoTest::failsWith([&] { GeRotation3<T>::aim(nan, GeVector3<T>(0, 1, 0), 2, 1, false); },
                        "primitives/geRotation3.imp", 253, "len > 0"));
  EXPECT_TRUE(VoTest::failsWith([&] { GeRotation3<T>::aim(nan, 2, false); },
                                "primitives/geRotation3.imp", 163, "len > 0"));
}

TYPED_TEST(Aim, DegeneratePolygonsReportAZeroNormal) {
  using T = TypeParam;
  const GePoint3<T> line[3] = {GePoint3<T>(0, 0, 0), GePoint3<T>(1, 1, 1), GePoint3<T>(2, 2, 2)};
  for (int count : {0, 2, 3}) {
    SCOPED_TRACE(count);
    EXPECT_TRUE(VoTest::failsWith([&] { GeRotation3<T>::aim(count, line, 2, 1, false); },
                                  "primitives/geRotation3.imp", 311, "len > 0"));
  }
}

}  // namespace
