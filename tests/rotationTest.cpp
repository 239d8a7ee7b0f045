#include <vezODedizezivuz/geRotation3.h>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <sstream>
#include <type_traits>
#include <utility>

#include "testUtil.h"

namespace {

using namespace Vo;

static_assert(!std::is_convertible_v<GeLinearMatrix3<float>, GeRotation3<float>>,
              "a rotation is only taken from a matrix explicitly");
// Each product yields the most specific matrix kind that holds it.
using R = GeAxisRotation3<1, float>;
static_assert(std::is_same_v<decltype(R().mulOnRight(GeScale3<float>())), GeLinearMatrix3<float>>);
static_assert(std::is_same_v<decltype(R() * GeRotation3<float>()), GeRotation3<float>>);
static_assert(std::is_same_v<decltype(R() * GeTranslation3<float>()), GeAffineMatrix3<float>>);

template <class T>
class Rotations : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(Rotations, Reals);

template <class T>
GeVector3<T> randomVector(std::mt19937& rng) {
  std::uniform_real_distribution<double> d(-1, 1);
  const double x = d(rng), y = d(rng), z = d(rng);
  return GeVector3<T>(static_cast<T>(x), static_cast<T>(y), static_cast<T>(z));
}

template <class T>
GeUnitVector3<T> unit(T x, T y, T z) {
  return GeUnitVector3<T>(GeVector3<T>(x, y, z));
}

template <class T>
bool isProperRotation(const GeLinearMatrix3<T>& m) {
  const T tol = 10 * VoTest::tolerance<T>();
  return (m * m.computeTranspose()).isEqual(GeLinearMatrix3<T>(), tol) &&
         std::abs(m.computeDeterminant() - T(1)) <= tol;
}

// The sparse products skip only terms that are exactly 0 or 1 in the general product, so for
// finite non-zero operands they agree with it bit for bit.
TYPED_TEST(Rotations, AxisRotationSparseProductsEqualTheGeneralProducts) {
  using T = TypeParam;
  std::mt19937 rng(20261206);
  std::uniform_real_distribution<double> angle(-3.1, 3.1);
  const auto check = [&](auto rot) {
    const GeLinearMatrix3<T> r = rot.getRotation();
    const GeVector3<T> v = randomVector<T>(rng), c0 = randomVector<T>(rng);
    const GeVector3<T> c1 = randomVector<T>(rng), c2 = randomVector<T>(rng);
    const GeLinearMatrix3<T> m(c0.x, c1.x, c2.x, c0.y, c1.y, c2.y, c0.z, c1.z, c2.z);
    const GeScale3<T> s(v.x, v.y, v.z);
    const GeLinearMatrix3<T> sm = s * GeLinearMatrix3<T>();
    const GeAffineMatrix3<T> tm(GeLinearMatrix3<T>(), v), a(m, c0);
    const GeRotation3<T> q(r * r);
    SCOPED_TRACE(::testing::Message() << "rotation\n" << r);
    EXPECT_TRUE(rot * s == r * sm && rot.mulOnRight(s) == sm * r);
    EXPECT_TRUE(rot * m == r * m && rot.mulOnRight(m) == m * r);
    EXPECT_TRUE(rot * q == r * q && rot.mulOnRight(q) == q * r);
    EXPECT_TRUE(rot * GeTranslation3<T>(v) == GeAffineMatrix3<T>(r) * tm);
    EXPECT_TRUE(rot.mulOnRight(GeTranslation3<T>(v)) == tm * r);
    EXPECT_TRUE(rot * a == GeAffineMatrix3<T>(r) * a && rot.mulOnRight(a) == a * r);
  };
  for (int n = 0; n < 50; ++n) {
    check(GeXAxisRotation3<T>(static_cast<T>(angle(rng))));
    check(GeYAxisRotation3<T>(static_cast<T>(angle(rng))));
    check(GeZAxisRotation3<T>(static_cast<T>(angle(rng))));
  }
}

TYPED_TEST(Rotations, AxisRotationQuarterTurnsFollowTheRightHandRuleAndPairsAreUsedAsGiven) {
  using T = TypeParam;
  EXPECT_EQ(GeXAxisRotation3<T>(0, 1).getRotation() * GeVector3<T>(0, 1, 0), GeVector3<T>(0, 0, 1));
  EXPECT_EQ(GeYAxisRotation3<T>(0, 1).getRotation() * GeVector3<T>(0, 0, 1), GeVector3<T>(1, 0, 0));
  EXPECT_EQ(GeZAxisRotation3<T>(0, 1).getRotation() * GeVector3<T>(1, 0, 0), GeVector3<T>(0, 1, 0));
  // A pair of length 2 is not renormalised; the identity pair keeps the operand.
  const GeLinearMatrix3<T> doubled = GeXAxisRotation3<T>(2, 0) * GeLinearMatrix3<T>();
  EXPECT_EQ(doubled, GeLinearMatrix3<T>(1, 0, 0, 0, 2, 0, 0, 0, 2));
  const GeAffineMatrix3<T> a(GeLinearMatrix3<T>(), GeVector3<T>(1, 2, 3));
  EXPECT_EQ(GeYAxisRotation3<T>() * a, a);
  // dump writes the matrix, not the angle.
  std::ostringstream text;
  GeXAxisRotation3<T>(0, 1).dump(text);
  EXPECT_EQ(text.str(), "| 1 0 0 |\n| 0 0 -1 |\n| 0 1 0 |\n");
}

TYPED_TEST(Rotations, AimKnownFramesFallbacksAndDefaults) {
  using T = TypeParam;
  const T tol = VoTest::tolerance<T>();
  const GeVector3<T> y(0, 1, 0);
  const GeRotation3<T> r = GeRotation3<T>::aim(unit<T>(1, 0, 0), y, 2, 1, false);
  EXPECT_EQ(r, GeLinearMatrix3<T>(0, 0, 1, 0, 1, 0, -1, 0, 0));
  EXPECT_EQ(GeRotation3<T>::aim(unit<T>(1, 0, 0), y, 2, 1, true), r.computeTranspose());
  // Without a usable up the frame uses the negated axis of the direction's smallest component:
  // y when x and y tie, z only when strictly smallest.
  const GeRotation3<T> parallel =
      GeRotation3<T>::aim(unit<T>(0, 0, 1), GeVector3<T>(0, 0, 5), 2, 1, false);
  EXPECT_EQ(parallel.getColumn(1), GeVector3<T>(1, 0, 0));
  EXPECT_EQ(GeRotation3<T>::aim(unit<T>(0, 0, 1), 2, false),
            GeLinearMatrix3<T>(0, 1, 0, -1, 0, 0, 0, 0, 1));
  const GeRotation3<T> allTie = GeRotation3<T>::aim(unit<T>(1, 1, 1), 2, false);
  EXPECT_NEAR(dot(allTie.getColumn(1), unit<T>(1, 0, -1)), T(1), tol);
  const GeRotation3<T> xzTie = GeRotation3<T>::aim(unit<T>(1, 2, 1), 2, false);
  EXPECT_NEAR(dot(xzTie.getColumn(1), unit<T>(0, -1, 2)), T(1), tol);
  // A zero direction looks down -z.
  GeUnitVector3<T> zero;
  zero.x = zero.y = zero.z = 0;
  const GeVector3<T> up(T(0.3), 1, T(0.2));
  EXPECT_EQ(GeRotation3<T>::aim(zero, up, 2, 1, false),
            GeRotation3<T>::aim(unit<T>(0, 0, -1), up, 2, 1, false));
  EXPECT_EQ(GeRotation3<T>::aim(zero, 0, true), GeRotation3<T>::aim(unit<T>(0, 0, -1), 0, true));
  // Edges 0 and 2 are both the longest; the first one wins, else the frame would turn by π.
  const GePoint3<T> rectangle[4] = {GePoint3<T>(0, 0, 0), GePoint3<T>(2, 0, 0),
                                    GePoint3<T>(2, 1, 0), GePoint3<T>(0, 1, 0)};
  EXPECT_EQ(GeRotation3<T>::aim(4, rectangle, 2, 0, false), GeRotation3<T>());
}

TYPED_TEST(Rotations, AimEveryResultIsAProperRotationForAllAxisPairs) {
  using T = TypeParam;
  const T tol = 100 * VoTest::tolerance<T>();
  std::mt19937 rng(4242);
  for (int n = 0; n < 40; ++n) {
    const GeUnitVector3<T> direction(randomVector<T>(rng));
    const GeVector3<T> up = randomVector<T>(rng), e1 = randomVector<T>(rng);
    // A counter-clockwise triangle: its normal follows the right-hand rule.
    const GePoint3<T> triangle[3] = {GePoint3<T>(1, 2, 3), GePoint3<T>(1, 2, 3) + e1,
                                     GePoint3<T>(1, 2, 3) + up};
    const GeUnitVector3<T> normal(cross(e1, up));
    for (int aimAxis = 0; aimAxis < 3; ++aimAxis) {
      EXPECT_TRUE(isProperRotation<T>(GeRotation3<T>::aim(direction, aimAxis, n % 2 == 0)));
      for (int upAxis = 0; upAxis < 3; ++upAxis) {
        if (aimAxis == upAxis) continue;
        SCOPED_TRACE(::testing::Message() << "aim " << aimAxis << " up " << upAxis);
        const GeRotation3<T> r = GeRotation3<T>::aim(direction, up, aimAxis, upAxis, false);
        EXPECT_TRUE(isProperRotation<T>(r));
        EXPECT_NEAR(dot(r.getColumn(aimAxis), direction), T(1), tol);
        EXPECT_GT(dot(r.getColumn(upAxis), up), T(0));
        EXPECT_EQ(GeRotation3<T>::aim(direction, up, aimAxis, upAxis, true), r.computeTranspose());
        const GeRotation3<T> p = GeRotation3<T>::aim(3, triangle, aimAxis, upAxis, false);
        EXPECT_TRUE(isProperRotation<T>(p));
        EXPECT_NEAR(dot(p.getColumn(aimAxis), normal), T(1), tol);
      }
    }
  }
}

TYPED_TEST(Rotations, AimVectorsWithoutLengthAreReportedWhereTheyAreNormalised) {
  using T = TypeParam;
  GeUnitVector3<T> nan;
  nan.x = nan.y = nan.z = std::numeric_limits<T>::quiet_NaN();
  // Fewer than three points or collinear points have no polygon normal.
  const GePoint3<T> line[3] = {GePoint3<T>(0, 0, 0), GePoint3<T>(1, 1, 1), GePoint3<T>(2, 2, 2)};
  const std::pair<std::function<void()>, int> cases[] = {
      {[&] { GeRotation3<T>::aim(nan, GeVector3<T>(0, 1, 0), 2, 1, false); }, 253},
      {[&] { GeRotation3<T>::aim(nan, 2, false); }, 163},
      {[&] { GeRotation3<T>::aim(0, line, 2, 1, false); }, 311},
      {[&] { GeRotation3<T>::aim(2, line, 2, 1, false); }, 311},
      {[&] { GeRotation3<T>::aim(3, line, 2, 1, false); }, 311}};
  for (const auto& [call, line] : cases) {
    EXPECT_TRUE(VoTest::failsWith(call, "primitives/geRotation3.imp", line, "len > 0")) << line;
  }
}

}  // namespace
