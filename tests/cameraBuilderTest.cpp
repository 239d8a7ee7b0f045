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

// The fallback for non-positive inputs: the float nearest 1e-4, or 1e-7.
template <class T>
T epsilon() {
  return sizeof(T) == sizeof(float) ? T(VoTest::fromBits(0x38D1B717)) : T(1e-7);
}

template <class T>
const T halfPi = T(1.5707963267948966);

// The view-space point (x, y, z) in clip space after the division by w.
template <class T>
GeHomogeneousCoord3<T> project(const GeProjectiveMatrix3<T>& m, T x, T y, T z) {
  const GeHomogeneousCoord3<T> h = m * GeHomogeneousCoord3<T>(x, y, z, 1);
  return GeHomogeneousCoord3<T>(h.x / h.w, h.y / h.w, h.z / h.w, 1);
}

TYPED_TEST(CameraBuilder, ProjectionsOfARightAngle) {
  using T = TypeParam;
  using B = GeCameraBuilder<T>;
  const GeProjectiveMatrix3<T> p = B::makePerspective(halfPi<T>, 1, 3, 2);
  EXPECT_TRUE(
      p.isEqual({T(0.5), 0, 0, 0, 0, 1, 0, 0, 0, 0, -2, -3, 0, 0, -1, 0}, VoTest::tolerance<T>()))
      << p;
  EXPECT_EQ(p(3, 3), T(0));  // exactly, so that pivoting must handle it
  const GeProjectiveMatrix3<T> o = B::makeOrthographic(halfPi<T>, 1, 3, 2);
  EXPECT_TRUE(
      o.isEqual({T(0.5), 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, -2, 0, 0, 0, 1}, VoTest::tolerance<T>()))
      << o;
}

TYPED_TEST(CameraBuilder, ProjectionsMapTheViewVolumeToTheClipCubeAndBack) {
  using T = TypeParam;
  const T fov = T(1.1), n = T(0.5), f = T(40), aspect = T(1.6), h = std::tan(fov / 2);
  const T tol = 10 * VoTest::tolerance<T>();
  const GeProjectiveMatrix3<T> p = GeCameraBuilder<T>::makePerspective(fov, n, f, aspect);
  const GeProjectiveMatrix3<T> o = GeCameraBuilder<T>::makeOrthographic(fov, n, f, aspect);
  for (const T z : {-n, -f}) {
    const GeHomogeneousCoord3<T> corner = project(p, aspect * h * -z, h * -z, z),
                                 ortho = project(o, -aspect * h * n, -h * n, z);
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR(corner[k], k < 2 ? 1 : z == -n ? -1 : 1, tol) << "perspective z " << z;
      EXPECT_NEAR(ortho[k], k < 2 ? -1 : z == -n ? -1 : 1, tol) << "orthographic z " << z;
    }
  }
  // The inverse takes a clip-space corner of the near plane back to z = -near.
  const GeHomogeneousCoord3<T> back = p.computeInverse() * GeHomogeneousCoord3<T>(1, 1, -1, 1);
  EXPECT_NEAR(back.z / back.w, -n, tol);
}

TYPED_TEST(CameraBuilder, DegenerateDistancesAndAspectFallBackToEpsilonOrAHalf) {
  using T = TypeParam;
  using B = GeCameraBuilder<T>;
  const T eps = epsilon<T>();
  EXPECT_NEAR(B::makePerspective(1, 0, 10, 1)(2, 3), -2 * 10 * eps / (10 - eps),
              VoTest::tolerance<T>() * eps);
  for (const T n : {T(0), T(-2)}) {
    EXPECT_EQ(B::makePerspective(1, n, 10, 1), B::makePerspective(1, eps, 10, 1)) << n;
    EXPECT_EQ(B::computeOrthoRadius(1, n), eps);  // the raw distance, not tan * epsilon
    EXPECT_EQ(B::makeOrthographic(1, n, 3, 1)(1, 1), T(1) / eps);
  }
  EXPECT_EQ(B::makePerspective(1, 1, -5, 1), B::makePerspective(1, 1, eps, 1));
  EXPECT_NEAR(B::computeOrthoRadius(halfPi<T>, 3), T(3), 10 * VoTest::tolerance<T>());
  // Equal distances use 0.5 for the difference; so do opposite ones, both replaced by epsilon.
  EXPECT_EQ(B::makePerspective(1, 2, 2, 1)(2, 2), T(-8));
  EXPECT_EQ(B::makeOrthographic(1, 2, 2, 1)(2, 2), T(-4));
  EXPECT_EQ(B::makePerspective(1, -1, -1, 1)(2, 2), -(2 * eps / T(0.5)));
  // A zero aspect ratio becomes epsilon; a negative one mirrors x.
  const GeProjectiveMatrix3<T> m = B::makePerspective(halfPi<T>, 1, 3, 0);
  EXPECT_EQ(m(0, 0), m(1, 1) / eps);
  EXPECT_EQ(B::makePerspective(halfPi<T>, 1, 3, -1)(0, 0), -m(1, 1));
}

TYPED_TEST(CameraBuilder, AngleIsClampedBelowPiAndANonPositiveOneFallsBack) {
  using T = TypeParam;
  using B = GeCameraBuilder<T>;
  const T pi = sizeof(T) == sizeof(float) ? T(VoTest::fromBits(0x40490FDB)) : T(3.141592653589793);
  const T clamped =
      sizeof(T) == sizeof(float) ? T(VoTest::fromBits(0x4048FF78)) : T(3.1405926535897932);
  const GeProjectiveMatrix3<T> atClamp = B::makePerspective(clamped, 1, 3, 1);
  EXPECT_EQ(B::makePerspective(pi, 1, 3, 1), atClamp);
  EXPECT_EQ(B::makePerspective(7, 1, 3, 1), atClamp);
  EXPECT_NEAR(atClamp(1, 1), T(0.0005), T(1e-6));
  EXPECT_NE(B::makePerspective(std::nextafter(pi, T(0)), 1, 3, 1), atClamp);
  EXPECT_EQ(B::computeOrthoRadius(pi, 1), B::computeOrthoRadius(clamped, 1));
  for (const T fov : {T(0), T(-1)}) {
    const GeProjectiveMatrix3<T> p = B::makePerspective(fov, 1, 3, 1);
    EXPECT_TRUE(std::isinf(p(0, 0)) && p(0, 0) > 0 && p(1, 1) == p(0, 0)) << fov;
    EXPECT_EQ(B::computeOrthoRadius(fov, 5), epsilon<T>());
    EXPECT_EQ(B::makeOrthographic(fov, 1, 3, 1)(1, 1), T(1) / epsilon<T>());
  }
  // Epsilon for float is exactly the float nearest 1e-4.
  EXPECT_EQ(VoTest::bits(GeCameraBuilder<float>::computeOrthoRadius(0, 1)), 0x38D1B717u);
}

}  // namespace
