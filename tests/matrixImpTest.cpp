// The LU operations on every instruction-set path: each held bit for bit to the portable path on
// seeded adversarial matrices, the portable path held to a literal transcription of the
// algorithm, and the matrices' public members shown to run the chosen path.
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

#include "matrixLu.h"

namespace {

using namespace Vo;
using MatrixLu::Path;

// A literal, one-element-at-a-time transcription of the decomposition and the solve, to hold
// the portable path to: every element must come out with the same bits.
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
      if (pmax < 0) return false;
      if (pmax != j) parity = -parity;
      std::swap(lu[pmax], lu[j]);
      scale[pmax] = scale[j];
      index[j] = pmax;
      if (GeScalar<T>::isNegligible(lu[j][j])) return false;
      for (int i = j + 1; i < n; ++i) lu[i][j] = lu[i][j] * (T(1) / lu[j][j]);
    }
    return true;
  }

  T determinant() const {
    T det = parity;
    for (int i = 0; i < n; ++i) det = det * lu[i][i];
    return det;
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

// Everything the operations of one path produce for one matrix a (n x n, with translation t for
// the affine ones), flattened. Outputs start as a sentinel, so "nothing written" is checked too.
template <class T, int n>
struct Results {
  static constexpr int size = n == 3 ? 9 + 10 + 16 + 17 : 16 + 17 + 1;
  T v[size];
  bool ok[4];
};

template <class T>
constexpr T sentinel = T(-12345.5);

template <class T>
Results<T, 3> run(const MatrixLu::Ops<T>& ops, const T (&a)[3][3], const T (&t)[3],
                  const T (&bottom)[4]) {
  Results<T, 3> r;
  std::fill(std::begin(r.v), std::end(r.v), sentinel<T>);
  T linear[9], affine[16];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) linear[3 * i + j] = affine[4 * j + i] = a[i][j];
  for (int i = 0; i < 3; ++i) affine[12 + i] = t[i], affine[4 * i + 3] = bottom[i];
  affine[15] = bottom[3];
  T* v = r.v;
  r.ok[0] = ops.linearInverse(linear, v);
  r.ok[1] = ops.linearInverseAndDeterminant(linear, v + 9, v + 18);
  r.ok[2] = ops.affineInverse(affine, v + 19);
  // In place, as the members allow: the bottom row must stay.
  T* inPlace = v + 35;
  std::memcpy(inPlace, affine, sizeof affine);
  r.ok[3] = ops.affineInverseAndDeterminant(inPlace, inPlace, v + 51);
  return r;
}

template <class T>
Results<T, 4> run(const MatrixLu::Ops<T>& ops, const T (&a)[4][4], const T (&)[3], const T (&)[4]) {
  Results<T, 4> r;
  std::fill(std::begin(r.v), std::end(r.v), sentinel<T>);
  T m[16];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) m[4 * j + i] = a[i][j];
  T* v = r.v;
  r.ok[0] = ops.projectiveInverse(m, v);
  T* inPlace = v + 16;
  std::memcpy(inPlace, m, sizeof m);
  r.ok[1] = ops.projectiveInverseAndDeterminant(inPlace, inPlace, v + 32);
  v[33] = ops.projectiveDeterminant(m);
  r.ok[2] = r.ok[0];
  r.ok[3] = r.ok[0];
  return r;
}

// What the reference computes for the same slots.
template <class T, int n>
Results<T, n> expected(const T (&a)[n][n], const T (&t)[3], const T (&bottom)[4]) {
  Results<T, n> r;
  std::fill(std::begin(r.v), std::end(r.v), sentinel<T>);
  Reference<T, n> ref;
  const bool regular = ref.decompose(a);
  std::fill(std::begin(r.ok), std::end(r.ok), regular);
  T inv[n][n] = {};
  if (regular) ref.invert(inv);
  T* v = r.v;
  // The in-place slots hold the input when nothing is written.
  const auto& m = regular ? inv : a;
  if constexpr (n == 3) {
    T affine[16];
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) affine[4 * j + i] = m[i][j];
      affine[12 + i] = regular ? -(inv[i][0] * t[0] + inv[i][1] * t[1] + inv[i][2] * t[2]) : t[i];
      affine[4 * i + 3] = bottom[i];
    }
    affine[15] = bottom[3];
    std::memcpy(v + 35, affine, sizeof affine);
    if (!regular) return r;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) v[3 * i + j] = v[9 + 3 * i + j] = inv[i][j];
    for (int i = 0; i < 4; ++i) affine[4 * i + 3] = T(i == 3);
    std::memcpy(v + 19, affine, sizeof affine);
    v[18] = v[51] = ref.determinant();
  } else {
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 4; ++j) v[16 + 4 * j + i] = m[i][j];
    v[33] = T(0);  // the determinant of a singular matrix
    if (!regular) return r;
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 4; ++j) v[4 * j + i] = inv[i][j];
    v[32] = v[33] = ref.determinant();
  }
  return r;
}

