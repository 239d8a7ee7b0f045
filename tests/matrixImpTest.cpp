// The LU operations on every instruction-set path: each held bit for bit to the portable path on
// seeded adversarial matrices.
//
// VO_LU_SAMPLES sets the number of matrices per element type and size (default 20000); CI runs
// the long variant with 1000000.

#include <vezODedizezivuz/geMatrix3.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "matrixLu.h"
#include "testUtil.h"

namespace {

using namespace Vo;
using MatrixLu::Path;

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
    std::memcpy(linear, a, sizeof linear);  // row by row, as a is stored
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
    const int e = Limits::max_exponent;
    return std::ldexp(x, static_cast<int>(rng() % (2 * e + 40)) - e - 20);
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
      for (T& x : row) {  // exactly one of these applies
        if (kind == 0) x = T(static_cast<int>(rng() % 5) - 2);
        if (kind == 1) x = rng() % 3 == 0 ? T(-0.0) : T(static_cast<int>(rng() % 3) - 1);
        if (kind == 2) x = uniform(), x = x * T(rng() % 4 == 0 ? 2e-6 : 1);
        if (kind > 2) x = kind == 4 ? scaled() : kind == 5 ? threshold() : uniform();
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

VO_REAL_TEST_SUITE(LuPaths);

template <class T, int n>
void everyPathMatchesThePortablePath(unsigned seed) {
  Generator<T, n> gen{std::mt19937_64(seed)};
  const char* samples = std::getenv("VO_LU_SAMPLES");
  long count = samples ? std::atol(samples) : 20000, regular = 0;
  for (long sample = 0; sample < count; ++sample) {
    T a[n][n], t[3], bottom[4];
    gen.next(a, t, bottom);
    const std::vector<T> portable = run(MatrixLu::ops<T>(Path::portable), a, t, bottom);
    regular += portable.back() == T(1);
    for (Path path : MatrixLu::allPaths) {
      if (path == Path::portable || !MatrixLu::isAvailable(path)) continue;
      const std::vector<T> got = run(MatrixLu::ops<T>(path), a, t, bottom);
      for (std::size_t i = 0; i < got.size(); ++i)  // the same bits, or NaN in both
        ASSERT_TRUE(VoTest::sameBitsOrNaN(got[i], portable[i]))
            << "path " << int(path) << ", sample " << sample << ", slot " << i << ": " << got[i]
            << " vs " << portable[i];
    }
  }
  EXPECT_GT(regular, count / 3);
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
