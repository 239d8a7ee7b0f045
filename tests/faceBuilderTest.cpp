#include <vezODedizezivuz/geFaceBuilder.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>

using namespace Vo;

static_assert(std::is_abstract_v<GeLineFaceBuilder<float>>);
static_assert(std::is_abstract_v<GeBezier3FaceBuilder<double>>);
static_assert(std::has_virtual_destructor_v<GeLineFaceBuilder<double>>);
static_assert(std::is_base_of_v<GeLineFaceBuilder<float>, GeBezier3FaceBuilder<float>>);

namespace {

// Writes one letter per call and counts its own destruction.
template <class T>
struct Recorder : GeBezier3FaceBuilder<T> {
  explicit Recorder(int& destroyed) : destroyed(destroyed) {}
  ~Recorder() override { ++destroyed; }
  void beginFace() override { log += 'F'; }
  void beginLoop(const GePoint3<T>&) override { log += 'L'; }
  void lineTo(const GePoint3<T>&) override { log += 'l'; }
  void endLoop() override { log += 'e'; }
  void endFace() override { log += 'f'; }
  void bezierTo(const GePoint3<T>&, const GePoint3<T>&, const GePoint3<T>&) override { log += 'b'; }
  int& destroyed;
  std::string log;
};

// A producer that knows only straight edges: a triangle (counter-clockwise) with a triangular
// hole (clockwise).
template <class T>
void triangleWithHole(GeLineFaceBuilder<T>& out) {
  out.beginFace();
  out.beginLoop(GePoint3<T>(0, 0, 0));
  out.lineTo(GePoint3<T>(1, 0, 0));
  out.lineTo(GePoint3<T>(0, 1, 0));
  out.endLoop();
  out.beginLoop(GePoint3<T>(T(0.1), T(0.1), 0));
  out.lineTo(GePoint3<T>(T(0.1), T(0.3), 0));
  out.lineTo(GePoint3<T>(T(0.3), T(0.1), 0));
  out.endLoop();
  out.endFace();
}

}  // namespace

template <class T>
class FaceBuilder : public ::testing::Test {};
using Scalars = ::testing::Types<float, double>;
TYPED_TEST_SUITE(FaceBuilder, Scalars);

TYPED_TEST(FaceBuilder, CurveBuilderServesLineProducersAndIsDestroyedThroughEitherBase) {
  int destroyed = 0;
  {
    std::unique_ptr<GeLineFaceBuilder<TypeParam>> lines =
        std::make_unique<Recorder<TypeParam>>(destroyed);
    triangleWithHole(*lines);
    EXPECT_EQ(static_cast<Recorder<TypeParam>&>(*lines).log, "FLlleLllef");
  }
  EXPECT_EQ(destroyed, 1);
  {
    std::unique_ptr<GeBezier3FaceBuilder<TypeParam>> curves =
        std::make_unique<Recorder<TypeParam>>(destroyed);
    curves->beginFace();
    curves->beginLoop(GePoint3<TypeParam>(0, 0, 0));
    curves->bezierTo(GePoint3<TypeParam>(1, 0, 0), GePoint3<TypeParam>(1, 1, 0),
                     GePoint3<TypeParam>(0, 1, 0));
    curves->endLoop();
    curves->endFace();
    EXPECT_EQ(static_cast<Recorder<TypeParam>&>(*curves).log, "FLbef");
  }
  EXPECT_EQ(destroyed, 2);
}
