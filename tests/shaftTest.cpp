#include <vezODedizezivuz/geShaft.h>
#include <zevIRudez/RnRng.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>

using namespace Vo;

namespace {

using Box = GeAlignedBox3<float>;
using I = Interval<float>;

const Box unitBox(I(0, 1), I(0, 1), I(0, 1));
const Box diagonalBox(I(4, 5), I(4, 5), I(0, 1));

// A point exactly on `plane` (evaluate gives 0 in float) at the given x and z, found by stepping
// y through neighbouring floats.
bool pointOnPlane(const GePlane3<float>& plane, float x, float z, GePoint3<float>& p) {
  float y = -(plane.normal.x * x + plane.normal.z * z + plane.d) / plane.normal.y;
  y = std::nextafter(std::nextafter(y, -1e30f), -1e30f);
  for (int k = 0; k < 5; ++k, y = std::nextafter(y, 1e30f)) {
    p = GePoint3<float>(x, y, z);
    if (plane.evaluate(p) == 0.0f) return true;
  }
  return false;
}

Box randomBox(RnRng<float>& rng, float size) {
  const GePoint3<float> c(10 * rng(), 10 * rng(), 10 * rng());
  const GeVector3<float> h(size * rng() + 0.01f, size * rng() + 0.01f, size * rng() + 0.01f);
  return Box(c - h, c + h);
}

// The point of b at the fractions (tx, ty, tz) of its extent on each axis.
GePoint3<float> at(const Box& b, float tx, float ty, float tz) {
  return GePoint3<float>(b.x.min + tx * (b.x.max - b.x.min), b.y.min + ty * (b.y.max - b.y.min),
                         b.z.min + tz * (b.z.max - b.z.min));
}

}  // namespace

TEST(Shaft, BoxesSharingTheirOtherFacesGiveNoPlanesAndDiagonalBoxesTwoFacingOutwards) {
  const GeShaft side(unitBox, Box(I(2, 3), I(0, 1), I(0, 1)));
  unsigned short count = 99;
  side.getPlaneSet(count);
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(side.getExtentBox().isEqual(
      Box(I(-0.001f, 3.001f), I(-0.001f, 1.001f), I(-0.001f, 1.001f)), 1e-6f));
  EXPECT_TRUE(side.contains(GePoint3<float>(1.5f, 0.5f, 0.5f)));  // the gap between the boxes

  const GeShaft shaft(unitBox, diagonalBox);
  const GePlane3<float>* planes = shaft.getPlaneSet(count);
  ASSERT_EQ(count, 2);
  // min x of box 1 with max y of box 2: the line y = x + 1.002; then min y with max x.
  for (int i = 0; i < 2; ++i) {
    const float sign = i == 0 ? 1.0f : -1.0f;
    const GePlane3<float>& p = planes[i];
    EXPECT_TRUE(std::fabs(p.normal.x + 4 * sign) < 1e-5f &&
                std::fabs(p.normal.y - 4 * sign) < 1e-5f && p.normal.z == 0 &&
                std::fabs(p.d + 4.008f) < 1e-5f)
        << "plane " << i << ": " << p;
  }
  EXPECT_FALSE(shaft.contains(GePoint3<float>(0.5f, 4.5f, 0.5f)));
  EXPECT_TRUE(shaft.contains(GePoint3<float>(2.5f, 2.5f, 0.5f)));
}

TEST(Shaft, MarginWidensAllAxesOrOnlyTheFirstFlatOne) {
  const float m2 = 0.001f * 2, m3 = 0.001f * 3;
  const Box point(GePoint3<float>(7, 8, 9));
  const Box cases[][2] = {
      {Box(I(0, 2), I(0, 1), I(0, 1)), Box(I(-m2, 2 + m2), I(-m2, 1 + m2), I(-m2, 1 + m2))},
      {Box(I(0, 1), I(2, 2), I(0, 3)), Box(I(0, 1), I(2 - m3, 2 + m3), I(0, 3))},
      {Box(I(1, 1), I(2, 2), I(0, 3)), Box(I(1 - m3, 1 + m3), I(2, 2), I(0, 3))},
      {point, point}};
  for (const auto& c : cases) EXPECT_EQ(GeShaft(c[0], unitBox).getRefBox1(), c[1]) << c[0];
}

TEST(Shaft, JoiningPlaneCountsAsOutsideInclusivelyAndAsInsideExclusively) {
  const GeShaft shaft(unitBox, diagonalBox);
  unsigned short count;
  GePoint3<float> p;
  ASSERT_TRUE(pointOnPlane(*shaft.getPlaneSet(count), 2.0f, 0.5f, p));
  EXPECT_FALSE(shaft.contains(p));
  EXPECT_TRUE(shaft.containsExclude(p));
  // Reference box bounds count for contains and against containsExclude.
  const GePoint3<float> corner(shaft.getRefBox1().x.min, 0.5f, 0.5f);
  EXPECT_TRUE(shaft.contains(corner));
  EXPECT_FALSE(shaft.containsExclude(corner));
  // A box touching the plane from outside at its corner p (maximum x, minimum y).
  const Box touching(I(p.x - 0.5f, p.x), I(p.y, p.y + 0.5f), I(0.2f, 0.8f));
  EXPECT_EQ(shaft.overlaps(touching), I::DISJOINT);
  EXPECT_EQ(shaft.overlapsExclude(touching), I::OVERLAPPING);
  // Touching the extent box from outside: contact only for the inclusive test.
  const float right = shaft.getExtentBox().x.max;
  const Box beside(I(right, right + 1), I(4, 5), I(0, 1));
  EXPECT_NE(shaft.overlaps(beside), I::DISJOINT);
  EXPECT_EQ(shaft.overlapsExclude(beside), I::DISJOINT);
}

