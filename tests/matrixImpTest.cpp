// The LU templates themselves: pivot choice and parity, and every result of the vectorised
// kernels held bit for bit to a literal transcription of the algorithm.

#include <vezODedizezivuz/geMatrix3.h>

#include <gtest/gtest.h>

#include <algorithm>
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

TYPED_TEST(LuDecomposition, TiesGoToTheLaterRowAndRowScalingDecidesThePivot) {
  using T = TypeParam;
  const GeLinearMatrix3<T> tie(1, 0, 0, 1, 1, 0, 0, 0, 1);
  typename Matrix3x3Imp<T, RowMajor3>::Decomposition d3;
  ASSERT_TRUE((Matrix3x3Imp<T, RowMajor3>::decompose(tie.data(), d3)));
  EXPECT_EQ(d3.index[0], 1);
  EXPECT_EQ(d3.parity, T(-1));
  EXPECT_EQ((Matrix3x3Imp<T, RowMajor3>::determinant(d3)), T(1));
  // Row 0 has the larger element in column 0 but an even larger one elsewhere: scaled, row 1
  // (0.5 / 1) beats row 0 (1 / 100).
  const GeProjectiveMatrix3<T> m(1, 100, 0, 0, T(0.5), 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
  typename Matrix4x4Imp<T, ColumnMajor4>::Decomposition d4;
  ASSERT_TRUE((Matrix4x4Imp<T, ColumnMajor4>::decompose(m.data(), d4)));
  EXPECT_EQ(d4.index[0], 1);
}

// A literal, one-element-at-a-time transcription of the decomposition and the solve, to hold
// the vectorised kernels to: every element must come out with the same bits.
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
      T big = T(0);
      int pmax = -1;
      for (int i = 0; i < n; ++i) {  // rows above j give U, the others the pivot candidates
        T s = lu[i][j];
        for (int k = 0; k < std::min(i, j); ++k) s = s - lu[i][k] * lu[k][j];
        lu[i][j] = s;
        if (i >= j && scale[i] * GeScalar<T>::abs(s) >= big) {
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

  // Solves for unit vector c into column c of inverse[r][c].
  void invert(T (&inverse)[n][n]) const {
    for (int c = 0; c < n; ++c) {
      T x[n] = {};
      x[c] = T(1);
      solve(x);
      for (int r = 0; r < n; ++r) inverse[r][c] = x[r];
    }
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
void stress(std::mt19937& rng, T (&a)[n][n]) {
  const unsigned kind = rng() % 5;
  std::uniform_real_distribution<double> real(-1.0, 1.0);
  for (auto& row : a)
    for (T& x : row)
      x = kind == 0   ? T(real(rng))
          : kind == 1 ? T(static_cast<int>(rng() % 5) - 2)
          : kind == 2 ? (rng() % 2 ? T(0) : T(real(rng)))
          : kind == 3 ? (rng() % 3 == 0 ? T(-0.0) : T(static_cast<int>(rng() % 3) - 1))
                      : T(real(rng)) * T(rng() % 4 == 0 ? 2e-6 : 1);
}

// Inverts stressed matrices made by `make` from a[r][c] and holds the inverse, the determinant and
// the pivots to the reference bit for bit; a singular matrix must leave both outputs untouched.
template <class T, int n, class Imp, class Make>
void expectSameBitsAsReference(unsigned seed, Make make) {
  std::mt19937 rng(seed);
  int regular = 0;
  for (int sample = 0; sample < 20000; ++sample) {
    T a[n][n], expected[n][n];
    stress(rng, a);
    const auto m = make(a);
    auto inverse = m;
    inverse.setIdentity();
    inverse.data()[1] = T(42);
    const auto untouched = inverse;
    T det = T(7);
    m.computeInverseAndDeterminant(inverse, det);
    Reference<T, n> ref;
    const bool ok = ref.decompose(a);
    typename Imp::Decomposition d;
    ASSERT_EQ(Imp::decompose(m.data(), d), ok) << "sample " << sample;
    if (!ok) {
      ASSERT_EQ(inverse, untouched) << "sample " << sample;
      ASSERT_EQ(det, T(7)) << "sample " << sample;
      continue;
    }
    ++regular;
    ref.invert(expected);
    for (int r = 0; r < n; ++r)
      for (int c = 0; c < n; ++c)
        ASSERT_TRUE(sameBits(inverse(r, c), expected[r][c]))
            << "sample " << sample << " element " << r << c << ": " << inverse(r, c) << " vs "
            << expected[r][c];
    ASSERT_TRUE(sameBits(det, ref.determinant())) << "sample " << sample;
    for (int i = 0; i < n; ++i) ASSERT_EQ(d.index[i], ref.index[i]) << "sample " << sample;
  }
  EXPECT_GT(regular, 5000);
}

template <class T>
class LuAgainstReference : public ::testing::Test {};
TYPED_TEST_SUITE(LuAgainstReference, Reals);

TYPED_TEST(LuAgainstReference, ProjectiveInverseDeterminantAndPivotsMatchBitForBit) {
  using T = TypeParam;
  expectSameBitsAsReference<T, 4, Matrix4x4Imp<T, ColumnMajor4>>(4242, [](const T(&a)[4][4]) {
    GeProjectiveMatrix3<T> m;
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) m(r, c) = a[r][c];
    return m;
  });
}

TYPED_TEST(LuAgainstReference, LinearAndAffineMatchBitForBitInBothElementOrders) {
  using T = TypeParam;
  const auto linear = [](const T(&a)[3][3]) {
    return GeLinearMatrix3<T>(a[0][0], a[0][1], a[0][2], a[1][0], a[1][1], a[1][2], a[2][0],
                              a[2][1], a[2][2]);
  };
  expectSameBitsAsReference<T, 3, Matrix3x3Imp<T, RowMajor3>>(99, linear);
  expectSameBitsAsReference<T, 3, Matrix3x3Imp<T, ColumnMajor4>>(
      99, [&](const T(&a)[3][3]) { return GeAffineMatrix3<T>(linear(a), GeVector3<T>(1, -2, 3)); });
}

}  // namespace
