// The LU templates themselves: pivot choice and parity, and every result of the vectorised
// kernels held bit for bit to a literal transcription of the algorithm.

#include <vezODedizezivuz/geMatrix3.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <utility>

#include "base/matrix3x3Imp.imp"
#include "testUtil.h"

namespace {

using namespace Vo;
using namespace Vo::MatrixImp;

// A literal, one-element-at-a-time transcription of the decomposition and the solve, to hold
// the vectorised kernels to: every element must come out with the same bits.
template <class T, int n>
struct Reference {
  T lu[n][n], scale[n], parity = T(1);
  int index[n];

  // m(r, c) = a[r][c].
  bool decompose(const T (&a)[n][n]) {
    for (int i = 0; i < n; ++i) {
      T big = T(0);
      for (int j = 0; j < n; ++j) big = std::max(big, GeScalar<T>::abs(lu[i][j] = a[i][j]));
      if (GeScalar<T>::isNegligible(big)) return false;
      scale[i] = T(1) / big;
    }
    for (int j = 0; j < n; ++j) {
      T big = T(0);
      int pmax = -1;
      for (int i = 0; i < n; ++i) {  // rows above j give U, the others the pivot candidates
        T& s = lu[i][j];
        for (int k = 0; k < std::min(i, j); ++k) s = s - lu[i][k] * lu[k][j];
        if (i >= j && scale[i] * GeScalar<T>::abs(s) >= big) {  // ties go to the later row
          big = scale[i] * GeScalar<T>::abs(s);
          pmax = i;
        }
      }
      if (pmax != j) parity = -parity;
      std::swap(lu[pmax], lu[j]);
      scale[pmax] = scale[j];
      index[j] = pmax;
      if (GeScalar<T>::isNegligible(lu[j][j])) return false;
      for (int i = j + 1; i < n; ++i) lu[i][j] = lu[i][j] * (T(1) / lu[j][j]);
    }
    return true;
  }

  // Solves for unit vector c into column c of inverse[r][c], skipping leading zeros.
  void invert(T (&inverse)[n][n]) const {
    for (int c = 0; c < n; ++c) {
      T x[n] = {};
      x[c] = T(1);
      for (int i = 0, first = -1; i < n; ++i) {
        T s = x[index[i]];
        x[index[i]] = x[i];
        if (first >= 0)
          for (int k = first; k < i; ++k) s = s - lu[i][k] * x[k];
        else if (s != T(0))
          first = i;
        x[i] = s;
      }
      for (int i = n - 1; i >= 0; --i) {
        for (int k = i + 1; k < n; ++k) x[i] = x[i] - lu[i][k] * x[k];
        x[i] = x[i] / lu[i][i];
      }
      for (int r = 0; r < n; ++r) inverse[r][c] = x[r];
    }
  }
};

// Inverts stressed matrices made by `make` from a[r][c] and holds the inverse and the determinant
// to the reference bit for bit; the kernel must also agree on which matrices are singular.
template <class T, int n, class Make>
void expectSameBitsAsReference(unsigned seed, Make make) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> real(-1.0, 1.0);
  int regulars = 0;
  for (int sample = 0; sample < 20000; ++sample) {
    T a[n][n], expected[n][n], got[n][n], det = std::numeric_limits<T>::quiet_NaN();
    // Ties from small integers, exact and negative zeros (the solve's skipped leading zeros), and
    // random values, some of them near the zero test.
    const unsigned kind = rng() % 3;
    for (auto& row : a)
      for (T& x : row)
        x = kind == 0   ? T(static_cast<int>(rng() % 5) - 2)
            : kind == 1 ? (rng() % 3 == 0 ? T(-0.0) : T(static_cast<int>(rng() % 3) - 1))
                        : T(real(rng)) * T(rng() % 4 == 0 ? 2e-6 : 1);
    const auto m = make(a);
    auto inverse = m;
    m.computeInverseAndDeterminant(inverse, det);
    Reference<T, n> ref;
    const bool regular = ref.decompose(a);
    ASSERT_EQ(std::isnan(det), !regular) << "singular? sample " << sample;  // NaN: untouched
    if (!regular) continue;
    ++regulars;
    T refDet = ref.parity;
    for (int i = 0; i < n; ++i) refDet = refDet * ref.lu[i][i];
    ref.invert(expected);
    for (int r = 0; r < n; ++r)
      for (int c = 0; c < n; ++c) got[r][c] = inverse(r, c);
    ASSERT_EQ(std::memcmp(got, expected, sizeof got), 0) << "inverse of sample " << sample;
    ASSERT_EQ(std::memcmp(&det, &refDet, sizeof det), 0) << "determinant of sample " << sample;
  }
  EXPECT_GT(regulars, 5000);
}

template <class T>
class Lu : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(Lu, Reals);

TYPED_TEST(Lu, TiesGoToTheLaterRowAndAllKindsMatchTheReferenceBitForBit) {
  using T = TypeParam;
  typename Matrix3x3Imp<T, RowMajor3>::Decomposition d;
  ASSERT_TRUE((Matrix3x3Imp<T, RowMajor3>::decompose(
      GeLinearMatrix3<T>(1, 0, 0, 1, 1, 0, 0, 0, 1).data(), d)));
  EXPECT_EQ(d.index[0], 1);
  EXPECT_EQ(d.parity, T(-1));
  expectSameBitsAsReference<T, 4>(
      4242, [](const T(&a)[4][4]) { return GeProjectiveMatrix3<T>(a, false); });
  const auto linear = [](const T(&a)[3][3]) {
    return GeLinearMatrix3<T>(a[0][0], a[0][1], a[0][2], a[1][0], a[1][1], a[1][2], a[2][0],
                              a[2][1], a[2][2]);
  };
  expectSameBitsAsReference<T, 3>(99, linear);  // both element orders of the 3x3 kernel
  expectSameBitsAsReference<T, 3>(
      99, [&](const T(&a)[3][3]) { return GeAffineMatrix3<T>(linear(a), GeVector3<T>(1, -2, 3)); });
}

}  // namespace
