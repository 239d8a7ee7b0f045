#include <vezODedizezivuz/coColor.h>

#include <gtest/gtest.h>
#include <zevIRudez/RnRng.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "testUtil.h"

namespace {

using namespace Vo;

static_assert(sizeof(CoRgbColorT<double>) == 3 * sizeof(double));

template <class T>
class Colors : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(Colors, Reals);

TYPED_TEST(Colors, RgbToHsvSextantsTiesAndGreys) {
  using T = TypeParam;
  // r, g, b -> h, s, v. A negative sixth is raised by a turn; ties give the hue between them.
  const T cases[][6] = {{1, 0, 0, 0, 1, 1},
                        {0, 1, 0, 120, 1, 1},
                        {0, 0, 1, 240, 1, 1},
                        {1, 1, 0, 60, 1, 1},
                        {1, T(0.25), 1, 300, T(0.75), 1},
                        {0, T(0.5), T(0.5), 180, 1, T(0.5)},
                        {T(0.5), T(0.5), T(0.5), 0, 0, T(0.5)},
                        {0, 0, 0, 0, 0, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(CoHsvColorT<T>::convertFromRgb(CoRgbColorT<T>(c[0], c[1], c[2])),
              CoHsvColorT<T>(c[3], c[4], c[5]))
        << "rgb " << c[0] << ' ' << c[1] << ' ' << c[2];
  }
}

TYPED_TEST(Colors, HsvToRgbReducesHuesByWholeTurnsAndIgnoresThemForGreys) {
  using T = TypeParam;
  // h, s, v -> r, g, b. A hue just below zero must not land on a seventh sextant.
  const T cases[][6] = {{-120, 1, 1, 0, 0, 1},
                        {360, 1, 1, 1, 0, 0},
                        {-960, 1, 1, 0, 1, 0},
                        {-std::numeric_limits<T>::denorm_min(), 1, 1, 1, 0, 0},
                        {-90, 0, T(0.3), T(0.3), T(0.3), T(0.3)}};
  for (const auto& c : cases) {
    EXPECT_EQ(CoHsvColorT<T>(c[0], c[1], c[2]).convertToRgb(), CoRgbColorT<T>(c[3], c[4], c[5]))
        << "hsv " << c[0] << ' ' << c[1] << ' ' << c[2];
  }
  EXPECT_TRUE(
      std::isnan(CoHsvColorT<T>(std::numeric_limits<T>::infinity(), 1, 1).convertToRgb().red()));
}

TYPED_TEST(Colors, HsvToRgbToHsvReturnsTheColour) {
  using T = TypeParam;
  RnDefaultRng<T> rng(1234);
  const T tol = 10 * VoTest::tolerance<T>();
  int checked = 0;
  for (int i = 0; i < 2000; ++i) {
    const CoHsvColorT<T> hsv(360 * rng(), rng(), rng());
    const T sv = hsv.saturation() * hsv.value();
    if (sv < T(0.01)) continue;  // the hue is ill-conditioned for nearly grey or black colours
    ++checked;
    const CoHsvColorT<T> back = CoHsvColorT<T>::convertFromRgb(hsv.convertToRgb());
    const T hueError = std::fabs(back.hue() - hsv.hue());
    EXPECT_LE(std::fmin(hueError, 360 - hueError), 360 * tol / sv) << hsv;
    EXPECT_NEAR(back.saturation(), hsv.saturation(), tol) << hsv;
    EXPECT_NEAR(back.value(), hsv.value(), tol) << hsv;
    EXPECT_TRUE(back.hue() >= 0 && back.hue() < 360) << hsv;
  }
  EXPECT_GT(checked, 1800);
}

TYPED_TEST(Colors, GammaRaisesEachComponentToThePower) {
  using T = TypeParam;
  EXPECT_EQ(CoRgbColorT<T>(T(0.5), 1, 0).gammaCorrect(2), CoRgbColorT<T>(T(0.25), 1, 0));
}

TYPED_TEST(Colors, TextIsThreeBlankSeparatedNumbersAndMalformedTextChangesNothing) {
  using T = TypeParam;
  std::ostringstream out;
  out << CoRgbColorT<T>(T(0.25), 1, -2) << '|' << CoHsvColorT<T>(300, T(0.5), 1) << '|'
      << CoSpectrumT<T>(1, 2, 3);
  EXPECT_EQ(out.str(), "0.25 1 -2|300 0.5 1|1 2 3");
  std::istringstream in("0.25 1 -2");
  CoRgbColorT<T> rgb(9, 9, 9);
  EXPECT_FALSE(rgb.read(in).fail());
  EXPECT_EQ(rgb, CoRgbColorT<T>(T(0.25), 1, -2));
  for (const char* text : {"1 2", "1 2 x", "1, 2, 3", ""}) {
    std::istringstream in1(text), in2(text);
    CoSpectrumT<T> spectrum(7, 8, 9);
    CoHsvColorT<T> hsv(7, 8, 9);
    in1 >> spectrum;
    in2 >> hsv;
    EXPECT_TRUE(in1.fail() && in2.fail()) << '"' << text << '"';
    EXPECT_EQ(spectrum, CoSpectrumT<T>(7, 8, 9)) << '"' << text << '"';
    EXPECT_EQ(hsv, CoHsvColorT<T>(7, 8, 9)) << '"' << text << '"';
  }
}

}  // namespace