// Same bits, or NaN in both (counted: which operand's payload a NaN result carries depends on
// the order of the operands of × and +, which the compiler may swap; the value stays NaN).
template <class T, int n>
::testing::AssertionResult same(const Results<T, n>& got, const Results<T, n>& want,
                                long& nanPayloads) {
  for (int i = 0; i < 4; ++i)
    if (got.ok[i] != want.ok[i]) return ::testing::AssertionFailure() << "regularity of op " << i;
  for (int i = 0; i < Results<T, n>::size; ++i) {
    if (std::memcmp(&got.v[i], &want.v[i], sizeof(T)) == 0) continue;
    if (std::isnan(got.v[i]) && std::isnan(want.v[i])) {
      ++nanPayloads;
      continue;
    }
    return ::testing::AssertionFailure() << "slot " << i << ": " << got.v[i] << " vs " << want.v[i];
  }
  return ::testing::AssertionSuccess();
}

// Seeded adversarial matrices: ties in the pivot choice, exact and negative zeros (the solve's
// skipped leading zeros), near-singular rows, values around the negligible threshold, huge and
// tiny scales (overflow, subnormals), NaN of either sign and any payload, infinities.
template <class T, int n>
struct Generator {
  std::mt19937_64 rng;
  explicit Generator(unsigned seed) : rng(seed) {}

  T uniform() { return T(std::uniform_real_distribution<double>(-1.0, 1.0)(rng)); }
  T scaled() {
    const int e = std::numeric_limits<T>::max_exponent;
    const T x = uniform();  // drawn first on every compiler
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
    T nan = std::numeric_limits<T>::quiet_NaN();
    std::memcpy(&b, &nan, sizeof b);
    b |= Bits(rng()) & (Bits(-1) >> (sizeof(T) == 4 ? 10 : 13));  // payload
    if (rng() % 2) b |= Bits(1) << (8 * sizeof(T) - 1);           // sign
    std::memcpy(&nan, &b, sizeof b);
    const T values[] = {nan, std::numeric_limits<T>::infinity(),
                        -std::numeric_limits<T>::infinity(), std::numeric_limits<T>::max(),
                        std::numeric_limits<T>::denorm_min()};
    return values[rng() % 5];
  }

  void next(T (&a)[n][n], T (&t)[3], T (&bottom)[4]) {
    const unsigned kind = rng() % 7;
    for (auto& row : a) {
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
    }
    if (kind == 3) {  // a row that is nearly the sum of two others
      const int r = static_cast<int>(rng() % n);
      for (int c = 0; c < n; ++c) {
        const T sum = a[(r + 1) % n][c] + a[(r + 2) % n][c];
        a[r][c] = rng() % 2 ? sum : std::nextafter(sum, rng() % 2 ? T(2) : T(-2));
      }
    }
    if (kind == 6)
      for (unsigned k = 1 + rng() % 2; k > 0; --k) {
        const auto r = rng() % n, c = rng() % n;
        a[r][c] = special();
      }
    for (T& x : t) x = kind == 6 && rng() % 4 == 0 ? special() : uniform() * T(100);
    for (T& x : bottom) x = uniform();
  }
};

long sampleCount() {
  const char* s = std::getenv("VO_LU_SAMPLES");
  return s ? std::atol(s) : 20000;
}

template <class T>
bool finite(const T* p, int count) {
  return std::all_of(p, p + count, [](T x) { return std::isfinite(x); });
}

