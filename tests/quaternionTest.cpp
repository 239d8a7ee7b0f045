#include <vezODedizezivuz/gePlane3.h>
#include <vezODedizezivuz/geQuaternion3.h>
#include <vezODedizezivuz/geRotation3.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <sstream>
#include <tuple>

#include "testUtil.h"

namespace {

using namespace Vo;

static_assert(sizeof(GeQuaternion3<float>) == 4 * sizeof(float));

VO_REAL_TEST_SUITE(Quaternions);

template <class T>
using Q = GeQuaternion3<T>;

// Braced lists evaluate left to right, so the draws are reproducible.
template <class T>
GeVector3<T> randomVector(std::mt19937& rng) {
  std::uniform_real_distribution<T> d(-1, 1);
  return GeVector3<T>{d(rng), d(rng), d(rng)};
}

template <class T>
Q<T> randomUnit(std::mt19937& rng) {
  const GeVector3<T> axis = randomVector<T>(rng);
  return Q<T>::makeRotation(6 * randomVector<T>(rng).x, axis);
}

template <class T>
constexpr T tol = 10 * VoTest::tolerance<T>();

// m with the rotation of q written into it; by default a linear matrix.
template <class T, class M = GeLinearMatrix3<T>>
M matrixOf(const Q<T>& q, M m = M()) {
  q.getMatrix(m);
  return m;
}

// The zero quaternion gives the identity matrix; other lengths are divided out.
TYPED_TEST(Quaternions, MatricesComposeAndReadBackWithTheirScale) {
  using T = TypeParam;
  EXPECT_TRUE(matrixOf(Q<T>(0, 0, 2, 2)).isEqual(GeZAxisRotation3<T>(0, 1).getRotation(), tol<T>));
  EXPECT_EQ(matrixOf(Q<T>(0, 0, 0, 0)), GeLinearMatrix3<T>());
  std::mt19937 rng(1001);
  for (int n = 0; n < 40; ++n) {
    const Q<T> p = randomUnit<T>(rng), q = randomUnit<T>(rng);
    EXPECT_TRUE(matrixOf(p * q).isEqual(matrixOf(p) * matrixOf(q), tol<T>));
    Q<T> back;
    back.setMatrix(GeScale3<T>(3, 3, 3) * matrixOf(q), 3);
    EXPECT_TRUE(back.isEqual(q, tol<T>) || back.isEqual(-q, tol<T>)) << back;
    // Rotating without a matrix agrees with it for either sign.
    const GeVector3<T> v = randomVector<T>(rng);
    EXPECT_TRUE(q.rotate(v).isEqual(matrixOf(-q) * v, tol<T>)) << n;
  }
  // The wider matrices get the rotation and nothing else, whatever they held.
  const Q<T> q(T(0.5), T(0.5), T(0.5), T(0.5));
  EXPECT_TRUE(q * q.computeInverse() == Q<T>() &&
              q * (q * T(2)).computeInverse() == Q<T>(0, 0, 0, T(0.5)));
  EXPECT_EQ(T(2) * Q<T>(2, 3, 4, 5), Q<T>(2, 3, 4, 5) * T(2));
  const auto affine = matrixOf(q, GeAffineMatrix3<T>(GeLinearMatrix3<T>(), GeVector3<T>(7, 7, 7)));
  const GeProjectiveMatrix3<T> sevens(7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7);
  EXPECT_TRUE(affine == GeAffineMatrix3<T>(matrixOf(q), GeVector3<T>()) &&
              matrixOf(q, sevens) == GeProjectiveMatrix3<T>(affine));
  EXPECT_EQ(Q<T>(0, 0, 0, 0).rotate(GeVector3<T>(1, 2, 3)), GeVector3<T>(1, 2, 3));
}

// Every component decides equality, and isEqual allows the tolerance inclusively.
TYPED_TEST(Quaternions, EveryComponentCounts) {
  using T = TypeParam;
  VoTest::expectEachComponentCounts(
      Q<T>(1, 2, 4, 8),
      {Q<T>(1.5, 2, 4, 8), Q<T>(1, 2.5, 4, 8), Q<T>(1, 2, 4.5, 8), Q<T>(1, 2, 4, 8.5)}, T(0.5));
}

// Float matrices come from a vector kernel, which must give the bits of the scalar steps that
// double takes, NaN for NaN (IEEE leaves its sign and payload open). Components span every
// binade, so that the squared norm overflows, underflows or vanishes, and a quarter are any bit
// pattern at all: subnormals, infinities, NaN.
TEST(QuaternionKernel, FloatMatricesTakeTheScalarStepsForAnyComponents) {
  std::mt19937 rng(4004);
  std::uniform_real_distribution<float> unit(-1, 1);
  for (int n = 0; n < 1000000; ++n) {
    Q<float> q;
    for (int i = 0; i < 4; ++i) {
      const std::uint32_t b = rng();
      q[i] = b % 4 == 0 ? VoTest::fromBits(rng()) : std::ldexp(unit(rng), int(b % 300) - 150);
    }
    GeLinearMatrix3<float> steps;
    const float s = GeQuaternionDetail::rotationScale(q.x, q.y, q.z, q.w);
    GeQuaternionDetail::rotationMatrix(q.x, q.y, q.z, q.w, s, steps);
    const GeLinearMatrix3<float> kernel = matrixOf(q);
    for (int e = 0; e < 9; ++e)
      ASSERT_TRUE(VoTest::sameBitsOrNaN(kernel(e / 3, e % 3), steps(e / 3, e % 3)))
          << q << " element " << e << ": " << kernel(e / 3, e % 3) << " vs " << steps(e / 3, e % 3);
  }
}

TYPED_TEST(Quaternions, InterpolationFollowsTheShorterArc) {
  using T = TypeParam;
  EXPECT_EQ(Q<T>::bisect(Q<T>(0, 1, 0, 0), Q<T>(0, -1, 0, 0)), Q<T>(0, 0, 0, 0));
  EXPECT_EQ(Q<T>::log(Q<T>(0, 0, 0, 0)), Q<T>(0, 0, 0, 0));
  std::mt19937 rng(1001);
  for (int n = 0; n < 40; ++n) {
    const Q<T> p = randomUnit<T>(rng), q = randomUnit<T>(rng);
    const T t = T(n) / 39, angle = T(0.1) + T(n) / 40;
    const GeVector3<T> axis = randomVector<T>(rng);
    SCOPED_TRACE(::testing::Message() << "p " << p << " q " << q << " t " << t);
    EXPECT_TRUE(Q<T>::exp(Q<T>::log(p)).isEqual(p, tol<T>) && Q<T>::lerp(p, q, 0) == p &&
                Q<T>::lerp(p, q, 1) == q && Q<T>::slerp(p, q, t, 0) == Q<T>::slerp(p, -q, t, 0));
    EXPECT_TRUE(Q<T>::slerp(p, -p, t, 0).isEqual(p, tol<T>));  // the linear branch stays at p
    // Slerp turns by the fraction t of the rotation from p to r, and each spin adds a half turn
    // of the 4D arc (ending at -r: the same rotation, reached the long way); bisect goes half-way.
    const Q<T> r = p * Q<T>::makeRotation(angle, axis);
    EXPECT_TRUE(Q<T>::slerp(p, r, t, 0).isEqual(p * Q<T>::makeRotation(t * angle, axis), tol<T>));
    EXPECT_TRUE(Q<T>::slerp(p, r, 1, 1).isEqual(-r, tol<T>));
    EXPECT_TRUE(Q<T>::doub(p, Q<T>::bisect(p, r)).isEqual(r, tol<T>));
    const Q<T> near = dot(p, q) < 0 ? -q : q;
    EXPECT_TRUE(Q<T>::isShortestGreatCircle(p, near) && !Q<T>::isShortestGreatCircle(p, -near));
    // Squad runs from p to q (or -q, by the shorter arc) whatever its control points, and with
    // its ends as control points it is slerp.
    EXPECT_TRUE(Q<T>::squad(p, p, q, q, t).isEqual(Q<T>::slerp(p, q, t, 0), tol<T>));
    Q<T> first, second;
    Q<T>::computeIntermediates(p, q, r, first, second);
    const Q<T> end = Q<T>::squad(p, first, second, q, 1);
    EXPECT_TRUE(Q<T>::squad(p, first, second, q, 0).isEqual(p, tol<T>) &&
                (end.isEqual(q, tol<T>) || end.isEqual(-q, tol<T>)));
  }
}

TYPED_TEST(Quaternions, AimTurnsFromOntoToOrIntoAPlane) {
  using T = TypeParam;
  Q<T> q(T(0.5), T(0.5), T(0.5), T(0.5)), before = q;
  q.aim(GeVector3<T>(1, 0, 0), GePlane3<T>(GeVector3<T>(0, 0, 0), 1));
  EXPECT_EQ(q, before) << "a plane without a normal changes nothing";
  // Opposite directions turn half-way about a perpendicular that must not vanish: two components
  // swapped, one negated, the third 0, choosing the pair by the magnitudes.
  const GeVector3<T> opposite[][2] = {
      {{0, 0, 1}, {1, 0, 0}}, {{1, 0, 0}, {0, 1, 0}}, {{0, 1, 1}, {0, -1, 1}}};
  for (const auto& [axis, pivot] : opposite) {
    q.aim(axis, -axis);
    const GeLinearMatrix3<T> m = matrixOf(q);
    EXPECT_TRUE((m * axis).isEqual(-axis, tol<T>) && (m * pivot).isEqual(pivot, tol<T>)) << axis;
  }
  std::mt19937 rng(7007);
  for (int n = 0; n < 30; ++n) {
    const GeVector3<T> from = randomVector<T>(rng);
    for (const GeVector3<T>& to : {randomVector<T>(rng), -from * T(2), from * T(3)}) {
      q.aim(from, to);
      EXPECT_NEAR(dot(GeUnitVector3<T>(matrixOf(q) * from), GeUnitVector3<T>(to)), T(1), tol<T>);
    }
    const GePlane3<T> plane(randomVector<T>(rng), 1);
    q.aim(from, plane);
    EXPECT_NEAR(dot(matrixOf(q) * from, plane.normal), T(0), tol<T>) << from;
    q.aim(plane.normal * T(2), plane);  // along the normal: a quarter turn about a perpendicular
    EXPECT_NEAR(dot(matrixOf(q) * plane.normal, plane.normal), T(0), tol<T>) << plane.normal;
  }
}

TYPED_TEST(Quaternions, TextRoundTripsAndMalformedTextKeepsTheValue) {
  using T = TypeParam;
  std::stringstream text;
  Q<T>(T(0.5), -1, 2, 3).dump(text);
  EXPECT_EQ(text.str(), "[(0.5, -1, 2), 3]");
  Q<T> q;
  text >> q;
  for (const char* bad : {"[(1, 2, 3) 4]", "[(1, 2), 4]", ""})
    EXPECT_TRUE(!(std::istringstream(bad) >> q) && q == Q<T>(T(0.5), -1, 2, 3))
        << "'" << bad << "' gave " << q;
}

// 's'tatic conventions turn about the named fixed axes in order; 'r'otating ones about the
// moving axes, which is the reversed product.
template <class T>
const std::pair<typename Q<T>::EulerConvention, const char*> conventions[24] = {
    {Q<T>::staticXYZ, "sXYZ"},   {Q<T>::staticYZX, "sYZX"},   {Q<T>::staticZXY, "sZXY"},
    {Q<T>::staticXZY, "sXZY"},   {Q<T>::staticYXZ, "sYXZ"},   {Q<T>::staticZYX, "sZYX"},
    {Q<T>::staticXYX, "sXYX"},   {Q<T>::staticYZY, "sYZY"},   {Q<T>::staticZXZ, "sZXZ"},
    {Q<T>::staticXZX, "sXZX"},   {Q<T>::staticYXY, "sYXY"},   {Q<T>::staticZYZ, "sZYZ"},
    {Q<T>::rotatingZYX, "rZYX"}, {Q<T>::rotatingXZY, "rXZY"}, {Q<T>::rotatingYXZ, "rYXZ"},
    {Q<T>::rotatingYZX, "rYZX"}, {Q<T>::rotatingZXY, "rZXY"}, {Q<T>::rotatingXYZ, "rXYZ"},
    {Q<T>::rotatingXYX, "rXYX"}, {Q<T>::rotatingYZY, "rYZY"}, {Q<T>::rotatingZXZ, "rZXZ"},
    {Q<T>::rotatingXZX, "rXZX"}, {Q<T>::rotatingYXY, "rYXY"}, {Q<T>::rotatingZYZ, "rZYZ"}};

// The rotation about the named axis.
template <class T>
GeLinearMatrix3<T> turn(char axis, T angle) {
  if (axis == 'X') return GeXAxisRotation3<T>(angle).getRotation();
  if (axis == 'Y') return GeYAxisRotation3<T>(angle).getRotation();
  return GeZAxisRotation3<T>(angle).getRotation();
}

template <class T>
GeLinearMatrix3<T> eulerMatrix(typename Q<T>::EulerConvention convention, T a, T b, T c) {
  GeLinearMatrix3<T> m;
  Q<T>::eulerToMatrix(m, convention, a, b, c);
  return m;
}

TYPED_TEST(Quaternions, EulerEveryConventionIsItsAxisProductAndReadsBackWithinItsRanges) {
  using T = TypeParam;
  std::mt19937 rng(9009);
  std::uniform_real_distribution<double> outer(-3.1, 3.1), middle(-1.5, 1.5), repeated(0.05, 3.1);
  for (const auto& [value, name] : conventions<T>) {
    const bool repetition = name[1] == name[3], odd = (value & 16) != 0;  // parity
    for (int n = 0; n < 40; ++n) {
      const T a = static_cast<T>(outer(rng)), c = static_cast<T>(outer(rng));
      const T b = static_cast<T>((n % 2 ? 1 : -1) * (repetition ? repeated(rng) : middle(rng)));
      const GeLinearMatrix3<T> ra = turn(name[1], a), rb = turn(name[2], b), rc = turn(name[3], c);
      const GeLinearMatrix3<T> m = name[0] == 'r' ? ra * rb * rc : rc * rb * ra;
      Q<T> q;
      q.setEuler(value, a, b, c);
      T a2, b2, c2;
      Q<T>::matrixToEuler(m, value, a2, b2, c2);
      EXPECT_TRUE(
          eulerMatrix(value, a, b, c).isEqual(m, tol<T>) && matrixOf(q).isEqual(m, tol<T>) &&
          eulerMatrix(value, a2, b2, c2).isEqual(m, tol<T>) &&
          (!repetition || (odd ? -b2 : b2) >= 0) && std::abs(b2) <= T(repetition ? M_PI : M_PI / 2))
          << name << " " << a << " " << b << " " << c << " read " << a2 << " " << b2 << " " << c2;
    }
  }
  // Sines and cosines are the double-precision values rounded, for any angle: the float kernel
  // leaves some lanes to the system functions. Each is read where it meets cos 0 = 1 or stands
  // alone: staticXYZ with (a, 0, c) holds cos c, sin c, sin a, cos a at (0, 0), (1, 0), (2, 1),
  // (2, 2); with b, -sin b at (2, 0); staticXYX cos b at (0, 0).
  const auto same = [](T x, double y) { return VoTest::sameBitsOrNaN(x, static_cast<T>(y)); };
  std::uniform_real_distribution<double> wide(-3e5, 3e5);
  for (int n = 0; n < 20000; ++n) {
    T t[3];
    for (T& x : t)
      x = n % 8 ? static_cast<T>(wide(rng) / (1 << n % 20)) : T(VoTest::fromBits(rng()));
    const GeLinearMatrix3<T> m = eulerMatrix(Q<T>::staticXYZ, t[0], T(0), t[2]);
    const double a = t[0], b = t[1], c = t[2];
    ASSERT_TRUE(same(m(0, 0), std::cos(c)) && same(m(1, 0), std::sin(c)) &&
                same(m(2, 1), std::sin(a)) && same(m(2, 2), std::cos(a)) &&
                same(-eulerMatrix(Q<T>::staticXYZ, t[0], t[1], t[2])(2, 0), std::sin(b)) &&
                same(eulerMatrix(Q<T>::staticXYX, t[0], t[1], t[2])(0, 0), std::cos(b)))
        << t[0] << " " << t[1] << " " << t[2];
  }
}

TYPED_TEST(Quaternions, EulerReadingLocksBeyondAStrictThresholdAndRejectsAFirstAxisBeyondZ) {
  using T = TypeParam;
  using E = typename Q<T>::EulerConvention;
  using M = GeLinearMatrix3<T>;
  const T halfPi = T(M_PI / 2), threshold = sizeof(T) == sizeof(float) ? T(0.0016f) : T(1.6e-6);
  const T above = std::nextafter(threshold, T(1));
  // For staticXYZ the cosine of the middle angle is |(m00, m10)|; with m00 = 0 the third angle
  // is π/2 when decoded normally and exactly 0 in gimbal lock. Rotating conventions zero the
  // first angle instead. For staticXYX the sine of the middle angle is |(m01, m02)|.
  const std::tuple<E, M, int, T> cases[] = {
      {Q<T>::staticXYZ, M(0, 0, 1, threshold, 1, 0, -1, 0, 0), 2, 0},
      {Q<T>::staticXYZ, M(0, 0, 1, above, 1, 0, -1, 0, 0), 2, halfPi},
      {Q<T>::staticXYX, M(1, threshold, 0, 1, 1, 0, 0, 0, 1), 2, 0},
      {Q<T>::staticXYX, M(1, above, 0, 1, 1, 0, 0, 0, 1), 2, halfPi},
      {Q<T>::rotatingZYX, eulerMatrix<T>(Q<T>::rotatingZYX, T(0.5), halfPi, T(0.3)), 0, 0}};
  T r[3];
  for (const auto& [value, m, angle, expected] : cases) {
    Q<T>::matrixToEuler(m, value, r[0], r[1], r[2]);
    EXPECT_NEAR(r[angle], expected, expected == 0 ? T(0) : tol<T>) << value << " m10 " << m(1, 0);
  }
  // The rotating bit must not hide a first axis of 3.
  EXPECT_TRUE(
      VoTest::failsWith([&] { Q<T>().setEuler(E(3), 1, 2, 3); }, GeReportSites::eulerFirstAxis));
  EXPECT_TRUE(VoTest::failsWith([&] { Q<T>::matrixToEuler(M(), E(64 + 3), r[0], r[1], r[2]); },
                                GeReportSites::eulerFirstAxis));
}

}  // namespace
