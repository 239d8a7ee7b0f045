#include <vezODedizezivuz/geCameraBuilder.h>

#include <cmath>

#include "testUtil.h"

namespace {

using namespace Vo;

VO_REAL_TEST_SUITE(CameraBuilder);

TYPED_TEST(CameraBuilder, ProjectionsMapTheViewVolumeOntoTheClipCube) {
  using T = TypeParam;
  const T fov = T(0.9), n = T(0.5), f = T(40), aspect = T(1.6), h = std::tan(fov / 2);
  const T tol = 10 * VoTest::tolerance<T>();
  const GeProjectiveMatrix3<T> p = GeCameraBuilder<T>::makePerspective(fov, n, f, aspect);
  const GeProjectiveMatrix3<T> o = GeCameraBuilder<T>::makeOrthographic(fov, n, f, aspect);
  EXPECT_EQ(p(3, 3), T(0));  // exactly, so that pivoting must handle it
  for (const T z : {-n, -f}) {
    const GeHomogeneousCoord3<T> c = p * GeHomogeneousCoord3<T>(aspect * h * -z, h * -z, z, 1),
                                 d = o * GeHomogeneousCoord3<T>(-aspect * h * n, -h * n, z, 1);
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR(c[k] / c.w, k < 2 ? 1 : z == -n ? -1 : 1, tol) << "perspective z " << z;
      EXPECT_NEAR(d[k] / d.w, k < 2 ? -1 : z == -n ? -1 : 1, tol) << "orthographic z " << z;
    }
  }
}

// Non-positive distances become epsilon (1e-4 for float, 1e-7 for double), a zero aspect ratio
// too; equal distances, or opposite ones replaced by epsilon, use 0.5 for their difference.
TYPED_TEST(CameraBuilder, DegenerateDistancesAndAspectFallBack) {
  using T = TypeParam;
  using B = GeCameraBuilder<T>;
  const T eps = sizeof(T) == 4 ? T(1e-4f) : T(1e-7), tiny = sizeof(T) == 4 ? T(1e-7f) : T(1e-8);
  for (const T n : {T(0), T(-2)}) {
    EXPECT_EQ(B::makePerspective(1, n, 10, 1), B::makePerspective(1, eps, 10, 1)) << n;
    EXPECT_EQ(B::computeOrthoRadius(1, n), eps) << n;  // the raw distance, not tan * epsilon
  }
  EXPECT_EQ(B::makePerspective(1, 1, -5, 1), B::makePerspective(1, 1, eps, 1));
  EXPECT_EQ(B::makePerspective(1, 2, 2, 1)(2, 2), T(-8));
  EXPECT_EQ(B::makePerspective(1, -1, -1, 1)(2, 2), -(2 * eps / T(0.5)));
  // A negligible sum of two tiny distances is moved away from zero without changing its sign.
  EXPECT_NEAR(B::makePerspective(1, tiny, tiny, 1)(2, 2), T(-1), T(1e-3));
  const GeProjectiveMatrix3<T> m = B::makePerspective(T(1.5707963267948966), 1, 3, 0);
  EXPECT_EQ(m(0, 0), m(1, 1) / eps);
  EXPECT_EQ(B::makePerspective(T(1.5707963267948966), 1, 3, -1)(0, 0), -m(1, 1));  // mirrors x
}

// From π up the angle is held just below π, where the half-angle tangent is still finite and
// positive; a non-positive angle becomes 0, whose infinite tangent gives the fallbacks.
TYPED_TEST(CameraBuilder, AnglesAreClampedIntoTheOpenRangeUpToPi) {
  using T = TypeParam;
  using B = GeCameraBuilder<T>;
  const T pi = T(3.141592653589793);
  const GeProjectiveMatrix3<T> atPi = B::makePerspective(pi, 1, 3, 1);
  EXPECT_TRUE(atPi(1, 1) > 0 && atPi(1, 1) < T(1e-3)) << atPi(1, 1);
  EXPECT_EQ(B::makePerspective(T(4), 1, 3, 1), atPi);
  EXPECT_NE(B::makePerspective(std::nextafter(pi, T(0)), 1, 3, 1), atPi);
  EXPECT_EQ(B::computeOrthoRadius(pi, 1), B::computeOrthoRadius(T(4), 1));
  for (const T fov : {T(0), T(-1)}) {
    const GeProjectiveMatrix3<T> p = B::makePerspective(fov, 1, 3, 1);
    EXPECT_TRUE(std::isinf(p(0, 0)) && p(0, 0) > 0 && p(1, 1) == p(0, 0)) << fov;
    EXPECT_EQ(B::computeOrthoRadius(fov, 5), B::computeOrthoRadius(1, 0)) << fov;
  }
}

}  // namespace
