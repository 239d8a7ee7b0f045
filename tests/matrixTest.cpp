#include <vezODedizezivuz/geMatrix3.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <sstream>
#include <type_traits>

#include "testUtil.h"

namespace {

using namespace Vo;

static_assert(sizeof(GeLinearMatrix3<float>) == 9 * sizeof(float));
static_assert(sizeof(GeAffineMatrix3<double>) == 16 * sizeof(double));
static_assert(sizeof(GeProjectiveMatrix3<float>) == 16 * sizeof(float));
static_assert(std::is_trivially_copyable_v<GeProjectiveMatrix3<double>>);
static_assert(!std::is_convertible_v<GeLinearMatrix3<float>, GeAffineMatrix3<float>>,
              "widening a matrix is explicit");

using Reals = ::testing::Types<float, double>;

// Random matrices whose diagonal dominates, so they are far from singular.
template <class T>
class RandomMatrices {
 public:
  explicit RandomMatrices(unsigned seed) : rng(seed) {}

  T value() { return T(dist(rng)); }

  GeLinearMatrix3<T> linear() {
    GeLinearMatrix3<T> m;
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) m(r, c) = value() + (r == c ? T(4) : T(0));
    return m;
  }
  GeAffineMatrix3<T> affine() { return GeAffineMatrix3<T>(linear(), vector()); }
  GeProjectiveMatrix3<T> projective() {
    GeProjectiveMatrix3<T> m;
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) m(r, c) = value() + (r == c ? T(4) : T(0));
    return m;
  }
  GeVector3<T> vector() { return GeVector3<T>(value(), value(), value()); }

 private:
  std::mt19937 rng;
  std::uniform_real_distribution<double> dist{-1.0, 1.0};
};

template <class M>
std::string text(const M& m) {
  std::ostringstream os;
  m.dump(os);
  return os.str();
}

// A tolerance for products of a few matrices with elements near 4.
template <class T>
T loose() {
  return 100 * VoTest::tolerance<T>();
}

// ------------------------------------------------------------------------------------------------
// GeLinearMatrix3

template <class T>
class LinearMatrix : public ::testing::Test {};
TYPED_TEST_SUITE(LinearMatrix, Reals);

TYPED_TEST(LinearMatrix, StoresRowByRowAndDefaultsToIdentity) {
  using T = TypeParam;
  const GeLinearMatrix3<T> m(1, 2, 3, 4, 5, 6, 7, 8, 9);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      EXPECT_EQ(m.data()[3 * r + c], m(r, c));
      EXPECT_EQ(m(r, c), T(3 * r + c + 1));
    }
  GeLinearMatrix3<T> id;
  EXPECT_EQ(id, GeLinearMatrix3<T>(1, 0, 0, 0, 1, 0, 0, 0, 1));
  GeLinearMatrix3<T> n = m;
  n.setIdentity();
  EXPECT_EQ(n, id);
}

TYPED_TEST(LinearMatrix, IsEqualIsAbsoluteAndInclusiveAndRejectsNaN) {
  using T = TypeParam;
  const GeLinearMatrix3<T> m(1, 2, 3, 4, 5, 6, 7, 8, 9);
  GeLinearMatrix3<T> n = m;
  n(2, 1) += T(0.5);
  EXPECT_TRUE(m.isEqual(n, T(0.5)));
  EXPECT_FALSE(m.isEqual(n, T(0.25)));
  EXPECT_FALSE(m.isEqualExact(n));
  n(2, 1) = std::numeric_limits<T>::quiet_NaN();
  EXPECT_FALSE(m.isEqual(n, T(100)));
}

TYPED_TEST(LinearMatrix, ProductAppliesTheRightFactorFirst) {
  using T = TypeParam;
  // Small integers keep every sum exact.
  const GeLinearMatrix3<T> a(1, 2, 0, -1, 3, 1, 2, 0, 1);
  const GeLinearMatrix3<T> b(0, 1, 1, 2, -2, 0, 1, 1, 3);
  const GeVector3<T> v(1, -2, 3);
  EXPECT_EQ((a * b) * v, a * (b * v));
  const GePoint3<T> p(1, -2, 3);
  EXPECT_EQ(GeVector3<T>((a * p).x, (a * p).y, (a * p).z), a * v);
  EXPECT_EQ(a * GeLinearMatrix3<T>(), a);
  EXPECT_EQ(GeLinearMatrix3<T>() * a, a);
}

