#include <vezODedizezivuz/gePlane3.h>

#include <gtest/gtest.h>
#include <zevIRudez/RnRng.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <sstream>
#include <type_traits>
#include <vector>

#include "testUtil.h"

namespace {

using namespace Vo;

static_assert(sizeof(GePlane3<float>) == 4 * sizeof(float));
static_assert(sizeof(GeNormalizedPlane3<double>) == 4 * sizeof(double));
static_assert(std::is_trivially_copyable_v<GeNormalizedPlane3<float>>);

template <class T>
class Planes : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(Planes, Reals);

constexpr const char* kBuilderSource = "primitives/gePlane3Builder.imp";

template <class T>
GeNormalizedPlane3<T> zPlane(T d) {
  return GeNormalizedPlane3<T>(GeUnitVector3<T>(GeVector3<T>(0, 0, 1)), d);
}

template <class T>
GePlane3Builder<T> builderOf(std::initializer_list<GePoint3<T>> points) {
  GePlane3Builder<T> builder;
  for (const auto& p : points) builder.addPoint(p);
  return builder;
}

TYPED_TEST(Planes, RayParametersAndParallelMissesWithinOneMillionth) {
  using T = TypeParam;
  const GePoint3<T> o(0, 0, 0);
  T t = -7;
  // Parallel rays, and rays within 1e-6 of parallel (for double planes too), miss and leave t.
  EXPECT_FALSE(zPlane<T>(-2).intersectRay(o, GeVector3<T>(1, 0, 0), t));
  EXPECT_FALSE(zPlane<T>(-2).intersectRay(o, GeVector3<T>(1, 0, T(5e-7)), t));
  EXPECT_FALSE(GePlane3<T>(GeVector3<T>(0, 0, 0), 1).intersectRay(o, GeVector3<T>(0, 0, 1), t));
  EXPECT_EQ(t, T(-7));
  EXPECT_TRUE(zPlane<T>(-2).intersectRay(o, GeVector3<T>(1, 0, T(1e-5)), t));
  EXPECT_TRUE(zPlane<T>(-2).intersectRay(GePoint3<T>(1, 1, 5), GeVector3<T>(0, 0, 2), t));
  EXPECT_EQ(t, T(-1.5));
  // A general plane scales its normal to unit length but keeps d: the plane z = 2, not z = 1.
  EXPECT_TRUE(GePlane3<T>(GeVector3<T>(0, 0, 2), -2).intersectRay(o, GeVector3<T>(0, 0, 1), t));
  EXPECT_EQ(t, T(2));
  // Only the parallel test of a double plane drops to float.
  ASSERT_TRUE(zPlane<T>(T(-0.1)).intersectRay(o, GeVector3<T>(0, 0, 3), t));
  EXPECT_EQ(t, T(0.1) / T(3));
}

TYPED_TEST(Planes, EvaluationAndDistanceArePositiveOnTheNormalsSideAndTextIsNormalThenOffset) {
  using T = TypeParam;
  const GePlane3<T> plane(GeVector3<T>(0, 0, 2), -2);
  EXPECT_EQ(plane.evaluate(GePoint3<T>(3, 4, 1)), T(0));
  EXPECT_EQ(plane.evaluate(GePoint3<T>(3, 4, 2)), T(2));  // the normal as stored, not unit
  EXPECT_EQ(zPlane<T>(-2).distance(GePoint3<T>(0, 0, -1)), T(-3));
  std::ostringstream s;
  s << zPlane<T>(-2) << ' ' << GePlane3<T>(GeVector3<T>(T(0.5), 1, 0), 3);
  EXPECT_EQ(s.str(), "[0, 0, 1, -2] [0.5, 1, 0, 3]");
}

TYPED_TEST(Planes, BuilderFitsTriangleAndSquareByTheRightHandRule) {
  using T = TypeParam;
  EXPECT_EQ(builderOf<T>({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).getPlane(), zPlane<T>(0));
  auto ccw = builderOf<T>({{0, 0, 5}, {1, 0, 5}, {1, 1, 5}, {0, 1, 5}});
  EXPECT_EQ(ccw.getPlane(), zPlane<T>(-5));
  EXPECT_EQ(ccw.getPlane(), zPlane<T>(-5));  // reading again must not close the polygon again
  EXPECT_EQ(ccw.getCentroid(), GePoint3<T>(T(0.5), T(0.5), 5));
  auto cw = builderOf<T>({{0, 1, 5}, {1, 1, 5}, {1, 0, 5}, {0, 0, 5}});
  EXPECT_EQ(cw.getPlane().normal, GeVector3<T>(0, 0, -1));
  EXPECT_EQ(cw.getPlane().d, T(5));
}

TYPED_TEST(Planes, FittedPlanePassesThroughEveryVertexOfAPlanarPolygon) {
  using T = TypeParam;
  RnDefaultRng<T> rng(4242);
  for (int trial = 0; trial < 50; ++trial) {
    // A regular polygon, counter-clockwise about n, in a random plane far from the origin.
    const GeUnitVector3<T> n(GeVector3<T>(2 * rng() - 1, 2 * rng() - 1, 2 * rng() - 1 + T(0.1)));
    const GeUnitVector3<T> u(
        cross(n, std::fabs(n.x) < T(0.5) ? GeVector3<T>(1, 0, 0) : GeVector3<T>(0, 1, 0)));
    const GePoint3<T> center(1000 * rng(), -500 * rng(), 200);
    const int sides = 3 + trial % 5;
    std::vector<GePoint3<T>> vertices;
    GePlane3Builder<T> builder;
    for (int i = 0; i < sides; ++i) {
      const T angle = T(6.283185307179586) * T(i) / T(sides);
      vertices.push_back(center + u * (3 * std::cos(angle)) + cross(n, u) * (3 * std::sin(angle)));
      builder.addPoint(vertices.back());
    }
    const GeNormalizedPlane3<T>& plane = builder.getPlane();
    EXPECT_NEAR(dot(plane.normal, n), 1, 100 * VoTest::tolerance<T>()) << "trial " << trial;
    for (const GePoint3<T>& p : vertices)
      EXPECT_NEAR(plane.distance(p), 0, 55000 * std::numeric_limits<T>::epsilon())
          << "trial " << trial << " vertex " << p;
  }
}

TYPED_TEST(Planes, BuilderReportsTooFewPointsAndCollinearPoints) {
  using T = TypeParam;
  auto builder = builderOf<T>({{0, 0, 0}, {1, 0, 0}});
  EXPECT_TRUE(VoTest::abortsWith([&] { builder.getPlane(); }, kBuilderSource, 82));
  builder.addPoint(GePoint3<T>(0, 1, 0));
  builder.getPlane();
  // The next point after reading starts a new polygon.
  builder.addPoint(GePoint3<T>(5, 5, 5));
  EXPECT_TRUE(VoTest::abortsWith([&] { builder.getCentroid(); }, kBuilderSource, 82));
  auto line = builderOf<T>({{0, 0, 0}, {1, 2, -1}, {2, 4, -2}, {3, 6, -3}});
  EXPECT_TRUE(VoTest::failsWith([&] { line.getPlane(); }, kBuilderSource, 91, "len > 0"));
}

}  // namespace
