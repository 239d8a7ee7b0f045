#include <vezODedizezivuz/geMatrix3.h>

#include <limits>
#include <random>
#include <sstream>
#include <type_traits>

#include "testUtil.h"

namespace {

using namespace Vo;

// Widening a matrix is explicit.
static_assert(!std::is_convertible_v<GeLinearMatrix3<float>, GeAffineMatrix3<float>>);

// computeInverse reports at `site`; computeInverseAndDeterminant writes nothing.
template <class M, class T = std::remove_reference_t<decltype(*std::declval<M>().data())>>
void expectSingular(const M& m, const std::string& name,
                    const GeReportSite& site = GeReportSites::linearMatrixSingular) {
  EXPECT_TRUE(VoTest::failsWith([&] { m.computeInverse(); }, site)) << name;
  M inverse, before;
  before.data()[1] = inverse.data()[1] = T(42);
  T det = T(42);
  m.computeInverseAndDeterminant(inverse, det);
  EXPECT_TRUE(inverse == before && det == T(42)) << name;
}

// *= with itself squares; the inverse undoes the matrix and may be written into the object itself.
template <class M, class T>
void checkInverse(const M& m, T) {
  M self = m, inverse = m.computeInverse();
  self *= self;
  EXPECT_EQ(self, m * m);
  EXPECT_TRUE((inverse * m).isEqual(M(), 100 * VoTest::tolerance<T>()));
  self = m;
  T det = 0;
  self.computeInverseAndDeterminant(self, det);
  EXPECT_EQ(self, inverse);
  EXPECT_NEAR(det, m.computeDeterminant(), det * VoTest::tolerance<T>());
}

VO_REAL_TEST_SUITE(Matrix);

TEST(MatrixText, DumpWritesOneBarredLinePerRow) {
  std::ostringstream os;
  GeLinearMatrix3<float>(1, 2, 3, 4, 5.5f, 6, 7, 8, -9).dump(os);
  EXPECT_EQ(os.str(), "| 1 2 3 |\n| 4 5.5 6 |\n| 7 8 -9 |\n");
  os.str("");
  GeAffineMatrix3<float>(GeLinearMatrix3<float>(), GeVector3<float>(1, 2, 3)).dump(os);
  EXPECT_EQ(os.str(), "| 1 0 0 1 |\n| 0 1 0 2 |\n| 0 0 1 3 |\n| 0 0 0 1 |\n");
}

// A difference equal to the tolerance is within it; a NaN is within none.
TYPED_TEST(Matrix, IsEqualAllowsTheToleranceInclusively) {
  using T = TypeParam;
  GeLinearMatrix3<T> m(1, 2, 3, 4, 5, 6, 7, 8, 9), n = m;
  n(2, 1) += T(0.5);
  EXPECT_TRUE(m.isEqual(n, T(0.5)) && !m.isEqual(n, T(0.25)));
  EXPECT_TRUE(m.isEqualExact(m) && !m.isEqualExact(n));
  n(2, 1) = std::numeric_limits<T>::quiet_NaN();
  EXPECT_FALSE(m.isEqual(n, T(100)));
}

// Hashes follow equality, which takes -0 for 0.
TYPED_TEST(Matrix, HashesAgreeWithEquality) {
  using T = TypeParam;
  GeAffineMatrix3<T> a(GeLinearMatrix3<T>(1, 2, 3, 4, 5, 6, 7, 8, 9), {10, 11, 12}), b = a;
  a(0, 3) = T(0), b(0, 3) = T(-0.0);
  GeProjectiveMatrix3<T> p(a), q(b);
  EXPECT_TRUE(std::hash<GeAffineMatrix3<T>>()(a) == std::hash<GeAffineMatrix3<T>>()(b) &&
              std::hash<GeProjectiveMatrix3<T>>()(p) == std::hash<GeProjectiveMatrix3<T>>()(q));
}

TYPED_TEST(Matrix, SingularMatricesAreReportedAndWriteNothing) {
  using T = TypeParam;
  expectSingular(GeLinearMatrix3<T>(5, 1, 2, 0, 0, 0, 1, 7, 3), "zero row");
  for (int pos = 0; pos < 9; ++pos) {
    GeLinearMatrix3<T> m(4, 1, 0, 1, 4, 1, 0, 1, 4);
    m.data()[pos] = std::numeric_limits<T>::quiet_NaN();
    expectSingular(m, "NaN at " + std::to_string(pos));
  }
  const GeLinearMatrix3<T> rank2(1, 2, 3, 2, 4, 6, 0, 0, 1);
  expectSingular(GeAffineMatrix3<T>(rank2, GeVector3<T>(1, 2, 3)), "affine");
  expectSingular(GeProjectiveMatrix3<T>(1, 2, 3, 4, 2, 4, 6, 8, 0, 0, 1, 0, 0, 1, 0, 0), "rank 3",
                 GeReportSites::projectiveMatrixSingular);
}

// A row maximum or pivot is zero strictly below 1e-7 for double, up to 1e-6 inclusive for float;
// the determinant is not tested, so a tiny one (1e-9, 1e-6) of well-scaled rows inverts.
TEST(MatrixZeroTest, RowsAndPivotsAreZeroBelowTheThresholdOfTheirType) {
  const auto diag = [](auto x, auto y) {
    return GeLinearMatrix3<decltype(x)>(x, 0, 0, 0, y, 0, 0, 0, y);
  };
  expectSingular(diag(1e-8, 1.0), "double row 1e-8");
  expectSingular(GeLinearMatrix3<double>(1, 1, 0, 1, 1 + 5e-8, 0, 0, 0, 1), "double pivot 5e-8");
  expectSingular(diag(1e-6f, 1.0f), "float row 1e-6");
  EXPECT_NEAR(diag(1e-7, 1.0).computeInverse()(0, 0), 1e7, 1e-3);
  EXPECT_NEAR(diag(2e-6f, 1.0f).computeInverse()(0, 0), 5e5f, 1);
  EXPECT_NEAR(diag(1e-3, 1e-3).computeInverse()(1, 1), 1e3, 1e-9);
  EXPECT_NEAR(diag(0.01f, 0.01f).computeInverse()(1, 1), 100.0f, 1e-3f);
}

// Affine matrices are stored by column; arrays are read in either order, the bottom row ignored.
TYPED_TEST(Matrix, AffineReadsArraysInBothOrdersIgnoringTheBottomRow) {
  using T = TypeParam;
  GeAffineMatrix3<T> a(GeLinearMatrix3<T>(1, 2, 3, 4, 5, 6, 7, 8, 9), GeVector3<T>(10, 11, 12));
  EXPECT_TRUE(a.data()[13] == T(11) && a.getTranslation() == GeVector3<T>(10, 11, 12));
  const float f[4][4] = {{1, 0, 0, 5}, {0, 1, 0, 6}, {0, 0, 1, 7}, {9, 9, 9, 9}};
  EXPECT_EQ(GeAffineMatrix3<T>(f, false), GeAffineMatrix3<T>(GeLinearMatrix3<T>(), {5, 6, 7}));
  EXPECT_EQ(GeAffineMatrix3<T>(f, true), GeAffineMatrix3<T>(GeLinearMatrix3<T>(), {9, 9, 9}));
}

// An affine matrix keeps its stored bottom row.
TYPED_TEST(Matrix, SetIdentityWritesTheUpperRows) {
  using T = TypeParam;
  GeLinearMatrix3<T> l(1, 2, 3, 4, 5, 6, 7, 8, 9);
  GeAffineMatrix3<T> a(l, GeVector3<T>(10, 11, 12));
  a(3, 0) = 7;
  EXPECT_TRUE(l.getRow(0) == GeVector3<T>(1, 2, 3) && l.getRow(2) == GeVector3<T>(7, 8, 9) &&
              l.getColumn(2) == GeVector3<T>(3, 6, 9));
  GeProjectiveMatrix3<T> p(a);
  p(0, 0) = 5;
  l.setIdentity(), a.setIdentity(), p.setIdentity();
  EXPECT_TRUE(l == GeLinearMatrix3<T>() && a.getLinear() == l && a(3, 0) == T(7) &&
              a.getTranslation() == GeVector3<T>(0, 0, 0) && p == GeProjectiveMatrix3<T>());
}

TYPED_TEST(Matrix, ProjectiveArraysAreReadByRowOrByColumn) {
  using T = TypeParam;
  const GeProjectiveMatrix3<T> m(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
  EXPECT_EQ(m.data()[1], T(5));
  const double d[4][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}};
  EXPECT_EQ(GeProjectiveMatrix3<T>(d, true), m.computeTranspose());
  // A row vector h·m weighs the rows, a column vector m·h the columns.
  const GeHomogeneousCoord3<T> h(1, 2, 4, 8);
  EXPECT_EQ(m.mulOnRight(h), GeHomogeneousCoord3<T>(151, 166, 181, 196));
  EXPECT_EQ(m * h, GeHomogeneousCoord3<T>(49, 109, 169, 229));
}

// Widening writes row 3 as (0, 0, 0, 1); the static adjoint reads the stored bottom row.
TYPED_TEST(Matrix, WideningAnAffineMatrixIgnoresItsStoredBottomRow) {
  using T = TypeParam;
  using P = GeProjectiveMatrix3<T>;
  GeAffineMatrix3<T> a(GeLinearMatrix3<T>(1, 2, 3, 4, 5, 6, 7, 8, 9), GeVector3<T>(10, 11, 12));
  a(3, 1) = 5;
  EXPECT_EQ(P(a), P(1, 2, 3, 10, 4, 5, 6, 11, 7, 8, 9, 12, 0, 0, 0, 1));
  EXPECT_EQ(P::computeTranspose(a), P(1, 4, 7, 0, 2, 5, 8, 0, 3, 6, 9, 0, 10, 11, 12, 1));
  a(3, 3) = 0;
  P widened(a);
  widened(3, 1) = 5, widened(3, 3) = 0;
  EXPECT_EQ(P::computeAdjoint(a), widened.computeAdjoint());
}

TYPED_TEST(Matrix, ProjectivePivotingInvertsAZeroCorner) {
  using T = TypeParam;
  // The shape of a perspective projection: element (3, 3) is 0, row 3 is (0, 0, -1, 0).
  const GeProjectiveMatrix3<T> p(T(0.5), 0, 0, 0, 0, 1, 0, 0, 0, 0, -2, -3, 0, 0, -1, 0);
  EXPECT_TRUE((p * p.computeInverse()).isEqual(GeProjectiveMatrix3<T>(), VoTest::tolerance<T>()));
}

// Inverses, determinants and adjoints agree with each other, and the specialised products with
// the general ones on widened operands, on diagonally dominant matrices far from singular.
TYPED_TEST(Matrix, RandomMatricesObeyTheMatrixIdentities) {
  using T = TypeParam;
  using P = GeProjectiveMatrix3<T>;
  std::mt19937 rng(2024);
  const auto value = [&] { return T(std::uniform_real_distribution<double>(-1.0, 1.0)(rng)); };
  const auto fill = [&](auto m, int n) {
    for (int k = 0; k < n * n; ++k) m.data()[k] = value() + (k % (n + 1) == 0 ? T(4) : T(0));
    return m;
  };
  for (int i = 0; i < 50; ++i) {
    SCOPED_TRACE("sample " + std::to_string(i));
    const GeLinearMatrix3<T> l = fill(GeLinearMatrix3<T>(), 3);
    const GeVector3<T> v(value(), value(), value());
    const GeAffineMatrix3<T> a(fill(GeLinearMatrix3<T>(), 3), v), b(l, -v);
    const P m = fill(P(), 4), wa(a);
    checkInverse(l, T());
    checkInverse(a, T());
    checkInverse(m, T());
    // The specialised products skip only terms that are exactly 0 or 1: the same bits.
    EXPECT_EQ(a * l, a * GeAffineMatrix3<T>(l));
    EXPECT_EQ(a.mulOnRight(l), GeAffineMatrix3<T>(l) * a);
    EXPECT_EQ(P(a * b), wa * P(b));
    EXPECT_EQ(m * a, m * wa);
    const GePoint3<T> q = a * GePoint3<T>(v.x, v.y, v.z), lq = l * GePoint3<T>(v.x, v.y, v.z);
    EXPECT_EQ(wa * GeHomogeneousCoord3<T>(v.x, v.y, v.z, 1),
              GeHomogeneousCoord3<T>(q.x, q.y, q.z, 1));
    EXPECT_TRUE(a * v == a.getLinear() * v && a.mulOnRight(v) == a.getLinear().mulOnRight(v));
    EXPECT_TRUE(l.mulOnRight(v) == l.computeTranspose() * v && GePoint3<T>(l * v) == lq);
    // The adjoint is the cofactor matrix: its transpose times l is det(l) times the identity.
    const T det = l.computeDeterminant(), d4 = m.computeDeterminant(),
            tol = 100 * VoTest::tolerance<T>();
    EXPECT_TRUE((l.computeAdjoint().computeTranspose() * l)
                    .isEqual(GeLinearMatrix3<T>(det, 0, 0, 0, det, 0, 0, 0, det), det * tol));
    EXPECT_TRUE((m.computeAdjoint().computeTranspose() * m)
                    .isEqual(P(d4, 0, 0, 0, 0, d4, 0, 0, 0, 0, d4, 0, 0, 0, 0, d4), d4 * tol));
  }
}

// The divide by w: a point mapped to infinity is reported and the result left alone.
TYPED_TEST(Matrix, ProjectivePointTransformDividesByWOrReportsItZero) {
  using T = TypeParam;
  GeProjectiveMatrix3<T> m(2, 0, 0, 1, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 1, 0);  // w = z
  const GePoint3<T> image(T(0.75), 1, 2);
  GePoint3<T> p(7, 7, 7);
  EXPECT_TRUE(m.transformPoint(GePoint3<T>(1, 2, 4), p) && p == image) << p;
  EXPECT_TRUE(!m.transformPoint(GePoint3<T>(1, 2, 0), p) && p == image) << p;
}

}  // namespace