TYPED_TEST(LinearMatrix, TimesAssignWithItselfSquares) {
  using T = TypeParam;
  RandomMatrices<T> gen(11);
  GeLinearMatrix3<T> m = gen.linear();
  const GeLinearMatrix3<T> square = m * m;
  m *= m;
  EXPECT_EQ(m, square);
}

TYPED_TEST(LinearMatrix, MulOnRightIsTheTransposeTimesTheVector) {
  using T = TypeParam;
  RandomMatrices<T> gen(12);
  for (int i = 0; i < 20; ++i) {
    const GeLinearMatrix3<T> m = gen.linear();
    const GeVector3<T> v = gen.vector();
    EXPECT_EQ(m.mulOnRight(v), m.computeTranspose() * v);
  }
}

TYPED_TEST(LinearMatrix, RowSwapHasDeterminantMinusOneBothWays) {
  using T = TypeParam;
  const GeLinearMatrix3<T> swap(0, 1, 0, 1, 0, 0, 0, 0, 1);
  EXPECT_EQ(swap.computeDeterminant(), T(-1));
  GeLinearMatrix3<T> inverse(0, 0, 0, 0, 0, 0, 0, 0, 0);
  T det = 0;
  swap.computeInverseAndDeterminant(inverse, det);
  EXPECT_EQ(det, T(-1));
  EXPECT_EQ(inverse, swap);
}

TYPED_TEST(LinearMatrix, PivotTieBetweenRowsStillGivesTheRightInverse) {
  using T = TypeParam;
  // Rows 0 and 1 tie in column 0; whichever row pivots, the result is exact here.
  const GeLinearMatrix3<T> m(1, 0, 0, 1, 1, 0, 0, 0, 1);
  GeLinearMatrix3<T> inverse;
  T det = 0;
  m.computeInverseAndDeterminant(inverse, det);
  EXPECT_EQ(det, T(1));
  EXPECT_EQ(inverse, GeLinearMatrix3<T>(1, 0, 0, -1, 1, 0, 0, 0, 1));
}

TYPED_TEST(LinearMatrix, ZeroMatrixLeavesBothOutputsUntouched) {
  using T = TypeParam;
  const GeLinearMatrix3<T> zero(0, 0, 0, 0, 0, 0, 0, 0, 0);
  const GeLinearMatrix3<T> before(1, 2, 3, 4, 5, 6, 7, 8, 9);
  GeLinearMatrix3<T> inverse = before;
  T det = T(42);
  zero.computeInverseAndDeterminant(inverse, det);
  EXPECT_EQ(inverse, before);
  EXPECT_EQ(det, T(42));
  EXPECT_TRUE(VoTest::failsWith([&] { zero.computeInverse(); }, "base/matrix3x3Imp.imp", 126,
                                "nonSingular"));
}

TYPED_TEST(LinearMatrix, AnAllZeroRowIsSingularWhateverTheOtherRows) {
  using T = TypeParam;
  const GeLinearMatrix3<T> m(5, 1, 2, 0, 0, 0, 1, 7, 3);
  EXPECT_TRUE(
      VoTest::failsWith([&] { m.computeInverse(); }, "base/matrix3x3Imp.imp", 126, "nonSingular"));
  // The expansion has no test: it simply gives 0.
  EXPECT_EQ(m.computeDeterminant(), T(0));
}

TYPED_TEST(LinearMatrix, NaNElementsAreSingular) {
  using T = TypeParam;
  const T nan = std::numeric_limits<T>::quiet_NaN();
  for (int pos = 0; pos < 9; ++pos) {
    GeLinearMatrix3<T> m(4, 1, 0, 1, 4, 1, 0, 1, 4);
    m.data()[pos] = nan;
    EXPECT_TRUE(
        VoTest::failsWith([&] { m.computeInverse(); }, "base/matrix3x3Imp.imp", 126, "nonSingular"))
        << "NaN at " << pos;
  }
}

