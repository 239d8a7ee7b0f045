// The LU operations on every instruction-set path: each held bit for bit to the portable path on
// seeded adversarial matrices, the portable path held to a literal transcription of the
// algorithm.
//
// VO_LU_SAMPLES sets the number of matrices per element type and size (default 20000); CI runs
// the long variant with 1000000.

#include <vezODedizezivuz/geMatrix3.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "matrixLu.h"

namespace {

using namespace Vo;
using MatrixLu::Path;

// A literal, one-element-at-a-time transcription of the decomposition and the solve, to hold
// the portable path to: every element must come out with the same bits. Element (r, c) of the
// n x n input is m[rs * r + cs * c]; a 3x3 part stored by column (cs 4) is affine, with its
// translation in m[12..14]. Like the kernels it reads all of m before writing out. Its zero test
// is the library's own, which holds the thresholds written in the kernels to it.
template <class T, int n, int rs, int cs, bool bottomRow = false>
bool transcription(const T* m, T* out, T* det) noexcept {
  T lu[n][n], scale[n], parity = T(1), inv[n][n], t[3] = {};
  int index[n];
  for (int i = 0; i < n; ++i) {
    T big = T(0);
    for (int j = 0; j < n; ++j)
      big = std::max(big, GeScalar<T>::abs(lu[i][j] = m[rs * i + cs * j]));
    if (GeScalar<T>::isNegligible(big)) return false;
    scale[i] = T(1) / big;
  }
  for (int j = 0; j < n; ++j) {
    T big = T(0);
    int pmax = -1;
    for (int i = 0; i < n; ++i) {  // rows above j give U, the others the pivot candidates
      T& s = lu[i][j];
      for (int k = 0; k < std::min(i, j); ++k) s = s - lu[i][k] * lu[k][j];
      if (i >= j && scale[i] * GeScalar<T>::abs(s) >= big)  // ties go to the later row
        big = scale[i] * GeScalar<T>::abs(s), pmax = i;
    }
    if (pmax < 0) return false;
    if (pmax != j) parity = -parity;
    std::swap(lu[pmax], lu[j]);
    scale[pmax] = scale[j];
    index[j] = pmax;
    if (GeScalar<T>::isNegligible(lu[j][j])) return false;
    for (int i = j + 1; i < n; ++i) lu[i][j] = lu[i][j] * (T(1) / lu[j][j]);
  }
  for (int c = 0; c < n; ++c) {  // unit vector c into column c, skipping leading zeros
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
    for (int r = 0; r < n; ++r) inv[r][c] = x[r];
  }
  constexpr bool affine = n == 3 && cs == 4;
  for (int i = 0; affine && i < 3; ++i)
    t[i] = -(inv[i][0] * m[12] + inv[i][1] * m[13] + inv[i][2] * m[14]);
  for (int r = 0; r < n; ++r)
    for (int c = 0; c < n; ++c) out[rs * r + cs * c] = inv[r][c];
  for (int i = 0; affine && i < 3; ++i) out[12 + i] = t[i];
  if (bottomRow) out[3] = out[7] = out[11] = T(0), out[15] = T(1);
  for (int i = 0; det && i <= n; ++i) *det = i == 0 ? parity : *det * lu[i - 1][i - 1];
  return true;
}

template <class T>
MatrixLu::Ops<T> transcribedOps() {
  return {
      [](const T* m, T* out) noexcept { return transcription<T, 3, 3, 1>(m, out, nullptr); },
      [](const T* m, T* out, T* det) noexcept { return transcription<T, 3, 3, 1>(m, out, det); },
      [](const T* m, T* out) noexcept { return transcription<T, 3, 1, 4, true>(m, out, nullptr); },
      [](const T* m, T* out, T* det) noexcept { return transcription<T, 3, 1, 4>(m, out, det); },
      [](const T* m, T* out) noexcept { return transcription<T, 4, 1, 4>(m, out, nullptr); },
      [](const T* m, T* out, T* det) noexcept { return transcription<T, 4, 1, 4>(m, out, det); },
      [](const T* m) noexcept {
        T out[16], det = T(0);
        transcription<T, 4, 1, 4>(m, out, &det);
        return det;
      }};
}

// Everything the operations of one path produce for one matrix a, flattened, each regularity as
// 0 or 1: for 3x3 the linear operations and the affine ones (translation t, stored bottom row,
// the second in place), for 4x4 the projective ones (the second in place). Outputs start as a
// sentinel, so "nothing written" is checked too.
template <class T, int n>
std::vector<T> run(const MatrixLu::Ops<T>& ops, const T (&a)[n][n], const T (&t)[3],
                   const T (&bottom)[4]) {
  std::vector<T> r(n == 3 ? 56 : 36, T(-12345.5));
  T *v = r.data(), m[16], linear[9];
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) m[4 * j + i] = a[i][j];
  if constexpr (n == 3) {
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) linear[3 * i + j] = a[i][j];
    for (int i = 0; i < 3; ++i) m[12 + i] = t[i], m[4 * i + 3] = bottom[i];
    m[15] = bottom[3];
    v[52] = ops.linearInverse(linear, v);
    v[53] = ops.linearInverseAndDeterminant(linear, v + 9, v + 18);
    v[54] = ops.affineInverse(m, v + 19);
    std::copy(m, m + 16, v + 35);
    v[55] = ops.affineInverseAndDeterminant(v + 35, v + 35, v + 51);
  } else {
    v[34] = ops.projectiveInverse(m, v);
    std::copy(m, m + 16, v + 16);
    v[35] = ops.projectiveInverseAndDeterminant(v + 16, v + 16, v + 32);
    v[33] = ops.projectiveDeterminant(m);
  }
  return r;
}

