#include <vezODedizezivuz/geShaft.h>
#include <zevIRudez/RnRng.h>

#include <gtest/gtest.h>

#include <cmath>

using namespace Vo;

namespace {

using Box = GeAlignedBox3<float>;
using I = Interval<float>;
using P = GePoint3<float>;

const Box unitBox(I(0, 1), I(0, 1), I(0, 1)), diagonalBox(I(4, 5), I(4, 5), I(0, 1));
const GeShaft diagonal(unitBox, diagonalBox);

Box randomBox(RnRng<float>& rng, float size) {
  const P c(10 * rng(), 10 * rng(), 10 * rng());
  const GeVector3<float> h(size * rng() + 0.01f, size * rng() + 0.01f, size * rng() + 0.01f);
  return Box(c - h, c + h);
}

// The value at the fraction t of the way from i.min to i.max, and the point of b at the fractions
// (x, y, z) of its extent on each axis.
float lerp(const I& i, float t) { return i.min + t * (i.max - i.min); }
P at(const Box& b, float x, float y, float z) { return {lerp(b.x, x), lerp(b.y, y), lerp(b.z, z)}; }

}  // namespace

// Diagonal boxes give two planes facing outwards; boxes side by side on x share their y and z
// faces and give none.
TEST(Shaft, PlanesJoinOnlyFacesThatReachTheExtentFromDifferentBoxes) {
  unsigned short count;
  const GePlane3<float>* planes = diagonal.getPlaneSet(count);
  ASSERT_EQ(count, 2);
  // min x of box 1 with max y of box 2: the line y = x + 1.002; then min y with max x.
  EXPECT_TRUE(planes[0].isEqual(GePlane3<float>(GeVector3<float>(-4, 4, 0), -4.008f), 1e-5f));
  EXPECT_TRUE(planes[1].isEqual(GePlane3<float>(GeVector3<float>(4, -4, 0), -4.008f), 1e-5f));
  const auto text = ::testing::PrintToString(diagonal);
  EXPECT_EQ(text.substr(text.find("Plane set=")),
            "Plane set=\n [-4, 4, 0, -4.008]\n [4, -4, 0, -4.008]\n");
  GeShaft(unitBox, Box(I(2, 3), I(0, 1), I(0, 1))).getPlaneSet(count);
  EXPECT_EQ(count, 0);
  // Diagonal in (y, z) and in (x, z): the planes are swept along the remaining axis.
  const Box yz(I(0, 1), I(4, 5), I(4, 5)), xz(I(4, 5), I(0, 1), I(4, 5));
  for (int axis : {0, 1}) {
    const GeShaft shaft(unitBox, axis == 0 ? yz : xz);
    const GePlane3<float>* p = shaft.getPlaneSet(count);
    EXPECT_TRUE(count == 2 && p[0].normal[axis] == 0 && p[1].normal[axis] == 0) << axis;
  }
}

TEST(Shaft, MarginWidensAllAxesOrOnlyTheFirstFlatOne) {
  const float m2 = 0.001f * 2, m3 = 0.001f * 3;
  const Box cases[][2] = {
      {Box(I(0, 2), I(0, 1), I(0, 1)), Box(I(-m2, 2 + m2), I(-m2, 1 + m2), I(-m2, 1 + m2))},
      {Box(I(0, 1), I(2, 2), I(0, 3)), Box(I(0, 1), I(2 - m3, 2 + m3), I(0, 3))},
      {Box(I(1, 1), I(2, 2), I(0, 3)), Box(I(1 - m3, 1 + m3), I(2, 2), I(0, 3))}};
  for (const auto& c : cases) EXPECT_EQ(GeShaft(c[0], unitBox).getRefBox1(), c[1]) << c[0];
  // Bounds within the margin of each other merge into the lower one.
  const GeShaft near(unitBox, Box(I(0.0005f, 1.0005f), I(0, 1), I(0, 1)));
  EXPECT_EQ(near.getExtentBox().x.min, std::fmin(near.getRefBox1().x.min, near.getRefBox2().x.min));
}

