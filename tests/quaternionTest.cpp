#include <vezODedizezivuz/gePlane3.h>
#include <vezODedizezivuz/geQuaternion3.h>
#include <vezODedizezivuz/geRotation3.h>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <vector>

#include "testUtil.h"

namespace {

using namespace Vo;

static_assert(sizeof(GeQuaternion3<float>) == 4 * sizeof(float));

template <class T>
class Quaternions : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(Quaternions, Reals);

template <class T>
using Q = GeQuaternion3<T>;

template <class T>
GeVector3<T> randomVector(std::mt19937& rng) {
  std::uniform_real_distribution<double> d(-1, 1);
  const double x = d(rng), y = d(rng), z = d(rng);
  return GeVector3<T>(static_cast<T>(x), static_cast<T>(y), static_cast<T>(z));
}

template <class T>
Q<T> randomUnitQuaternion(std::mt19937& rng) {
  const GeVector3<T> v = randomVector<T>(rng);
  Q<T> q(v, randomVector<T>(rng).x);
  q.normalize();
  return q;
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

TYPED_TEST(Quaternions, MatrixRoundTripsGiveTheRotationAndProductsComposeLikeMatrices) {
  using T = TypeParam;
  const T tol = 10 * VoTest::tolerance<T>();
  std::mt19937 rng(1001);
  for (int n = 0; n < 100; ++n) {
    const Q<T> q = randomUnitQuaternion<T>(rng), p = randomUnitQuaternion<T>(rng);
    const GeLinearMatrix3<T> m = matrixOf(q);
    EXPECT_NEAR(m.computeDeterminant(), T(1), tol);
    EXPECT_TRUE(matrixOf(p * q).isEqual(matrixOf(p) * m, tol)) << p << " * " << q;
    // A uniformly scaled rotation gives the same unit quaternion when told its scale.
    Q<T> back, scaled;
    back.setMatrix(m, 1);
    scaled.setMatrix(GeScale3<T>(3, 3, 3) * m, 3);
    EXPECT_TRUE(sameRotation(back, q, tol) && sameRotation(scaled, q, tol))
        << q << " came back as " << back << " and " << scaled;
  }
}

TYPED_TEST(Quaternions, MatrixConversionsHandleHalfTurnsScaleAndZeroLength) {
  using T = TypeParam;
  const T tol = VoTest::tolerance<T>();
  Q<T> q;
  q.setMatrix(GeLinearMatrix3<T>(1, 0, 0, 0, -1, 0, 0, 0, -1), 1);  // w = 0: the diagonal branch
  EXPECT_EQ(q, Q<T>(1, 0, 0, 0));
  q.setMatrix(GeLinearMatrix3<T>(2, 0, 0, 0, 2, 0, 0, 0, 2), 2);
  EXPECT_TRUE(q.isEqual(Q<T>(), tol)) << q;
  // getMatrix divides by the squared length; the zero quaternion gives the identity.
  const GeLinearMatrix3<T> quarterTurnZ(0, -1, 0, 1, 0, 0, 0, 0, 1);
  EXPECT_TRUE(matrixOf(Q<T>(0, 0, 2, 2)).isEqual(quarterTurnZ, tol));
  EXPECT_EQ(matrixOf(Q<T>(0, 0, 0, 0)), GeLinearMatrix3<T>());
  // The 4x4 kinds receive the rotation and lose their translation and projective row.
  GeAffineMatrix3<T> affine(GeLinearMatrix3<T>(), GeVector3<T>(5, 6, 7));
  GeProjectiveMatrix3<T> projective(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
  Q<T>(0, 0, 1, 1).getMatrix(affine);
  Q<T>(0, 0, 1, 1).getMatrix(projective);
  EXPECT_TRUE(affine.isEqual(GeAffineMatrix3<T>(quarterTurnZ), tol));
  EXPECT_TRUE(projective.isEqual(GeProjectiveMatrix3<T>(quarterTurnZ), tol));
}

// ---- Exponential, logarithm, interpolation ---------------------------------------------------

TYPED_TEST(Quaternions, ExpUndoesLogAndInterpolationsFollowTheShorterArc) {
  using T = TypeParam;
  const T tol = 10 * VoTest::tolerance<T>();
  const GeVector3<T> z(0, 0, 1);
  EXPECT_TRUE(Q<T>::slerp(Q<T>(), Q<T>::makeRotation(T(M_PI / 2), z), T(0.5), 0)
                  .isEqual(Q<T>::makeRotation(T(M_PI / 4), z), tol));
  EXPECT_TRUE(Q<T>::isShortestGreatCircle(Q<T>(1, 0, 0, 0), Q<T>(0, 1, 0, 0)));
  EXPECT_EQ(Q<T>::bisect(Q<T>(0, 1, 0, 0), Q<T>(0, -1, 0, 0)), Q<T>(0, 0, 0, 0));
  EXPECT_EQ(Q<T>::log(Q<T>(0, 0, 0, 0)), Q<T>(0, 0, 0, 0));
  EXPECT_EQ(Q<T>::log(Q<T>(0, 0, 0, -3)), Q<T>(0, 0, 0, 0));
  EXPECT_EQ(Q<T>::exp(Q<T>(0, 0, 0, 5)), Q<T>(0, 0, 0, 1));
  std::mt19937 rng(3003);
  for (int n = 0; n < 50; ++n) {
    const Q<T> p = randomUnitQuaternion<T>(rng), q = randomUnitQuaternion<T>(rng);
    const Q<T> a = randomUnitQuaternion<T>(rng), b = randomUnitQuaternion<T>(rng);
    const T t = static_cast<T>(n) / 49;
    SCOPED_TRACE(::testing::Message() << "p " << p << " q " << q << " t " << t);
    const Q<T> l = Q<T>::log(p.w < 0 ? -p : p);
    EXPECT_TRUE(l.w == T(0) && Q<T>::exp(l).isEqual(p.w < 0 ? -p : p, tol)) << "log " << l;
    EXPECT_TRUE(Q<T>::slerp(p, q, 0, 0).isEqual(p, tol));
    EXPECT_TRUE(sameRotation(Q<T>::slerp(p, q, 1, 0), q, tol));
    EXPECT_EQ(Q<T>::slerp(p, q, t, 0), Q<T>::slerp(p, -q, t, 0));
    EXPECT_NEAR(Q<T>::slerp(p, q, t, 0).length(), T(1), tol);
    // Equal and opposite inputs take the linear branch and stay at p.
    EXPECT_TRUE(Q<T>::slerp(p, p, t, 0).isEqual(p, tol) &&
                Q<T>::slerp(p, -p, t, 0).isEqual(p, tol));
    EXPECT_TRUE(Q<T>::squad(p, a, b, q, 0).isEqual(p, tol)) << "squad at 0";
    EXPECT_TRUE(Q<T>::squad(p, a, b, q, 1).isEqual(Q<T>::slerp(p, q, 1, 0), tol)) << "squad at 1";
    // bisect is the normalised half-way slerp on the shorter arc; doub goes the other way.
    const Q<T> near = Q<T>::isShortestGreatCircle(p, q) ? q : -q;
    Q<T> half = Q<T>::slerp(p, near, T(0.5), 0);
    half.normalize();
    EXPECT_TRUE(Q<T>::bisect(p, near).isEqual(half, tol));
    EXPECT_TRUE(Q<T>::bisect(p, Q<T>::doub(p, near)).isEqual(near, tol));
    // Keys at equal steps along one great circle need no bending at the middle key.
    const T step = T(0.1) + T(n) / 50;
    const GeVector3<T> axis = randomVector<T>(rng);
    Q<T> first, second;
    Q<T>::computeIntermediates(p * Q<T>::makeRotation(-step, axis), p,
                               p * Q<T>::makeRotation(step, axis), first, second);
    EXPECT_TRUE(first.isEqual(p, tol) && second.isEqual(p, tol)) << first << second;
    Q<T>::computeIntermediates(p, p, p, first, second);
    EXPECT_TRUE(first.isEqual(p, tol) && second.isEqual(p, tol)) << first << second;
  }
  // One extra half turn of the 4D arc ends at -q: the same rotation, reached the long way.
  const Q<T> q = Q<T>::makeRotation(T(2.5), GeVector3<T>(0, 1, 0));
  EXPECT_TRUE(
      Q<T>::slerp(Q<T>::makeRotation(T(0.9), GeVector3<T>(1, 2, 2)), q, 1, 1).isEqual(-q, tol));
}

// ---- Aiming ----------------------------------------------------------------------------------

TYPED_TEST(Quaternions, AimTurnsFromOntoToOrIntoAPlane) {
  using T = TypeParam;
  const T tol = 10 * VoTest::tolerance<T>();
  const T h = std::sqrt(T(0.5));
  const GePlane3<T> floor(GeVector3<T>(0, 0, 1), T(-4));
  Q<T> q;
  q.aim(GeVector3<T>(1, 0, 0), GeVector3<T>(0, 1, 0));
  EXPECT_TRUE(q.isEqual(Q<T>(0, 0, h, h), tol)) << q;
  q.aim(GeVector3<T>(1, 0, 0), GeVector3<T>(-2, 0, 0));
  EXPECT_TRUE(q.isEqual(Q<T>(0, 1, 0, 0), tol)) << q;
  q.aim(GeVector3<T>(1, 0, 0), GeVector3<T>(3, 0, 0));
  EXPECT_EQ(q, Q<T>());
  q.aim(GeVector3<T>(1, 0, 1), floor);
  EXPECT_TRUE(q.isEqual(Q<T>::makeRotation(T(M_PI / 4), GeVector3<T>(0, 1, 0)), tol)) << q;
  q.aim(GeVector3<T>(0, 0, 1), floor);
  EXPECT_TRUE(q.isEqual(Q<T>::makeRotation(T(M_PI / 2), GeVector3<T>(1, 0, 0)), tol)) << q;
  // A zero direction or a plane without a normal leaves the quaternion as it was.
  const Q<T> before(T(0.5), T(0.5), T(0.5), T(0.5));
  q = before;
  q.aim(GeVector3<T>(0, 0, 0), floor);
  q.aim(GeVector3<T>(1, 0, 0), GePlane3<T>(GeVector3<T>(0, 0, 0), 1));
  EXPECT_EQ(q, before);
  std::mt19937 rng(7007);
  for (int n = 0; n < 50; ++n) {
    const GeVector3<T> from = randomVector<T>(rng), to = randomVector<T>(rng);
    // Opposite vectors turn by π about a perpendicular of `from`.
    for (const GeVector3<T>& target : {to, -from * T(2)}) {
      q.aim(from, target);
      const GeUnitVector3<T> turned(matrixOf(q) * from);
      EXPECT_NEAR(dot(turned, GeUnitVector3<T>(target)), T(1), tol) << from << " to " << target;
    }
    const GePlane3<T> plane(randomVector<T>(rng), 1);
    q.aim(from, plane);
    EXPECT_NEAR(dot(matrixOf(q) * from, plane.normal), T(0), tol) << from;
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
  Q<T> q(9, 9, 9, 9);
  EXPECT_TRUE(text >> q && q == rotation) << q;
  std::istringstream good(" [ ( 1 ,2, 3 ) , 4 ]");
  EXPECT_TRUE(good >> q && q == Q<T>(1, 2, 3, 4)) << q;
  for (const char* bad : {"[(1, 2, 3) 4]", "[(1, 2, 3), 4", "((1, 2, 3), 4]", "[(1, 2), 4]",
                          "[(1, 2, x), 4]", "[1, 2, 3, 4]", ""}) {
    std::istringstream in(bad);
    EXPECT_TRUE(!(in >> q) && q == Q<T>(1, 2, 3, 4)) << "'" << bad << "' gave " << q;
  }
}

// ---- Euler angles ----------------------------------------------------------------------------

struct Convention {
  int value;
  const char* name;  // 's'tatic or 'r'otating, then the named axis sequence.
};

// Static conventions turn about the named axes in order, fixed; rotating ones about the moving
// axes, which is the reversed product.
using F = Q<float>;
const Convention conventions[24] = {
    {F::staticXYZ, "sXYZ"},   {F::staticYZX, "sYZX"},   {F::staticZXY, "sZXY"},
    {F::staticXZY, "sXZY"},   {F::staticYXZ, "sYXZ"},   {F::staticZYX, "sZYX"},
    {F::staticXYX, "sXYX"},   {F::staticYZY, "sYZY"},   {F::staticZXZ, "sZXZ"},
    {F::staticXZX, "sXZX"},   {F::staticYXY, "sYXY"},   {F::staticZYZ, "sZYZ"},
    {F::rotatingZYX, "rZYX"}, {F::rotatingXZY, "rXZY"}, {F::rotatingYXZ, "rYXZ"},
    {F::rotatingYZX, "rYZX"}, {F::rotatingZXY, "rZXY"}, {F::rotatingXYZ, "rXYZ"},
    {F::rotatingXYX, "rXYX"}, {F::rotatingYZY, "rYZY"}, {F::rotatingZXZ, "rZXZ"},
    {F::rotatingXZX, "rXZX"}, {F::rotatingYXY, "rYXY"}, {F::rotatingZYZ, "rZYZ"}};

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

TYPED_TEST(Quaternions, EulerEveryConventionIsItsAxisProductAndReadsBackWithinItsRanges) {
  using T = TypeParam;
  const T tol = 10 * VoTest::tolerance<T>();
  std::mt19937 rng(9009);
  std::uniform_real_distribution<double> outer(-3.1, 3.1), middle(-1.5, 1.5), repeated(0.05, 3.1);
  for (const Convention& conv : conventions) {
    SCOPED_TRACE(conv.name);
    const auto e = static_cast<typename Q<T>::EulerConvention>(conv.value);
    const bool repetition = conv.name[1] == conv.name[3], odd = (conv.value & 16) != 0;
    for (int n = 0; n < 40; ++n) {
      const T a = static_cast<T>(outer(rng)), c = static_cast<T>(outer(rng));
      const T b = static_cast<T>((n % 2 ? 1 : -1) * (repetition ? repeated(rng) : middle(rng)));
      const GeLinearMatrix3<T> ra = axisRotation(conv.name[1], a);
      const GeLinearMatrix3<T> rb = axisRotation(conv.name[2], b);
      const GeLinearMatrix3<T> rc = axisRotation(conv.name[3], c);
      const GeLinearMatrix3<T> m = eulerMatrix(conv.value, a, b, c);
      EXPECT_TRUE(m.isEqual(conv.name[0] == 'r' ? ra * rb * rc : rc * rb * ra, tol));
      Q<T> q;
      q.setEuler(e, a, b, c);
      EXPECT_NEAR(q.length(), T(1), tol);
      EXPECT_TRUE(matrixOf(q).isEqual(m, tol));
      T a2, b2, c2;
      Q<T>::matrixToEuler(m, e, a2, b2, c2);
      EXPECT_TRUE(eulerMatrix(conv.value, a2, b2, c2).isEqual(m, tol));
      const T middleRead = odd ? -b2 : b2;
      EXPECT_TRUE(repetition ? middleRead >= 0 && middleRead <= T(M_PI)
                             : std::abs(b2) <= T(M_PI / 2))
          << b2;
      q.getEuler(e, a2, b2, c2);
      EXPECT_TRUE(eulerMatrix(conv.value, a2, b2, c2).isEqual(m, tol));
    }
    Q<T> q(5, 5, 5, 5);
    q.setEuler(e, 0, 0, 0);
    EXPECT_EQ(q, Q<T>());
  }
}

TYPED_TEST(Quaternions, EulerSinesAndCosinesAreTheDoublePrecisionValuesRounded) {
  using T = TypeParam;
  // staticXYZ with (a, 0, 0) is Rx(a): element (2, 2) is cos a and element (2, 1) is sin a,
  // each multiplied by cos 0 = 1.
  const T specials[] = {T(0), T(-0.0), T(M_PI / 2), T(-M_PI), T(1024), T(-1025), T(3e5)};
  std::mt19937 rng(1111);
  std::uniform_real_distribution<double> d(-1024, 1024);
  for (int n = 0; n < 20000; ++n) {
    const T a = n < 7 ? specials[n] : static_cast<T>(d(rng) / (1 << n % 11));
    const GeLinearMatrix3<T> m = eulerMatrix(Q<T>::staticXYZ, a, T(0), T(0));
    const T c = static_cast<T>(std::cos(static_cast<double>(a)));
    const T s = static_cast<T>(std::sin(static_cast<double>(a)));
    ASSERT_TRUE(m(2, 2) == c && m(2, 1) == s && std::signbit(m(2, 1)) == std::signbit(s))
        << "angle " << a;
  }
}

TYPED_TEST(Quaternions, EulerGimbalLockGivesTheWholeTurnToOneOuterAngleBeyondAStrictThreshold) {
  using T = TypeParam;
  const T halfPi = T(M_PI / 2);
  const auto read = [](int convention, const GeLinearMatrix3<T>& m) {
    std::vector<T> angles(3);
    Q<T>::matrixToEuler(m, static_cast<typename Q<T>::EulerConvention>(convention), angles[0],
                        angles[1], angles[2]);
    return angles;
  };
  // The angle that must be 0 is exactly 0; the others are computed.
  const auto expectRead = [&](int convention, T a, T b, T c, std::vector<T> expected) {
    const std::vector<T> got = read(convention, eulerMatrix(convention, a, b, c));
    for (int i = 0; i < 3; ++i) {
      const T tol = expected[i] == 0 ? T(0) : 10 * VoTest::tolerance<T>();
      EXPECT_NEAR(got[i], expected[i], tol) << "convention " << convention << " angle " << i;
    }
  };
  expectRead(Q<T>::staticXYZ, T(0.3), halfPi, T(0.5), {T(-0.2), halfPi, 0});
  expectRead(Q<T>::staticXYX, T(0.3), 0, T(0.5), {T(0.8), 0, 0});
  expectRead(Q<T>::rotatingZYX, T(0.5), halfPi, T(0.3), {0, halfPi, T(-0.2)});
  // For staticXYZ the cosine of the middle angle is |(m00, m10)|; with m00 = 0 the third angle
  // is π/2 when decoded normally and 0 in gimbal lock.
  const T threshold = sizeof(T) == sizeof(float) ? T(0.0016f) : T(1.6e-6);
  for (T m10 : {threshold, std::nextafter(threshold, T(1))}) {
    const GeLinearMatrix3<T> m(0, 0, 1, m10, 1, 0, -1, 0, 0);
    EXPECT_EQ(read(Q<T>::staticXYZ, m)[2], m10 > threshold ? halfPi : T(0)) << m10;
  }
}

TYPED_TEST(Quaternions, EulerAFirstAxisBeyondZIsRejected) {
  using T = TypeParam;
  const auto rejects = [](auto call) {
    try {
      call();
    } catch (const AssertionFailedError& error) {
      return error.condition() == "firstAxis < 3" && error.file() == "primitives/geQuaternion3.imp";
    }
    return false;
  };
  for (int value : {3, 15, 64 + 3}) {
    const auto e = static_cast<typename Q<T>::EulerConvention>(value);
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