TYPED_TEST(LinearMatrix, TinyDeterminantWithSoundPivotsIsInverted) {
  using T = TypeParam;
  // det = 1e-9 (double) / 1e-6 (float) is below the zero test, yet no row or pivot is.
  const T s = sizeof(T) == sizeof(float) ? T(0.01) : T(0.001);
  const GeLinearMatrix3<T> m(s, 0, 0, 0, s, 0, 0, 0, s);
  const GeLinearMatrix3<T> inverse = m.computeInverse();
  EXPECT_NEAR(inverse(1, 1), T(1) / s, T(1) / s * VoTest::tolerance<T>());
}

TYPED_TEST(LinearMatrix, PropertiesOfTheInverseOnRandomMatrices) {
  using T = TypeParam;
  RandomMatrices<T> gen(2024);
  for (int i = 0; i < 200; ++i) {
    const GeLinearMatrix3<T> m = gen.linear();
    const GeLinearMatrix3<T> inverse = m.computeInverse();
    EXPECT_TRUE((inverse * m).isEqual(GeLinearMatrix3<T>(), loose<T>())) << "sample " << i;
    EXPECT_TRUE((m * inverse).isEqual(GeLinearMatrix3<T>(), loose<T>())) << "sample " << i;

    const T det = m.computeDeterminant();
    GeLinearMatrix3<T> inverse2;
    T det2 = 0;
    m.computeInverseAndDeterminant(inverse2, det2);
    EXPECT_EQ(inverse2, inverse);
    EXPECT_NEAR(det2, det, std::abs(det) * loose<T>());

    // The adjoint is det times the transposed inverse.
    const GeLinearMatrix3<T> adj = m.computeAdjoint();
    const GeLinearMatrix3<T> t = inverse.computeTranspose();
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(adj(r, c), det * t(r, c), std::abs(det) * loose<T>()) << "sample " << i;
  }
}

TYPED_TEST(LinearMatrix, InverseMayOverwriteTheMatrixItself) {
  using T = TypeParam;
  RandomMatrices<T> gen(5);
  GeLinearMatrix3<T> m = gen.linear();
  const GeLinearMatrix3<T> expected = m.computeInverse();
  T det = 0;
  m.computeInverseAndDeterminant(m, det);
  EXPECT_EQ(m, expected);
}

TEST(LinearMatrixDouble, ZeroTestIsStrictlyBelowOneTenMillionth) {
  const GeLinearMatrix3<double> singular(1e-8, 0, 0, 0, 1, 0, 0, 0, 1);
  EXPECT_TRUE(VoTest::failsWith([&] { singular.computeInverse(); }, "base/matrix3x3Imp.imp", 126,
                                "nonSingular"));
  const GeLinearMatrix3<double> regular(1e-7, 0, 0, 0, 1, 0, 0, 0, 1);
  const GeLinearMatrix3<double> inverse = regular.computeInverse();
  EXPECT_NEAR(inverse(0, 0), 1e7, 1e-3);
  EXPECT_EQ(inverse(1, 1), 1.0);
}

TEST(LinearMatrixDouble, ZeroTestAlsoAppliesToPivotsAfterElimination) {
  // Both rows have magnitude 1, but after the first column the second pivot is the tiny
  // difference of the two rows.
  const GeLinearMatrix3<double> singular(1, 1, 0, 1, 1 + 5e-8, 0, 0, 0, 1);
  EXPECT_TRUE(VoTest::failsWith([&] { singular.computeInverse(); }, "base/matrix3x3Imp.imp", 126,
                                "nonSingular"));
  EXPECT_NE(singular.computeDeterminant(), 0.0);
  const GeLinearMatrix3<double> regular(1, 1, 0, 1, 1 + 2e-7, 0, 0, 0, 1);
  const GeLinearMatrix3<double> inverse = regular.computeInverse();
  EXPECT_TRUE((inverse * regular).isEqual(GeLinearMatrix3<double>(), 1e-8));
  const GeProjectiveMatrix3<double> wide(GeLinearMatrix3<double>(1, 1, 0, 1, 1 + 5e-8, 0, 0, 0, 1));
  EXPECT_EQ(wide.computeDeterminant(), 0.0);
}

