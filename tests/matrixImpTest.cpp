// The LU templates themselves: pivot choice, parity and the skipped leading zeros of the solve.

#include <vezODedizezivuz/geMatrix3.h>

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <utility>

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
    for (int j = 0; j < 3; ++j) EXPECT_EQ(dr.at(i, j), dc.at(i, j));
  }
}

}  // namespace

namespace {

// A literal, one-element-at-a-time transcription of the decomposition and the solve, to hold
// the vectorised kernel to: every element must come out with the same bits.
template <class T, int n>
struct Reference {
  T lu[n][n];
  int index[n];
  T parity;

  // m(r, c) = a[r][c].
  bool decompose(const T (&a)[n][n]) {
    T scale[n];
    parity = T(1);
    for (int i = 0; i < n; ++i) {
      T big = GeScalar<T>::abs(a[i][0]);
      for (int j = 0; j < n; ++j) {
        lu[i][j] = a[i][j];
        if (GeScalar<T>::abs(a[i][j]) > big) big = GeScalar<T>::abs(a[i][j]);
      }
      if (GeScalar<T>::isNegligible(big)) return false;
      scale[i] = T(1) / big;
    }
    for (int j = 0; j < n; ++j) {
      for (int i = 0; i < j; ++i) {
        T s = lu[i][j];
        for (int k = 0; k < i; ++k) s = s - lu[i][k] * lu[k][j];
        lu[i][j] = s;
      }
      T big = T(0);
      int pmax = -1;
      for (int i = j; i < n; ++i) {
        T s = lu[i][j];
        for (int k = 0; k < j; ++k) s = s - lu[i][k] * lu[k][j];
        lu[i][j] = s;
        if (scale[i] * GeScalar<T>::abs(s) >= big) {
          big = scale[i] * GeScalar<T>::abs(s);
          pmax = i;
        }
      }
      if (pmax < 0) return false;
      if (pmax != j) {
        for (int k = 0; k < n; ++k) std::swap(lu[pmax][k], lu[j][k]);
        parity = -parity;
        scale[pmax] = scale[j];
      }
      index[j] = pmax;
      if (GeScalar<T>::isNegligible(lu[j][j])) return false;
      const T inv = T(1) / lu[j][j];
      for (int i = j + 1; i < n; ++i) lu[i][j] = lu[i][j] * inv;
    }
    return true;
  }

  void solve(T (&x)[n]) const {
    int first = -1;
    for (int i = 0; i < n; ++i) {
      const int p = index[i];
      T s = x[p];
      x[p] = x[i];
      if (first >= 0) {
        for (int k = first; k < i; ++k) s = s - lu[i][k] * x[k];
      } else if (s != T(0)) {
        first = i;
      }
      x[i] = s;
    }
    for (int i = n - 1; i >= 0; --i) {
      T s = x[i];
      for (int k = i + 1; k < n; ++k) s = s - lu[i][k] * x[k];
      x[i] = s / lu[i][i];
    }
  }

  // inverse[r][c]
  void invert(T (&inverse)[n][n]) const {
    for (int c = 0; c < n; ++c) {
      T x[n] = {};
      x[c] = T(1);
      solve(x);
      for (int r = 0; r < n; ++r) inverse[r][c] = x[r];
    }
  }

