#include <vezODedizezivuz/geRotation3.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <type_traits>
#include <utility>

#include "testUtil.h"

namespace {

using namespace Vo;

// A rotation is only taken from a matrix explicitly; each product yields the most specific
// matrix kind that holds it.
static_assert(!std::is_convertible_v<GeLinearMatrix3<float>, GeRotation3<float>>);
using R = GeAxisRotation3<yAxis, float>;
static_assert(std::is_same_v<decltype(R() * GeRotation3<float>()), GeRotation3<float>>);
static_assert(std::is_same_v<decltype(R() * GeTranslation3<float>()), GeAffineMatrix3<float>>);

VO_REAL_TEST_SUITE(Rotations);

template <class T>
GeUnitVector3<T> unit(T x, T y, T z) {
  return GeUnitVector3<T>({x, y, z});
}

TYPED_TEST(Rotations, AxisRotationsTurnRightHanded) {
  using T = TypeParam;
  EXPECT_EQ(GeXAxisRotation3<T>(0, 1).getRotation() * GeVector3<T>(0, 1, 0), GeVector3<T>(0, 0, 1));
  EXPECT_EQ(GeYAxisRotation3<T>(0, 1).getRotation() * GeVector3<T>(0, 0, 1), GeVector3<T>(1, 0, 0));
  EXPECT_EQ(GeZAxisRotation3<T>(0, 1).getRotation() * GeVector3<T>(1, 0, 0), GeVector3<T>(0, 1, 0));
}

// The sparse products skip only terms that are exactly 0 or 1 in the general product, so for
// finite non-zero operands they agree with it bit for bit. Braced lists draw left to right.
TYPED_TEST(Rotations, AxisRotationProductsEqualTheGeneralProducts) {
  using T = TypeParam;
  std::mt19937 rng(20261206);
  std::uniform_real_distribution<T> d(-1, 1);
  const auto check = [&](auto identity) {
    for (int n = 0; n < 10; ++n) {
      const decltype(identity) rot(6 * d(rng));
      const GeLinearMatrix3<T> r = rot.getRotation(), m{d(rng), d(rng), d(rng), d(rng), d(rng),
                                                        d(rng), d(rng), d(rng), d(rng)};
      const GeVector3<T> v{d(rng), d(rng), d(rng)};
      const GeScale3<T> s(v.x, v.y, v.z);
      const GeLinearMatrix3<T> sm(v.x, 0, 0, 0, v.y, 0, 0, 0, v.z);
      const GeAffineMatrix3<T> tm(GeLinearMatrix3<T>(), v), a(m, v);
      const GeRotation3<T> q(m);
      EXPECT_TRUE(rot * s == r * sm && rot.mulOnRight(s) == sm * r && rot * m == r * m &&
                  rot.mulOnRight(m) == m * r && rot * q == r * q && rot.mulOnRight(q) == q * r &&
                  rot * GeTranslation3<T>(v) == GeAffineMatrix3<T>(r) * tm &&
                  rot.mulOnRight(GeTranslation3<T>(v)) == tm * r &&
                  rot * a == GeAffineMatrix3<T>(r) * a && rot.mulOnRight(a) == a * r)
          << r;
    }
  };
  check(GeXAxisRotation3<T>()), check(GeYAxisRotation3<T>()), check(GeZAxisRotation3<T>());
}

// With every aim axis, alone or with every other up axis, aiming gives a proper rotation that
// turns the aim axis onto the direction and the up axis towards the up vector; the inverse
// frame is its transpose. The three directions each have a different smallest component.
TYPED_TEST(Rotations, AimBuildsProperFramesAlongTheDirectionAndUpVector) {
  using T = TypeParam;
  using G = GeRotation3<T>;
  const T tol = 100 * VoTest::tolerance<T>();
  const GeVector3<T> up(T(-0.6), T(0.2), T(0.4));
  for (const GeUnitVector3<T>& u :
       {unit<T>(0.3, -0.5, 0.8), unit<T>(0.8, 0.3, -0.5), unit<T>(-0.5, 0.8, 0.3)})
    for (int aimAxis = 0; aimAxis < 3; ++aimAxis)
      for (int upAxis = 0; upAxis < 3; ++upAxis) {
        const bool alone = upAxis == aimAxis;
        const G r = alone ? G::aim(u, aimAxis, false) : G::aim(u, up, aimAxis, upAxis, false);
        EXPECT_TRUE((r * r.computeTranspose()).isEqual(GeLinearMatrix3<T>(), tol) &&
                    r.computeDeterminant() > 0 && dot(r.getColumn(aimAxis), u) > 1 - tol &&
                    (alone ? G::aim(u, aimAxis, true) : G::aim(u, up, aimAxis, upAxis, true)) ==
                        r.computeTranspose() &&
                    (alone || dot(r.getColumn(upAxis), up) > 0))
            << "aim " << aimAxis << " up " << upAxis;
      }
}

// Without an up vector the frame uses the negated axis of the direction's smallest component:
// y when x and y tie, z only when strictly smallest. A zero direction looks down -z. Of two
// longest polygon edges the first one wins, else the frame would turn by π.
TYPED_TEST(Rotations, AimBreaksTiesTowardsTheFirstCandidate) {
  using T = TypeParam;
  using G = GeRotation3<T>;
  const T tol = 100 * VoTest::tolerance<T>();
  EXPECT_GT(dot(G::aim(unit<T>(1, 1, 1), 2, false).getColumn(1), unit<T>(1, 0, -1)), 1 - tol);
  EXPECT_GT(dot(G::aim(unit<T>(1, 2, 1), 2, false).getColumn(1), unit<T>(0, -1, 2)), 1 - tol);
  EXPECT_TRUE(dot(G::aim(unit<T>(2, 1, 0), 2, false).getColumn(1), unit<T>(-1, 2, 0)) > 1 - tol &&
              dot(G::aim(unit<T>(1, 2, 0), 2, false).getColumn(1), unit<T>(-2, 1, 0)) > 1 - tol);
  EXPECT_EQ(G::aim(GeUnitVector3<T>{}, 0, true), G::aim(unit<T>(0, 0, -1), 0, true));
  // A short edge first; of the two longest edges the first, (0, 2, 0), becomes the up axis x.
  const GePoint3<T> rectangle[4] = {{0, 0, 0}, {1, 0, 0}, {1, 2, 0}, {0, 2, 0}};
  EXPECT_EQ(G::aim(4, rectangle, 2, 0, false), G(GeLinearMatrix3<T>(0, -1, 0, 1, 0, 0, 0, 0, 1)));
  // The polygon normal of a rectangle in the plane x = y is perpendicular to its edges; its
  // first edge, tied with the third, is the longest one and becomes the up axis.
  const GePoint3<T> slanted[4] = {{0, 0, 0}, {1, 1, 0}, {1, 1, 1}, {0, 0, 1}};
  const GeRotation3<T> facing = G::aim(4, slanted, 2, 0, false);
  EXPECT_TRUE(std::abs(dot(facing.getColumn(2), GeVector3<T>(1, 1, 0))) < tol &&
              std::abs(dot(facing.getColumn(2), GeVector3<T>(0, 0, 1))) < tol &&
              dot(facing.getColumn(0), unit<T>(1, 1, 0)) > 1 - tol);
}

// Vectors without length are reported where they are normalised; fewer than three points or
// collinear points have no polygon normal; an axis outside 0..2, or equal aim and up axes,
// would write outside the frame.
TYPED_TEST(Rotations, AimReportsInputsThatGiveNoFrame) {
  using T = TypeParam;
  using G = GeRotation3<T>;
  GeUnitVector3<T> nan;
  nan.x = nan.y = nan.z = std::numeric_limits<T>::quiet_NaN();
  const GeUnitVector3<T> d = unit<T>(0, 0, 1);
  const GeVector3<T> up(0, 1, 0);
  const GePoint3<T> line[3] = {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}};
  const std::pair<std::function<void()>, GeReportSite> cases[] = {
      {[&] { G::aim(nan, up, 2, 1, false); }, GeReportSites::aimFallbackUp},
      {[&] { G::aim(nan, 2, false); }, GeReportSites::aimAcross},
      {[&] { G::aim(0, line, 2, 1, false); }, GeReportSites::aimPolygonNormal},
      {[&] { G::aim(3, line, 2, 1, false); }, GeReportSites::aimPolygonNormal},
      {[&] { G::aim(d, up, 3, yAxis, false); }, GeReportSites::aimAxisRange},
      {[&] { G::aim(d, -1, false); }, GeReportSites::aimAxisRange},
      {[&] { G::aim(d, up, zAxis, zAxis, false); }, GeReportSites::aimUpAxisRange}};
  for (const auto& [call, site] : cases) EXPECT_TRUE(VoTest::failsWith(call, site)) << site.line;
}

}  // namespace
