#include <vezODedizezivuz/geScaleTranslation3.h>

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "testUtil.h"

namespace {

using namespace Vo;

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
template <class T, template <class> class M>
GeProjectiveMatrix3<T> wide(const M<T>& m) {
  return GeProjectiveMatrix3<T>(m);
}

TYPED_TEST(ScaleTranslation, SparseProductsFromBothSidesEqualTheGeneralProducts) {
  using T = TypeParam;
  std::mt19937 rng(31337);
  const auto value = [&] { return T(std::uniform_real_distribution<double>(-3, 3)(rng)); };
  const T tol = 100 * VoTest::tolerance<T>();
  for (int i = 0; i < 20; ++i) {
    const std::string name = "sample " + std::to_string(i);
    GeLinearMatrix3<T> l, l2;
    GeProjectiveMatrix3<T> p, p2;  // a full bottom row, which the translation must carry through
    for (int k = 0; k < 9; ++k) l.data()[k] = value();
    for (int k = 0; k < 16; ++k) p.data()[k] = value();
    const GeAffineMatrix3<T> a(l, GeVector3<T>(value(), value(), value()));
    GeAffineMatrix3<T> a2 = a;
    // A zero factor must still zero its row or column.
    const GeScale3<T> s(value(), i % 4 ? value() : T(0), value());
    const GeTranslation3<T> t(value(), value(), value());
    // The scale touches each element once: the results are exact.
    const GeHomogeneousCoord3<T> sv = full(s) * GeHomogeneousCoord3<T>(t.x, t.y, t.z, 0),
                                 sp = full(s) * GeHomogeneousCoord3<T>(t.x, t.y, t.z, 1);
    EXPECT_EQ(s * GeVector3<T>(t.x, t.y, t.z), GeVector3<T>(sv.x, sv.y, sv.z)) << name;
    EXPECT_EQ(s * GePoint3<T>(t.x, t.y, t.z), GePoint3<T>(sp.x, sp.y, sp.z)) << name;
    EXPECT_EQ(wide(s * l), full(s) * wide(l)) << name;
    EXPECT_EQ(wide(s * a), full(s) * wide(a)) << name;
    EXPECT_EQ(s * p, full(s) * p) << name;
    EXPECT_EQ(wide(s.mulOnRightAssign(l2 = l)), wide(l) * full(s)) << name;
    EXPECT_EQ(wide(s.mulOnRightAssign(a2)), wide(a) * full(s)) << name;
    EXPECT_EQ(s.mulOnRightAssign(p2 = p), p * full(s)) << name;
    EXPECT_EQ(wide(t * l), full(t) * wide(l)) << name;
    EXPECT_TRUE(wide(t.mulOnRight(l)).isEqual(wide(l) * full(t), tol)) << name;
    EXPECT_TRUE(wide(t * a).isEqual(full(t) * wide(a), tol)) << name;
    EXPECT_TRUE((t * p).isEqual(full(t) * p, tol)) << name;
    EXPECT_TRUE(wide(t.mulOnRightAssign(a2 = a)).isEqual(wide(a) * full(t), tol)) << name;
    EXPECT_TRUE(t.mulOnRightAssign(p2 = p).isEqual(p * full(t), tol)) << name;
  }
}

TYPED_TEST(ScaleTranslation, DumpWritesNameAndComponents) {
  using T = TypeParam;
  std::ostringstream os;
  os << GeScale3<T>(1, 2, 3) << ' ' << GeTranslation3<T>(T(-1.5), 0, 4);
  EXPECT_EQ(os.str(), "Scale3(1, 2, 3) Translation3(-1.5, 0, 4)");
}

}  // namespace
