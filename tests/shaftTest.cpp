#include <vezODedizezivuz/geShaft.h>
#include <zevIRudez/RnRng.h>

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

using namespace Vo;

namespace {

using Box = GeAlignedBox3<float>;
using I = Interval<float>;

const Box unitBox(I(0, 1), I(0, 1), I(0, 1));
const Box diagonalBox(I(4, 5), I(4, 5), I(0, 1));

std::vector<GePlane3<float>> planesOf(const GeShaft& shaft) {
  unsigned short count = 99;
  const GePlane3<float>* planes = shaft.getPlaneSet(count);
  return std::vector<GePlane3<float>>(planes, planes + count);
}

// A point exactly on `plane` (evaluate gives 0 in float) near the given x and z, found by
// stepping y through neighbouring floats.
bool pointOnPlane(const GePlane3<float>& plane, float x, float z, GePoint3<float>& p) {
  float y = -(plane.normal.x * x + plane.normal.z * z + plane.d) / plane.normal.y;
  y = std::nextafter(y, -1e30f);
  y = std::nextafter(y, -1e30f);
  for (int k = 0; k < 5; ++k, y = std::nextafter(y, 1e30f)) {
    p = GePoint3<float>(x, y, z);
    if (plane.evaluate(p) == 0.0f) return true;
  }
  return false;
}

GePoint3<float> randomPoint(RnRng<float>& rng, const Box& b) {
  return GePoint3<float>(b.x.min + rng() * (b.x.max - b.x.min),
                         b.y.min + rng() * (b.y.max - b.y.min),
                         b.z.min + rng() * (b.z.max - b.z.min));
}

Box randomBox(RnRng<float>& rng, float range, float size) {
  const GePoint3<float> c(range * rng(), range * rng(), range * rng());
  const GeVector3<float> h(size * rng() + 0.01f, size * rng() + 0.01f, size * rng() + 0.01f);
  return Box(c - h, c + h);
}

GePoint3<float> centreOf(const Box& b) {
  return GePoint3<float>((b.x.min + b.x.max) * 0.5f, (b.y.min + b.y.max) * 0.5f,
                         (b.z.min + b.z.max) * 0.5f);
}

}  // namespace

TEST(Shaft, BoxesSharingTheirOtherFacesGiveNoPlanes) {
  const GeShaft shaft(unitBox, Box(I(2, 3), I(0, 1), I(0, 1)));
  EXPECT_TRUE(planesOf(shaft).empty());
  EXPECT_TRUE(shaft.getExtentBox().isEqual(
      Box(I(-0.001f, 3.001f), I(-0.001f, 1.001f), I(-0.001f, 1.001f)), 1e-6f));
  // The boxes alone decide: the gap between them is part of the extent box.
  EXPECT_TRUE(shaft.contains(GePoint3<float>(1.5f, 0.5f, 0.5f)));
}

TEST(Shaft, DiagonalBoxesGiveTwoPlanesInLoopOrderFacingOutwards) {
  const GeShaft shaft(unitBox, diagonalBox);
  const std::vector<GePlane3<float>> planes = planesOf(shaft);
  ASSERT_EQ(planes.size(), 2u);
  // min x of box 1 with max y of box 2: the line y = x + 1.002; then min y with max x.
  EXPECT_NEAR(planes[0].normal.x, -4.0f, 1e-5f);
  EXPECT_NEAR(planes[0].normal.y, 4.0f, 1e-5f);
  EXPECT_EQ(planes[0].normal.z, 0.0f);
  EXPECT_NEAR(planes[0].d, -4.008f, 1e-5f);
  EXPECT_NEAR(planes[1].normal.x, 4.0f, 1e-5f);
  EXPECT_NEAR(planes[1].normal.y, -4.0f, 1e-5f);
  EXPECT_NEAR(planes[1].d, -4.008f, 1e-5f);
  for (const GePlane3<float>& plane : planes) {
    EXPECT_LT(plane.evaluate(GePoint3<float>(0.5f, 0.5f, 0.5f)), 0.0f);
    EXPECT_LT(plane.evaluate(GePoint3<float>(4.5f, 4.5f, 0.5f)), 0.0f);
  }
  EXPECT_FALSE(shaft.contains(GePoint3<float>(0.5f, 4.5f, 0.5f)));
  EXPECT_TRUE(shaft.contains(GePoint3<float>(2.5f, 2.5f, 0.5f)));
}