TEST(Shaft, JoiningPlaneCountsAsOutsideInclusivelyAndAsInsideExclusively) {
  unsigned short count;
  const GePlane3<float>& plane = *diagonal.getPlaneSet(count);
  // A point exactly on the plane (evaluate gives 0 in float), found by stepping y.
  P p(2.0f, 0, 0.5f);
  float y = -(plane.normal.x * 2.0f + plane.normal.z * 0.5f + plane.d) / plane.normal.y;
  y = std::nextafter(std::nextafter(y, -1e30f), -1e30f);
  for (int k = 0; k < 5 && (p.y = y, plane.evaluate(p) != 0.0f); ++k) y = std::nextafter(y, 1e30f);
  ASSERT_EQ(plane.evaluate(p), 0.0f);
  EXPECT_TRUE(!diagonal.contains(p) && diagonal.containsExclude(p)) << p;
  // Reference box bounds count for contains and against containsExclude.
  const P corner(diagonal.getRefBox1().x.min, 0.5f, 0.5f);
  EXPECT_TRUE(diagonal.contains(corner) && !diagonal.containsExclude(corner)) << corner;
  // A box touching the plane from outside at its corner p (maximum x, minimum y).
  const Box touching(I(p.x - 0.5f, p.x), I(p.y, p.y + 0.5f), I(0.2f, 0.8f));
  EXPECT_EQ(diagonal.overlaps(touching), I::DISJOINT);
  EXPECT_EQ(diagonal.overlapsExclude(touching), I::OVERLAPPING);
}

// Inside the extent box and clear of both boxes the planes decide: a box between the boxes lies
// in the shaft, a box across a plane overlaps it, under both boundary rules. Planes face away
// from the shaft however small their offsets are (here about 0.04 at the centre).
TEST(Shaft, PlanesTellContainedBoxesFromOverlappingOnes) {
  const GeShaft small(Box(I(0, 0.1f), I(0, 0.1f), I(0, 0.1f)),
                      Box(I(-0.4f, -0.3f), I(0.4f, 0.5f), I(0, 0.1f)));
  EXPECT_TRUE(small.contains(P(-0.15f, 0.25f, 0.05f)));
  const Box between(I(2.4f, 2.6f), I(2.4f, 2.6f), I(0.4f, 0.6f));
  const Box across(I(1.5f, 2), I(2.8f, 3.3f), I(0.4f, 0.6f));
  EXPECT_TRUE(diagonal.overlaps(between) == I::CONTAINED &&
              diagonal.overlapsExclude(between) == I::CONTAINED);
  EXPECT_TRUE(diagonal.overlaps(across) == I::OVERLAPPING &&
              diagonal.overlapsExclude(across) == I::OVERLAPPING);
}

// Random shafts hold the corners of both boxes; a box answer of DISJOINT or CONTAINED holds for
// every point sampled in the box, under both boundary rules.
TEST(Shaft, RandomShaftsContainTheirBoxesAndAgreeWithPointsInOtherBoxes) {
  RnDefaultRng<float> rng(11);
  int answers[4] = {};
  for (int i = 0; i < 100; ++i) {
    const Box b1 = randomBox(rng, 2.0f), b2 = randomBox(rng, 2.0f);
    const GeShaft shaft(b1, b2);
    for (int k = 0; k < 16; ++k)
      EXPECT_TRUE(shaft.contains(at(k < 8 ? b1 : b2, k & 1, k >> 1 & 1, k >> 2 & 1))) << i;
    for (int j = 0; j < 10; ++j) {
      const Box b = randomBox(rng, 1.0f);
      const I::Containment answer = shaft.overlaps(b);
      ++answers[answer];
      for (int k = 0; k < 10 && (answer == I::DISJOINT || answer == I::CONTAINED); ++k) {
        const P p = at(b, rng(), rng(), rng());
        const bool inside = answer == I::CONTAINED;
        EXPECT_TRUE(shaft.contains(p) == inside && shaft.containsExclude(p) == inside) << i;
      }
    }
  }
  for (int k = 0; k < 3; ++k) EXPECT_GT(answers[k], 0) << "answer " << k;
}

TEST(Shaft, UninitializedShaftHoldsNothing) { EXPECT_FALSE(GeShaft().contains(P(0, 0, 0))); }

// Exact comparison takes the bounds, the plane count and the used planes; a count that differs
// makes shafts unequal at any tolerance.
TEST(Shaft, ComparisonsUseBoundsCountAndUsedPlanes) {
  const GeShaft a(unitBox, diagonalBox);
  const GeShaft shifted(unitBox, Box(I(4, 5.00001f), I(4, 5), I(0, 1)));
  EXPECT_TRUE(a == GeShaft(unitBox, diagonalBox) && a != shifted && isEqual(a, shifted, 1e-4f));
  EXPECT_FALSE(a.isEqual(GeShaft(unitBox, Box(I(4, 5), I(0, 1), I(0, 1))), 10.0f));
  // Boxes within the tolerance, planes beyond it: far from the origin the offsets grow.
  const Box far(I(1000, 1001), I(1000, 1001), I(0, 1)), wider(I(0, 1.0005f), I(0, 1), I(0, 1));
  EXPECT_FALSE(GeShaft(far, unitBox).isEqual(GeShaft(far, wider), 1e-3f));
}
