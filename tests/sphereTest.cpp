#include <vezODedizezivuz/geSphere3.h>
#include <vezODedizezivuz/geVector2Utils.h>

#include <cmath>

#include "testUtil.h"

namespace {

using namespace Vo;

VO_REAL_TEST_SUITE(Spheres);

template <class T>
const GeSphere3<T> kUnit(GePoint3<T>(0, 0, 0), 1);

// The discriminant 1 - x*x at about -8e-5 (float) or -8e-8 (double) still grazes; three times
// as far out misses and leaves the parameters alone. Against the direction the smaller
// parameter still comes first.
TYPED_TEST(Spheres, RayParametersAreOrderedAndAMissLeavesThemAlone) {
  using T = TypeParam;
  T t0 = -7, t1 = -7;
  const GeVector3<T> up(0, 0, 1);
  const T graze = sizeof(T) == sizeof(float) ? T(4e-5) : T(4e-8);
  EXPECT_FALSE(kUnit<T>.intersectRay({1 + 3 * graze, 0, -5}, up, t0, t1) || t0 != -7 || t1 != -7);
  EXPECT_TRUE(kUnit<T>.intersectRay({1 + graze, 0, -5}, up, t0, t1) && t0 == t1) << t0 << ' ' << t1;
  const GeSphere3<T> moved(GePoint3<T>(1, 2, 3), 1);
  EXPECT_TRUE(moved.intersectRay({1, 2, -2}, up * T(-2), t0, t1) && t0 == -3 && t1 == -2);
  // A discriminant of exactly -0.0001 = -y·y still grazes in float.
  EXPECT_TRUE(sizeof(T) != sizeof(float) ||
              GeSphere3<T>({0, 0, 0}, 0).intersectRay({0, T(0x1.47ae14p-7), 0}, {1, 0, 0}, t0, t1));
  EXPECT_FALSE(kUnit<T>.intersectRay({0, 0, -5}, {0, 0, 0}, t0, t1));
  // Direction length² 1e-8 is negligible, b = -5e-4 is not: t = -c / 2b with c = 24.
  EXPECT_TRUE(kUnit<T>.intersectRay({0, 0, -5}, {0, 0, T(1e-4)}, t0, t1) && t0 == t1 &&
              std::abs(t0 - 24000) < T(0.01))
      << t0;
}

// A point on the surface counts as outside.
TYPED_TEST(Spheres, ClosestPointOnlyFromOutsideWithTheCentreAhead) {
  using T = TypeParam;
  GePoint3<T> p(-7, -7, -7);
  const GeVector3<T> up(0, 0, 1);
  EXPECT_FALSE(kUnit<T>.getClosestPoint({0, 0, T(0.5)}, up, p));  // inside
  EXPECT_FALSE(kUnit<T>.getClosestPoint({0, 0, 5}, up, p) || p != GePoint3<T>(-7, -7, -7));
  EXPECT_TRUE(kUnit<T>.getClosestPoint({0, 0, -1}, up, p));
  EXPECT_TRUE(kUnit<T>.getClosestPoint({2, 0, -5}, up, p) && p == GePoint3<T>(1, 0, 0)) << p;
}

TYPED_TEST(Spheres, SegmentDistanceUsesTheNearestEndBeyondTheSegment) {
  using T = TypeParam;
  // p.x, p.y, b.x, b.y (a at the origin), infinite line?, squared distance.
  const T cases[][6] = {{0, 1, 2, 0, 0, 1},      {1, 1, 2, 0, 0, 1},
                        {3, 1, 2, 0, 0, 2},      {3, 1, 2, 0, 1, 1},
                        {-1, 0, 2, 0, 0, 1},     {3, 4, 0, 0, 1, 25},
                        {1, 2, 2, 2, 0, T(0.5)}, {T(0.5), 0, T(0.5), T(0.5), 0, T(0.125)}};
  const auto distance = &GeVector2Utils<T>::distanceSquaredFromPointToLineSegment;
  for (const auto& c : cases)
    EXPECT_EQ(distance({c[0], c[1]}, {0, 0}, {c[2], c[3]}, c[4] != 0), c[5])
        << "p (" << c[0] << ", " << c[1] << "), b (" << c[2] << ", " << c[3] << "), line " << c[4];
}

}  // namespace
