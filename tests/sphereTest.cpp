#include <vezODedizezivuz/geSphere3.h>
#include <vezODedizezivuz/geVector2Utils.h>

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>
#include <utility>

#include "testUtil.h"

namespace {

using namespace Vo;

static_assert(sizeof(GeSphere3<double>) == 4 * sizeof(double));

template <class T>
class Spheres : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(Spheres, Reals);

template <class T>
const GeSphere3<T> kUnit(GePoint3<T>(0, 0, 0), 1);

// intersectRay of the unit sphere as (hit, t0, t1), both parameters starting at -7.
template <class T>
std::tuple<bool, T, T> ray(const GePoint3<T>& origin, const GeVector3<T>& direction) {
  T t0 = -7, t1 = -7;
  const bool hit = kUnit<T>.intersectRay(origin, direction, t0, t1);
  return {hit, t0, t1};
}

TYPED_TEST(Spheres, RayParametersAreOrderedAndAMissLeavesThemAlone) {
  using T = TypeParam;
  using R = std::tuple<bool, T, T>;
  EXPECT_EQ(ray<T>({0, 0, -5}, {0, 0, 1}), R(true, 4, 6));
  EXPECT_EQ(ray<T>({0, 0, -5}, {0, 0, -2}), R(true, -3, -2));  // against the direction
  EXPECT_EQ(ray<T>({0, 0, 5}, {0, 0, 1}), R(true, -6, -4));    // behind the origin
  EXPECT_EQ(ray<T>({0, 0, 0}, {1, 0, 0}), R(true, -1, 1));     // from the centre
  EXPECT_EQ(ray<T>({1, 0, -5}, {0, 0, 1}), R(true, 5, 5));     // tangent
  EXPECT_EQ(ray<T>({2, 0, -5}, {0, 0, 1}), R(false, -7, -7));
  EXPECT_EQ(ray<T>({0, 0, -5}, {0, 0, 0}), R(false, -7, -7));
  // The discriminant 1 - x*x at about -8e-5 (float) or -8e-8 (double) still grazes; three
  // times as far out misses.
  const T graze = sizeof(T) == sizeof(float) ? T(4e-5) : T(4e-8);
  const auto [hit, t0, t1] = ray<T>({1 + graze, 0, -5}, {0, 0, 1});
  EXPECT_TRUE(hit && t0 == t1) << t0 << " " << t1;
  EXPECT_NEAR(t0, T(5), VoTest::tolerance<T>());
  EXPECT_FALSE(std::get<0>(ray<T>({1 + 3 * graze, 0, -5}, {0, 0, 1})));
}

TYPED_TEST(Spheres, ClosestPointOnlyFromOutsideWithTheCentreAhead) {
  using T = TypeParam;
  using P = GePoint3<T>;
  const auto closest = [](const P& origin) {  // along +z, the result starting at -7s
    P result(-7, -7, -7);
    const bool found = kUnit<T>.getClosestPoint(origin, GeVector3<T>(0, 0, 1), result);
    return std::make_pair(found, result);
  };
  EXPECT_EQ(closest({0, 0, T(0.5)}), std::make_pair(false, P(-7, -7, -7)));  // inside
  EXPECT_EQ(closest({0, 0, 5}), std::make_pair(false, P(-7, -7, -7)));       // behind
  EXPECT_EQ(closest({2, 0, -5}), std::make_pair(true, P(1, 0, 0)));
  EXPECT_EQ(closest({0, 0, -5}), std::make_pair(true, P(0, 0, 0)));
  EXPECT_TRUE(closest({0, 0, -1}).first);  // on the surface counts as outside
}

TYPED_TEST(Spheres, DumpEndsWithABlank) {
  using T = TypeParam;
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
