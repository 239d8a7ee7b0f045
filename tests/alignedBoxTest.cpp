#include <vezODedizezivuz/geAlignedBox3.h>

#include <gtest/gtest.h>
#include <zevIRudez/RnRng.h>

#include <algorithm>
#include <limits>
#include <sstream>
#include <type_traits>
#include <vector>

#include "testUtil.h"

namespace {

using namespace Vo;

// Layout and the functor's type names are part of the interface.
static_assert(std::is_same_v<UnaryFunctor<GePoint3<float>, bool>::argument_type, GePoint3<float>>);
static_assert(std::is_same_v<UnaryFunctor<GeVector3<float>, void>::result_type, void>);
static_assert(sizeof(GeAlignedBox3<double>) == 6 * sizeof(double));

template <class T>
class AlignedBoxes : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(AlignedBoxes, Reals);

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

TYPED_TEST(AlignedBoxes, BoundsAreOrderedTheDefaultIsEmptyAndCornersComeInGrayCodeOrder) {
  using T = TypeParam;
  EXPECT_EQ(box<T>(1, 5, 0, 0, 2, 3),
            GeAlignedBox3<T>(Interval<T>(0, 1), Interval<T>(2, 5), Interval<T>(0, 3)));
  GeAlignedBox3<T> grown;
  grown.extendBy(GePoint3<T>(1, 2, 3));
  EXPECT_EQ(grown, GeAlignedBox3<T>(GePoint3<T>(1, 2, 3)));
  CornerRecorder<T> all, one, ofEmpty;
  box<T>(0, 2, 4, 1, 3, 5).enumerateCorners(all);
  const std::vector<GePoint3<T>> expected = {{0, 2, 4}, {1, 2, 4}, {1, 3, 4}, {1, 3, 5},
                                             {1, 2, 5}, {0, 2, 5}, {0, 3, 5}, {0, 3, 4}};
  EXPECT_EQ(all.corners, expected);
  one.limit = 1;
  box<T>(0, 2, 4, 1, 3, 5).enumerateCorners(one);
  EXPECT_EQ(one.corners.size(), 1u);
  // The canonical empty box still yields eight corners, made of the largest values.
  GeAlignedBox3<T>().enumerateCorners(ofEmpty);
  ASSERT_EQ(ofEmpty.corners.size(), 8u);
  EXPECT_EQ(ofEmpty.corners[0].x, std::numeric_limits<T>::max());
  EXPECT_EQ(ofEmpty.corners[3].z, -std::numeric_limits<T>::max());
}

TYPED_TEST(AlignedBoxes, LineIntersectionRangesIncludingTheTwoKindsOfMiss) {
  using T = TypeParam;
  const auto hit = [](T ox, T oy, T oz, T dx, T dy, T dz) {
    return box<T>(0, 0, 0, 1, 1, 1)
        .intersectLine(GePoint3<T>(ox, oy, oz), GeVector3<T>(dx, dy, dz));
  };
  EXPECT_EQ(hit(T(0.5), T(0.5), -1, 0, 0, 1), Interval<T>(1, 2));
  EXPECT_EQ(hit(T(0.5), T(0.5), -1, 0, 0, -1), Interval<T>(-2, -1));
  EXPECT_EQ(hit(1, T(0.5), 0, 0, 0, 1), Interval<T>(0, 1));         // parallel, on a face
  EXPECT_EQ(hit(2, T(0.5), 0, 0, 0, 1), Interval<T>::makeEmpty());  // parallel, outside
  EXPECT_EQ(hit(2, T(0.5), 0, -1, 0, 2), Interval<T>(1, T(0.5)));   // skew miss: not canonical
}

TYPED_TEST(AlignedBoxes, IntersectionParametersLieInTheBox) {
  using T = TypeParam;
  RnDefaultRng<T> rng(20261206);
  const GeAlignedBox3<T> b = box<T>(-1, 0, 2, 3, 1, 5);
  int hits = 0;
  for (int i = 0; i < 500; ++i) {
    const GePoint3<T> o(8 * rng() - 3, 4 * rng() - 2, 8 * rng());
    const GeVector3<T> d(2 * rng() - 1, 2 * rng() - 1, 2 * rng() - 1);
    const Interval<T> r = b.intersectLine(o, d);
    if (r.isEmpty()) continue;
    ++hits;
    for (const T t : {r.min, r.max})
      for (int axis = 0; axis < 3; ++axis) {
        const T p = (o + d * t)[axis];
        EXPECT_NEAR(p, std::clamp(p, b.getInterval(axis).min, b.getInterval(axis).max),
                    100 * VoTest::tolerance<T>())
            << "origin " << o << " direction " << d << " t " << t;
      }
  }
  EXPECT_GT(hits, 50);
}

TYPED_TEST(AlignedBoxes, NearestAndFarthestOffsetsPerAxis) {
  using T = TypeParam;
  GeVector3<T> nearest, farthest;
  const GeAlignedBox3<T> unit = box<T>(0, 0, 0, 1, 1, 1);
  unit.computeMinMaxDistanceVectors(GePoint3<T>(T(0.25), 2, -1), nearest, farthest);
  EXPECT_EQ(nearest, GeVector3<T>(0, -1, 1));
  EXPECT_EQ(farthest, GeVector3<T>(T(0.75), -2, 2));
  // On the upper face the point counts as beyond the box; in the middle the upper end wins.
  unit.computeMinMaxDistanceVectors(GePoint3<T>(1, T(0.5), 0), nearest, farthest);
  EXPECT_EQ(nearest, GeVector3<T>(0, 0, 0));
  EXPECT_EQ(farthest, GeVector3<T>(-1, T(0.5), 1));
}

TEST(AlignedBoxClassify, TouchingCountsOnlyInclusivelyAndAllAxesMustAgree) {
  using I = Interval<float>;
  const GeAlignedBox3<float> outer = box<float>(-1, -1, -1, 2, 2, 2);
  const GeAlignedBox3<float> unit = box<float>(0, 0, 0, 1, 1, 1);
  const GeAlignedBox3<float> touching = box<float>(1, 0, 0, 2, 1, 1);
  EXPECT_EQ(unit.classify(touching), I::OVERLAPPING);
  EXPECT_EQ(unit.classifyExclude(touching), I::DISJOINT);
  EXPECT_EQ(unit.classify(outer), I::CONTAINED);
  EXPECT_EQ(outer.classifyExclude(unit), I::CONTAINING);
  // Inside on x and z but enclosing on y is a cross; one disjoint axis wins over the rest.
  EXPECT_EQ(box<float>(0, -2, 0, 1, 3, 1).classify(outer), I::OVERLAPPING);
  EXPECT_EQ(box<float>(0, 5, 0, 1, 6, 1).classify(outer), I::DISJOINT);
}

TEST(AlignedBox, BuilderRebuildsFromCornersEqualityHasATolerancePerBoundAndDump) {
  const GeAlignedBox3<float> b = box<float>(-3, 0.5f, 2, 4, 1, 9);
  GeAlignedBoxBuilder builder;
  b.enumerateCorners(builder);
  EXPECT_EQ(builder.getBox(), b);
  builder.reset();
  EXPECT_EQ(builder.getBox(), GeAlignedBox3<float>());
  EXPECT_TRUE(b.isEqual(box<float>(-3, 0.5f, 2.25f, 4, 1, 9), 0.25f));
  EXPECT_FALSE(b.isEqual(box<float>(-3, 0.5f, 2, 4, 1, 9.5f), 0.25f));
  std::ostringstream s;
  s << box<double>(0, 0, 0, 1, 1, 1);
  EXPECT_EQ(s.str(), "( X=[ 0, 1 ], Y=[ 0, 1 ], Z=[ 0, 1 ] )");
}

}  // namespace