// Same bits, or NaN in both: which operand's payload a NaN result carries depends on the order
// of the operands of × and +, which the compiler may swap; the value stays NaN.
template <class T>
::testing::AssertionResult same(const std::vector<T>& got, const std::vector<T>& want) {
  for (std::size_t i = 0; i < got.size(); ++i)
    if (std::memcmp(&got[i], &want[i], sizeof(T)) != 0 &&
        !(std::isnan(got[i]) && std::isnan(want[i])))
      return ::testing::AssertionFailure() << "slot " << i << ": " << got[i] << " vs " << want[i];
  return ::testing::AssertionSuccess();
}

// Seeded adversarial matrices: ties in the pivot choice, exact and negative zeros (the solve's
// skipped leading zeros), near-singular rows, values around the negligible threshold, huge and
// tiny scales (overflow, subnormals), NaN of either sign and any payload, infinities.
template <class T, int n>
struct Generator {
  std::mt19937_64 rng;
  using Limits = std::numeric_limits<T>;

  T uniform() { return T(std::uniform_real_distribution<double>(-1.0, 1.0)(rng)); }
  T scaled() {
    const T x = uniform();  // drawn first on every compiler
    return std::ldexp(
        x, static_cast<int>(rng() % (2 * Limits::max_exponent + 40)) - Limits::max_exponent - 20);
  }
  T threshold() {
    const T tol = sizeof(T) == 4 ? T(1e-6) : T(1e-7);
    const T values[] = {tol, std::nextafter(tol, T(0)), std::nextafter(tol, T(1)), T(1), T(0)};
    const T x = values[rng() % 5];
    return rng() % 2 ? -x : x;
  }
  T special() {
    using Bits = std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>;
    Bits b;
    T nan = Limits::quiet_NaN();
    std::memcpy(&b, &nan, sizeof b);
    b |= Bits(rng()) & (Bits(-1) >> (sizeof(T) == 4 ? 10 : 13));  // payload
    if (rng() % 2) b |= Bits(1) << (8 * sizeof(T) - 1);           // sign
    std::memcpy(&nan, &b, sizeof b);
    const T values[] = {nan, Limits::infinity(), -Limits::infinity(), Limits::max(),
                        Limits::denorm_min()};
    return values[rng() % 5];
  }

