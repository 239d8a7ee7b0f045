// Culling benchmarks: frustum classification of random boxes against a perspective camera (this
// library, Imath's FrustumTest and a plain scalar six-plane loop), shaft box tests, floating-cone
// expansion and stratified sampling of 10 000 directions.

#include <vezODedizezivuz/geCameraBuilder.h>
#include <vezODedizezivuz/geCone.h>
#include <vezODedizezivuz/geFrustum.h>
#include <vezODedizezivuz/geIcosahedron.h>
#include <vezODedizezivuz/geShaft.h>
#include <zevIRudez/RnRng.h>

#include <cmath>

#include "benchUtil.h"

#ifdef VO_BENCH_HAVE_IMATH
#include <Imath/ImathBox.h>
#include <Imath/ImathFrustum.h>
#include <Imath/ImathFrustumTest.h>
#include <Imath/ImathMatrix.h>
#endif

namespace {

using namespace VoBench;

// The boxes cycle through this many inputs, more than the other benchmarks' batch, so that the
// branch predictor cannot learn the answers.
constexpr std::size_t boxCount = 4096;

constexpr float fovY = 1.0f;
constexpr float nearDistance = 0.5f;
constexpr float farDistance = 50.0f;
constexpr float aspect = 1.5f;
constexpr float turn = 0.4f;
const Vo::GeVector3<float> eye(1.0f, 2.0f, 3.0f);

// World to camera: a turn about y after moving the eye to the origin.
Vo::GeProjectiveMatrix3<float> worldToCamera() {
  const float c = std::cos(turn);
  const float s = std::sin(turn);
  const Vo::GeProjectiveMatrix3<float> rotation(c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1);
  const Vo::GeProjectiveMatrix3<float> translation(1, 0, 0, -eye.x, 0, 1, 0, -eye.y, 0, 0, 1,
                                                   -eye.z, 0, 0, 0, 1);
  return rotation * translation;
}

Vo::GeFrustum<float> voFrustum() {
  return Vo::GeFrustum<float>(
      Vo::GeCameraBuilder<float>::makePerspective(fovY, nearDistance, farDistance, aspect) *
      worldToCamera());
}

// Boxes spread over and around the view volume (in camera space: up to 1.6 times the half
// width and height of the view at their depth, depths from behind the eye to the far plane), so
// that every answer occurs often: 45 % outside, 24 % inside, 32 % crossing.
const std::vector<Vo::GeAlignedBox3<float>>& boxes() {
  static const std::vector<Vo::GeAlignedBox3<float>> v = [] {
    const std::vector<double> r = randomValues(boxCount * 6, 21);
    const Vo::GeProjectiveMatrix3<float> toWorld = worldToCamera().computeInverse();
    const float halfHeight = std::tan(0.5f * fovY);
    std::vector<Vo::GeAlignedBox3<float>> out;
    for (std::size_t k = 0; k < boxCount; ++k) {
      const double* e = &r[6 * k];
      const float depth = 24.0f + 26.0f * static_cast<float>(e[2]);
      const Vo::GeHomogeneousCoord3<float> inCamera(
          1.6f * static_cast<float>(e[0]) * depth * halfHeight * aspect,
          1.6f * static_cast<float>(e[1]) * depth * halfHeight, -depth, 1.0f);
      const Vo::GeHomogeneousCoord3<float> w = toWorld * inCamera;
      const Vo::GePoint3<float> c(w.x, w.y, w.z);
      const Vo::GeVector3<float> h(1.1f + static_cast<float>(e[3]), 1.1f + static_cast<float>(e[4]),
                                   1.1f + static_cast<float>(e[5]));
      out.emplace_back(c - h, c + h);
    }
    return out;
  }();
  return v;
}

template <class Out, class Op>
void runBoxes(benchmark::State& state, std::vector<Out>& out, Op op) {
  const std::vector<Vo::GeAlignedBox3<float>>& in = boxes();
  std::size_t i = 0;
  for (auto _ : state) {
    out[i] = op(in[i]);
    benchmark::ClobberMemory();
    i = (i + 1) & (boxCount - 1);
  }
}

void voFrustumClassify(benchmark::State& state) {
  const Vo::GeFrustum<float> frustum = voFrustum();
  std::vector<int> out(boxCount);
  runBoxes(state, out, [&](const Vo::GeAlignedBox3<float>& b) { return int(frustum.classify(b)); });
}

// The textbook loop: per plane the corner farthest along the normal decides "outside", the
// nearest one "crossing".
struct PlainFrustum {
  float n[6][4];
  int classify(const Vo::GeAlignedBox3<float>& b) const {
    int result = 2;
    for (const float* p : n) {
      const float px = p[0] > 0 ? b.x.max : b.x.min;
      const float py = p[1] > 0 ? b.y.max : b.y.min;
      const float pz = p[2] > 0 ? b.z.max : b.z.min;
      if (p[0] * px + p[1] * py + p[2] * pz + p[3] < -0.0001f) return 1;
      const float qx = p[0] > 0 ? b.x.min : b.x.max;
      const float qy = p[1] > 0 ? b.y.min : b.y.max;
      const float qz = p[2] > 0 ? b.z.min : b.z.max;
      if (p[0] * qx + p[1] * qy + p[2] * qz + p[3] < -0.0001f) result = 3;
    }
    return result;
  }
};

void plainFrustumClassify(benchmark::State& state) {
  const Vo::GeFrustum<float> frustum = voFrustum();
  PlainFrustum plain;
  for (int i = 0; i < 6; ++i) {
    const Vo::GePlane3<float>& p = frustum.getPlane(i);
    plain.n[i][0] = p.normal.x;
    plain.n[i][1] = p.normal.y;
    plain.n[i][2] = p.normal.z;
    plain.n[i][3] = p.d;
  }
  std::vector<int> out(boxCount);
  runBoxes(state, out, [&](const Vo::GeAlignedBox3<float>& b) { return plain.classify(b); });
}

VO_BENCH("frustum_box_classify", "vo", voFrustumClassify);
VO_BENCH("frustum_box_classify", "plain", plainFrustumClassify);

#ifdef VO_BENCH_HAVE_IMATH
void imathFrustumVisible(benchmark::State& state) {
  // Imath takes the camera-to-world matrix, row-vector convention: the transpose of ours.
  const Vo::GeProjectiveMatrix3<float> cameraToWorld = worldToCamera().computeInverse();
  Imath::M44f m;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m[r][c] = cameraToWorld(c, r);
  const Imath::Frustumf frustum(nearDistance, farDistance, 0.0f, fovY, aspect);
  const Imath::FrustumTest<float> test(frustum, m);
  std::vector<Imath::Box3f> in;
  for (const Vo::GeAlignedBox3<float>& b : boxes()) {
    in.emplace_back(Imath::V3f(b.x.min, b.y.min, b.z.min), Imath::V3f(b.x.max, b.y.max, b.z.max));
  }
  std::vector<int> out(boxCount);
  std::size_t i = 0;
  for (auto _ : state) {
    out[i] = test.isVisible(in[i]);
    benchmark::ClobberMemory();
    i = (i + 1) & (boxCount - 1);
  }
}
VO_BENCH("frustum_box_classify", "imath", imathFrustumVisible);
#endif

void voShaftOverlaps(benchmark::State& state) {
  const Vo::GeShaft shaft(
      Vo::GeAlignedBox3<float>(Vo::GePoint3<float>(-20, -10, -5), Vo::GePoint3<float>(-12, -4, 2)),
      Vo::GeAlignedBox3<float>(Vo::GePoint3<float>(10, 6, 0), Vo::GePoint3<float>(24, 14, 9)));
  std::vector<int> out(boxCount);
  runBoxes(state, out, [&](const Vo::GeAlignedBox3<float>& b) { return int(shaft.overlaps(b)); });
}
VO_BENCH("shaft_box_overlaps", "vo", voShaftOverlaps);

void voConeExpand(benchmark::State& state) {
  const std::vector<double> r = randomValues(batchSize * 8, 22);
  std::vector<Vo::GeFloatingCone> a, b;
  for (std::size_t k = 0; k < batchSize; ++k) {
    const double* e = &r[8 * k];
    const Vo::GeVector3<float> u(static_cast<float>(e[0]), static_cast<float>(e[1]),
                                 1.0f + static_cast<float>(e[2]));
    const Vo::GeVector3<float> v(static_cast<float>(e[3]), 1.0f + static_cast<float>(e[4]),
                                 static_cast<float>(e[5]));
    a.emplace_back(Vo::GeUnitVector3<float>(u), 0.5f + 0.4f * static_cast<float>(e[6]));
    b.emplace_back(Vo::GeUnitVector3<float>(v), 0.5f + 0.4f * static_cast<float>(e[7]));
  }
  std::vector<Vo::GeFloatingCone> out(a);
  runBinary(state, a, b, out, [](Vo::GeFloatingCone x, const Vo::GeFloatingCone& y) {
    x.expand(y);
    return x;
  });
}
VO_BENCH("cone_expand", "vo", voConeExpand);

struct Sink : Vo::UnaryFunctor<Vo::GeVector3<float>, void> {
  Vo::GeVector3<float> last{};
  void operator()(const Vo::GeVector3<float>& v) override { last = v; }
};

void voStratifiedSamples(benchmark::State& state) {
  Vo::RnDefaultRng<float> rng(23);
  Sink sink;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Vo::GeIcosahedron::getStratifiedSamples(10000, sink, rng));
    benchmark::DoNotOptimize(sink.last);
  }
}
VO_BENCH("sphere_samples_10000", "vo", voStratifiedSamples);

}  // namespace
