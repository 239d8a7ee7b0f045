#include <vezODedizezivuz/geScaleTranslation3.h>

#include <random>
#include <sstream>
#include <string>

#include "testUtil.h"

namespace {

using namespace Vo;

VO_REAL_TEST_SUITE(ScaleTranslation);

// The transforms written out as general 4x4 matrices, to check the sparse products against.
template <class T>
GeProjectiveMatrix3<T> full(const GeScale3<T>& s) {
  return GeProjectiveMatrix3<T>(s.x, 0, 0, 0, 0, s.y, 0, 0, 0, 0, s.z, 0, 0, 0, 0, 1);
}
template <class T>
GeProjectiveMatrix3<T> full(const GeTranslation3<T>& t) {
  return GeProjectiveMatrix3<T>(1, 0, 0, t.x, 0, 1, 0, t.y, 0, 0, 1, t.z, 0, 0, 0, 1);
}

TYPED_TEST(ScaleTranslation, SparseProductsFromBothSidesEqualTheGeneralProducts) {
  using T = TypeParam;
  using P = GeProjectiveMatrix3<T>;
  std::mt19937 rng(31337);
  const auto value = [&] { return T(std::uniform_real_distribution<double>(-3, 3)(rng)); };
  const T tol = 100 * VoTest::tolerance<T>();
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE("sample " + std::to_string(i));
    GeLinearMatrix3<T> l, l2;
    P p, p2;  // a full bottom row, which the translation must carry through
    for (int k = 0; k < 9; ++k) l.data()[k] = value();
    for (int k = 0; k < 16; ++k) p.data()[k] = value();
    GeAffineMatrix3<T> a(l, GeVector3<T>(value(), value(), value())), a2;
    a(3, 0) = T(0.5);  // a stored bottom row, which the scale must leave alone
    // A zero factor must still zero its row or column.
    const GeScale3<T> s(value(), i % 4 ? value() : T(0), value());
    const GeTranslation3<T> t(value(), value(), value());
    // The scale touches each element once: the results are exact.
    EXPECT_EQ(s * GeVector3<T>(t.x, t.y, t.z), GeVector3<T>(s.x * t.x, s.y * t.y, s.z * t.z));
    EXPECT_EQ(s * GePoint3<T>(t.x, t.y, t.z), GePoint3<T>(s.x * t.x, s.y * t.y, s.z * t.z));
    EXPECT_TRUE(P(s * l) == full(s) * P(l) && P(s * a) == full(s) * P(a) && s * p == full(s) * p);
    EXPECT_TRUE(P(s.mulOnRightAssign(l2 = l)) == P(l) * full(s) &&
                s.mulOnRightAssign(p2 = p) == p * full(s));
    EXPECT_EQ(P(s.mulOnRightAssign(a2 = a)), P(a) * full(s));
    EXPECT_TRUE(a2(3, 0) == T(0.5) && (s * a)(3, 0) == T(0) && (t * a)(3, 0) == T(0));
    EXPECT_EQ(t * GePoint3<T>(s.x, s.y, s.z), GePoint3<T>(s.x + t.x, s.y + t.y, s.z + t.z));
    EXPECT_TRUE(P(t * l) == full(t) * P(l) && P(t.mulOnRight(l)).isEqual(P(l) * full(t), tol));
    EXPECT_TRUE(P(t * a).isEqual(full(t) * P(a), tol) && (t * p).isEqual(full(t) * p, tol));
    EXPECT_TRUE(P(t.mulOnRightAssign(a2 = a)).isEqual(P(a) * full(t), tol) &&
                t.mulOnRightAssign(p2 = p).isEqual(p * full(t), tol));
  }
}

// Equality needs every component equal, isEqual every component within the tolerance
// (inclusively); a default scale is the identity and a default translation zero.
template <class X>
void expectEveryComponentCounts(const X& defaultValue) {
  const X x(1, 2, 4);
  EXPECT_TRUE(x == X(1, 2, 4) && X() == defaultValue) << defaultValue;
  VoTest::expectEachComponentCounts(x, {X(1.5f, 2, 4), X(1, 2.5f, 4), X(1, 2, 4.5f)}, 0.5f);
}

TEST(ScaleTranslationComparison, EveryComponentCounts) {
  expectEveryComponentCounts(GeScale3<float>(1, 1, 1));
  expectEveryComponentCounts(GeTranslation3<float>(0, 0, 0));
}

TEST(ScaleTranslationText, DumpWritesNameAndComponents) {
  std::ostringstream os;
  os << GeScale3<float>(1, 2, 3) << ' ' << GeTranslation3<float>(-1.5f, 0, 4);
  EXPECT_EQ(os.str(), "Scale3(1, 2, 3) Translation3(-1.5, 0, 4)");
}

}  // namespace