  void next(T (&a)[n][n], T (&t)[3], T (&bottom)[4]) {
    const unsigned kind = rng() % 7;
    for (auto& row : a)
      for (T& x : row) {
        if (kind == 0)
          x = T(static_cast<int>(rng() % 5) - 2);
        else if (kind == 1)
          x = rng() % 3 == 0 ? T(-0.0) : T(static_cast<int>(rng() % 3) - 1);
        else if (kind == 2)
          x = uniform(), x = x * T(rng() % 4 == 0 ? 2e-6 : 1);
        else
          x = kind == 4 ? scaled() : kind == 5 ? threshold() : uniform();
      }
    if (kind == 3) {  // a row that is nearly the sum of two others
      const int r = static_cast<int>(rng() % n);
      for (int c = 0; c < n; ++c) {
        const T sum = a[(r + 1) % n][c] + a[(r + 2) % n][c];
        a[r][c] = rng() % 2 ? sum : std::nextafter(sum, rng() % 2 ? T(2) : T(-2));
      }
    }
    for (unsigned k = kind == 6 ? 1 + rng() % 2 : 0; k > 0; --k) {
      const auto r = rng() % n, c = rng() % n;
      a[r][c] = special();
    }
    for (T& x : t) x = kind == 6 && rng() % 4 == 0 ? special() : uniform() * T(100);
    for (T& x : bottom) x = uniform();
  }
};

template <class T>
class LuPaths : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(LuPaths, Reals);

template <class T, int n>
void everyPathMatchesThePortablePath(unsigned seed) {
  Generator<T, n> gen{std::mt19937_64(seed)};
  const MatrixLu::Ops<T> transcribed = transcribedOps<T>();
  const auto finite = [](const T* p, int k) {
    return std::all_of(p, p + k, [](T x) { return std::isfinite(x); });
  };
  const char* samples = std::getenv("VO_LU_SAMPLES");
  const long count = samples ? std::atol(samples) : 20000;
  long regular = 0, transcribedChecks = 0;
  for (long sample = 0; sample < count; ++sample) {
    T a[n][n], t[3], bottom[4];
    gen.next(a, t, bottom);
    const std::vector<T> portable = run(MatrixLu::ops<T>(Path::portable), a, t, bottom);
    regular += portable.back() == T(1);
    // The transcription's row maximum treats NaN differently from the vector maximum, so it
    // speaks for finite input only.
    if (finite(&a[0][0], n * n) && finite(t, 3)) {
      ++transcribedChecks;
      ASSERT_TRUE(same(portable, run(transcribed, a, t, bottom)))
          << "portable against the transcription, sample " << sample;
    }
    for (Path path : MatrixLu::allPaths) {
      if (path == Path::portable || !MatrixLu::isAvailable(path)) continue;
      ASSERT_TRUE(same(run(MatrixLu::ops<T>(path), a, t, bottom), portable))
          << "path " << int(path) << " against portable, sample " << sample;
    }
  }
  EXPECT_GT(regular, count / 3);
  EXPECT_GT(transcribedChecks, count / 2);
}

TYPED_TEST(LuPaths, EveryPathGivesThePortableBitsOnAdversarialMatrices) {
  everyPathMatchesThePortablePath<TypeParam, 3>(3);
  everyPathMatchesThePortablePath<TypeParam, 4>(4);
}

// The matrices' members run the chosen path, which must be available and the widest one.
TEST(LuPaths, TheWidestAvailablePathIsChosen) {
  const Path best = MatrixLu::bestPath();
  for (Path path : MatrixLu::allPaths)
    EXPECT_TRUE(MatrixLu::isAvailable(best) && (!MatrixLu::isAvailable(path) || path <= best))
        << "path " << int(path);
}

}  // namespace