TEST(LinearMatrixFloat, ZeroTestIsTheBaseLibrarysDefaultTolerance) {
  // FloatUtil::isEqual(x, 0) holds up to 1e-6 inclusive.
  const GeLinearMatrix3<float> singular(1e-6f, 0, 0, 0, 1, 0, 0, 0, 1);
  EXPECT_TRUE(VoTest::failsWith([&] { singular.computeInverse(); }, "base/matrix3x3Imp.imp", 126,
                                "nonSingular"));
  const GeLinearMatrix3<float> regular(2e-6f, 0, 0, 0, 1, 0, 0, 0, 1);
  EXPECT_NEAR(regular.computeInverse()(0, 0), 5e5f, 1.0f);
}

TYPED_TEST(LinearMatrix, DumpWritesOneBarredLinePerRow) {
  using T = TypeParam;
  const GeLinearMatrix3<T> m(1, 2, 3, 4, T(5.5), 6, 7, 8, -9);
  EXPECT_EQ(text(m), "| 1 2 3 |\n| 4 5.5 6 |\n| 7 8 -9 |\n");
  std::ostringstream os;
  os << std::fixed;
  os.precision(1);
  os << GeLinearMatrix3<T>();
  EXPECT_EQ(os.str(), "| 1.0 0.0 0.0 |\n| 0.0 1.0 0.0 |\n| 0.0 0.0 1.0 |\n");
}

// ------------------------------------------------------------------------------------------------
// GeAffineMatrix3

template <class T>
class AffineMatrix : public ::testing::Test {};
TYPED_TEST_SUITE(AffineMatrix, Reals);

TYPED_TEST(AffineMatrix, StoresColumnByColumnWithTheTranslationLast) {
  using T = TypeParam;
  const GeAffineMatrix3<T> a(GeLinearMatrix3<T>(1, 2, 3, 4, 5, 6, 7, 8, 9),
                             GeVector3<T>(10, 11, 12));
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_EQ(a.data()[4 * c + r], a(r, c));
  EXPECT_EQ(a(0, 1), T(2));
  EXPECT_EQ(a.data()[1], T(4));
  EXPECT_EQ(a.data()[13], T(11));
  EXPECT_EQ(a.getTranslation(), GeVector3<T>(10, 11, 12));
  EXPECT_EQ(a.getLinear(), GeLinearMatrix3<T>(1, 2, 3, 4, 5, 6, 7, 8, 9));
  for (int c = 0; c < 4; ++c) EXPECT_EQ(a(3, c), c == 3 ? T(1) : T(0));
  EXPECT_EQ(GeAffineMatrix3<T>(GeLinearMatrix3<T>(1, 2, 3, 4, 5, 6, 7, 8, 9)).getTranslation(),
            GeVector3<T>(0, 0, 0));
}

TYPED_TEST(AffineMatrix, ArrayConstructorsReadBothOrdersAndIgnoreTheBottomRow) {
  using T = TypeParam;
  const float f[4][4] = {{1, 0, 0, 5}, {0, 1, 0, 6}, {0, 0, 1, 7}, {9, 9, 9, 9}};
  const GeAffineMatrix3<T> rows(f, false);
  EXPECT_EQ(rows.getTranslation(), GeVector3<T>(5, 6, 7));
  EXPECT_EQ(rows.getLinear(), GeLinearMatrix3<T>());
  for (int c = 0; c < 4; ++c) EXPECT_EQ(rows(3, c), c == 3 ? T(1) : T(0));

  const GeAffineMatrix3<T> columns(f, true);
  EXPECT_EQ(columns(1, 0), T(0));
  EXPECT_EQ(columns(0, 0), T(1));
  EXPECT_EQ(columns.getTranslation(), GeVector3<T>(9, 9, 9));
  for (int c = 0; c < 4; ++c) EXPECT_EQ(columns(3, c), c == 3 ? T(1) : T(0));

  const double d[4][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}};
  const GeAffineMatrix3<T> dr(d, false), dc(d, true);
  EXPECT_EQ(dr(1, 2), T(7));
  EXPECT_EQ(dc(1, 2), T(10));
}

