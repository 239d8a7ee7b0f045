#include <vezODedizezivuz/coColor.h>

#include <zevIRudez/RnRng.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <utility>

#include "testUtil.h"

namespace {

using namespace Vo;

VO_REAL_TEST_SUITE(Colors);

// Red wins a tie for the largest component, and a negative sixth is raised by a turn; hues are
// reduced by whole turns, a hue just below zero must not land on a seventh sextant, and greys
// ignore the hue. Columns: r, g, b, h, s, v, and whether rgb -> hsv gives this hue back.
TYPED_TEST(Colors, ConversionsHandleTiesGreysAndWholeTurns) {
  using T = TypeParam;
  const T below = -std::numeric_limits<T>::denorm_min(), inf = std::numeric_limits<T>::infinity();
  const T cases[][7] = {{0, 0, 1, 240, 1, 1, 1},       {1, 1, 0, 60, 1, 1, 1},
                        {1, 0.25, 1, 300, 0.75, 1, 1}, {0.5, 0.5, 0.5, 0, 0, 0.5, 1},
                        {0, 0, 0, 0, 0, 0, 1},         {1, 0, 0, 360, 1, 1, 0},
                        {1, 0, 0, below, 1, 1, 0},     {0.3, 0.3, 0.3, -90, 0, 0.3, 0}};
  for (const auto& c : cases) {
    const CoRgbColorT<T> rgb(c[0], c[1], c[2]);
    const CoHsvColorT<T> hsv(c[3], c[4], c[5]);
    EXPECT_EQ(hsv.convertToRgb(), rgb) << hsv;
    EXPECT_TRUE(c[6] == 0 || CoHsvColorT<T>::convertFromRgb(rgb) == hsv) << rgb;
  }
  EXPECT_TRUE(std::isnan(CoHsvColorT<T>(inf, 1, 1).convertToRgb().red()));
}

// Operators act on each component alone (distinct powers of two keep the results exact), the
// named accessors read components 0, 1 and 2, and every component decides equality.
TYPED_TEST(Colors, OperatorsActOnEachComponentAlone) {
  using T = TypeParam;
  using Rgb = CoRgbColorT<T>;
  using Spectrum = CoSpectrumT<T>;
  const Rgb a(1, 2, 4), b(16, 32, 64);
  EXPECT_TRUE(a + b == Rgb(17, 34, 68) && a - b == Rgb(-15, -30, -60) && a * b == Rgb(16, 64, 256));
  EXPECT_TRUE(a * T(4) == Rgb(4, 8, 16) && T(4) * a == Rgb(4, 8, 16));
  const Spectrum s(1, 2, 4), t(16, 32, 64);
  EXPECT_TRUE(s + t == Spectrum(17, 34, 68) && s * t == Spectrum(16, 64, 256) &&
              s * T(4) == Spectrum(4, 8, 16));
  // Reading through a non-const and a const reference.
  const auto reads124 = [](auto& rgb, auto& hsv) {
    return rgb.red() == 1 && rgb.green() == 2 && rgb.blue() == 4 && hsv.hue() == 1 &&
           hsv.saturation() == 2 && hsv.value() == 4;
  };
  Rgb rgb = a;
  CoHsvColorT<T> hsv(1, 2, 4);
  EXPECT_TRUE(reads124(rgb, hsv) && reads124(std::as_const(rgb), std::as_const(hsv)));
  // Component i of x set to 3 makes it unequal to x.
  const auto differsAt = [](const auto& x, int i) {
    auto other = x;
    other[i] = T(3);
    return other != x && !(other == x);
  };
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(differsAt(a, i) && differsAt(hsv, i) && differsAt(s, i)) << i;
}

TYPED_TEST(Colors, HsvToRgbToHsvReturnsTheHueInEverySextant) {
  using T = TypeParam;
  RnDefaultRng<T> rng(1234);
  for (int i = 0; i < 1000; ++i) {
    const CoHsvColorT<T> hsv(360 * rng(), T(0.2) + T(0.8) * rng(), T(0.2) + T(0.8) * rng());
    const T error = std::fabs(CoHsvColorT<T>::convertFromRgb(hsv.convertToRgb()).hue() - hsv.hue());
    EXPECT_LE(std::fmin(error, 360 - error), 1e4 * VoTest::tolerance<T>()) << hsv;
  }
}

TYPED_TEST(Colors, TextIsThreeBlankSeparatedNumbersAndMalformedTextChangesNothing) {
  using T = TypeParam;
  std::ostringstream out;
  out << CoRgbColorT<T>(T(0.25), 1, -2) << ' ' << CoSpectrumT<T>(3, 4, 5);
  EXPECT_EQ(out.str(), "0.25 1 -2 3 4 5");
  std::istringstream good("0.5 1 2");
  CoRgbColorT<T> rgb;
  EXPECT_TRUE(!(good >> rgb).fail() && rgb == CoRgbColorT<T>(T(0.5), 1, 2)) << rgb;
  for (const char* text : {"1 2", "1 2 x", "1, 2, 3", ""}) {
    std::istringstream in(text);
    CoHsvColorT<T> hsv(7, 8, 9);
    EXPECT_TRUE((in >> hsv).fail() && hsv == CoHsvColorT<T>(7, 8, 9)) << '"' << text << '"';
  }
}

}  // namespace
