#include <vezODedizezivuz/geVector.h>

#include <cmath>
#include <iomanip>
#include <limits>
#include <sstream>
#include <type_traits>
#include <utility>

#include "testUtil.h"

namespace {

using namespace Vo;

VO_REAL_TEST_SUITE(Vectors);

// One reciprocal, then a multiplication per component; a zero vector is left alone with length
// 0 (no NaN from 0 · (1/0)); a NaN length propagates.
TYPED_TEST(Vectors, NormalizeMultipliesByTheReciprocalAndLeavesZeroAlone) {
  using T = TypeParam;
  GeVector3<T> v(3, 0, 4), zero(0, 0, 0), nan(std::numeric_limits<T>::quiet_NaN(), 0, 0);
  const GeVector3<T> unit(T(3) * (T(1) / 5), 0, T(4) * (T(1) / 5));
  EXPECT_TRUE(v.normalized() == unit && v.normalize() == T(5) && v == unit) << v;
  GeVector2<T> w(0, -2);
  EXPECT_TRUE(w.normalize() == T(2) && w == GeVector2<T>(0, -1)) << w;
  EXPECT_TRUE(zero.normalize() == T(0) && zero == GeVector3<T>(0, 0, 0)) << zero;
  EXPECT_TRUE(std::isnan(nan.normalize()) && std::isnan(nan.y));
  GeUnitVector2<T> u(GeVector2<T>(1, 0));
  EXPECT_TRUE(u.setNormalized(0, 0) == T(0) && u == GeVector2<T>(1, 0)) << u;
}

// Every operator acts on each component alone and indexing names them in order. The operands'
// components are distinct powers of two, so a swapped, dropped or misplaced one changes an
// exact result.
template <class V, class P, int n>
void expectComponentwise() {
  using T = std::remove_reference_t<decltype(V()[0])>;
  V a, b, sum, difference, negated, quadrupled, quartered;
  P p, moved, movedBack;
  for (int i = 0; i < n; ++i) {
    const T x = T(1 << i), y = T(16 << i), q = T(256 << i);
    a[i] = x, b[i] = y, p[i] = q, sum[i] = x + y, difference[i] = x - y, negated[i] = -x;
    quadrupled[i] = 4 * x, quartered[i] = x / 4, moved[i] = q + x, movedBack[i] = q - x;
  }
  EXPECT_TRUE(&a[0] == &a.x && &a[1] == &a.y && &std::as_const(a)[n - 1] == &a[n - 1]);
  EXPECT_TRUE(&std::as_const(a)[0] == &a.x && &std::as_const(p)[1] == &p.y && &p[0] == &p.x);
  EXPECT_TRUE(a + b == sum && a - b == difference && -a == negated && b - a == -difference);
  EXPECT_TRUE(a * T(4) == quadrupled && T(4) * a == quadrupled && a / T(4) == quartered);
  // The compound assignments, each on a fresh copy.
  EXPECT_TRUE((V(a) += b) == sum && (V(a) -= b) == difference && (V(a) *= T(4)) == quadrupled);
  EXPECT_TRUE(p + a == moved && p - a == movedBack && moved - p == a && p - moved == -a);
  EXPECT_TRUE((P(p) += a) == moved && (P(p) -= a) == movedBack);
  for (int i = 0; i < n; ++i) {
    V other = a;
    P otherPoint = p;
    other[i] += T(0.5), otherPoint[i] += T(0.5);
    VoTest::expectEachComponentCounts(a, {other}, T(0.5));
    VoTest::expectEachComponentCounts(p, {otherPoint}, T(0.5));
  }
}

TYPED_TEST(Vectors, OperatorsActOnEachComponentAlone) {
  expectComponentwise<GeVector3<TypeParam>, GePoint3<TypeParam>, 3>();
  expectComponentwise<GeVector2<TypeParam>, GePoint2<TypeParam>, 2>();
}

TYPED_TEST(Vectors, UnitVectorsOfZeroOrNaNReportLenGreaterThanZero) {
  using T = TypeParam;
  const T nan = std::numeric_limits<T>::quiet_NaN();
  for (const GeVector3<T>& bad : {GeVector3<T>(0, 0, 0), GeVector3<T>(nan, 1, 0)})
    EXPECT_TRUE(VoTest::failsWith([&] { GeUnitVector3<T>{bad}; }, GeReportSites::unitVectorLength));
  EXPECT_TRUE(VoTest::failsWith([] { GeUnitVector2<T>{GeVector2<T>(0, 0)}; },
                                GeReportSites::unitVectorLength));
}

TYPED_TEST(Vectors, HashesAgreeWithEquality) {
  using T = TypeParam;
  const std::hash<GePoint3<T>> hash;
  EXPECT_EQ(hash(GePoint3<T>(T(-0.0), 1, 2)), hash(GePoint3<T>(0, 1, 2)));
  EXPECT_NE(hash(GePoint3<T>(1, 2, 3)), hash(GePoint3<T>(3, 2, 1)));
}

template <class V>
bool readsInto(const std::string& input, V& v) {
  std::istringstream s(input);
  return !v.read(s).fail();
}

// Tuples without inner padding, in the caller's stream settings; read back at full precision.
TYPED_TEST(Vectors, TextUsesTheCallersSettingsAndRoundTrips) {
  using T = TypeParam;
  std::ostringstream os;
  os << GeVector3<T>(0, 1, 0) << GeHomogeneousCoord3<T>(1, 2, 3, 4) << std::fixed
     << std::setprecision(3);
  (GeVector2<T>(2, T(0.5)) - GeVector2<T>(1, T(0.25))).dump(os);
  EXPECT_EQ(os.str(), "(0, 1, 0)(1, 2, 3, 4)(1.000, 0.250)");
  const GePoint3<T> p(T(0.1), T(-1e-30), T(123456.789));
  std::stringstream s;
  s << std::setprecision(std::numeric_limits<T>::max_digits10) << p;
  GePoint3<T> q(0, 0, 0);
  EXPECT_TRUE(readsInto(s.str(), q) && q == p) << s.str();
}

// A rejected tuple raises where the caller asked for exceptions.
TEST(VectorText, BlanksAreSkippedButMalformedTextFailsAndChangesNothing) {
  GeVector3<double> v;
  EXPECT_TRUE(readsInto(" ( 1 , 2 , 3 ) ", v) && v == GeVector3<double>(1, 2, 3));
  const GeVector3<float> original(7, 8, 9);
  GeVector3<float> w;
  for (const char* bad :
       {"(1, 2)", "[1, 2, 3]", "(1; 2; 3)", "(1, 2, 3", "(1, x, 3)", "", "1, 2, 3)"})
    EXPECT_TRUE(!readsInto(bad, w = original) && w == original) << bad;
  GePoint2<int> p(5, 6);
  EXPECT_TRUE(!readsInto("(1.5, 2)", p) && p == GePoint2<int>(5, 6));
  std::istringstream s("(1; 2)");
  s.exceptions(std::ios::failbit);
  EXPECT_THROW(GeVector2<double>().read(s), std::ios::failure);
}

// A zero tuple is accepted but leaves nothing to normalise.
TEST(VectorText, UnitVectorsNormaliseWhatTheyRead) {
  GeUnitVector3<double> w(GeVector3<double>(0, 0, 1));
  EXPECT_TRUE(readsInto("(0, 0, 0)", w) && w == GeVector3<double>(0, 0, 1)) << w;
  EXPECT_TRUE(readsInto("(3, 0, 4)", w) && w == GeVector3<double>(3 * (1.0 / 5), 0, 4 * (1.0 / 5)));
}

}  // namespace
