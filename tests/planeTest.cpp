#include <vezODedizezivuz/gePlane3.h>

#include <gtest/gtest.h>
#include <zevIRudez/RnRng.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <type_traits>

#include "testUtil.h"

namespace {

using namespace Vo;

static_assert(sizeof(GePlane3<float>) == 4 * sizeof(float));
static_assert(sizeof(GeNormalizedPlane3<double>) == 4 * sizeof(double));
static_assert(std::is_trivially_copyable_v<GeNormalizedPlane3<float>>);
static_assert(std::is_trivially_default_constructible_v<GePlane3<double>>);

template <class T>
class Planes : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(Planes, Reals);

constexpr const char* kBuilderSource = "primitives/gePlane3Builder.imp";

template <class T>
GeNormalizedPlane3<T> zPlane(T d) {
  return GeNormalizedPlane3<T>(GeUnitVector3<T>(GeVector3<T>(0, 0, 1)), d);
}

TYPED_TEST(Planes, RayMeetsThePlaneWhereTheEquationVanishes) {
  using T = TypeParam;
  T t = -7;
  EXPECT_TRUE(zPlane<T>(-2).intersectRay(GePoint3<T>(0, 0, 0), GeVector3<T>(0, 0, 1), t));
  EXPECT_EQ(t, T(2));
  EXPECT_TRUE(zPlane<T>(-2).intersectRay(GePoint3<T>(1, 1, 5), GeVector3<T>(0, 0, 2), t));
  EXPECT_EQ(t, T(-1.5));
}

TYPED_TEST(Planes, ParallelRaysMissAndLeaveTheParameterAlone) {
  using T = TypeParam;
  T t = -7;
  EXPECT_FALSE(zPlane<T>(-2).intersectRay(GePoint3<T>(0, 0, 0), GeVector3<T>(1, 0, 0), t));
  // Within the default tolerance of 1e-6 counts as parallel, for double planes too.
  EXPECT_FALSE(zPlane<T>(-2).intersectRay(GePoint3<T>(0, 0, 0), GeVector3<T>(1, 0, T(5e-7)), t));
  EXPECT_EQ(t, T(-7));
  EXPECT_TRUE(zPlane<T>(-2).intersectRay(GePoint3<T>(0, 0, 0), GeVector3<T>(1, 0, T(1e-5)), t));
}

TEST(DoublePlanes, OnlyTheParallelTestDropsToFloat) {
  double t = 0;
  ASSERT_TRUE(
      zPlane<double>(-0.1).intersectRay(GePoint3<double>(0, 0, 0), GeVector3<double>(0, 0, 3), t));
  EXPECT_EQ(t, 0.1 / 3.0);
}

TYPED_TEST(Planes, GeneralPlaneIntersectsWithItsUnitNormalAndStoredOffset) {
  using T = TypeParam;
  T t = 0;
  const GePlane3<T> unit(zPlane<T>(-2));
  EXPECT_TRUE(unit.intersectRay(GePoint3<T>(0, 0, 0), GeVector3<T>(0, 0, 1), t));
  EXPECT_EQ(t, T(2));
  // The normal is scaled to unit length but d is not: the plane z = 2, not z = 1.
  const GePlane3<T> longNormal(GeVector3<T>(0, 0, 2), -2);
  EXPECT_TRUE(longNormal.intersectRay(GePoint3<T>(0, 0, 0), GeVector3<T>(0, 0, 1), t));
  EXPECT_EQ(t, T(2));
  t = -7;
  EXPECT_FALSE(GePlane3<T>(GeVector3<T>(0, 0, 0), 1)
                   .intersectRay(GePoint3<T>(0, 0, 0), GeVector3<T>(0, 0, 1), t));
  EXPECT_EQ(t, T(-7));
}

TYPED_TEST(Planes, EvaluateIsPositiveOnTheNormalsSide) {
  using T = TypeParam;
  const GePlane3<T> plane(GeVector3<T>(0, 0, 2), -2);
  EXPECT_GT(plane.evaluate(GePoint3<T>(0, 0, 2)), T(0));
  EXPECT_EQ(plane.evaluate(GePoint3<T>(3, 4, 1)), T(0));
  EXPECT_EQ(zPlane<T>(-2).distance(GePoint3<T>(0, 0, -1)), T(-3));
}

TYPED_TEST(Planes, DumpWritesNormalThenOffset) {
  using T = TypeParam;
  std::ostringstream s;
  s << zPlane<T>(-2) << ' ' << GePlane3<T>(GeVector3<T>(T(0.5), 1, 0), 3);
  EXPECT_EQ(s.str(), "[0, 0, 1, -2] [0.5, 1, 0, 3]");
}

TYPED_TEST(Planes, BuilderFitsTriangleAndSquareByTheRightHandRule) {
  using T = TypeParam;
  GePlane3Builder<T> triangle;
  triangle.addPoint(GePoint3<T>(0, 0, 0));
  triangle.addPoint(GePoint3<T>(1, 0, 0));
  triangle.addPoint(GePoint3<T>(0, 1, 0));
  EXPECT_EQ(triangle.getPlane(), zPlane<T>(0));

  const GePoint3<T> square[4] = {{0, 0, 5}, {1, 0, 5}, {1, 1, 5}, {0, 1, 5}};
  GePlane3Builder<T> ccw;
  for (const auto& p : square) ccw.addPoint(p);
  EXPECT_EQ(ccw.getPlane(), zPlane<T>(-5));
  EXPECT_EQ(ccw.getCentroid(), GePoint3<T>(T(0.5), T(0.5), 5));

  GePlane3Builder<T> cw;
  for (int i = 3; i >= 0; --i) cw.addPoint(square[i]);
  const GeNormalizedPlane3<T>& plane = cw.getPlane();
  EXPECT_EQ(plane.normal, GeVector3<T>(0, 0, -1));
  EXPECT_EQ(plane.d, T(5));
}

TYPED_TEST(Planes, ReadingThePlaneTwiceDoesNotCloseThePolygonAgain) {
  using T = TypeParam;
  GePlane3Builder<T> builder;
  builder.addPoint(GePoint3<T>(0, 0, 1));
  builder.addPoint(GePoint3<T>(2, 0, 1));
  builder.addPoint(GePoint3<T>(0, 3, 2));
  const GeNormalizedPlane3<T> first = builder.getPlane();
  EXPECT_EQ(builder.getPlane(), first);
  EXPECT_EQ(builder.getCentroid(), builder.getCentroid());
}

TYPED_TEST(Planes, FittedPlanePassesThroughEveryVertexOfAPlanarPolygon) {
  using T = TypeParam;
  RnDefaultRng<T> rng(4242);
  for (int trial = 0; trial < 50; ++trial) {
    // A regular-ish polygon in a random plane far from the coordinate origin.
    const GeUnitVector3<T> n(GeVector3<T>(2 * rng() - 1, 2 * rng() - 1, 2 * rng() - 1 + T(0.1)));
    GeUnitVector3<T> u(
        cross(n, std::fabs(n.x) < T(0.5) ? GeVector3<T>(1, 0, 0) : GeVector3<T>(0, 1, 0)));
    const GeVector3<T> v = cross(n, u);
    const GePoint3<T> center(1000 * rng(), -500 * rng(), 200);
    GePlane3Builder<T> builder;
    const int sides = 3 + trial % 5;
    GePoint3<T> vertices[8];
    for (int i = 0; i < sides; ++i) {
      const T angle = T(6.283185307179586) * T(i) / T(sides);
      vertices[i] = center + u * (3 * std::cos(angle)) + v * (3 * std::sin(angle));
      builder.addPoint(vertices[i]);
    }
    const GeNormalizedPlane3<T>& plane = builder.getPlane();
    const T farTolerance = 50 * 1100 * std::numeric_limits<T>::epsilon();
    // Counter-clockwise about n, so the fitted normal is n itself.
    EXPECT_NEAR(dot(plane.normal, n), 1, 100 * VoTest::tolerance<T>()) << "trial " << trial;
    for (int i = 0; i < sides; ++i) {
      EXPECT_NEAR(plane.distance(vertices[i]), 0, farTolerance)
          << "trial " << trial << " vertex " << i;
    }
  }
}

TYPED_TEST(Planes, BuilderAbortsWithFewerThanThreePoints) {
  using T = TypeParam;
  GePlane3Builder<T> builder;
  EXPECT_TRUE(VoTest::abortsWith([&] { builder.getPlane(); }, kBuilderSource, 82));
  builder.addPoint(GePoint3<T>(0, 0, 0));
  builder.addPoint(GePoint3<T>(1, 0, 0));
  EXPECT_TRUE(VoTest::abortsWith([&] { builder.getPlane(); }, kBuilderSource, 82));
  builder.addPoint(GePoint3<T>(0, 1, 0));
  builder.getPlane();
  // The next point after reading starts a new polygon.
  builder.addPoint(GePoint3<T>(5, 5, 5));
  EXPECT_TRUE(VoTest::abortsWith([&] { builder.getCentroid(); }, kBuilderSource, 82));
}

TYPED_TEST(Planes, CollinearPointsReportAZeroNormal) {
  using T = TypeParam;
  GePlane3Builder<T> builder;
  for (int i = 0; i < 4; ++i) builder.addPoint(GePoint3<T>(T(i), T(2 * i), T(-i)));
  EXPECT_TRUE(VoTest::failsWith([&] { builder.getPlane(); }, kBuilderSource, 91, "len > 0"));
}

}  // namespace
