#include <vezODedizezivuz/gePlane3.h>

#include <initializer_list>

#include "testUtil.h"

namespace {

using namespace Vo;

VO_REAL_TEST_SUITE(Planes);

template <class T>
GeNormalizedPlane3<T> zPlane(T d) {
  return GeNormalizedPlane3<T>(GeUnitVector3<T>({0, 0, 1}), d);
}

template <class T>
GePlane3Builder<T> builderOf(std::initializer_list<GePoint3<T>> points) {
  GePlane3Builder<T> builder;
  for (const auto& p : points) builder.addPoint(p);
  return builder;
}

// Rays within 1e-6 of parallel (for double planes too: only that test drops to float) miss and
// leave t; 1e-5 hits.
TYPED_TEST(Planes, NearlyParallelRaysMissWithinOneMillionth) {
  using T = TypeParam;
  const GePoint3<T> o(0, 0, 0);
  T t = -7;
  EXPECT_FALSE(zPlane<T>(-2).intersectRay(o, GeVector3<T>(1, 0, T(5e-7)), t) || t != -7);
  EXPECT_TRUE(zPlane<T>(-2).intersectRay(o, GeVector3<T>(1, 0, T(1e-5)), t));
  EXPECT_TRUE(zPlane<T>(T(-0.1)).intersectRay(o, GeVector3<T>(0, 0, 3), t) && t == T(0.1) / T(3));
  // A general plane scales its normal to unit length but keeps d: the plane z = 2, not z = 1.
  EXPECT_TRUE(GePlane3<T>(GeVector3<T>(0, 0, 2), -2).intersectRay(o, {0, 0, 1}, t) && t == 2);
}

// Evaluation, unlike intersection, uses the normal as stored; distance is positive on the
// normal's side.
TYPED_TEST(Planes, EvaluationAndDistanceSumEveryTerm) {
  using T = TypeParam;
  EXPECT_EQ(GePlane3<T>(GeVector3<T>(1, 2, 3), -2).evaluate(GePoint3<T>(3, 4, 2)), T(15));
  const GeNormalizedPlane3<T> plane(GeUnitVector3<T>(GeVector3<T>(2, -2, 1)), -3);
  EXPECT_NEAR(plane.distance(GePoint3<T>(0, 0, 0) + plane.normal * T(5)), T(2),
              VoTest::tolerance<T>());
  // So does the origin's distance in a ray's intersection: the hit lies on the plane.
  const GePoint3<T> origin(1, 2, 3);
  const GeVector3<T> direction(1, 1, 2);
  T t = 0;
  EXPECT_TRUE(plane.intersectRay(origin, direction, t));
  EXPECT_NEAR(plane.distance(origin + direction * t), T(0), VoTest::tolerance<T>()) << t;
}

// Normal and d each within the tolerance, bounds included.
TYPED_TEST(Planes, IsEqualComparesEachComponentInclusively) {
  using T = TypeParam;
  const GePlane3<T> p(GeVector3<T>(1, 2, 3), 4);
  EXPECT_TRUE(p.isEqual(GePlane3<T>(GeVector3<T>(T(1.5), T(2.5), T(3.5)), T(4.5)), T(0.5)));
  EXPECT_FALSE(p.isEqual(GePlane3<T>(GeVector3<T>(1, 2, T(3.75)), 4), T(0.5)));
}

TYPED_TEST(Planes, BuilderFitsByTheRightHandRule) {
  using T = TypeParam;
  auto builder = builderOf<T>({{0, 0, 5}, {1, 0, 5}, {1, 1, 5}, {0, 1, 5}});
  EXPECT_EQ(builder.getPlane(), zPlane<T>(-5));
  // Reading again must not close the polygon again; points added after reading start a new one,
  // here a triangle off the origin in the plane y = 5, with a normal sum of length 1.
  EXPECT_TRUE(builder.getPlane() == zPlane<T>(-5) &&
              builder.getCentroid() == GePoint3<T>(T(0.5), T(0.5), 5));
  for (const GePoint3<T>& p : {GePoint3<T>(0, 5, 1), {1, 5, 0}, {0, 5, 0}}) builder.addPoint(p);
  EXPECT_EQ(builder.getPlane(), GeNormalizedPlane3<T>(GeUnitVector3<T>(GeVector3<T>(0, 1, 0)), -5));
}

TYPED_TEST(Planes, BuilderReportsTooFewOrCollinearPoints) {
  auto empty = builderOf<TypeParam>({}), two = builderOf<TypeParam>({{0, 0, 0}, {1, 0, 0}});
  for (auto* builder : {&empty, &two})
    EXPECT_TRUE(VoTest::failsWith([&] { builder->getCentroid(); },
                                  GeReportSites::planeBuilderTooFewPoints));
  auto line = builderOf<TypeParam>({{0, 0, 0}, {1, 2, -1}, {2, 4, -2}, {3, 6, -3}});
  EXPECT_TRUE(VoTest::failsWith([&] { line.getPlane(); }, GeReportSites::planeBuilderNormalLength));
}

}  // namespace
