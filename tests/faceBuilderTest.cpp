#include <vezODedizezivuz/geFaceBuilder.h>

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

using namespace Vo;

static_assert(std::is_abstract_v<GeLineFaceBuilder<float>>);
static_assert(std::is_abstract_v<GeBezier3FaceBuilder<double>>);
static_assert(std::has_virtual_destructor_v<GeLineFaceBuilder<double>>);
static_assert(std::is_base_of_v<GeLineFaceBuilder<float>, GeBezier3FaceBuilder<float>>);

namespace {

// Writes one letter per call.
template <class T>
struct Recorder : GeBezier3FaceBuilder<T> {
  void beginFace() override { log += 'F'; }
  void beginLoop(const GePoint3<T>&) override { log += 'L'; }
  void lineTo(const GePoint3<T>&) override { log += 'l'; }
  void endLoop() override { log += 'e'; }
  void endFace() override { log += 'f'; }
  void bezierTo(const GePoint3<T>&, const GePoint3<T>&, const GePoint3<T>&) override { log += 'b'; }
  std::string log;
};

}  // namespace

template <class T>
class FaceBuilder : public ::testing::Test {};
using Scalars = ::testing::Types<float, double>;
TYPED_TEST_SUITE(FaceBuilder, Scalars);

// A producer that knows only straight edges drives a curve builder through the line base.
TYPED_TEST(FaceBuilder, CurveBuilderServesLineProducersThroughTheLineBase) {
  using P = GePoint3<TypeParam>;
  Recorder<TypeParam> recorder;
  GeLineFaceBuilder<TypeParam>& lines = recorder;
  lines.beginFace();
  lines.beginLoop(P(0, 0, 0));
  lines.lineTo(P(1, 0, 0));
  lines.endLoop();
  lines.endFace();
  static_cast<GeBezier3FaceBuilder<TypeParam>&>(recorder).bezierTo(P(1, 0, 0), P(1, 1, 0),
                                                                   P(0, 1, 0));
  EXPECT_EQ(recorder.log, "FLlefb");
}
