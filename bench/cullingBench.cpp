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
std::vector<Vo::GeAlignedBox3<float>> makeBoxes(std::size_t count) {
  const std::vector<double> r = randomValues(count * 6, 21);
  const Vo::GeProjectiveMatrix3<float> toWorld = worldToCamera().computeInverse();
  const float halfHeight = std::tan(0.5f * fovY);
  std::vector<Vo::GeAlignedBox3<float>> out;
  out.reserve(count);
  for (std::size_t k = 0; k < count; ++k) {
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
}

const std::vector<Vo::GeAlignedBox3<float>>& boxes() {
  static const std::vector<Vo::GeAlignedBox3<float>> v = makeBoxes(boxCount);
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

PlainFrustum plainFrustum() {
  const Vo::GeFrustum<float> frustum = voFrustum();
  PlainFrustum plain;
  for (int i = 0; i < 6; ++i) {
    const Vo::GePlane3<float>& p = frustum.getPlane(i);
    plain.n[i][0] = p.normal.x;
    plain.n[i][1] = p.normal.y;
    plain.n[i][2] = p.normal.z;
    plain.n[i][3] = p.d;
  }
  return plain;
}

void plainFrustumClassify(benchmark::State& state) {
  const PlainFrustum plain = plainFrustum();
  std::vector<int> out(boxCount);
  runBoxes(state, out, [&](const Vo::GeAlignedBox3<float>& b) { return plain.classify(b); });
}

VO_BENCH("frustum_box_classify", "vo", voFrustumClassify);
VO_BENCH("frustum_box_classify", "plain", plainFrustumClassify);

#ifdef VO_BENCH_HAVE_IMATH
Imath::FrustumTest<float> imathTest() {
  // Imath takes the camera-to-world matrix, row-vector convention: the transpose of ours.
  const Vo::GeProjectiveMatrix3<float> cameraToWorld = worldToCamera().computeInverse();
  Imath::M44f m;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m[r][c] = cameraToWorld(c, r);
  const Imath::Frustumf frustum(nearDistance, farDistance, 0.0f, fovY, aspect);
  return Imath::FrustumTest<float>(frustum, m);
}

std::vector<Imath::Box3f> imathBoxes(const std::vector<Vo::GeAlignedBox3<float>>& from) {
  std::vector<Imath::Box3f> in;
  in.reserve(from.size());
  for (const Vo::GeAlignedBox3<float>& b : from) {
    in.emplace_back(Imath::V3f(b.x.min, b.y.min, b.z.min), Imath::V3f(b.x.max, b.y.max, b.z.max));
  }
  return in;
}

void imathFrustumVisible(benchmark::State& state) {
  const Imath::FrustumTest<float> test = imathTest();
  const std::vector<Imath::Box3f> in = imathBoxes(boxes());
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

// ---- Batch classification: every implementation classifies the whole array per iteration,
// so the times are per batch and their ratios per box. "scalar" is this library's own
// single-box classify in a loop.

const std::vector<Vo::GeAlignedBox3<float>>& millionBoxes() {
  static const std::vector<Vo::GeAlignedBox3<float>> v = makeBoxes(1000000);
  return v;
}

template <class Classify>
void runBatch(benchmark::State& state, std::size_t count, Classify classify) {
  std::vector<int> out(count);
  for (auto _ : state) {
    classify(out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * count));
  state.SetBytesProcessed(static_cast<std::int64_t>(
      state.iterations() * count * (sizeof(Vo::GeAlignedBox3<float>) + sizeof(int))));
}

template <std::size_t (*Count)()>
const std::vector<Vo::GeAlignedBox3<float>>& batchInput() {
  return Count() == boxCount ? boxes() : millionBoxes();
}

std::size_t small() { return boxCount; }
std::size_t large() { return 1000000; }

template <std::size_t (*Count)()>
void voBatch(benchmark::State& state) {
  const Vo::GeFrustum<float> frustum = voFrustum();
  const auto& in = batchInput<Count>();
  runBatch(state, in.size(), [&](int* out) {
    frustum.classify(in.data(), in.size(),
                     reinterpret_cast<Vo::GeFrustum<float>::Classification*>(out));
  });
}

template <std::size_t (*Count)()>
void voScalarLoop(benchmark::State& state) {
  const Vo::GeFrustum<float> frustum = voFrustum();
  const auto& in = batchInput<Count>();
  runBatch(state, in.size(), [&](int* out) {
    for (std::size_t i = 0; i < in.size(); ++i) out[i] = frustum.classify(in[i]);
  });
}

template <std::size_t (*Count)()>
void plainLoop(benchmark::State& state) {
  const PlainFrustum plain = plainFrustum();
  const auto& in = batchInput<Count>();
  runBatch(state, in.size(), [&](int* out) {
    for (std::size_t i = 0; i < in.size(); ++i) out[i] = plain.classify(in[i]);
  });
}

VO_BENCH("frustum_batch_4096", "vo", voBatch<small>);
VO_BENCH("frustum_batch_4096", "scalar", voScalarLoop<small>);
VO_BENCH("frustum_batch_4096", "plain", plainLoop<small>);
VO_BENCH("frustum_batch_1000000", "vo", voBatch<large>);
VO_BENCH("frustum_batch_1000000", "scalar", voScalarLoop<large>);
VO_BENCH("frustum_batch_1000000", "plain", plainLoop<large>);

#ifdef VO_BENCH_HAVE_IMATH
template <std::size_t (*Count)()>
void imathLoop(benchmark::State& state) {
  const Imath::FrustumTest<float> test = imathTest();
  const std::vector<Imath::Box3f> in = imathBoxes(batchInput<Count>());
  runBatch(state, in.size(), [&](int* out) {
    for (std::size_t i = 0; i < in.size(); ++i) out[i] = test.isVisible(in[i]);
  });
}
VO_BENCH("frustum_batch_4096", "imath", imathLoop<small>);
VO_BENCH("frustum_batch_1000000", "imath", imathLoop<large>);
#endif

// The memory traffic of the million-box batch without the arithmetic: read 24 bytes and write 4
// per box. Its bytes per second are this machine's bandwidth for that access pattern.
void memoryStream(benchmark::State& state) {
  const auto& in = millionBoxes();
  runBatch(state, in.size(), [&](int* out) {
    for (std::size_t i = 0; i < in.size(); ++i) {
      const Vo::GeAlignedBox3<float>& b = in[i];
      out[i] = static_cast<int>(b.x.min + b.x.max + b.y.min + b.y.max + b.z.min + b.z.max > 0);
    }
  });
}
VO_BENCH("memory_stream_1000000", "vo", memoryStream);

}  // namespace