TYPED_TEST(AffineMatrix, InverseOfScaleAndTranslation) {
  using T = TypeParam;
  const GeAffineMatrix3<T> a(GeLinearMatrix3<T>(2, 0, 0, 0, 4, 0, 0, 0, 8), GeVector3<T>(2, 4, 8));
  const GeAffineMatrix3<T> expected(GeLinearMatrix3<T>(T(0.5), 0, 0, 0, T(0.25), 0, 0, 0, T(0.125)),
                                    GeVector3<T>(-1, -1, -1));
  EXPECT_EQ(a.computeInverse(), expected);
  GeAffineMatrix3<T> inverse;
  T det = 0;
  a.computeInverseAndDeterminant(inverse, det);
  EXPECT_EQ(inverse, expected);
  EXPECT_EQ(det, T(64));
  EXPECT_EQ(a.computeDeterminant(), T(64));
}

TYPED_TEST(AffineMatrix, OnlyTheLinearPartCanBeSingular) {
  using T = TypeParam;
  const GeAffineMatrix3<T> a(GeLinearMatrix3<T>(1, 2, 3, 2, 4, 6, 0, 0, 1), GeVector3<T>(1, 2, 3));
  EXPECT_TRUE(
      VoTest::failsWith([&] { a.computeInverse(); }, "base/matrix3x3Imp.imp", 126, "nonSingular"));
  GeAffineMatrix3<T> inverse(GeLinearMatrix3<T>(1, 2, 3, 4, 5, 6, 7, 8, 9), GeVector3<T>(7, 7, 7));
  const GeAffineMatrix3<T> before = inverse;
  T det = 5;
  a.computeInverseAndDeterminant(inverse, det);
  EXPECT_EQ(inverse.getLinear(), before.getLinear());
  EXPECT_EQ(det, T(5));
  // A huge translation does not matter.
  const GeAffineMatrix3<T> far(GeLinearMatrix3<T>(), GeVector3<T>(1e30f, 0, 0));
  EXPECT_EQ(far.computeInverse().getTranslation(), GeVector3<T>(T(-1e30f), 0, 0));
}

TYPED_TEST(AffineMatrix, ProductsComposeTheMaps) {
  using T = TypeParam;
  RandomMatrices<T> gen(7);
  for (int i = 0; i < 20; ++i) {
    const GeAffineMatrix3<T> a = gen.affine(), b = gen.affine();
    const GeLinearMatrix3<T> m = gen.linear();
    const GePoint3<T> p(gen.value(), gen.value(), gen.value());
    const GePoint3<T> viaProduct = (a * b) * p, viaSteps = a * (b * p);
    EXPECT_NEAR(viaProduct.x, viaSteps.x, loose<T>());
    EXPECT_NEAR(viaProduct.y, viaSteps.y, loose<T>());
    EXPECT_NEAR(viaProduct.z, viaSteps.z, loose<T>());
    // The specialised products agree exactly with the general one on widened operands.
    EXPECT_EQ(a * m, a * GeAffineMatrix3<T>(m));
    EXPECT_EQ(a.mulOnRight(m), GeAffineMatrix3<T>(m) * a);
    EXPECT_EQ(GeProjectiveMatrix3<T>(a * b), GeProjectiveMatrix3<T>(a) * GeProjectiveMatrix3<T>(b));
    const GeVector3<T> v = gen.vector();
    EXPECT_EQ(a.mulOnRight(v), a.getLinear().mulOnRight(v));
    EXPECT_EQ(a * v, a.getLinear() * v);
    GeAffineMatrix3<T> c = a;
    c *= c;
    EXPECT_EQ(c, a * a);
  }
}

