#include <vezODedizezivuz/geCameraBuilder.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "testUtil.h"

namespace {

using namespace Vo;

template <class T>
class CameraBuilder : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(CameraBuilder, Reals);

template <class T>
T epsilon() {
  return sizeof(T) == sizeof(float) ? T(VoTest::fromBits(0x38D1B717)) : T(1e-7);
}

template <class T>
const T halfPi = T(1.5707963267948966);

// Clip-space depth of the view-space point (x, y, z) after the division by w.
template <class T>
GeHomogeneousCoord3<T> project(const GeProjectiveMatrix3<T>& m, T x, T y, T z) {
  const GeHomogeneousCoord3<T> h = m * GeHomogeneousCoord3<T>(x, y, z, 1);
  return GeHomogeneousCoord3<T>(h.x / h.w, h.y / h.w, h.z / h.w, 1);
}

TYPED_TEST(CameraBuilder, PerspectiveOfARightAngle) {
  using T = TypeParam;
  const GeProjectiveMatrix3<T> m = GeCameraBuilder<T>::makePerspective(halfPi<T>, 1, 3, 2);
  const T tol = VoTest::tolerance<T>();
  const GeProjectiveMatrix3<T> expected(T(0.5), 0, 0, 0, 0, 1, 0, 0, 0, 0, -2, -3, 0, 0, -1, 0);
  EXPECT_TRUE(m.isEqual(expected, tol)) << m;
  EXPECT_EQ(m(3, 2), T(-1));
  EXPECT_EQ(m(3, 3), T(0));
}

TYPED_TEST(CameraBuilder, OrthographicOfARightAngle) {
  using T = TypeParam;
  const GeProjectiveMatrix3<T> m = GeCameraBuilder<T>::makeOrthographic(halfPi<T>, 1, 3, 2);
  const GeProjectiveMatrix3<T> expected(T(0.5), 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, -2, 0, 0, 0, 1);
  EXPECT_TRUE(m.isEqual(expected, VoTest::tolerance<T>())) << m;
}

TYPED_TEST(CameraBuilder, ProjectionsMapTheViewVolumeToTheClipCube) {
  using T = TypeParam;
  const T fov = T(1.1), n = T(0.5), f = T(40), aspect = T(1.6);
  const T tol = 10 * VoTest::tolerance<T>();
  const T halfHeight = std::tan(fov / 2);
  for (const T z : {-n, -f}) {
    const T depth = z == -n ? T(-1) : T(1);
    const GeHomogeneousCoord3<T> corner =
        project(GeCameraBuilder<T>::makePerspective(fov, n, f, aspect), aspect * halfHeight * -z,
                halfHeight * -z, z);
    EXPECT_NEAR(corner.x, 1, tol);
    EXPECT_NEAR(corner.y, 1, tol);
    EXPECT_NEAR(corner.z, depth, tol);
    const GeHomogeneousCoord3<T> ortho =
        project(GeCameraBuilder<T>::makeOrthographic(fov, n, f, aspect), -aspect * halfHeight * n,
                -halfHeight * n, z);
    EXPECT_NEAR(ortho.x, -1, tol);
    EXPECT_NEAR(ortho.y, -1, tol);
    EXPECT_NEAR(ortho.z, depth, tol);
  }
}

TYPED_TEST(CameraBuilder, PerspectiveIsInvertedDespiteItsZeroCorner) {
  using T = TypeParam;
  const GeProjectiveMatrix3<T> p = GeCameraBuilder<T>::makePerspective(T(1.2), T(0.1), 100, T(1.5));
  ASSERT_EQ(p(3, 3), T(0));
  const GeProjectiveMatrix3<T> inverse = p.computeInverse();
  EXPECT_TRUE((inverse * p).isEqual(GeProjectiveMatrix3<T>(), 10 * VoTest::tolerance<T>()));
  // A clip-space corner of the near plane goes back to z = -near.
  const GeHomogeneousCoord3<T> h = inverse * GeHomogeneousCoord3<T>(1, 1, -1, 1);
  EXPECT_NEAR(h.z / h.w, T(-0.1), 10 * VoTest::tolerance<T>());
}

TYPED_TEST(CameraBuilder, NonPositiveNearDistanceBecomesEpsilon) {
  using T = TypeParam;
  const T eps = epsilon<T>();
  for (const T n : {T(0), T(-2)}) {
    const GeProjectiveMatrix3<T> m = GeCameraBuilder<T>::makePerspective(1, n, 10, 1);
    EXPECT_EQ(m(2, 3), GeCameraBuilder<T>::makePerspective(1, eps, 10, 1)(2, 3));
    EXPECT_NEAR(m(2, 3), -2 * 10 * eps / (10 - eps), VoTest::tolerance<T>() * eps);
  }
  // Far likewise.
  EXPECT_EQ(GeCameraBuilder<T>::makePerspective(1, 1, -5, 1),
            GeCameraBuilder<T>::makePerspective(1, 1, eps, 1));
}

TYPED_TEST(CameraBuilder, EqualDistancesUseAHalfForTheDifference) {
  using T = TypeParam;
  EXPECT_EQ(GeCameraBuilder<T>::makePerspective(1, 2, 2, 1)(2, 2), T(-8));
  EXPECT_EQ(GeCameraBuilder<T>::makeOrthographic(1, 2, 2, 1)(2, 2), T(-4));
  // Opposite distances never meet: both are replaced by epsilon, so the difference is 0.5 too.
  EXPECT_EQ(GeCameraBuilder<T>::makePerspective(1, -1, -1, 1)(2, 2), -(2 * epsilon<T>() / T(0.5)));
}

TYPED_TEST(CameraBuilder, AngleAtOrBeyondPiIsClampedBelowIt) {
  using T = TypeParam;
  const T pi = sizeof(T) == sizeof(float) ? T(VoTest::fromBits(0x40490FDB)) : T(3.141592653589793);
  const T clamped =
      sizeof(T) == sizeof(float) ? T(VoTest::fromBits(0x4048FF78)) : T(3.1405926535897932);
  const GeProjectiveMatrix3<T> atClamp = GeCameraBuilder<T>::makePerspective(clamped, 1, 3, 1);
  EXPECT_EQ(GeCameraBuilder<T>::makePerspective(pi, 1, 3, 1), atClamp);
  EXPECT_EQ(GeCameraBuilder<T>::makePerspective(7, 1, 3, 1), atClamp);
  EXPECT_NEAR(atClamp(1, 1), T(0.0005), T(1e-6));
  // Just below the limit the angle is kept.
  const T below = std::nextafter(pi, T(0));
  EXPECT_NE(GeCameraBuilder<T>::makePerspective(below, 1, 3, 1), atClamp);
  EXPECT_EQ(GeCameraBuilder<T>::computeOrthoRadius(pi, 1),
            GeCameraBuilder<T>::computeOrthoRadius(clamped, 1));
}

TYPED_TEST(CameraBuilder, ZeroOrNegativeAngle) {
  using T = TypeParam;
  const T inf = std::numeric_limits<T>::infinity();
  for (const T fov : {T(0), T(-1)}) {
    const GeProjectiveMatrix3<T> p = GeCameraBuilder<T>::makePerspective(fov, 1, 3, 1);
    EXPECT_EQ(p(0, 0), inf);
    EXPECT_EQ(p(1, 1), inf);
    EXPECT_EQ(GeCameraBuilder<T>::computeOrthoRadius(fov, 5), epsilon<T>());
    const GeProjectiveMatrix3<T> o = GeCameraBuilder<T>::makeOrthographic(fov, 1, 3, 1);
    EXPECT_EQ(o(1, 1), T(1) / epsilon<T>());
  }
  EXPECT_EQ(GeCameraBuilder<float>::makeOrthographic(0, 1, 3, 1)(1, 1), 1.0f / 1e-4f);
  EXPECT_NEAR(GeCameraBuilder<double>::makeOrthographic(0, 1, 3, 1)(1, 1), 1e7, 1e-6);
}

TYPED_TEST(CameraBuilder, OrthoRadiusUsesTheRawDistance) {
  using T = TypeParam;
  EXPECT_NEAR(GeCameraBuilder<T>::computeOrthoRadius(halfPi<T>, 3), T(3),
              10 * VoTest::tolerance<T>());
  EXPECT_EQ(GeCameraBuilder<T>::computeOrthoRadius(1, -3), epsilon<T>());
  EXPECT_EQ(GeCameraBuilder<T>::computeOrthoRadius(1, 0), epsilon<T>());
  // makeOrthographic with a non-positive near distance: radius ε, not tan·ε.
  EXPECT_EQ(GeCameraBuilder<T>::makeOrthographic(1, 0, 3, 1)(1, 1), T(1) / epsilon<T>());
}

TYPED_TEST(CameraBuilder, ZeroAspectRatioBecomesEpsilon) {
  using T = TypeParam;
  const GeProjectiveMatrix3<T> m = GeCameraBuilder<T>::makePerspective(halfPi<T>, 1, 3, 0);
  EXPECT_EQ(m(0, 0), m(1, 1) / epsilon<T>());
  // A negative aspect ratio is not degenerate: it mirrors x.
  EXPECT_EQ(GeCameraBuilder<T>::makePerspective(halfPi<T>, 1, 3, -1)(0, 0), -m(1, 1));
}

TEST(CameraBuilderFloat, ConstantsAreTheNearestFloats) {
  // π itself is clamped, the float just below it is not; ε is exactly 0x38D1B717.
  const float pi = VoTest::fromBits(0x40490FDB);
  EXPECT_EQ(GeCameraBuilder<float>::makePerspective(pi, 1, 3, 1)(1, 1),
            GeCameraBuilder<float>::makePerspective(VoTest::fromBits(0x4048FF78), 1, 3, 1)(1, 1));
  EXPECT_EQ(VoTest::bits(GeCameraBuilder<float>::computeOrthoRadius(0, 1)), 0x38D1B717u);
}

}  // namespace
