#include <vezODedizezivuz/gePlane3.h>
#include <vezODedizezivuz/geQuaternion3.h>
#include <vezODedizezivuz/geRotation3.h>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "testUtil.h"

namespace {

using namespace Vo;

static_assert(sizeof(GeQuaternion3<float>) == 4 * sizeof(float));
static_assert(std::is_trivially_copyable_v<GeQuaternion3<double>>);

template <class T>
class Quaternions : public ::testing::Test {};
template <class T>
class EulerAngles : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(Quaternions, Reals);
TYPED_TEST_SUITE(EulerAngles, Reals);

template <class T>
using Q = GeQuaternion3<T>;

template <class T>
Q<T> randomUnitQuaternion(std::mt19937& rng) {
  std::normal_distribution<double> d;
  Q<T> q(static_cast<T>(d(rng)), static_cast<T>(d(rng)), static_cast<T>(d(rng)),
         static_cast<T>(d(rng)));
  q.normalize();
  return q;
}

template <class T>
GeVector3<T> randomVector(std::mt19937& rng) {
  std::uniform_real_distribution<double> d(-1, 1);
  return GeVector3<T>(static_cast<T>(d(rng)), static_cast<T>(d(rng)), static_cast<T>(d(rng)));
}

template <class T>
GeLinearMatrix3<T> matrixOf(const Q<T>& q) {
  GeLinearMatrix3<T> m;
  q.getMatrix(m);
  return m;
}

template <class T>
bool sameRotation(const Q<T>& a, const Q<T>& b, T tol) {
  return a.isEqual(b, tol) || a.isEqual(-b, tol);
}

// ---- Matrices --------------------------------------------------------------------------------

TYPED_TEST(Quaternions, MatrixRoundTripGivesTheSameRotation) {
  using T = TypeParam;
  const T tol = 10 * VoTest::tolerance<T>();
  std::mt19937 rng(1001);
  for (int n = 0; n < 200; ++n) {
    const Q<T> q = randomUnitQuaternion<T>(rng);
    const GeLinearMatrix3<T> m = matrixOf(q);
    EXPECT_NEAR(m.computeDeterminant(), T(1), tol);
    Q<T> back;
    back.setMatrix(m, 1);
    EXPECT_TRUE(sameRotation(back, q, tol)) << q << " came back as " << back;
    // A uniformly scaled rotation gives the same unit quaternion when told its scale.
    Q<T> scaled;
    scaled.setMatrix(GeScale3<T>(3, 3, 3) * m, 3);
    EXPECT_TRUE(sameRotation(scaled, q, tol)) << q << " came back as " << scaled;
  }
}

TYPED_TEST(Quaternions, SetMatrixOfAHalfTurnTakesTheDiagonalBranch) {
  using T = TypeParam;
  Q<T> q;
  q.setMatrix(GeLinearMatrix3<T>(1, 0, 0, 0, -1, 0, 0, 0, -1), 1);
  EXPECT_EQ(q, Q<T>(1, 0, 0, 0));
  q.setMatrix(GeLinearMatrix3<T>(2, 0, 0, 0, 2, 0, 0, 0, 2), 2);
  EXPECT_TRUE(q.isEqual(Q<T>(0, 0, 0, 1), VoTest::tolerance<T>())) << q;
}

TYPED_TEST(Quaternions, GetMatrixDividesByTheSquaredLength) {
  using T = TypeParam;
  const T tol = VoTest::tolerance<T>();
  const GeLinearMatrix3<T> quarterTurnZ(0, -1, 0, 1, 0, 0, 0, 0, 1);
  EXPECT_TRUE(matrixOf(Q<T>(0, 0, 2, 2)).isEqual(quarterTurnZ, tol));
  EXPECT_EQ(matrixOf(Q<T>(0, 0, 0, 0)), GeLinearMatrix3<T>());
}

// The matrices of single axes are checked against the axis rotations by the Euler tests.
TYPED_TEST(Quaternions, ProductsComposeLikeTheirMatrices) {
  using T = TypeParam;
  const Q<T> a = Q<T>::makeRotation(T(0.4), GeVector3<T>(1, 2, 3));
  const Q<T> b = Q<T>::makeRotation(T(-1.1), GeVector3<T>(-2, 0, 1));
  EXPECT_TRUE(matrixOf(a * b).isEqual(matrixOf(a) * matrixOf(b), VoTest::tolerance<T>()));
}

TYPED_TEST(Quaternions, FourByFourKindsReceiveTheSameRotation) {
  using T = TypeParam;
  const Q<T> q = Q<T>::makeRotation(T(1.2), GeVector3<T>(1, -1, 2));
  GeAffineMatrix3<T> affine(GeLinearMatrix3<T>(), GeVector3<T>(5, 6, 7));
  q.getMatrix(affine);
  EXPECT_EQ(affine, GeAffineMatrix3<T>(matrixOf(q)));
  GeProjectiveMatrix3<T> projective(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
  q.getMatrix(projective);
  EXPECT_EQ(projective, GeProjectiveMatrix3<T>(matrixOf(q)));
}

// ---- Exponential, logarithm, interpolation ---------------------------------------------------

TYPED_TEST(Quaternions, ExpUndoesLog) {
  using T = TypeParam;
  const T tol = 10 * VoTest::tolerance<T>();
  std::mt19937 rng(2002);
  for (int n = 0; n < 100; ++n) {
    Q<T> q = randomUnitQuaternion<T>(rng);
    if (q.w < 0) q = -q;
    const Q<T> l = Q<T>::log(q);
    EXPECT_EQ(l.w, T(0));
    EXPECT_TRUE(Q<T>::exp(l).isEqual(q, tol)) << q;
  }
  EXPECT_EQ(Q<T>::log(Q<T>(0, 0, 0, 0)), Q<T>(0, 0, 0, 0));
  EXPECT_EQ(Q<T>::exp(Q<T>(0, 0, 0, 5)), Q<T>(0, 0, 0, 1));
  EXPECT_EQ(Q<T>::log(Q<T>(0, 0, 0, -3)), Q<T>(0, 0, 0, 0));
}

TYPED_TEST(Quaternions, SlerpFollowsTheShorterArcPlusItsSpins) {
  using T = TypeParam;
  const T tol = VoTest::tolerance<T>();
  const Q<T> quarter = Q<T>::makeRotation(T(M_PI / 2), GeVector3<T>(0, 0, 1));
  EXPECT_TRUE(Q<T>::slerp(Q<T>(), quarter, T(0.5), 0)
                  .isEqual(Q<T>::makeRotation(T(M_PI / 4), GeVector3<T>(0, 0, 1)), tol));
  std::mt19937 rng(3003);
  for (int n = 0; n < 50; ++n) {
    const Q<T> p = randomUnitQuaternion<T>(rng);
    const Q<T> q = randomUnitQuaternion<T>(rng);
    const T t = static_cast<T>(n) / 49;
    EXPECT_TRUE(Q<T>::slerp(p, q, 0, 0).isEqual(p, tol));
    EXPECT_TRUE(sameRotation(Q<T>::slerp(p, q, 1, 0), q, tol));
    EXPECT_EQ(Q<T>::slerp(p, q, t, 0), Q<T>::slerp(p, -q, t, 0));
    EXPECT_NEAR(Q<T>::slerp(p, q, t, 0).length(), T(1), tol);
    // Equal and opposite inputs take the linear branch and stay at p.
    EXPECT_TRUE(Q<T>::slerp(p, p, t, 0).isEqual(p, tol));
    EXPECT_TRUE(Q<T>::slerp(p, -p, t, 0).isEqual(p, tol));
  }
  // One extra half turn of the 4D arc ends at -q: the same rotation, reached the long way.
  const Q<T> p = Q<T>::makeRotation(T(0.9), GeVector3<T>(1, 2, 2));
  const Q<T> q = Q<T>::makeRotation(T(2.5), GeVector3<T>(0, 1, 0));
  EXPECT_TRUE(Q<T>::slerp(p, q, 1, 1).isEqual(-q, 10 * tol));
}

TYPED_TEST(Quaternions, SquadStartsAtPAndEndsAtQ) {
  using T = TypeParam;
  const T tol = VoTest::tolerance<T>();
  std::mt19937 rng(4004);
  const Q<T> p = randomUnitQuaternion<T>(rng), a = randomUnitQuaternion<T>(rng);
  const Q<T> b = randomUnitQuaternion<T>(rng), q = randomUnitQuaternion<T>(rng);
  EXPECT_TRUE(Q<T>::squad(p, a, b, q, 0).isEqual(p, tol));
  EXPECT_TRUE(Q<T>::squad(p, a, b, q, 1).isEqual(Q<T>::slerp(p, q, 1, 0), tol));
}

TYPED_TEST(Quaternions, IntermediatesOfEvenlySpacedKeysAreTheMiddleKey) {
  using T = TypeParam;
  const T tol = 10 * VoTest::tolerance<T>();
  std::mt19937 rng(5005);
  for (int n = 0; n < 20; ++n) {
    // Keys at equal steps along one great circle: the spline needs no bending at q1.
    const GeVector3<T> axis = randomVector<T>(rng);
    const Q<T> start = randomUnitQuaternion<T>(rng);
    const T step = T(0.1) + T(n) / 20;
    const Q<T> q0 = start * Q<T>::makeRotation(-step, axis);
    const Q<T> q2 = start * Q<T>::makeRotation(step, axis);
    Q<T> first, second;
    Q<T>::computeIntermediates(q0, start, q2, first, second);
    EXPECT_TRUE(first.isEqual(start, tol)) << first;
    EXPECT_TRUE(second.isEqual(start, tol)) << second;
    Q<T>::computeIntermediates(start, start, start, first, second);
    EXPECT_TRUE(first.isEqual(start, tol) && second.isEqual(start, tol));
  }
}

TYPED_TEST(Quaternions, BisectAndDoubleAreHalfAndTwiceTheArc) {
  using T = TypeParam;
  const T tol = 10 * VoTest::tolerance<T>();
  EXPECT_EQ(Q<T>::bisect(Q<T>(), Q<T>()), Q<T>());
  EXPECT_EQ(Q<T>::bisect(Q<T>(0, 1, 0, 0), Q<T>(0, -1, 0, 0)), Q<T>(0, 0, 0, 0));
  EXPECT_TRUE(Q<T>::isShortestGreatCircle(Q<T>(1, 0, 0, 0), Q<T>(0, 1, 0, 0)));
  EXPECT_FALSE(Q<T>::isShortestGreatCircle(Q<T>(1, 0, 0, 0), Q<T>(-1, 0.5, 0, 0)));
  std::mt19937 rng(6006);
  for (int n = 0; n < 50; ++n) {
    const Q<T> p = randomUnitQuaternion<T>(rng);
    Q<T> q = randomUnitQuaternion<T>(rng);
    if (!Q<T>::isShortestGreatCircle(p, q)) q = -q;
    const Q<T> mid = Q<T>::bisect(p, q);
    EXPECT_NEAR(mid.length(), T(1), tol);
    Q<T> viaSlerp = Q<T>::slerp(p, q, T(0.5), 0);
    viaSlerp.normalize();
    EXPECT_TRUE(mid.isEqual(viaSlerp, tol));
    EXPECT_TRUE(Q<T>::doub(p, p).isEqual(p, tol));
    EXPECT_TRUE(Q<T>::bisect(p, Q<T>::doub(p, q)).isEqual(q, tol));
  }
}

// ---- Aiming ----------------------------------------------------------------------------------

TYPED_TEST(Quaternions, AimTurnsFromOntoTo) {
  using T = TypeParam;
  const T tol = VoTest::tolerance<T>();
  const T h = std::sqrt(T(0.5));
  Q<T> q;
  q.aim(GeVector3<T>(1, 0, 0), GeVector3<T>(0, 1, 0));
  EXPECT_TRUE(q.isEqual(Q<T>(0, 0, h, h), tol)) << q;
  q.aim(GeVector3<T>(1, 0, 0), GeVector3<T>(-2, 0, 0));
  EXPECT_TRUE(q.isEqual(Q<T>(0, 1, 0, 0), tol)) << q;
  q.aim(GeVector3<T>(1, 0, 0), GeVector3<T>(3, 0, 0));
  EXPECT_EQ(q, Q<T>());
  std::mt19937 rng(7007);
  for (int n = 0; n < 50; ++n) {
    const GeVector3<T> from = randomVector<T>(rng);
    const GeVector3<T> to = randomVector<T>(rng);
    // Opposite vectors turn by π about a perpendicular of `from`.
    for (const GeVector3<T>& target : {to, -from * T(2)}) {
      q.aim(from, target);
      const GeUnitVector3<T> turned(matrixOf(q) * from);
      EXPECT_NEAR(dot(turned, GeUnitVector3<T>(target)), T(1), 10 * tol);
    }
  }
}

TYPED_TEST(Quaternions, AimIntoAPlaneMovesAlongTheNormal) {
  using T = TypeParam;
  const T tol = VoTest::tolerance<T>();
  const GePlane3<T> floor(GeVector3<T>(0, 0, 1), T(-4));
  Q<T> q;
  q.aim(GeVector3<T>(1, 0, 1), floor);
  EXPECT_TRUE(q.isEqual(Q<T>::makeRotation(T(M_PI / 4), GeVector3<T>(0, 1, 0)), tol)) << q;
  q.aim(GeVector3<T>(0, 0, 1), floor);
  EXPECT_TRUE(q.isEqual(Q<T>::makeRotation(T(M_PI / 2), GeVector3<T>(1, 0, 0)), tol)) << q;

  const Q<T> before(T(0.5), T(0.5), T(0.5), T(0.5));
  q = before;
  q.aim(GeVector3<T>(0, 0, 0), floor);
  EXPECT_EQ(q, before);
  q.aim(GeVector3<T>(1, 0, 0), GePlane3<T>(GeVector3<T>(0, 0, 0), 1));
  EXPECT_EQ(q, before);

  std::mt19937 rng(8008);
  for (int n = 0; n < 50; ++n) {
    const GePlane3<T> plane(randomVector<T>(rng), 1);
    const GeVector3<T> direction = randomVector<T>(rng);
    q.aim(direction, plane);
    EXPECT_NEAR(dot(matrixOf(q) * direction, plane.normal), T(0), 10 * tol);
  }
}

// ---- Text ------------------------------------------------------------------------------------

TYPED_TEST(Quaternions, ReadTakesBackDumpAndRejectsMalformedTextKeepingTheValue) {
  using T = TypeParam;
  std::ostringstream identity;
  Q<T>().dump(identity);
  EXPECT_EQ(identity.str(), "[(0, 0, 0), 1]");
  const Q<T> rotation = Q<T>::makeRotation(T(1.3), GeVector3<T>(1, 2, 3));
  std::stringstream text;
  text.precision(20);
  text << rotation;
  Q<T> back(9, 9, 9, 9);
  text >> back;
  EXPECT_FALSE(text.fail());
  EXPECT_EQ(back, rotation);

  Q<T> q;
  std::istringstream good(" [ ( 1 ,2, 3 ) , 4 ]");
  good >> q;
  EXPECT_FALSE(good.fail());
  EXPECT_EQ(q, Q<T>(1, 2, 3, 4));
  for (const char* text : {"[(1, 2, 3) 4]", "[(1, 2, 3), 4", "((1, 2, 3), 4]", "[(1, 2), 4]",
                           "[(1, 2, x), 4]", "[1, 2, 3, 4]", ""}) {
    SCOPED_TRACE(text);
    std::istringstream bad(text);
    bad >> q;
    EXPECT_TRUE(bad.fail());
    EXPECT_EQ(q, Q<T>(1, 2, 3, 4));
  }
}

// ---- Euler angles ----------------------------------------------------------------------------

struct Convention {
  int value;
  const char* axes;  // The named axis sequence.
  bool rotating;
};

// Every convention with its name spelled out: static ones turn about the named axes in order,
// fixed; rotating ones about the moving axes, which is the reversed product.
const Convention conventions[24] = {
    {Q<float>::staticXYZ, "XYZ", false},  {Q<float>::staticYZX, "YZX", false},
    {Q<float>::staticZXY, "ZXY", false},  {Q<float>::staticXZY, "XZY", false},
    {Q<float>::staticYXZ, "YXZ", false},  {Q<float>::staticZYX, "ZYX", false},
    {Q<float>::staticXYX, "XYX", false},  {Q<float>::staticYZY, "YZY", false},
    {Q<float>::staticZXZ, "ZXZ", false},  {Q<float>::staticXZX, "XZX", false},
    {Q<float>::staticYXY, "YXY", false},  {Q<float>::staticZYZ, "ZYZ", false},
    {Q<float>::rotatingZYX, "ZYX", true}, {Q<float>::rotatingXZY, "XZY", true},
    {Q<float>::rotatingYXZ, "YXZ", true}, {Q<float>::rotatingYZX, "YZX", true},
    {Q<float>::rotatingZXY, "ZXY", true}, {Q<float>::rotatingXYZ, "XYZ", true},
    {Q<float>::rotatingXYX, "XYX", true}, {Q<float>::rotatingYZY, "YZY", true},
    {Q<float>::rotatingZXZ, "ZXZ", true}, {Q<float>::rotatingXZX, "XZX", true},
    {Q<float>::rotatingYXY, "YXY", true}, {Q<float>::rotatingZYZ, "ZYZ", true}};

template <class T>
GeLinearMatrix3<T> axisRotation(char axis, T angle) {
  if (axis == 'X') return GeXAxisRotation3<T>(angle).getRotation();
  if (axis == 'Y') return GeYAxisRotation3<T>(angle).getRotation();
  return GeZAxisRotation3<T>(angle).getRotation();
}

template <class T>
GeLinearMatrix3<T> eulerMatrix(int convention, T a, T b, T c) {
  GeLinearMatrix3<T> m;
  Q<T>::eulerToMatrix(m, static_cast<typename Q<T>::EulerConvention>(convention), a, b, c);
  return m;
}

TYPED_TEST(EulerAngles, EveryConventionIsItsProductOfAxisRotations) {
  using T = TypeParam;
  const T tol = 10 * VoTest::tolerance<T>();
  std::mt19937 rng(9009);
  std::uniform_real_distribution<double> angle(-3, 3);
  for (const Convention& conv : conventions) {
    SCOPED_TRACE(::testing::Message() << (conv.rotating ? "rotating" : "static") << conv.axes);
    for (int n = 0; n < 20; ++n) {
      const T a = static_cast<T>(angle(rng)), b = static_cast<T>(angle(rng));
      const T c = static_cast<T>(angle(rng));
      const GeLinearMatrix3<T> ra = axisRotation(conv.axes[0], a);
      const GeLinearMatrix3<T> rb = axisRotation(conv.axes[1], b);
      const GeLinearMatrix3<T> rc = axisRotation(conv.axes[2], c);
      const GeLinearMatrix3<T> expected = conv.rotating ? ra * rb * rc : rc * rb * ra;
      EXPECT_TRUE(eulerMatrix(conv.value, a, b, c).isEqual(expected, tol));
      Q<T> q;
      q.setEuler(static_cast<typename Q<T>::EulerConvention>(conv.value), a, b, c);
      EXPECT_NEAR(q.length(), T(1), tol);
      EXPECT_TRUE(matrixOf(q).isEqual(expected, tol));
    }
  }
}

TYPED_TEST(EulerAngles, AnglesReadBackGiveTheSameMatrixWithinTheirRanges) {
  using T = TypeParam;
  const T tol = 10 * VoTest::tolerance<T>();
  const T pi = T(M_PI);
  std::mt19937 rng(1010);
  std::uniform_real_distribution<double> outer(-3.1, 3.1), middle(-1.5, 1.5), repeated(0.05, 3.1);
  for (const Convention& conv : conventions) {
    SCOPED_TRACE(::testing::Message() << (conv.rotating ? "rotating" : "static") << conv.axes);
    const auto e = static_cast<typename Q<T>::EulerConvention>(conv.value);
    const bool repetition = (conv.value & 32) != 0, odd = (conv.value & 16) != 0;
    for (int n = 0; n < 50; ++n) {
      const T b = static_cast<T>(repetition ? repeated(rng) : middle(rng));
      const GeLinearMatrix3<T> m = eulerMatrix(conv.value, static_cast<T>(outer(rng)),
                                               n % 2 ? b : -b, static_cast<T>(outer(rng)));
      T a2, b2, c2;
      Q<T>::matrixToEuler(m, e, a2, b2, c2);
      EXPECT_TRUE(eulerMatrix(conv.value, a2, b2, c2).isEqual(m, tol));
      if (!repetition) {
        EXPECT_LE(std::abs(b2), pi / 2);
      } else {
        EXPECT_LE(odd ? -b2 : b2, pi);
        EXPECT_GE(odd ? -b2 : b2, T(0));
      }
      Q<T> q;
      q.setMatrix(m, 1);
      T a3, b3, c3;
      q.getEuler(e, a3, b3, c3);
      EXPECT_TRUE(eulerMatrix(conv.value, a3, b3, c3).isEqual(m, tol));
    }
    Q<T> q(5, 5, 5, 5);
    q.setEuler(e, 0, 0, 0);
    EXPECT_EQ(q, Q<T>());
  }
}

TYPED_TEST(EulerAngles, SinesAndCosinesAreTheDoublePrecisionValuesRounded) {
  using T = TypeParam;
  // staticXYZ with (a, 0, 0) is Rx(a): element (2, 2) is cos a and element (2, 1) is sin a,
  // each multiplied by cos 0 = 1.
  std::mt19937 rng(1111);
  std::vector<T> samples = {T(0), T(-0.0), T(M_PI / 2), T(-M_PI), T(1024), T(-1025), T(3e5)};
  for (double range : {1.0, 8.0, 1024.0}) {
    std::uniform_real_distribution<double> d(-range, range);
    for (int n = 0; n < 20000; ++n) samples.push_back(static_cast<T>(d(rng)));
  }
  for (T a : samples) {
    const GeLinearMatrix3<T> m = eulerMatrix(Q<T>::staticXYZ, a, T(0), T(0));
    const T c = static_cast<T>(std::cos(static_cast<double>(a)));
    const T s = static_cast<T>(std::sin(static_cast<double>(a)));
    ASSERT_TRUE(m(2, 2) == c && m(2, 1) == s && std::signbit(m(2, 1)) == std::signbit(s))
        << "angle " << a;
  }
}

TYPED_TEST(EulerAngles, GimbalLockGivesTheWholeTurnToOneOuterAngle) {
  using T = TypeParam;
  const T tol = 10 * VoTest::tolerance<T>();
  const T halfPi = T(M_PI / 2);
  T a, b, c;
  Q<T>::matrixToEuler(eulerMatrix(Q<T>::staticXYZ, T(0.3), halfPi, T(0.5)), Q<T>::staticXYZ, a, b,
                      c);
  EXPECT_NEAR(a, T(-0.2), tol);
  EXPECT_NEAR(b, halfPi, tol);
  EXPECT_EQ(c, T(0));
  Q<T>::matrixToEuler(eulerMatrix(Q<T>::staticXYX, T(0.3), T(0), T(0.5)), Q<T>::staticXYX, a, b, c);
  EXPECT_NEAR(a, T(0.8), tol);
  EXPECT_EQ(b, T(0));
  EXPECT_EQ(c, T(0));
  Q<T>::matrixToEuler(eulerMatrix(Q<T>::rotatingZYX, T(0.5), halfPi, T(0.3)), Q<T>::rotatingZYX, a,
                      b, c);
  EXPECT_EQ(a, T(0));
  EXPECT_NEAR(b, halfPi, tol);
  EXPECT_NEAR(c, T(-0.2), tol);
}

TYPED_TEST(EulerAngles, TheGimbalThresholdIsStrict) {
  using T = TypeParam;
  const T threshold = sizeof(T) == sizeof(float) ? T(0.0016f) : T(1.6e-6);
  // For staticXYZ the cosine of the middle angle is |(m00, m10)|; with m00 = 0 the third angle
  // is π/2 when decoded normally and 0 in gimbal lock.
  for (T m10 : {threshold, std::nextafter(threshold, T(1))}) {
    const GeLinearMatrix3<T> m(0, 0, 1, m10, 1, 0, -1, 0, 0);
    T a, b, c;
    Q<T>::matrixToEuler(m, Q<T>::staticXYZ, a, b, c);
    EXPECT_EQ(c, m10 > threshold ? T(M_PI / 2) : T(0)) << m10;
  }
}

TYPED_TEST(EulerAngles, AFirstAxisBeyondZIsRejected) {
  using T = TypeParam;
  for (int value : {3, 15, 64 + 3}) {
    const auto e = static_cast<typename Q<T>::EulerConvention>(value);
    auto rejects = [](auto call) {
      try {
        call();
      } catch (const AssertionFailedError& error) {
        return error.condition() == "firstAxis < 3" &&
               error.file() == "primitives/geQuaternion3.imp";
      }
      return false;
    };
    GeLinearMatrix3<T> m;
    Q<T> q;
    T a, b, c;
    EXPECT_TRUE(rejects([&] { Q<T>::eulerToMatrix(m, e, 1, 2, 3); })) << value;
    EXPECT_TRUE(rejects([&] { Q<T>::matrixToEuler(m, e, a, b, c); })) << value;
    EXPECT_TRUE(rejects([&] { q.setEuler(e, 1, 2, 3); })) << value;
    EXPECT_TRUE(rejects([&] { q.getEuler(e, a, b, c); })) << value;
  }
}

}  // namespace
