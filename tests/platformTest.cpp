#include <zevIRudez/Assertions.h>
#include <zevIRudez/FloatUtil.h>
#include <zevIRudez/Interval.h>
#include <zevIRudez/RnRng.h>

#include <gtest/gtest.h>

#include <cfloat>
#include <sstream>
#include <stdexcept>

namespace {

using IntervalF = Vo::Interval<float>;

// The message names the site and the failed condition; the site's parts are checked wherever
// a report is expected.
TEST(Assertions, MessagesNameTheSite) {
  try {
    Vo::Assertions::throwAssertionFailed("base/matrix3x3Imp.imp", 126, "nonSingular");
  } catch (const std::logic_error& e) {
    EXPECT_STREQ(e.what(), "base/matrix3x3Imp.imp:126: assertion failed: nonSingular");
  }
  try {
    Vo::Assertions::throwProgramAborted("primitives\\geShaft", 190);
  } catch (const std::logic_error& e) {
    EXPECT_STREQ(e.what(), "primitives\\geShaft:190: program aborted");
  }
}

TEST(FloatUtil, IsEqualIsAbsoluteAndInclusive) {
  EXPECT_TRUE(Vo::FloatUtil::isEqual(1.0f, 1.5f, 0.5f));
  EXPECT_FALSE(Vo::FloatUtil::isEqual(1000.0f, 1000.5f, 0.25f));
  EXPECT_TRUE(Vo::FloatUtil::isEqual(0.0f, 1e-6f));
  EXPECT_FALSE(Vo::FloatUtil::isEqual(0.0f, 2e-6f));
  EXPECT_FALSE(Vo::FloatUtil::isEqual(NAN, NAN, 1.0f));
}

// The canonical empty interval runs from the largest value to the lowest, so that extending it
// by a point gives the point; an intersection may be empty without being canonical.
TEST(Interval, ExtendingTheEmptyIntervalGivesThePointsRange) {
  IntervalF empty = IntervalF::makeEmpty();
  EXPECT_TRUE(empty.isEmpty() && empty.min == FLT_MAX && empty.max == -FLT_MAX);
  for (const float x : {2.0f, -1.0f}) empty.extendBy(x);
  EXPECT_EQ(empty, IntervalF(-1.0f, 2.0f));
  IntervalF a(0.0f, 1.0f);
  a.intersectWith(IntervalF(2.0f, 3.0f));
  EXPECT_EQ(a, IntervalF(2.0f, 1.0f));
}

// Touching ends meet inclusively but not exclusively; containment names the subject relative
// to the object.
TEST(Interval, ClassifyInclusivelyAndExclusively) {
  const IntervalF unit(0.0f, 1.0f), outer(-1.0f, 2.0f);
  const auto expectClass = [](IntervalF subject, IntervalF object, auto inclusive, auto exclusive) {
    EXPECT_EQ(subject.classify(object), inclusive) << subject << " in " << object;
    EXPECT_EQ(subject.classifyExclude(object), exclusive) << subject << " in " << object;
  };
  expectClass(unit, IntervalF(1.0f, 2.0f), IntervalF::OVERLAPPING, IntervalF::DISJOINT);
  expectClass(unit, IntervalF(1.5f, 2.0f), IntervalF::DISJOINT, IntervalF::DISJOINT);
  expectClass(unit, outer, IntervalF::CONTAINED, IntervalF::CONTAINED);
  expectClass(outer, unit, IntervalF::CONTAINING, IntervalF::CONTAINING);
  expectClass(unit, unit, IntervalF::CONTAINED, IntervalF::CONTAINED);
  expectClass(IntervalF(0.5f, 3.0f), outer, IntervalF::OVERLAPPING, IntervalF::OVERLAPPING);
}

TEST(Interval, DumpsInBrackets) {
  std::ostringstream s;
  IntervalF(0.5f, -2.0f).dump(s);
  EXPECT_EQ(s.str(), "[ 0.5, -2 ]");
}

// The first output of MT19937 seeded with 5489 is 3499211612, the 10000th 4123659995 (C++
// [rand.predef]); float keeps the top 24 bits, which here round to the same value.
TEST(RnDefaultRng, MatchesTheReferenceMersenneTwister) {
  Vo::RnDefaultRng<double> rng(5489);
  Vo::RnDefaultRng<float> single(5489);
  EXPECT_EQ(single(), float(3499211612.0 / 4294967296.0));
  for (int i = 1; i < 10000; ++i) rng();
  EXPECT_EQ(rng(), 4123659995.0 / 4294967296.0);  // the 10000th
}

}  // namespace
