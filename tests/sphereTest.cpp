#include <vezODedizezivuz/geSphere3.h>
#include <vezODedizezivuz/geVector2Utils.h>

#include <gtest/gtest.h>

#include <sstream>

#include "testUtil.h"

namespace {

using namespace Vo;

template <class T>
class Spheres : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(Spheres, Reals);

template <class T>
const GeSphere3<T> kUnit(GePoint3<T>(0, 0, 0), 1);

TYPED_TEST(Spheres, RayParametersAreOrderedAndAMissLeavesThemAlone) {
  using T = TypeParam;
  const struct {
    const char* name;
    GePoint3<T> origin;
    GeVector3<T> direction;
    bool hit;
    T t0, t1;
  } cases[] = {
      {"through the centre", {0, 0, -5}, {0, 0, 1}, true, 4, 6},
      {"against the direction", {0, 0, -5}, {0, 0, -2}, true, -3, -2},
      {"behind the origin", {0, 0, 5}, {0, 0, 1}, true, -6, -4},
      {"from the centre", {0, 0, 0}, {1, 0, 0}, true, -1, 1},
      {"tangent", {1, 0, -5}, {0, 0, 1}, true, 5, 5},
      {"miss", {2, 0, -5}, {0, 0, 1}, false, -7, -7},
      {"zero direction", {0, 0, -5}, {0, 0, 0}, false, -7, -7},
  };
  for (const auto& c : cases) {
    T t0 = -7, t1 = -7;
    EXPECT_EQ(kUnit<T>.intersectRay(c.origin, c.direction, t0, t1), c.hit) << c.name;
    EXPECT_EQ(t0, c.t0) << c.name;
    EXPECT_EQ(t1, c.t1) << c.name;
  }
}

TYPED_TEST(Spheres, SlightlyNegativeDiscriminantStillCountsAsTangent) {
  using T = TypeParam;
  // The discriminant is 1 - x*x: about -8e-5 (float) or -8e-8 (double) just grazes, twice as
  // far out misses.
  const T graze = sizeof(T) == sizeof(float) ? T(4e-5) : T(4e-8);
  const GeVector3<T> up(0, 0, 1);
  T t0 = 0, t1 = 0;
  EXPECT_TRUE(kUnit<T>.intersectRay(GePoint3<T>(1 + graze, 0, -5), up, t0, t1));
  EXPECT_EQ(t0, t1);
  EXPECT_NEAR(t0, T(5), VoTest::tolerance<T>());
  EXPECT_FALSE(kUnit<T>.intersectRay(GePoint3<T>(1 + 3 * graze, 0, -5), up, t0, t1));
}

TYPED_TEST(Spheres, ClosestPointOnlyFromOutsideWithTheCentreAhead) {
  using T = TypeParam;
  const GeVector3<T> up(0, 0, 1);
  GePoint3<T> result(-7, -7, -7);
  EXPECT_FALSE(kUnit<T>.getClosestPoint(GePoint3<T>(0, 0, T(0.5)), up, result));  // inside
  EXPECT_FALSE(kUnit<T>.getClosestPoint(GePoint3<T>(0, 0, 5), up, result));       // behind
  EXPECT_EQ(result, GePoint3<T>(-7, -7, -7));
  EXPECT_TRUE(kUnit<T>.getClosestPoint(GePoint3<T>(2, 0, -5), up, result));
  EXPECT_EQ(result, GePoint3<T>(1, 0, 0));
  EXPECT_TRUE(kUnit<T>.getClosestPoint(GePoint3<T>(0, 0, -5), up, result));
  EXPECT_EQ(result, GePoint3<T>(0, 0, 0));
  // An origin on the surface counts as outside.
  EXPECT_TRUE(kUnit<T>.getClosestPoint(GePoint3<T>(0, 0, -1), up, result));
  std::ostringstream s;
  s << kUnit<T> << GeSphere3<T>(GePoint3<T>(1, T(-2.5), 3), T(0.5));
  EXPECT_EQ(s.str(), "GeSphere {(0, 0, 0), 1} GeSphere {(1, -2.5, 3), 0.5} ");
}

TYPED_TEST(Spheres, SegmentDistanceUsesTheNearestEndBeyondTheSegment) {
  using T = TypeParam;
  const struct {
    T px, py, bx;
    bool infiniteLine;
    T expected;
  } cases[] = {{0, 1, 2, false, 1},  {1, -3, 2, false, 9}, {3, 1, 2, false, 2},
               {3, 1, 2, true, 1},   {-1, 0, 2, false, 1}, {-1, 0, 2, true, 0},
               {3, 4, 0, false, 25}, {3, 4, 0, true, 25}};
  for (const auto& c : cases) {
    EXPECT_EQ(GeVector2Utils<T>::distanceSquaredFromPointToLineSegment(
                  GePoint2<T>(c.px, c.py), GePoint2<T>(0, 0), GePoint2<T>(c.bx, 0), c.infiniteLine),
              c.expected)
        << "p (" << c.px << ", " << c.py << "), b (" << c.bx << ", 0), line " << c.infiniteLine;
  }
}

}  // namespace