TEST(Shaft, MarginWidensAllAxesOrOnlyTheFirstFlatOne) {
  const GeShaft full(Box(I(0, 2), I(0, 1), I(0, 1)), unitBox);
  const float m2 = 0.001f * 2;
  EXPECT_EQ(full.getRefBox1(), Box(I(-m2, 2 + m2), I(-m2, 1 + m2), I(-m2, 1 + m2)));

  const GeShaft flatY(Box(I(0, 1), I(2, 2), I(0, 3)), unitBox);
  const float m3 = 0.001f * 3;
  EXPECT_EQ(flatY.getRefBox1(), Box(I(0, 1), I(2 - m3, 2 + m3), I(0, 3)));

  // Flat on x and y: only x is widened, y stays flat.
  const GeShaft flatXY(Box(I(1, 1), I(2, 2), I(0, 3)), unitBox);
  EXPECT_EQ(flatXY.getRefBox1(), Box(I(1 - m3, 1 + m3), I(2, 2), I(0, 3)));

  const Box point(GePoint3<float>(7, 8, 9));
  EXPECT_EQ(GeShaft(point, unitBox).getRefBox1(), point);
}

TEST(Shaft, JoiningPlaneIsOutsideForContainsAndInsideForContainsExclude) {
  const GeShaft shaft(unitBox, diagonalBox);
  GePoint3<float> p;
  ASSERT_TRUE(pointOnPlane(planesOf(shaft)[0], 2.0f, 0.5f, p));
  EXPECT_FALSE(shaft.contains(p));
  EXPECT_TRUE(shaft.containsExclude(p));
  // Reference box bounds count for contains and against containsExclude.
  const GePoint3<float> corner(shaft.getRefBox1().x.min, 0.5f, 0.5f);
  EXPECT_TRUE(shaft.contains(corner));
  EXPECT_FALSE(shaft.containsExclude(corner));
}

TEST(Shaft, BoxTouchingAJoiningPlaneFromOutsideIsDisjointOnlyInclusively) {
  const GeShaft shaft(unitBox, diagonalBox);
  GePoint3<float> p;
  ASSERT_TRUE(pointOnPlane(planesOf(shaft)[0], 2.0f, 0.5f, p));
  // p is the corner minimising the plane (maximum x, minimum y).
  const Box b(I(p.x - 0.5f, p.x), I(p.y, p.y + 0.5f), I(0.2f, 0.8f));
  EXPECT_EQ(shaft.overlaps(b), I::DISJOINT);
  EXPECT_EQ(shaft.overlapsExclude(b), I::OVERLAPPING);
}

TEST(Shaft, BoxTestsCoverTheContainmentCases) {
  const GeShaft shaft(unitBox, diagonalBox);
  EXPECT_EQ(shaft.overlaps(Box(I(-9, 9), I(-9, 9), I(-9, 9))), I::CONTAINING);
  EXPECT_EQ(shaft.overlaps(Box(I(7, 8), I(0, 1), I(0, 1))), I::DISJOINT);
  EXPECT_EQ(shaft.overlaps(Box(I(0.2f, 0.4f), I(0.2f, 0.4f), I(0.2f, 0.4f))), I::CONTAINED);
  EXPECT_EQ(shaft.overlaps(Box(I(2.4f, 2.6f), I(2.4f, 2.6f), I(0.2f, 0.4f))), I::CONTAINED);
  EXPECT_EQ(shaft.overlaps(Box(I(0.5f, 2), I(0.5f, 2), I(0.2f, 0.4f))), I::OVERLAPPING);
  EXPECT_EQ(shaft.overlaps(Box(I(2, 3), I(2, 3), I(0.5f, 2))), I::OVERLAPPING);
  // Touching the extent box from outside: contact only for the inclusive test.
  const float right = shaft.getExtentBox().x.max;
  const Box touching(I(right, right + 1), I(4, 5), I(0, 1));
  EXPECT_NE(shaft.overlaps(touching), I::DISJOINT);
  EXPECT_EQ(shaft.overlapsExclude(touching), I::DISJOINT);
}

