#include <vezODedizezivuz/coColor.h>

#include <gtest/gtest.h>
#include <zevIRudez/RnRng.h>

#include <cmath>
#include <sstream>
#include <type_traits>

#include "testUtil.h"

namespace {

using namespace Vo;

static_assert(sizeof(CoRgbColorT<double>) == 3 * sizeof(double));
static_assert(std::is_trivially_copyable_v<CoHsvColorT<float>>);
static_assert(std::is_trivially_default_constructible_v<CoSpectrumT<float>>);

template <class T>
class Colors : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(Colors, Reals);

template <class T>
CoHsvColorT<T> hsvOf(T r, T g, T b) {
  return CoHsvColorT<T>::convertFromRgb(CoRgbColorT<T>(r, g, b));
}

TYPED_TEST(Colors, PrimariesAndSecondariesConvertToWholeSextants) {
  using T = TypeParam;
  using Hsv = CoHsvColorT<T>;
  EXPECT_EQ(hsvOf<T>(1, 0, 0), Hsv(0, 1, 1));
  EXPECT_EQ(hsvOf<T>(0, 1, 0), Hsv(120, 1, 1));
  EXPECT_EQ(hsvOf<T>(0, 0, 1), Hsv(240, 1, 1));
  EXPECT_EQ(hsvOf<T>(1, 0, 1), Hsv(300, 1, 1));  // negative sixths are raised by a turn
  EXPECT_EQ(hsvOf<T>(0, 1, 1), Hsv(180, 1, 1));
}

TYPED_TEST(Colors, TiedLargestComponentsGiveTheHueBetweenThem) {
  using T = TypeParam;
  using Hsv = CoHsvColorT<T>;
  EXPECT_EQ(hsvOf<T>(1, 1, 0), Hsv(60, 1, 1));
  EXPECT_EQ(hsvOf<T>(1, T(0.25), 1), Hsv(300, T(0.75), 1));
  EXPECT_EQ(hsvOf<T>(0, T(0.5), T(0.5)), Hsv(180, 1, T(0.5)));
}

TYPED_TEST(Colors, GreysHaveNoHueNorSaturation) {
  using T = TypeParam;
  using Hsv = CoHsvColorT<T>;
  EXPECT_EQ(hsvOf<T>(T(0.5), T(0.5), T(0.5)), Hsv(0, 0, T(0.5)));
  EXPECT_EQ(hsvOf<T>(0, 0, 0), Hsv(0, 0, 0));
  for (const T h : {T(-90), T(0), T(123), T(400)}) {
    EXPECT_EQ(Hsv(h, 0, T(0.3)).convertToRgb(), CoRgbColorT<T>(T(0.3), T(0.3), T(0.3))) << h;
  }
}

TYPED_TEST(Colors, HuesOutsideOneTurnAreReducedByWholeTurns) {
  using T = TypeParam;
  using Rgb = CoRgbColorT<T>;
  EXPECT_EQ(CoHsvColorT<T>(-120, 1, 1).convertToRgb(), Rgb(0, 0, 1));
  EXPECT_EQ(CoHsvColorT<T>(720, 1, 1).convertToRgb(), Rgb(1, 0, 0));
  EXPECT_EQ(CoHsvColorT<T>(360, 1, 1).convertToRgb(), Rgb(1, 0, 0));
  EXPECT_EQ(CoHsvColorT<T>(-3 * 360 + 120, 1, 1).convertToRgb(), Rgb(0, 1, 0));
  // A hue just below zero must not land on the seventh sextant.
  const Rgb nearlyRed = CoHsvColorT<T>(-std::numeric_limits<T>::denorm_min(), 1, 1).convertToRgb();
  EXPECT_EQ(nearlyRed, Rgb(1, 0, 0));
  const Rgb unknown = CoHsvColorT<T>(std::numeric_limits<T>::infinity(), 1, 1).convertToRgb();
  EXPECT_TRUE(std::isnan(unknown.red()));
}

TYPED_TEST(Colors, HsvToRgbToHsvReturnsTheColour) {
  using T = TypeParam;
  RnDefaultRng<T> rng(1234);
  const T tol = 10 * VoTest::tolerance<T>();
  int checked = 0;
  for (int i = 0; i < 2000; ++i) {
    const CoHsvColorT<T> hsv(360 * rng(), rng(), rng());
    // Hue is ill-conditioned for nearly grey or nearly black colours.
    if (hsv.saturation() * hsv.value() < T(0.01)) continue;
    ++checked;
    const CoHsvColorT<T> back = CoHsvColorT<T>::convertFromRgb(hsv.convertToRgb());
    T hueError = std::fabs(back.hue() - hsv.hue());
    hueError = std::fmin(hueError, 360 - hueError);
    EXPECT_LE(hueError, 360 * tol / (hsv.saturation() * hsv.value())) << hsv;
    EXPECT_NEAR(back.saturation(), hsv.saturation(), tol) << hsv;
    EXPECT_NEAR(back.value(), hsv.value(), tol) << hsv;
    EXPECT_GE(back.hue(), T(0)) << hsv;
    EXPECT_LT(back.hue(), T(360)) << hsv;
  }
  EXPECT_GT(checked, 1800);
}

TYPED_TEST(Colors, GammaRaisesEachComponentToThePower) {
  using T = TypeParam;
  const CoRgbColorT<T> c(T(0.5), 1, 0);
  EXPECT_EQ(c.gammaCorrect(2), CoRgbColorT<T>(T(0.25), 1, 0));
  EXPECT_EQ(c, CoRgbColorT<T>(T(0.5), 1, 0));
}

TYPED_TEST(Colors, TextIsThreeBlankSeparatedNumbersAndReadsBack) {
  using T = TypeParam;
  std::ostringstream out;
  out << CoRgbColorT<T>(T(0.25), 1, -2) << '|' << CoHsvColorT<T>(300, T(0.5), 1) << '|'
      << CoSpectrumT<T>(1, 2, 3);
  EXPECT_EQ(out.str(), "0.25 1 -2|300 0.5 1|1 2 3");

  std::istringstream in("0.25 1 -2");
  CoRgbColorT<T> rgb(9, 9, 9);
  EXPECT_FALSE(rgb.read(in).fail());
  EXPECT_TRUE(in.eof());
  EXPECT_EQ(rgb, CoRgbColorT<T>(T(0.25), 1, -2));
}

TYPED_TEST(Colors, MalformedTextLeavesTheColourUnchanged) {
  using T = TypeParam;
  for (const char* text : {"1 2", "1 2 x", "1, 2, 3", ""}) {
    std::istringstream in(text);
    CoSpectrumT<T> spectrum(7, 8, 9);
    in >> spectrum;
    EXPECT_TRUE(in.fail()) << '"' << text << '"';
    EXPECT_EQ(spectrum, CoSpectrumT<T>(7, 8, 9)) << '"' << text << '"';
    std::istringstream again(text);
    CoHsvColorT<T> hsv(7, 8, 9);
    again >> hsv;
    EXPECT_EQ(hsv, CoHsvColorT<T>(7, 8, 9)) << '"' << text << '"';
  }
}

}  // namespace
