#include <vezODedizezivuz/geAlignedBox3.h>

#include <gtest/gtest.h>
#include <zevIRudez/RnRng.h>

#include <limits>
#include <sstream>
#include <type_traits>
#include <vector>

#include "testUtil.h"

namespace {

using namespace Vo;

static_assert(std::is_same_v<UnaryFunctor<GePoint3<float>, bool>::argument_type, GePoint3<float>>);
static_assert(std::is_same_v<UnaryFunctor<GeVector3<float>, void>::result_type, void>);
static_assert(std::is_abstract_v<UnaryFunctor<GePoint3<double>, bool>>);
static_assert(sizeof(GeAlignedBox3<double>) == 6 * sizeof(double));
static_assert(std::is_trivially_copyable_v<GeAlignedBox3<float>>);

template <class T>
class AlignedBoxes : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(AlignedBoxes, Reals);

// Keeps every corner it is given and asks to stop after `limit` of them.
template <class T>
struct CornerRecorder : UnaryFunctor<GePoint3<T>, bool> {
  explicit CornerRecorder(int limit = 8) : limit(limit) {}
  bool operator()(const GePoint3<T>& p) override {
    corners.push_back(p);
    return static_cast<int>(corners.size()) < limit;
  }
  int limit;
  std::vector<GePoint3<T>> corners;
};

template <class T>
GeAlignedBox3<T> unitBox() {
  return GeAlignedBox3<T>(GePoint3<T>(0, 0, 0), GePoint3<T>(1, 1, 1));
}

TYPED_TEST(AlignedBoxes, TwoPointsGiveOrderedBoundsWhateverTheirOrder) {
  using T = TypeParam;
  const GeAlignedBox3<T> box(GePoint3<T>(1, 5, 0), GePoint3<T>(0, 2, 3));
  EXPECT_EQ(box, GeAlignedBox3<T>(Interval<T>(0, 1), Interval<T>(2, 5), Interval<T>(0, 3)));
  EXPECT_EQ(box.getInterval(1), Interval<T>(2, 5));
  EXPECT_FALSE(box.isEmpty());
}

TYPED_TEST(AlignedBoxes, DefaultBoxIsCanonicallyEmptyOnEveryAxis) {
  using T = TypeParam;
  const GeAlignedBox3<T> box;
  for (int axis = 0; axis < 3; ++axis) EXPECT_EQ(box.getInterval(axis), Interval<T>::makeEmpty());
  EXPECT_TRUE(box.isEmpty());
  GeAlignedBox3<T> grown = box;
  grown.extendBy(GePoint3<T>(1, 2, 3));
  EXPECT_EQ(grown, GeAlignedBox3<T>(GePoint3<T>(1, 2, 3)));
}

TYPED_TEST(AlignedBoxes, CornersComeInGrayCodeOrderAndEachOnce) {
  using T = TypeParam;
  const GeAlignedBox3<T> box(GePoint3<T>(0, 2, 4), GePoint3<T>(1, 3, 5));
  CornerRecorder<T> recorder;
  box.enumerateCorners(recorder);
  const std::vector<GePoint3<T>> expected = {{0, 2, 4}, {1, 2, 4}, {1, 3, 4}, {1, 3, 5},
                                             {1, 2, 5}, {0, 2, 5}, {0, 3, 5}, {0, 3, 4}};
  EXPECT_EQ(recorder.corners, expected);
}

TYPED_TEST(AlignedBoxes, EnumerationStopsAtTheFirstFalse) {
  using T = TypeParam;
  for (int limit = 1; limit <= 8; ++limit) {
    CornerRecorder<T> recorder(limit);
    unitBox<T>().enumerateCorners(recorder);
    EXPECT_EQ(recorder.corners.size(), static_cast<std::size_t>(limit)) << "limit " << limit;
  }
  CornerRecorder<T> ofEmpty;
  GeAlignedBox3<T>().enumerateCorners(ofEmpty);
  ASSERT_EQ(ofEmpty.corners.size(), 8u);
  EXPECT_EQ(ofEmpty.corners[0].x, std::numeric_limits<T>::max());
  EXPECT_EQ(ofEmpty.corners[3].z, -std::numeric_limits<T>::max());
}

TYPED_TEST(AlignedBoxes, LineThroughTheBoxGivesItsParameterRangeInEitherDirection) {
  using T = TypeParam;
  const GeAlignedBox3<T> box = unitBox<T>();
  const GePoint3<T> below(T(0.5), T(0.5), -1);
  EXPECT_EQ(box.intersectLine(below, GeVector3<T>(0, 0, 1)), Interval<T>(1, 2));
  EXPECT_EQ(box.intersectLine(below, GeVector3<T>(0, 0, -1)), Interval<T>(-2, -1));
}

TYPED_TEST(AlignedBoxes, ParallelLineOutsideGivesTheCanonicalEmptyInterval) {
  using T = TypeParam;
  const Interval<T> r =
      unitBox<T>().intersectLine(GePoint3<T>(2, T(0.5), 0), GeVector3<T>(0, 0, 1));
  EXPECT_EQ(r, Interval<T>::makeEmpty());
  // A parallel line on the face still meets the box.
  EXPECT_EQ(unitBox<T>().intersectLine(GePoint3<T>(1, T(0.5), 0), GeVector3<T>(0, 0, 1)),
            Interval<T>(0, 1));
}

TYPED_TEST(AlignedBoxes, MissingSkewLineGivesAnInvertedButNotCanonicalInterval) {
  using T = TypeParam;
  const Interval<T> r =
      unitBox<T>().intersectLine(GePoint3<T>(2, T(0.5), 0), GeVector3<T>(-1, 0, 2));
  EXPECT_EQ(r, Interval<T>(1, T(0.5)));
  EXPECT_TRUE(r.isEmpty());
}

TYPED_TEST(AlignedBoxes, IntersectionParametersLieOnTheBoxSurface) {
  using T = TypeParam;
  RnDefaultRng<T> rng(20261206);
  const GeAlignedBox3<T> box(GePoint3<T>(-1, 0, 2), GePoint3<T>(3, 1, 5));
  const T tol = 100 * VoTest::tolerance<T>();
  int hits = 0;
  for (int i = 0; i < 500; ++i) {
    const GePoint3<T> o(8 * rng() - 3, 4 * rng() - 2, 8 * rng());
    const GeVector3<T> d(2 * rng() - 1, 2 * rng() - 1, 2 * rng() - 1);
    const Interval<T> r = box.intersectLine(o, d);
    if (r.isEmpty()) continue;
    ++hits;
    for (const T t : {r.min, r.max, (r.min + r.max) / 2}) {
      const GePoint3<T> p = o + d * t;
      EXPECT_TRUE(p.x >= -1 - tol && p.x <= 3 + tol && p.y >= -tol && p.y <= 1 + tol &&
                  p.z >= 2 - tol && p.z <= 5 + tol)
          << "origin " << o << " direction " << d << " t " << t;
    }
  }
  EXPECT_GT(hits, 50);
}

TYPED_TEST(AlignedBoxes, NearestAndFarthestOffsetsPerAxis) {
  using T = TypeParam;
  GeVector3<T> nearest;
  GeVector3<T> farthest;
  unitBox<T>().computeMinMaxDistanceVectors(GePoint3<T>(T(0.25), 2, -1), nearest, farthest);
  EXPECT_EQ(nearest, GeVector3<T>(0, -1, 1));
  EXPECT_EQ(farthest, GeVector3<T>(T(0.75), -2, 2));
  // On the upper face the point counts as beyond the box; in the middle the upper end wins.
  unitBox<T>().computeMinMaxDistanceVectors(GePoint3<T>(1, T(0.5), 0), nearest, farthest);
  EXPECT_EQ(nearest, GeVector3<T>(0, 0, 0));
  EXPECT_EQ(farthest, GeVector3<T>(-1, T(0.5), 1));
}

TEST(AlignedBoxClassify, TouchingFacesMeetInclusivelyButNotExclusively) {
  using Box = GeAlignedBox3<float>;
  const Box a = unitBox<float>();
  const Box b(GePoint3<float>(1, 0, 0), GePoint3<float>(2, 1, 1));
  EXPECT_EQ(a.classify(b), Box::Containment(Interval<float>::OVERLAPPING));
  EXPECT_EQ(a.classifyExclude(b), Box::Containment(Interval<float>::DISJOINT));
}

TEST(AlignedBoxClassify, AllAxesMustAgreeOnContainment) {
  using Box = GeAlignedBox3<float>;
  const Box inner(GePoint3<float>(0, 0, 0), GePoint3<float>(1, 1, 1));
  const Box outer(GePoint3<float>(-1, -1, -1), GePoint3<float>(2, 2, 2));
  EXPECT_EQ(inner.classify(outer), Interval<float>::CONTAINED);
  EXPECT_EQ(outer.classify(inner), Interval<float>::CONTAINING);
  EXPECT_EQ(outer.classifyExclude(inner), Interval<float>::CONTAINING);
  // Inside on x and z but enclosing on y: a cross, not a containment.
  const Box cross(GePoint3<float>(0, -2, 0), GePoint3<float>(1, 3, 1));
  EXPECT_EQ(cross.classify(outer), Interval<float>::OVERLAPPING);
  // Disjoint on one axis wins over everything else.
  const Box apart(GePoint3<float>(0, 5, 0), GePoint3<float>(1, 6, 1));
  EXPECT_EQ(apart.classify(outer), Interval<float>::DISJOINT);
}

TEST(AlignedBoxIsEqual, ComparesEveryBoundWithinTheTolerance) {
  const GeAlignedBox3<float> a = unitBox<float>();
  EXPECT_TRUE(a.isEqual(
      GeAlignedBox3<float>(GePoint3<float>(0, 0, 0.25f), GePoint3<float>(1, 1, 1)), 0.25f));
  EXPECT_FALSE(a.isEqual(
      GeAlignedBox3<float>(GePoint3<float>(0, 0, 0), GePoint3<float>(1, 1, 1.5f)), 0.25f));
}

TYPED_TEST(AlignedBoxes, DumpsTheThreeIntervals) {
  std::ostringstream s;
  s << unitBox<TypeParam>();
  EXPECT_EQ(s.str(), "( X=[ 0, 1 ], Y=[ 0, 1 ], Z=[ 0, 1 ] )");
}

TEST(AlignedBoxBuilder, AccumulatesTheBoundingBoxAndResets) {
  GeAlignedBoxBuilder builder;
  EXPECT_EQ(builder.getBox(), GeAlignedBox3<float>());
  EXPECT_TRUE(builder(GePoint3<float>(1, 2, 3)));
  EXPECT_TRUE(builder(GePoint3<float>(-1, 0, 5)));
  const GeAlignedBox3<float> expected(Interval<float>(-1, 1), Interval<float>(0, 2),
                                      Interval<float>(3, 5));
  EXPECT_EQ(builder.getBox(), expected);
  const GeAlignedBoxBuilder copy = builder;
  builder.reset();
  EXPECT_EQ(builder.getBox(), GeAlignedBox3<float>());
  EXPECT_EQ(copy.getBox(), expected);
}

TEST(AlignedBoxBuilder, RebuildsABoxFromItsCorners) {
  const GeAlignedBox3<float> box(GePoint3<float>(-3, 0.5f, 2), GePoint3<float>(4, 1, 9));
  GeAlignedBoxBuilder builder;
  box.enumerateCorners(builder);
  EXPECT_EQ(builder.getBox(), box);
}

}  // namespace
