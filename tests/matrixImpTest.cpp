// The LU templates themselves: pivot choice, parity and the skipped leading zeros of the solve.

#include <vezODedizezivuz/geMatrix3.h>

#include <gtest/gtest.h>

#include "base/matrix3x3Imp.imp"
#include "base/matrix4x4Imp.imp"
#include "testUtil.h"

namespace {

using namespace Vo;
using namespace Vo::MatrixImp;

template <class T>
class LuDecomposition : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(LuDecomposition, Reals);

TYPED_TEST(LuDecomposition, TiesGoToTheLaterRow) {
  using T = TypeParam;
  const GeLinearMatrix3<T> m(1, 0, 0, 1, 1, 0, 0, 0, 1);
  using Imp = Matrix3x3Imp<T, RowMajor3>;
  typename Imp::Decomposition d;
  ASSERT_TRUE(Imp::decompose(m.data(), d));
  EXPECT_EQ(d.index[0], 1);
  EXPECT_EQ(d.parity, T(-1));
  EXPECT_EQ(Imp::determinant(d), T(1));
}

TYPED_TEST(LuDecomposition, RowScalingDecidesThePivotNotTheRawMagnitude) {
  using T = TypeParam;
  // Row 0 has the larger element in column 0 but an even larger one elsewhere: scaled, row 1
  // (0.5 / 1) beats row 0 (1 / 100).
  GeProjectiveMatrix3<T> m(1, 100, 0, 0, T(0.5), 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
  using Imp = Matrix4x4Imp<T, ColumnMajor4>;
  typename Imp::Decomposition d;
  ASSERT_TRUE(Imp::decompose(m.data(), d));
  EXPECT_EQ(d.index[0], 1);
  EXPECT_EQ(d.index[2], 2);
  EXPECT_EQ(d.index[3], 3);
}

TYPED_TEST(LuDecomposition, BothElementOrdersOfTheThreeByThreeAgree) {
  using T = TypeParam;
  const GeLinearMatrix3<T> m(2, -1, 3, 1, 4, -2, 5, 0, 1);
  const GeAffineMatrix3<T> a(m);
  typename Matrix3x3Imp<T, RowMajor3>::Decomposition dr;
  typename Matrix3x3Imp<T, ColumnMajor4>::Decomposition dc;
  ASSERT_TRUE((Matrix3x3Imp<T, RowMajor3>::decompose(m.data(), dr)));
  ASSERT_TRUE((Matrix3x3Imp<T, ColumnMajor4>::decompose(a.data(), dc)));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(dr.index[i], dc.index[i]);
    for (int j = 0; j < 3; ++j) EXPECT_EQ(dr.lu[i][j], dc.lu[i][j]);
  }
}

}  // namespace
