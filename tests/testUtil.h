#pragma once

// Shared helpers of the test suite: one tolerance policy for float and double, bit access, and
// a check that a call raises the library's assertion with the expected report.

#include <vezODedizezivuz/geReportSites.h>
#include <zevIRudez/Assertions.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>

namespace VoTest {

// The element types of the typed test suites, and a typed suite over them.
using Reals = ::testing::Types<float, double>;
#define VO_REAL_TEST_SUITE(Name)          \
  template <class T>                      \
  class Name : public ::testing::Test {}; \
  TYPED_TEST_SUITE(Name, ::VoTest::Reals)

// Tolerance for results that went through a few roundings: a few hundred ulps near 1.
template <class T>
constexpr T tolerance() {
  return sizeof(T) == sizeof(float) ? T(1e-5) : T(1e-12);
}

// The same bits, or NaN in both: which sign and payload a NaN result carries depends on the
// order of the operands of × and +, which IEEE leaves open and vector code changes.
template <class T>
bool sameBitsOrNaN(T a, T b) {
  return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

inline float fromBits(std::uint32_t b) { return __builtin_bit_cast(float, b); }

// Each of `others` differs from x in one component by exactly `tolerance`: none compares equal,
// and isEqual accepts each at `tolerance` (inclusively) but not at half of it.
template <class X, class T>
void expectEachComponentCounts(const X& x, std::initializer_list<X> others, T tolerance) {
  for (const X& other : others) {
    EXPECT_TRUE(!(x == other) && x != other && x.isEqual(other, tolerance) &&
                !x.isEqual(other, tolerance / 2))
        << other;
  }
}

// Runs `call` and checks that it raised the report of `site`: AssertionFailedError with its
// file, line and condition, or ProgramAbortedError where the site has no condition.
template <class Call>
::testing::AssertionResult failsWith(Call&& call, const Vo::GeReportSite& site) {
  try {
    call();
  } catch (const Vo::AssertionError& e) {
    const auto* failed = dynamic_cast<const Vo::AssertionFailedError*>(&e);
    const bool sameKind =
        site.condition ? failed && failed->condition() == site.condition : !failed;
    if (sameKind && e.file() == site.file && e.line() == site.line)
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "reported " << e.what();
  }
  return ::testing::AssertionFailure() << "did not report " << site.file << ":" << site.line;
}

}  // namespace VoTest
