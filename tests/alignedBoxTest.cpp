#include <vezODedizezivuz/geAlignedBox3.h>

#include <zevIRudez/RnRng.h>

#include <vector>

#include "testUtil.h"

namespace {

using namespace Vo;

VO_REAL_TEST_SUITE(AlignedBoxes);

// Keeps every corner it is given and asks to stop after `limit` of them.
template <class T>
struct CornerRecorder : UnaryFunctor<GePoint3<T>, bool> {
  bool operator()(const GePoint3<T>& p) override {
    corners.push_back(p);
    return corners.size() < limit;
  }
  std::size_t limit = 8;
  std::vector<GePoint3<T>> corners;
};

template <class T>
GeAlignedBox3<T> box(T x0, T y0, T z0, T x1, T y1, T z1) {
  return GeAlignedBox3<T>(GePoint3<T>(x0, y0, z0), GePoint3<T>(x1, y1, z1));
}

// A box with a different extent on each axis.
const GeAlignedBox3<float> uneven = box<float>(-3, 0.5f, 2, 4, 1, 9);

TYPED_TEST(AlignedBoxes, CornersComeInGrayCodeOrderUntilStopped) {
  CornerRecorder<TypeParam> all, one;
  one.limit = 1;
  for (auto* recorder : {&all, &one}) box<TypeParam>(1, 3, 4, 0, 2, 5).enumerateCorners(*recorder);
  const std::vector<GePoint3<TypeParam>> expected = {{0, 2, 4}, {1, 2, 4}, {1, 3, 4}, {1, 3, 5},
                                                     {1, 2, 5}, {0, 2, 5}, {0, 3, 5}, {0, 3, 4}};
  EXPECT_EQ(all.corners, expected);
  EXPECT_EQ(one.corners.size(), 1u);
}

TYPED_TEST(AlignedBoxes, LineIntersectionRangesIncludingTheTwoKindsOfMiss) {
  using T = TypeParam;
  const GeAlignedBox3<T> unit = box<T>(0, 0, 0, 1, 1, 1);
  const T h = T(0.5);
  EXPECT_EQ(unit.intersectLine({h, h, -1}, {0, 0, -1}), Interval<T>(-2, -1));
  EXPECT_EQ(unit.intersectLine({1, h, 0}, {0, 0, 1}), Interval<T>(0, 1));  // parallel, on a face
  EXPECT_EQ(unit.intersectLine({2, h, 0}, {0, 0, 1}), Interval<T>::makeEmpty());  // parallel, out
  EXPECT_EQ(unit.intersectLine({2, h, 0}, {-1, 0, 2}), Interval<T>(1, h));  // skew: not canonical
}

// On the upper face the point counts as beyond the box; in the middle the upper end wins; below
// the box the lower bound is nearest.
TYPED_TEST(AlignedBoxes, NearestAndFarthestOffsetsPerAxis) {
  using T = TypeParam;
  GeVector3<T> near, far;
  box<T>(0, 0, 0, 1, 1, 1).computeMinMaxDistanceVectors({1, T(0.5), T(-0.5)}, near, far);
  EXPECT_TRUE(near == GeVector3<T>(0, 0, T(0.5)) && far == GeVector3<T>(-1, T(0.5), T(1.5)));
}

// Touching counts only inclusively; a box enclosing one axis and inside the others is a cross;
// one disjoint axis wins over the rest.
TEST(AlignedBoxClassify, AllAxesMustAgree) {
  const auto cube = box<float>(0, 0, 0, 4, 4, 4), touching = box<float>(4, 0, 0, 5, 4, 4);
  EXPECT_EQ(cube.classify(touching), Interval<float>::OVERLAPPING);
  EXPECT_EQ(cube.classifyExclude(touching), Interval<float>::DISJOINT);
  EXPECT_EQ(box<float>(1, -2, 1, 3, 9, 3).classify(cube), Interval<float>::OVERLAPPING);
  EXPECT_EQ(box<float>(1, 5, 1, 3, 6, 3).classify(cube), Interval<float>::DISJOINT);
}

TEST(AlignedBox, BuilderRebuildsTheBoxFromItsCorners) {
  GeAlignedBoxBuilder builder;
  uneven.enumerateCorners(builder);
  EXPECT_EQ(builder.getBox(), uneven);
}

TEST(AlignedBox, EqualityHasAnInclusiveTolerancePerBound) {
  EXPECT_TRUE(uneven.isEqual(box<float>(-3, 0.5f, 2.25f, 4, 1, 9), 0.25f));
  EXPECT_FALSE(uneven.isEqual(box<float>(-3, 0.5f, 2, 4, 1, 9.5f), 0.25f));
}

// Arvo's bounds are the box of the eight transformed corners to the bit, since they sum the same
// products in the same order; an empty box stays empty.
TYPED_TEST(AlignedBoxes, BoundsUnderAnAffineMatrixAreThoseOfTheTransformedCorners) {
  using T = TypeParam;
  RnDefaultRng<float> rng(99);
  auto r = [&rng] { return T(8 * rng() - 4); };
  for (int i = 0; i < 100; ++i) {
    const GeAffineMatrix3<T> m(GeLinearMatrix3<T>(r(), r(), r(), r(), r(), r(), r(), r(), r()),
                               GeVector3<T>(r(), r(), r()));
    const GeAlignedBox3<T> b(GePoint3<T>(r(), r(), r()), GePoint3<T>(r(), r(), r()));
    CornerRecorder<T> corners;
    b.enumerateCorners(corners);
    GeAlignedBox3<T> expected;
    for (const GePoint3<T>& corner : corners.corners) expected.extendBy(m * corner);
    EXPECT_EQ(b.transformed(m), expected) << i;
  }
  EXPECT_TRUE(GeAlignedBox3<T>().transformed(GeAffineMatrix3<T>()).isEmpty());
}

// Bounds belong to the box; an empty box is inside every box.
TYPED_TEST(AlignedBoxes, ContainmentCountsTheBoundsOnlyWhenNotStrict) {
  using T = TypeParam;
  const GeAlignedBox3<T> b = box<T>(0, 0, 0, 2, 4, 6), empty;
  EXPECT_TRUE(b.contains(GePoint3<T>(2, 0, 6)) && !b.containsStrictly(GePoint3<T>(2, 1, 1)));
  EXPECT_TRUE(b.containsStrictly(GePoint3<T>(1, 1, 1)) && !b.contains(GePoint3<T>(1, 1, T(6.5))));
  EXPECT_TRUE(b.contains(b) && !b.contains(box<T>(1, 1, 1, 3, 2, 2)));
  EXPECT_TRUE(empty.contains(empty) && !empty.contains(b));
}

// An empty box changes nothing it extends; centre and size follow the new bounds.
TYPED_TEST(AlignedBoxes, ExtendingByABoxTakesTheOuterBounds) {
  using T = TypeParam;
  GeAlignedBox3<T> b = box<T>(0, 0, 0, 2, 4, 6);
  for (const auto& other : {GeAlignedBox3<T>(), box<T>(-1, 1, 1, 1, 5, 2)}) b.extendBy(other);
  EXPECT_EQ(b, box<T>(-1, 0, 0, 2, 5, 6));
  EXPECT_TRUE(b.getCenter() == GePoint3<T>(T(0.5), T(2.5), 3) &&
              b.getSize() == GeVector3<T>(3, 5, 6));
}

}  // namespace
