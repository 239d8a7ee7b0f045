#include <zevIRudez/Assertions.h>
#include <zevIRudez/FloatUtil.h>
#include <zevIRudez/Interval.h>
#include <zevIRudez/RnRng.h>

#include <gtest/gtest.h>

#include <cfloat>
#include <sstream>

#include "testUtil.h"

namespace {

using Vo::Interval;
using IntervalF = Interval<float>;

TEST(Assertions, ReportFileLineAndConditionThroughTheLogicErrorHierarchy) {
  try {
    Vo::Assertions::throwAssertionFailed("base/matrix3x3Imp.imp", 126, "nonSingular");
    FAIL() << "no exception";
  } catch (const Vo::AssertionFailedError& e) {
    EXPECT_EQ(e.file(), "base/matrix3x3Imp.imp");
    EXPECT_EQ(e.line(), 126);
    EXPECT_EQ(e.condition(), "nonSingular");
    EXPECT_STREQ(e.what(), "base/matrix3x3Imp.imp:126: assertion failed: nonSingular");
  }
  try {
    Vo::Assertions::throwProgramAborted("primitives\\geShaft", 190);
    FAIL() << "no exception";
  } catch (const std::logic_error& e) {
    const auto* aborted = dynamic_cast<const Vo::ProgramAbortedError*>(&e);
    ASSERT_NE(aborted, nullptr);
    EXPECT_EQ(aborted->line(), 190);
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

TEST(Interval, ExtendingTheCanonicalEmptyIntervalGivesThePointsRange) {
  IntervalF empty = IntervalF::makeEmpty();
  EXPECT_EQ(VoTest::bits(empty.min), 0x7F7FFFFFu);
  EXPECT_EQ(VoTest::bits(empty.max), 0xFF7FFFFFu);
  EXPECT_TRUE(empty.isEmpty());
  empty.extendBy(2.0f);
  EXPECT_EQ(empty, IntervalF(2.0f, 2.0f));
  empty.extendBy(-1.0f);
  EXPECT_EQ(empty, IntervalF(-1.0f, 2.0f));
  EXPECT_EQ(Interval<double>::makeInfinite().max, DBL_MAX);
}

TEST(Interval, IntersectionMayBeEmptyWithoutBeingCanonical) {
  IntervalF a(0.0f, 1.0f);
  a.intersectWith(IntervalF(2.0f, 3.0f));
  EXPECT_EQ(a, IntervalF(2.0f, 1.0f));
}

// Touching ends meet inclusively but not exclusively; containment names the subject relative
// to the object.
TEST(Interval, ClassifyInclusivelyAndExclusively) {
  const IntervalF unit(0.0f, 1.0f), outer(-1.0f, 2.0f);
  const struct {
    IntervalF subject, object;
    IntervalF::Containment inclusive, exclusive;
  } cases[] = {{unit, IntervalF(1.0f, 2.0f), IntervalF::OVERLAPPING, IntervalF::DISJOINT},
               {unit, IntervalF(1.5f, 2.0f), IntervalF::DISJOINT, IntervalF::DISJOINT},
               {unit, outer, IntervalF::CONTAINED, IntervalF::CONTAINED},
               {outer, unit, IntervalF::CONTAINING, IntervalF::CONTAINING},
               {unit, unit, IntervalF::CONTAINED, IntervalF::CONTAINED},
               {IntervalF(0.5f, 3.0f), outer, IntervalF::OVERLAPPING, IntervalF::OVERLAPPING}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.subject.classify(c.object), c.inclusive) << c.subject << " in " << c.object;
    EXPECT_EQ(c.subject.classifyExclude(c.object), c.exclusive) << c.subject << " in " << c.object;
  }
}

TEST(Interval, DumpsInBracketsWithStreamFormatting) {
  std::ostringstream s;
  IntervalF(0.5f, -2.0f).dump(s);
  s << ' ' << IntervalF(1.0f, 2.0f);
  EXPECT_EQ(s.str(), "[ 0.5, -2 ] [ 1, 2 ]");
  EXPECT_TRUE(IntervalF(0.0f, 1.0f).isEqual(IntervalF(0.1f, 1.0f), 0.2f));
  EXPECT_FALSE(IntervalF(0.0f, 1.0f).isEqual(IntervalF(0.0f, 1.3f), 0.2f));
}

TEST(RnDefaultRng, SameSeedSameSequenceInTheHalfOpenUnitRange) {
  Vo::RnDefaultRng<float> a(42), b(42), c(43);
  bool differs = false;
  for (int i = 0; i < 2000; ++i) {
    const float va = a();
    ASSERT_GE(va, 0.0f);
    ASSERT_LT(va, 1.0f);
    EXPECT_EQ(va, b());
    differs = differs || va != c();
  }
  EXPECT_TRUE(differs);
}

TEST(RnDefaultRng, MatchesTheReferenceMersenneTwister) {
  // The first output of MT19937 seeded with 5489 is 3499211612, the 10000th 4123659995 (C++
  // [rand.predef]).
  Vo::RnDefaultRng<double> rng(5489);
  double value = rng();
  EXPECT_EQ(value, 3499211612.0 / 4294967296.0);
  for (int i = 1; i < 10000; ++i) value = rng();
  EXPECT_EQ(value, 4123659995.0 / 4294967296.0);
}

}  // namespace