TYPED_TEST(AffineMatrix, MulOnRightOfAPureTranslationKeepsTheVector) {
  using T = TypeParam;
  const GeAffineMatrix3<T> a(GeLinearMatrix3<T>(), GeVector3<T>(3, -4, 5));
  EXPECT_EQ(a.mulOnRight(GeVector3<T>(1, 2, 3)), GeVector3<T>(1, 2, 3));
  EXPECT_EQ(a * GePoint3<T>(1, 2, 3), GePoint3<T>(4, -2, 8));
}

TYPED_TEST(AffineMatrix, InverseUndoesTheMapOnRandomMatrices) {
  using T = TypeParam;
  RandomMatrices<T> gen(99);
  for (int i = 0; i < 200; ++i) {
    const GeAffineMatrix3<T> a = gen.affine();
    const GeAffineMatrix3<T> inverse = a.computeInverse();
    EXPECT_TRUE((inverse * a).isEqual(GeAffineMatrix3<T>(), loose<T>())) << "sample " << i;
    // The 3x3 LU serves both element orders identically.
    EXPECT_EQ(inverse.getLinear(), a.getLinear().computeInverse());
  }
}

TYPED_TEST(AffineMatrix, SetIdentityWritesOnlyTheUpperRows) {
  using T = TypeParam;
  GeAffineMatrix3<T> a(GeLinearMatrix3<T>(1, 2, 3, 4, 5, 6, 7, 8, 9), GeVector3<T>(1, 2, 3));
  a(3, 0) = 7;
  a.setIdentity();
  EXPECT_EQ(a(3, 0), T(7));
  a(3, 0) = 0;
  EXPECT_EQ(a, GeAffineMatrix3<T>());
}

TYPED_TEST(AffineMatrix, DumpShowsTheBottomRow) {
  using T = TypeParam;
  EXPECT_EQ(text(GeAffineMatrix3<T>()), "| 1 0 0 0 |\n| 0 1 0 0 |\n| 0 0 1 0 |\n| 0 0 0 1 |\n");
  const GeAffineMatrix3<T> a(GeLinearMatrix3<T>(1, 2, 3, 4, 5, 6, 7, 8, 9), GeVector3<T>(1, 2, 3));
  EXPECT_EQ(text(a), text(GeProjectiveMatrix3<T>(a)));
}

// ------------------------------------------------------------------------------------------------
// GeProjectiveMatrix3

template <class T>
class ProjectiveMatrix : public ::testing::Test {};
TYPED_TEST_SUITE(ProjectiveMatrix, Reals);

TYPED_TEST(ProjectiveMatrix, ConstructorsReadRowsOrColumnsAsAsked) {
  using T = TypeParam;
  const GeProjectiveMatrix3<T> m(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
  EXPECT_EQ(m(0, 1), T(2));
  EXPECT_EQ(m(3, 0), T(13));
  EXPECT_EQ(m.data()[1], T(5));
  const float f[4][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}};
  EXPECT_EQ(GeProjectiveMatrix3<T>(f, false), m);
  EXPECT_EQ(GeProjectiveMatrix3<T>(f, true), m.computeTranspose());
  const double d[4][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}};
  EXPECT_EQ(GeProjectiveMatrix3<T>(d, false), m);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(GeProjectiveMatrix3<T>(d, true).data()[i], T(i + 1));
}

TYPED_TEST(ProjectiveMatrix, WideningWritesRowThreeWhateverTheSourceHolds) {
  using T = TypeParam;
  const GeLinearMatrix3<T> l(1, 2, 3, 4, 5, 6, 7, 8, 9);
  const GeProjectiveMatrix3<T> fromLinear(l);
  EXPECT_EQ(fromLinear, GeProjectiveMatrix3<T>(1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 0, 0, 0, 1));
  GeAffineMatrix3<T> a(l, GeVector3<T>(10, 11, 12));
  a(3, 1) = 5;  // a broken bottom row is not carried over
  EXPECT_EQ(GeProjectiveMatrix3<T>(a),
            GeProjectiveMatrix3<T>(1, 2, 3, 10, 4, 5, 6, 11, 7, 8, 9, 12, 0, 0, 0, 1));
}