TEST(Shaft, BoxTestsCoverTheContainmentCases) {
  const GeShaft shaft(unitBox, diagonalBox);
  EXPECT_EQ(shaft.overlaps(Box(I(-9, 9), I(-9, 9), I(-9, 9))), I::CONTAINING);
  EXPECT_EQ(shaft.overlaps(Box(I(7, 8), I(0, 1), I(0, 1))), I::DISJOINT);
  EXPECT_EQ(shaft.overlaps(Box(I(0.2f, 0.4f), I(0.2f, 0.4f), I(0.2f, 0.4f))), I::CONTAINED);
  EXPECT_EQ(shaft.overlaps(Box(I(2.4f, 2.6f), I(2.4f, 2.6f), I(0.2f, 0.4f))), I::CONTAINED);
  EXPECT_EQ(shaft.overlaps(Box(I(2, 3), I(2, 3), I(0.5f, 2))), I::OVERLAPPING);
}

// Random shafts hold both boxes and the segment between their centres; a box answer of DISJOINT
// or CONTAINED holds for every point sampled in the box.
TEST(Shaft, RandomShaftsContainTheirBoxesAndAgreeWithPointsInOtherBoxes) {
  RnDefaultRng<float> rng(11);
  int answers[4] = {};
  for (int i = 0; i < 300; ++i) {
    const Box b1 = randomBox(rng, 2.0f), b2 = randomBox(rng, 2.0f);
    const GeShaft shaft(b1, b2);
    unsigned short count;
    shaft.getPlaneSet(count);
    EXPECT_LE(count, 8);
    for (const Box* b : {&b1, &b2}) {
      for (int k = 0; k < 8; ++k) {
        EXPECT_TRUE(shaft.contains(at(*b, k & 1, k >> 1 & 1, k >> 2 & 1)))
            << "pair " << i << " corner " << k;
      }
      EXPECT_NE(shaft.overlaps(*b), I::DISJOINT) << "pair " << i;
    }
    const GePoint3<float> c1 = at(b1, 0.5f, 0.5f, 0.5f);
    const GeVector3<float> along = at(b2, 0.5f, 0.5f, 0.5f) - c1;
    for (int k = 0; k <= 20; ++k) {
      EXPECT_TRUE(shaft.contains(c1 + along * (k / 20.0f))) << "pair " << i << " at " << k / 20.0f;
    }
    for (int j = 0; j < 10; ++j) {
      const Box b = randomBox(rng, 1.0f);
      const I::Containment answer = shaft.overlaps(b);
      ++answers[answer];
      for (int k = 0; k < 20 && (answer == I::DISJOINT || answer == I::CONTAINED); ++k) {
        EXPECT_EQ(shaft.contains(at(b, rng(), rng(), rng())), answer == I::CONTAINED)
            << "pair " << i << " box " << j << " answer " << answer;
      }
    }
  }
  for (int k = 0; k < 3; ++k) EXPECT_GT(answers[k], 0) << "answer " << k;
}

TEST(Shaft, DumpListsTheBoxesAndOnePlanePerLineOrSaysItIsUninitialized) {
  std::ostringstream os, empty;
  os << GeShaft(unitBox, diagonalBox);
  const std::string text = os.str();
  std::size_t pos = 0;
  for (const char* part : {"Ref.box 1=( X=[ -0.001, 1.001 ]", "\nRef.box 2=( X=[ 3.999, 5.001 ]",
                           "\nExtent box=( X=[ -0.001, 5.001 ]", "\nPlane set=\n [-4, 4, 0, -4.00",
                           "\n [4, -4, 0, -4.00"}) {
    pos = text.find(part, pos);
    EXPECT_NE(pos, std::string::npos) << part << " in " << text;
  }
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 6) << text;
  const GeShaft uninitialized;
  EXPECT_FALSE(uninitialized.contains(GePoint3<float>(0, 0, 0)));
  EXPECT_FALSE(uninitialized.containsExclude(GePoint3<float>(0, 0, 0)));
  EXPECT_EQ(uninitialized.overlaps(unitBox), I::DISJOINT);
  empty << uninitialized;
  EXPECT_EQ(empty.str(), "Uninitialized shaft\n");
}

TEST(Shaft, ComparisonsUseBoundsCountAndUsedPlanes) {
  const GeShaft a(unitBox, diagonalBox);
  const GeShaft shifted(unitBox, Box(I(4, 5.00001f), I(4, 5), I(0, 1)));
  EXPECT_TRUE(a == GeShaft(unitBox, diagonalBox));
  EXPECT_TRUE(a != shifted);
  EXPECT_TRUE(isEqual(a, shifted, 1e-4f));
  EXPECT_FALSE(a.isEqual(shifted, 1e-7f));
  // Same boxes but different plane counts.
  EXPECT_FALSE(a.isEqual(GeShaft(unitBox, Box(I(4, 5), I(0, 1), I(0, 1))), 10.0f));
}