TEST(Shaft, RandomShaftsContainTheirBoxesAndTheSegmentBetweenTheirCentres) {
  RnDefaultRng<float> rng(11);
  for (int i = 0; i < 300; ++i) {
    const Box b1 = randomBox(rng, 10.0f, 2.0f);
    const Box b2 = randomBox(rng, 10.0f, 2.0f);
    const GeShaft shaft(b1, b2);
    unsigned short count;
    shaft.getPlaneSet(count);
    EXPECT_LE(count, 8);
    for (const Box* b : {&b1, &b2}) {
      for (int k = 0; k < 8; ++k) {
        const GePoint3<float> corner(k & 1 ? b->x.max : b->x.min, k & 2 ? b->y.max : b->y.min,
                                     k & 4 ? b->z.max : b->z.min);
        EXPECT_TRUE(shaft.contains(corner)) << "pair " << i << " corner " << k;
      }
      EXPECT_NE(shaft.overlaps(*b), I::DISJOINT) << "pair " << i;
    }
    const GePoint3<float> c1 = centreOf(b1);
    const GeVector3<float> along = centreOf(b2) - c1;
    for (int k = 0; k <= 20; ++k) {
      const GePoint3<float> q = c1 + along * (k / 20.0f);
      EXPECT_TRUE(shaft.contains(q)) << "pair " << i << " at " << k / 20.0f;
    }
  }
}

TEST(Shaft, BoxAnswersAgreeWithPointsSampledInTheBox) {
  RnDefaultRng<float> rng(12);
  int answers[4] = {};
  for (int i = 0; i < 300; ++i) {
    const GeShaft shaft(randomBox(rng, 10.0f, 2.0f), randomBox(rng, 10.0f, 2.0f));
    for (int j = 0; j < 10; ++j) {
      const Box b = randomBox(rng, 10.0f, 1.0f);
      const I::Containment answer = shaft.overlaps(b);
      ++answers[answer];
      if (answer != I::DISJOINT && answer != I::CONTAINED) continue;
      for (int k = 0; k < 20; ++k) {
        const GePoint3<float> q = randomPoint(rng, b);
        EXPECT_EQ(shaft.contains(q), answer == I::CONTAINED)
            << "shaft " << i << " box " << j << " answer " << answer;
      }
    }
  }
  EXPECT_GT(answers[I::DISJOINT], 0);
  EXPECT_GT(answers[I::CONTAINED], 0);
  EXPECT_GT(answers[I::OVERLAPPING], 0);
}

TEST(Shaft, UninitializedShaftHoldsNothingAndSaysSo) {
  const GeShaft shaft;
  EXPECT_FALSE(shaft.contains(GePoint3<float>(0, 0, 0)));
  EXPECT_FALSE(shaft.containsExclude(GePoint3<float>(0, 0, 0)));
  EXPECT_EQ(shaft.overlaps(unitBox), I::DISJOINT);
  std::ostringstream os;
  os << shaft;
  EXPECT_EQ(os.str(), "Uninitialized shaft\n");
}

TEST(Shaft, DumpListsTheBoxesAndOnePlanePerLine) {
  std::ostringstream os;
  os << GeShaft(unitBox, diagonalBox);
  std::vector<std::string> lines;
  std::istringstream in(os.str());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].rfind("Ref.box 1=( X=[ -0.001, 1.001 ]", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1].rfind("Ref.box 2=( X=[ 3.999, 5.001 ]", 0), 0u) << lines[1];
  EXPECT_EQ(lines[2].rfind("Extent box=( X=[ -0.001, 5.001 ]", 0), 0u) << lines[2];
  EXPECT_EQ(lines[3], "Plane set=");
  EXPECT_EQ(lines[4].rfind(" [-4, 4, 0, -4.00", 0), 0u) << lines[4];
  EXPECT_EQ(lines[5].rfind(" [4, -4, 0, -4.00", 0), 0u) << lines[5];
}

TEST(Shaft, ComparisonsUseBoundsCountAndUsedPlanes) {
  const GeShaft a(unitBox, diagonalBox);
  GeShaft b;
  b = a;
  EXPECT_TRUE(a == b);
  EXPECT_TRUE(isEqual(a, b, 0.0f));
  const GeShaft shifted(unitBox, Box(I(4, 5.00001f), I(4, 5), I(0, 1)));
  EXPECT_FALSE(a == shifted);
  EXPECT_TRUE(a != shifted);
  EXPECT_TRUE(a.isEqual(shifted, 1e-4f));
  EXPECT_FALSE(a.isEqual(shifted, 1e-7f));
  // Same boxes but different plane counts.
  EXPECT_FALSE(a.isEqual(GeShaft(unitBox, Box(I(4, 5), I(0, 1), I(0, 1))), 10.0f));
}
