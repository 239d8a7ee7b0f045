#include <vezODedizezivuz/geSphere3.h>
#include <vezODedizezivuz/geVector2Utils.h>

#include <gtest/gtest.h>

#include <sstream>
#include <type_traits>

#include "testUtil.h"

namespace {

using namespace Vo;

static_assert(sizeof(GeSphere3<double>) == 4 * sizeof(double));
static_assert(std::is_trivially_copyable_v<GeSphere3<float>>);

template <class T>
class Spheres : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(Spheres, Reals);

template <class T>
GeSphere3<T> unitSphere() {
  return GeSphere3<T>(GePoint3<T>(0, 0, 0), 1);
}

TYPED_TEST(Spheres, RayThroughTheCentreEntersAndLeaves) {
  using T = TypeParam;
  T t0 = 0;
  T t1 = 0;
  EXPECT_TRUE(unitSphere<T>().intersectRay(GePoint3<T>(0, 0, -5), GeVector3<T>(0, 0, 1), t0, t1));
  EXPECT_EQ(t0, T(4));
  EXPECT_EQ(t1, T(6));
  // The parameters are ordered whatever the direction's sense.
  EXPECT_TRUE(unitSphere<T>().intersectRay(GePoint3<T>(0, 0, -5), GeVector3<T>(0, 0, -2), t0, t1));
  EXPECT_EQ(t0, T(-3));
  EXPECT_EQ(t1, T(-2));
}

TYPED_TEST(Spheres, HitsBehindOrAroundTheOriginAreReturnedAsTheyAre) {
  using T = TypeParam;
  T t0 = 0;
  T t1 = 0;
  EXPECT_TRUE(unitSphere<T>().intersectRay(GePoint3<T>(0, 0, 5), GeVector3<T>(0, 0, 1), t0, t1));
  EXPECT_EQ(t0, T(-6));
  EXPECT_EQ(t1, T(-4));
  EXPECT_TRUE(unitSphere<T>().intersectRay(GePoint3<T>(0, 0, 0), GeVector3<T>(1, 0, 0), t0, t1));
  EXPECT_EQ(t0, T(-1));
  EXPECT_EQ(t1, T(1));
}

TYPED_TEST(Spheres, TangentGivesOneParameterAndMissesLeaveResultsAlone) {
  using T = TypeParam;
  T t0 = 0;
  T t1 = 0;
  EXPECT_TRUE(unitSphere<T>().intersectRay(GePoint3<T>(1, 0, -5), GeVector3<T>(0, 0, 1), t0, t1));
  EXPECT_EQ(t0, T(5));
  EXPECT_EQ(t1, T(5));
  t0 = t1 = -7;
  EXPECT_FALSE(unitSphere<T>().intersectRay(GePoint3<T>(2, 0, -5), GeVector3<T>(0, 0, 1), t0, t1));
  EXPECT_FALSE(unitSphere<T>().intersectRay(GePoint3<T>(0, 0, -5), GeVector3<T>(0, 0, 0), t0, t1));
  EXPECT_EQ(t0, T(-7));
  EXPECT_EQ(t1, T(-7));
}

TYPED_TEST(Spheres, SlightlyNegativeDiscriminantStillCountsAsTangent) {
  using T = TypeParam;
  // The discriminant is 1 - x*x: about -8e-5 (float) or -8e-8 (double) just grazes, twice as
  // far out misses.
  const T graze = sizeof(T) == sizeof(float) ? T(4e-5) : T(4e-8);
  T t0 = 0;
  T t1 = 0;
  EXPECT_TRUE(
      unitSphere<T>().intersectRay(GePoint3<T>(1 + graze, 0, -5), GeVector3<T>(0, 0, 1), t0, t1));
  EXPECT_EQ(t0, t1);
  EXPECT_NEAR(t0, T(5), VoTest::tolerance<T>());
  EXPECT_FALSE(unitSphere<T>().intersectRay(GePoint3<T>(1 + 3 * graze, 0, -5),
                                            GeVector3<T>(0, 0, 1), t0, t1));
}

TYPED_TEST(Spheres, ClosestPointOfARayFromOutside) {
  using T = TypeParam;
  const GeVector3<T> up(0, 0, 1);
  GePoint3<T> result(-7, -7, -7);
  EXPECT_TRUE(unitSphere<T>().getClosestPoint(GePoint3<T>(2, 0, -5), up, result));
  EXPECT_EQ(result, GePoint3<T>(1, 0, 0));
  EXPECT_TRUE(unitSphere<T>().getClosestPoint(GePoint3<T>(0, 0, -5), up, result));
  EXPECT_EQ(result, GePoint3<T>(0, 0, 0));
  // An origin on the surface counts as outside.
  EXPECT_TRUE(unitSphere<T>().getClosestPoint(GePoint3<T>(0, 0, -1), up, result));
}

TYPED_TEST(Spheres, NoClosestPointFromInsideOrWithTheCentreBehind) {
  using T = TypeParam;
  const GeVector3<T> up(0, 0, 1);
  GePoint3<T> result(-7, -7, -7);
  EXPECT_FALSE(unitSphere<T>().getClosestPoint(GePoint3<T>(0, 0, T(0.5)), up, result));
  EXPECT_FALSE(unitSphere<T>().getClosestPoint(GePoint3<T>(0, 0, 5), up, result));
  EXPECT_EQ(result, GePoint3<T>(-7, -7, -7));
}

TYPED_TEST(Spheres, DumpEndsWithABlank) {
  using T = TypeParam;
  std::ostringstream s;
  s << unitSphere<T>() << GeSphere3<T>(GePoint3<T>(1, T(-2.5), 3), T(0.5));
  EXPECT_EQ(s.str(), "GeSphere {(0, 0, 0), 1} GeSphere {(1, -2.5, 3), 0.5} ");
}

TYPED_TEST(Spheres, SegmentDistanceUsesTheNearestEndBeyondTheSegment) {
  using T = TypeParam;
  using Utils = GeVector2Utils<T>;
  const GePoint2<T> a(0, 0);
  const GePoint2<T> b(2, 0);
  EXPECT_EQ(Utils::distanceSquaredFromPointToLineSegment(GePoint2<T>(0, 1), a, b, false), T(1));
  EXPECT_EQ(Utils::distanceSquaredFromPointToLineSegment(GePoint2<T>(1, -3), a, b, false), T(9));
  EXPECT_EQ(Utils::distanceSquaredFromPointToLineSegment(GePoint2<T>(3, 1), a, b, false), T(2));
  EXPECT_EQ(Utils::distanceSquaredFromPointToLineSegment(GePoint2<T>(3, 1), a, b, true), T(1));
  EXPECT_EQ(Utils::distanceSquaredFromPointToLineSegment(GePoint2<T>(-1, 0), a, b, false), T(1));
  EXPECT_EQ(Utils::distanceSquaredFromPointToLineSegment(GePoint2<T>(-1, 0), a, b, true), T(0));
}

TYPED_TEST(Spheres, DegenerateSegmentIsItsPointInBothModes) {
  using T = TypeParam;
  using Utils = GeVector2Utils<T>;
  const GePoint2<T> a(0, 0);
  EXPECT_EQ(Utils::distanceSquaredFromPointToLineSegment(GePoint2<T>(3, 4), a, a, false), T(25));
  EXPECT_EQ(Utils::distanceSquaredFromPointToLineSegment(GePoint2<T>(3, 4), a, a, true), T(25));
}

}  // namespace