TYPED_TEST(ProjectiveMatrix, UnitCoordinateSelectsColumnAndRowThree) {
  using T = TypeParam;
  const GeProjectiveMatrix3<T> m(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
  const GeHomogeneousCoord3<T> e3(0, 0, 0, 1);
  EXPECT_EQ(m * e3, GeHomogeneousCoord3<T>(4, 8, 12, 16));
  EXPECT_EQ(m.mulOnRight(e3), GeHomogeneousCoord3<T>(13, 14, 15, 16));
}

TYPED_TEST(ProjectiveMatrix, WidenedAffineMatrixMapsPointsLikeTheAffineMap) {
  using T = TypeParam;
  RandomMatrices<T> gen(3);
  for (int i = 0; i < 20; ++i) {
    const GeAffineMatrix3<T> a = gen.affine();
    const GePoint3<T> p(gen.value(), gen.value(), gen.value());
    const GeHomogeneousCoord3<T> h =
        GeProjectiveMatrix3<T>(a) * GeHomogeneousCoord3<T>(p.x, p.y, p.z, 1);
    const GePoint3<T> q = a * p;
    EXPECT_EQ(h, GeHomogeneousCoord3<T>(q.x, q.y, q.z, 1));
  }
}

TYPED_TEST(ProjectiveMatrix, ProductWithAffineAgreesWithTheGeneralProduct) {
  using T = TypeParam;
  RandomMatrices<T> gen(4);
  for (int i = 0; i < 20; ++i) {
    const GeProjectiveMatrix3<T> m = gen.projective();
    const GeAffineMatrix3<T> a = gen.affine();
    EXPECT_EQ(m * a, m * GeProjectiveMatrix3<T>(a));
    const GeHomogeneousCoord3<T> h(gen.value(), gen.value(), gen.value(), gen.value());
    const GeHomogeneousCoord3<T> viaSteps = m * (m * h), viaProduct = (m * m) * h;
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(viaSteps[k], viaProduct[k], 50 * loose<T>());
    EXPECT_EQ(m.mulOnRight(h), m.computeTranspose() * h);
    GeProjectiveMatrix3<T> c = m;
    c *= c;
    EXPECT_EQ(c, m * m);
  }
}

TYPED_TEST(ProjectiveMatrix, TransposeOfAffineMovesTheTranslationToRowThree) {
  using T = TypeParam;
  const GeAffineMatrix3<T> a(GeLinearMatrix3<T>(1, 2, 3, 4, 5, 6, 7, 8, 9), GeVector3<T>(1, 2, 3));
  const GeProjectiveMatrix3<T> t = GeProjectiveMatrix3<T>::computeTranspose(a);
  EXPECT_EQ(t(3, 0), T(1));
  EXPECT_EQ(t(3, 1), T(2));
  EXPECT_EQ(t(3, 2), T(3));
  EXPECT_EQ(t(3, 3), T(1));
  EXPECT_EQ(t(0, 3), T(0));
  EXPECT_EQ(t, GeProjectiveMatrix3<T>(a).computeTranspose());
}

TYPED_TEST(ProjectiveMatrix, AdjointCarriesTheCofactorSigns) {
  using T = TypeParam;
  GeProjectiveMatrix3<T> m;
  m(0, 1) = 2;
  const GeProjectiveMatrix3<T> adj = m.computeAdjoint();
  EXPECT_EQ(adj(1, 0), T(-2));
  EXPECT_EQ(adj(0, 1), T(0));
  EXPECT_EQ(adj(0, 0), T(1));
  // Singular matrices have an adjoint too: rank 3 gives a rank-1 adjoint.
  const GeProjectiveMatrix3<T> singular(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0);
  const GeProjectiveMatrix3<T> expected(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);
  EXPECT_EQ(singular.computeAdjoint(), expected);
}

TYPED_TEST(ProjectiveMatrix, PerspectiveWithZeroCornerIsInvertedByPivoting) {
  using T = TypeParam;
  // The shape of a perspective projection: element (3, 3) is 0, row 3 is (0, 0, -1, 0).
  const GeProjectiveMatrix3<T> p(T(0.5), 0, 0, 0, 0, 1, 0, 0, 0, 0, -2, -3, 0, 0, -1, 0);
  const GeProjectiveMatrix3<T> inverse = p.computeInverse();
  EXPECT_TRUE((p * inverse).isEqual(GeProjectiveMatrix3<T>(), VoTest::tolerance<T>()));
  EXPECT_EQ(p.computeDeterminant(), T(-1.5));
}

TEST(ProjectiveMatrixDouble, ZeroTestBoundaryDecidesDeterminantAndInverse) {
  const GeProjectiveMatrix3<double> small(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 5e-8);
  EXPECT_EQ(small.computeDeterminant(), 0.0);
  EXPECT_TRUE(VoTest::failsWith([&] { small.computeInverse(); }, "base/matrix4x4Imp.imp", 175,
                                "nonSingular"));
  const GeProjectiveMatrix3<double> regular(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2e-7);
  EXPECT_EQ(regular.computeDeterminant(), 2e-7);
  EXPECT_NEAR(regular.computeInverse()(3, 3), 5e6, 1e-6);
}

TYPED_TEST(ProjectiveMatrix, SingularMatrixLeavesBothOutputsUntouched) {
  using T = TypeParam;
  const GeProjectiveMatrix3<T> m(1, 2, 3, 4, 2, 4, 6, 8, 0, 0, 1, 0, 0, 1, 0, 0);
  GeProjectiveMatrix3<T> inverse(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
  const GeProjectiveMatrix3<T> before = inverse;
  T det = 3;
  m.computeInverseAndDeterminant(inverse, det);
  EXPECT_EQ(inverse, before);
  EXPECT_EQ(det, T(3));
  EXPECT_EQ(m.computeDeterminant(), T(0));
  EXPECT_TRUE(
      VoTest::failsWith([&] { m.computeInverse(); }, "base/matrix4x4Imp.imp", 175, "nonSingular"));
}

TYPED_TEST(ProjectiveMatrix, PropertiesOfTheInverseOnRandomMatrices) {
  using T = TypeParam;
  RandomMatrices<T> gen(77);
  for (int i = 0; i < 200; ++i) {
    const GeProjectiveMatrix3<T> m = gen.projective();
    const GeProjectiveMatrix3<T> inverse = m.computeInverse();
    EXPECT_TRUE((inverse * m).isEqual(GeProjectiveMatrix3<T>(), loose<T>())) << "sample " << i;
    GeProjectiveMatrix3<T> inverse2;
    T det = 0;
    m.computeInverseAndDeterminant(inverse2, det);
    EXPECT_EQ(inverse2, inverse);
    EXPECT_EQ(det, m.computeDeterminant());
    const GeProjectiveMatrix3<T> adj = m.computeAdjoint();
    const GeProjectiveMatrix3<T> t = inverse.computeTranspose();
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c)
        EXPECT_NEAR(adj(r, c), det * t(r, c), std::abs(det) * loose<T>()) << "sample " << i;
  }
}

TYPED_TEST(ProjectiveMatrix, AdjointOfAffineReadsItsStoredBottomRow) {
  using T = TypeParam;
  RandomMatrices<T> gen(8);
  GeAffineMatrix3<T> a = gen.affine();
  EXPECT_EQ(GeProjectiveMatrix3<T>::computeAdjoint(a), GeProjectiveMatrix3<T>(a).computeAdjoint());
  a(3, 3) = 0;
  GeProjectiveMatrix3<T> widened(a);
  widened(3, 3) = 0;
  EXPECT_EQ(GeProjectiveMatrix3<T>::computeAdjoint(a), widened.computeAdjoint());
}

}  // namespace