const char* name(Path p) {
  static const char* const names[] = {"portable", "sse2", "avx2"};
  return names[static_cast<int>(p)];
}

template <class T>
class LuPaths : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(LuPaths, Reals);

template <class T, int n>
void everyPathMatchesThePortablePath(unsigned seed) {
  Generator<T, n> gen(seed);
  long nanPayloads = 0, pathNanPayloads = 0, regular = 0, referenceChecked = 0;
  const long count = sampleCount();
  for (long sample = 0; sample < count; ++sample) {
    T a[n][n], t[3], bottom[4];
    gen.next(a, t, bottom);
    const Results<T, n> portable = run(MatrixLu::ops<T>(Path::portable), a, t, bottom);
    regular += portable.ok[0];
    // The transcription's row maximum treats NaN differently from the vector maximum, so it
    // speaks for finite input only.
    if (finite(&a[0][0], n * n) && finite(t, 3)) {
      ++referenceChecked;
      ASSERT_TRUE(same(portable, expected<T, n>(a, t, bottom), nanPayloads))
          << "portable against the transcription, sample " << sample;
    }
    for (Path path : MatrixLu::allPaths) {
      if (path == Path::portable || !MatrixLu::isAvailable(path)) continue;
      ASSERT_TRUE(same(run(MatrixLu::ops<T>(path), a, t, bottom), portable, pathNanPayloads))
          << name(path) << " against portable, sample " << sample;
    }
  }
  EXPECT_GT(regular, count / 3);
  EXPECT_GT(referenceChecked, count / 2);
  std::cout << n << "x" << n << " " << (sizeof(T) == 4 ? "float" : "double") << ": " << count
            << " matrices, " << regular
            << " regular; NaN results whose payload or sign differ: " << pathNanPayloads
            << " between paths, " << nanPayloads
            << " between the portable path and the transcription\n";
}

TYPED_TEST(LuPaths, EveryPathGivesThePortableBitsOnAdversarialMatrices) {
  everyPathMatchesThePortablePath<TypeParam, 3>(3);
  everyPathMatchesThePortablePath<TypeParam, 4>(4);
}

// The members run the widest available path: the same bits as its kernel.
TYPED_TEST(LuPaths, TheMembersRunTheWidestPath) {
  using T = TypeParam;
  const Path best = MatrixLu::bestPath();
  for (Path path : MatrixLu::allPaths)
    EXPECT_TRUE(MatrixLu::isAvailable(best) && (!MatrixLu::isAvailable(path) || path <= best))
        << name(path);
  Generator<T, 4> gen(5);
  for (int sample = 0; sample < 2000; ++sample) {
    T a[4][4], t[3], bottom[4];
    gen.next(a, t, bottom);
    const GeProjectiveMatrix3<T> p(a, false);
    GeProjectiveMatrix3<T> inverse, want;
    T det = sentinel<T>, wantDet = sentinel<T>;
    p.computeInverseAndDeterminant(inverse, det);
    MatrixLu::ops<T>(best).projectiveInverseAndDeterminant(p.data(), want.data(), &wantDet);
    ASSERT_TRUE(std::memcmp(inverse.data(), want.data(), sizeof want) == 0 &&
                std::memcmp(&det, &wantDet, sizeof det) == 0)
        << "sample " << sample;
  }
}

// The double threshold is written in the kernels; hold it to the library's own test.
TEST(LuPaths, APivotIsNegligibleExactlyWhereTheLibrarySaysSo) {
  for (double x : {1e-7, std::nextafter(1e-7, 0.0), 1e-6, std::nextafter(1e-6, 0.0)}) {
    for (Path path : MatrixLu::allPaths) {
      if (!MatrixLu::isAvailable(path)) continue;
      const double d[16] = {x, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
      EXPECT_EQ(MatrixLu::ops<double>(path).projectiveDeterminant(d) != 0.0,
                !GeScalar<double>::isNegligible(x))
          << name(path) << " " << x;
      const float f[16] = {float(x), 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
      EXPECT_EQ(MatrixLu::ops<float>(path).projectiveDeterminant(f) != 0.0f,
                !GeScalar<float>::isNegligible(float(x)))
          << name(path) << " " << x;
    }
  }
}

}  // namespace
