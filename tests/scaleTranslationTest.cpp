#include <vezODedizezivuz/geScaleTranslation3.h>

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <type_traits>

#include "testUtil.h"

namespace {

using namespace Vo;

static_assert(sizeof(GeScale3<float>) == 3 * sizeof(float));
static_assert(sizeof(GeTranslation3<double>) == 3 * sizeof(double));
static_assert(std::is_trivially_copyable_v<GeScale3<double>>);

template <class T>
class ScaleTranslation : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(ScaleTranslation, Reals);

// The transforms written out as general 4x4 matrices, to check the sparse products against.
template <class T>
GeProjectiveMatrix3<T> full(const GeScale3<T>& s) {
  return GeProjectiveMatrix3<T>(s.x, 0, 0, 0, 0, s.y, 0, 0, 0, 0, s.z, 0, 0, 0, 0, 1);
}
template <class T>
GeProjectiveMatrix3<T> full(const GeTranslation3<T>& t) {
  return GeProjectiveMatrix3<T>(1, 0, 0, t.x, 0, 1, 0, t.y, 0, 0, 1, t.z, 0, 0, 0, 1);
}

template <class T>
struct Samples {
  std::mt19937 rng{31337};
  std::uniform_real_distribution<double> dist{-3.0, 3.0};
  T value() { return T(dist(rng)); }
  GeLinearMatrix3<T> linear() {
    GeLinearMatrix3<T> m;
    for (int i = 0; i < 9; ++i) m.data()[i] = value();
    return m;
  }
  GeAffineMatrix3<T> affine() {
    return GeAffineMatrix3<T>(linear(), GeVector3<T>(value(), value(), value()));
  }
  GeProjectiveMatrix3<T> projective() {
    GeProjectiveMatrix3<T> m;
    for (int i = 0; i < 16; ++i) m.data()[i] = value();
    return m;
  }
};

template <class T>
T tol() {
  return 100 * VoTest::tolerance<T>();
}

TYPED_TEST(ScaleTranslation, ScaleScalesRowsFromTheLeftAndColumnsFromTheRight) {
  using T = TypeParam;
  const GeScale3<T> s(2, 3, 4);
  const GeLinearMatrix3<T> diag(2, 0, 0, 0, 3, 0, 0, 0, 4);
  EXPECT_EQ(s * GeLinearMatrix3<T>(), diag);
  GeLinearMatrix3<T> id;
  EXPECT_EQ(s.mulOnRightAssign(id), diag);

  GeLinearMatrix3<T> m;
  m(0, 1) = 5;
  EXPECT_EQ((s * m)(0, 1), T(10));
  EXPECT_EQ(s.mulOnRightAssign(m)(0, 1), T(15));
}

TYPED_TEST(ScaleTranslation, ZeroFactorZeroesARowOrAColumn) {
  using T = TypeParam;
  Samples<T> gen;
  const GeScale3<T> s(1, 0, 1);
  const GeProjectiveMatrix3<T> m = gen.projective();
  const GeProjectiveMatrix3<T> left = s * m;
  GeProjectiveMatrix3<T> right = m;
  s.mulOnRightAssign(right);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(left(1, k), T(0));
    EXPECT_EQ(left(0, k), m(0, k));
    EXPECT_EQ(right(k, 1), T(0));
    EXPECT_EQ(right(k, 3), m(k, 3));
  }
}

TYPED_TEST(ScaleTranslation, ScaleProductsEqualTheGeneralProducts) {
  using T = TypeParam;
  Samples<T> gen;
  for (int i = 0; i < 20; ++i) {
    const GeScale3<T> s(gen.value(), gen.value(), gen.value());
    const GeLinearMatrix3<T> l = gen.linear();
    const GeAffineMatrix3<T> a = gen.affine();
    const GeProjectiveMatrix3<T> p = gen.projective();
    const GeLinearMatrix3<T> sl(s.x, 0, 0, 0, s.y, 0, 0, 0, s.z);

    EXPECT_EQ(s * l, sl * l);
    EXPECT_EQ(GeProjectiveMatrix3<T>(s * a), full(s) * GeProjectiveMatrix3<T>(a));
    EXPECT_EQ(s * p, full(s) * p);

    GeLinearMatrix3<T> l2 = l;
    EXPECT_EQ(s.mulOnRightAssign(l2), l * sl);
    GeAffineMatrix3<T> a2 = a;
    EXPECT_EQ(GeProjectiveMatrix3<T>(s.mulOnRightAssign(a2)), GeProjectiveMatrix3<T>(a) * full(s));
    GeProjectiveMatrix3<T> p2 = p;
    EXPECT_EQ(s.mulOnRightAssign(p2), p * full(s));
  }
}

