#pragma once

// Shared helpers of the test suite: one tolerance policy for float and double, bit access, and
// a check that a call raises the library's assertion with the expected report.

#include <vezODedizezivuz/geReportSites.h>
#include <zevIRudez/Assertions.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace VoTest {

// Tolerance for results that went through a few roundings: a few hundred ulps near 1.
template <class T>
constexpr T tolerance() {
  return sizeof(T) == sizeof(float) ? T(1e-5) : T(1e-12);
}

inline std::uint32_t bits(float value) {
  std::uint32_t b;
  std::memcpy(&b, &value, sizeof b);
  return b;
}

inline float fromBits(std::uint32_t b) {
  float value;
  std::memcpy(&value, &b, sizeof value);
  return value;
}

// Runs `call` and checks that it raised AssertionFailedError with this file, line and condition.
template <class Call>
::testing::AssertionResult failsWith(Call&& call, const std::string& file, int line,
                                     const std::string& condition) {
  try {
    call();
  } catch (const Vo::AssertionFailedError& e) {
    if (e.file() == file && e.line() == line && e.condition() == condition) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "reported " << e.what();
  }
  return ::testing::AssertionFailure() << "did not report " << file << ":" << line;
}

// The same for ProgramAbortedError.
template <class Call>
::testing::AssertionResult abortsWith(Call&& call, const std::string& file, int line) {
  try {
    call();
  } catch (const Vo::ProgramAbortedError& e) {
    if (e.file() == file && e.line() == line) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "reported " << e.what();
  }
  return ::testing::AssertionFailure() << "did not abort at " << file << ":" << line;
}

// The same two checks against an entry of the library's table of report sites.
template <class Call>
::testing::AssertionResult failsWith(Call&& call, const Vo::GeReportSite& site) {
  return failsWith(call, site.file, site.line, site.condition);
}

template <class Call>
::testing::AssertionResult abortsWith(Call&& call, const Vo::GeReportSite& site) {
  return abortsWith(call, site.file, site.line);
}

}  // namespace VoTest