  T determinant() const {
    T det = parity;
    for (int i = 0; i < n; ++i) det = det * lu[i][i];
    return det;
  }
};

template <class T>
bool sameBits(T a, T b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// Matrices that stress the pivoting: ties from small integers, exact zeros and negative zeros
// (the solve's skipped leading zeros), rows near the zero test, and plain random values.
template <class T, int n>
class Stress {
 public:
  explicit Stress(unsigned seed) : rng(seed) {}

  void next(T (&a)[n][n]) {
    const int kind = static_cast<int>(rng() % 5);
    std::uniform_real_distribution<double> real(-1.0, 1.0);
    for (int r = 0; r < n; ++r) {
      for (int c = 0; c < n; ++c) {
        switch (kind) {
          case 0:
            a[r][c] = T(real(rng));
            break;
          case 1:
            a[r][c] = T(static_cast<int>(rng() % 5) - 2);
            break;
          case 2:
            a[r][c] = rng() % 2 ? T(0) : T(real(rng));
            break;
          case 3:
            a[r][c] = rng() % 3 == 0 ? T(-0.0) : T(static_cast<int>(rng() % 3) - 1);
            break;
          default:
            a[r][c] = T(real(rng)) * T(rng() % 4 == 0 ? 2e-6 : 1);
            break;
        }
      }
    }
  }

 private:
  std::mt19937 rng;
};

template <class T>
class LuAgainstReference : public ::testing::Test {};
TYPED_TEST_SUITE(LuAgainstReference, Reals);

TYPED_TEST(LuAgainstReference, ProjectiveInverseAndDeterminantMatchBitForBit) {
  using T = TypeParam;
  Stress<T, 4> gen(4242);
  int regular = 0;
  for (int sample = 0; sample < 20000; ++sample) {
    T a[4][4];
    gen.next(a);
    GeProjectiveMatrix3<T> m;
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) m(r, c) = a[r][c];
    Reference<T, 4> ref;
    const bool ok = ref.decompose(a);
    const GeProjectiveMatrix3<T> untouched(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    GeProjectiveMatrix3<T> inverse = untouched;
    T det = T(7);
    m.computeInverseAndDeterminant(inverse, det);
    if (!ok) {
      ASSERT_EQ(inverse, untouched) << "sample " << sample;
      ASSERT_EQ(det, T(7)) << "sample " << sample;
      ASSERT_EQ(m.computeDeterminant(), T(0)) << "sample " << sample;
      continue;
    }
    ++regular;
    T expected[4][4];
    ref.invert(expected);
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c)
        ASSERT_TRUE(sameBits(inverse(r, c), expected[r][c]))
            << "sample " << sample << " element " << r << c << ": " << inverse(r, c) << " vs "
            << expected[r][c];
    ASSERT_TRUE(sameBits(det, ref.determinant())) << "sample " << sample;
    typename Matrix4x4Imp<T, ColumnMajor4>::Decomposition d;
    ASSERT_TRUE((Matrix4x4Imp<T, ColumnMajor4>::decompose(m.data(), d)));
    for (int i = 0; i < 4; ++i) ASSERT_EQ(d.index[i], ref.index[i]) << "sample " << sample;
  }
  EXPECT_GT(regular, 5000);
}

TYPED_TEST(LuAgainstReference, LinearAndAffineInversesMatchBitForBit) {
  using T = TypeParam;
  Stress<T, 3> gen(99);
  int regular = 0;
  for (int sample = 0; sample < 20000; ++sample) {
    T a[3][3];
    gen.next(a);
    const GeLinearMatrix3<T> m(a[0][0], a[0][1], a[0][2], a[1][0], a[1][1], a[1][2], a[2][0],
                               a[2][1], a[2][2]);
    const GeAffineMatrix3<T> affine(m, GeVector3<T>(1, -2, 3));
    Reference<T, 3> ref;
    const bool ok = ref.decompose(a);
    GeLinearMatrix3<T> inverse(9, 8, 7, 6, 5, 4, 3, 2, 1);
    const GeLinearMatrix3<T> untouched = inverse;
    GeAffineMatrix3<T> affineInverse(untouched, GeVector3<T>(5, 5, 5));
    const GeAffineMatrix3<T> affineUntouched = affineInverse;
    T det = T(7), affineDet = T(7);
    m.computeInverseAndDeterminant(inverse, det);
    affine.computeInverseAndDeterminant(affineInverse, affineDet);
    if (!ok) {
      ASSERT_EQ(inverse, untouched) << "sample " << sample;
      ASSERT_EQ(affineInverse, affineUntouched) << "sample " << sample;
      ASSERT_EQ(det, T(7));
      ASSERT_EQ(affineDet, T(7));
      continue;
    }
    ++regular;
    T expected[3][3];
    ref.invert(expected);
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) {
        ASSERT_TRUE(sameBits(inverse(r, c), expected[r][c]))
            << "sample " << sample << " element " << r << c;
        ASSERT_TRUE(sameBits(affineInverse(r, c), expected[r][c]))
            << "sample " << sample << " element " << r << c;
      }
    ASSERT_TRUE(sameBits(det, ref.determinant())) << "sample " << sample;
    ASSERT_TRUE(sameBits(affineDet, ref.determinant())) << "sample " << sample;
  }
  EXPECT_GT(regular, 5000);
}

}  // namespace