TYPED_TEST(ScaleTranslation, TranslationProductsEqualTheGeneralProducts) {
  using T = TypeParam;
  Samples<T> gen;
  for (int i = 0; i < 20; ++i) {
    const GeTranslation3<T> t(gen.value(), gen.value(), gen.value());
    const GeLinearMatrix3<T> l = gen.linear();
    const GeAffineMatrix3<T> a = gen.affine();
    const GeProjectiveMatrix3<T> p = gen.projective();

    EXPECT_EQ(GeProjectiveMatrix3<T>(t * l), full(t) * GeProjectiveMatrix3<T>(l));
    EXPECT_TRUE(GeProjectiveMatrix3<T>(t.mulOnRight(l))
                    .isEqual(GeProjectiveMatrix3<T>(l) * full(t), tol<T>()));
    EXPECT_TRUE(
        GeProjectiveMatrix3<T>(t * a).isEqual(full(t) * GeProjectiveMatrix3<T>(a), tol<T>()));
    EXPECT_TRUE((t * p).isEqual(full(t) * p, tol<T>()));

    GeAffineMatrix3<T> a2 = a;
    EXPECT_TRUE(GeProjectiveMatrix3<T>(t.mulOnRightAssign(a2))
                    .isEqual(GeProjectiveMatrix3<T>(a) * full(t), tol<T>()));
    GeProjectiveMatrix3<T> p2 = p;
    EXPECT_TRUE(t.mulOnRightAssign(p2).isEqual(p * full(t), tol<T>()));
  }
}

TYPED_TEST(ScaleTranslation, TranslationFromTheLeftOnlyShiftsTheTranslation) {
  using T = TypeParam;
  Samples<T> gen;
  const GeTranslation3<T> t(1, 2, 3);
  GeAffineMatrix3<T> a = gen.affine();
  a.setTranslation(GeVector3<T>(10, 20, 30));
  const GeAffineMatrix3<T> r = t * a;
  EXPECT_EQ(r.getTranslation(), GeVector3<T>(11, 22, 33));
  EXPECT_EQ(r.getLinear(), a.getLinear());
  for (int c = 0; c < 4; ++c) EXPECT_EQ(r(3, c), c == 3 ? T(1) : T(0));
}

TYPED_TEST(ScaleTranslation, TranslationFromTheRightIsCarriedThroughTheMatrix) {
  using T = TypeParam;
  // A rotation by 90 degrees about z.
  const GeLinearMatrix3<T> rot(0, -1, 0, 1, 0, 0, 0, 0, 1);
  const GeTranslation3<T> t(1, 2, 3);
  const GeAffineMatrix3<T> r = t.mulOnRight(rot);
  EXPECT_EQ(r.getTranslation(), rot * GeVector3<T>(1, 2, 3));
  EXPECT_EQ(r.getLinear(), rot);

  GeProjectiveMatrix3<T> p;
  p(3, 2) = 1;
  p(3, 3) = 0;
  t.mulOnRightAssign(p);
  EXPECT_EQ(p(3, 3), T(3));
}

TYPED_TEST(ScaleTranslation, InPlaceProductsAllowReadingWhatTheyWrite) {
  using T = TypeParam;
  Samples<T> gen;
  const GeTranslation3<T> t(gen.value(), gen.value(), gen.value());
  GeAffineMatrix3<T> a = gen.affine();
  const GeAffineMatrix3<T> before = a;
  GeAffineMatrix3<T>& result = t.mulOnRightAssign(a);
  EXPECT_EQ(&result, &a);
  EXPECT_EQ(a.getLinear(), before.getLinear());
  EXPECT_EQ(a * GePoint3<T>(0, 0, 0), before * GePoint3<T>(t.x, t.y, t.z));
}

TYPED_TEST(ScaleTranslation, DumpWritesNameAndComponents) {
  using T = TypeParam;
  std::ostringstream os;
  os << GeScale3<T>(1, 2, 3) << ' ' << GeTranslation3<T>(T(-1.5), 0, 4);
  EXPECT_EQ(os.str(), "Scale3(1, 2, 3) Translation3(-1.5, 0, 4)");
}

}  // namespace
