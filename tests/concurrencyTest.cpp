// Many threads use their own objects and share const frusta, shafts, cones and matrices at
// once; every thread must get what a single-threaded run gets. Run under ThreadSanitizer in CI.

#include <vezODedizezivuz/vezODedizezivuz.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using namespace Vo;

struct Shared {
  GeProjectiveMatrix3<float> camera =
      GeCameraBuilder<float>::makePerspective(1.0f, 0.5f, 80.0f, 1.5f) *
      GeTranslation3<float>(0, -2, -20)
          .mulOnRight(GeRotation3<float>::aim(GeUnitVector3<float>(GeVector3<float>(0.2f, 0.1f, 1)),
                                              GeVector3<float>(0, 1, 0), 2, 1, true));
  GeFrustum<float> frustum{camera};
  GeShaft shaft{GeAlignedBox3<float>(GePoint3<float>(-5, -5, -5), GePoint3<float>(-3, -3, -3)),
                GeAlignedBox3<float>(GePoint3<float>(3, 3, 3), GePoint3<float>(6, 6, 6))};
  GeCullingCones cones{
      GeAnchoredCone(GeFloatingCone(GeUnitVector3<float>(GeVector3<float>(0, 0, 1)), 0.4f),
                     GePoint3<float>(0, 0, 0), 1.0f, 0.5f)};
};

// Sampled directions into a thread's own cone builder.
struct ToBuilder : UnaryFunctor<GeVector3<float>, void> {
  GeFloatingConeBuilder builder;
  void operator()(const GeVector3<float>& v) override { builder(GeUnitVector3<float>(v)); }
};

// Everything one worker computes from the shared objects and its own, as numbers that must
// match exactly between runs.
std::vector<double> work(const Shared& shared, std::uint32_t seed) {
  RnDefaultRng<float> rng(seed);
  std::vector<GeAlignedBox3<float>> boxes;
  for (int i = 0; i < 2000; ++i) {
    const GePoint3<float> p((rng() - 0.5f) * 60, (rng() - 0.5f) * 60, (rng() - 0.5f) * 60);
    boxes.emplace_back(p, p + GeVector3<float>(rng() * 4, rng() * 4, rng() * 4));
  }
  std::vector<GeFrustum<float>::Classification> batch(boxes.size());
  shared.frustum.classify(boxes.data(), boxes.size(), batch.data());
  std::vector<double> out;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    out.push_back(shared.frustum.classify(boxes[i]) * 4 + batch[i]);
    out.push_back(shared.shaft.overlaps(boxes[i]));
    out.push_back(shared.cones.isBehind(GePoint3<float>(boxes[i].x.min, boxes[i].y.min, 0)));
  }
  const GeProjectiveMatrix3<float> inverse = shared.camera.computeInverse();
  out.insert(out.end(), inverse.data(), inverse.data() + 16);
  ToBuilder samples;
  GeIcosahedron::getStratifiedSamples(60, samples, rng);
  out.push_back(samples.builder.createCone().getSemiAngle());
  return out;
}

TEST(Concurrency, ThreadsSharingConstObjectsGetTheSingleThreadedResults) {
  const Shared shared;
  constexpr int threads = 6;
  std::vector<std::vector<double>> expected, got(threads);
  for (int t = 0; t < threads; ++t) expected.push_back(work(shared, 100 + t));
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t) pool.emplace_back([&, t] { got[t] = work(shared, 100 + t); });
  for (std::thread& thread : pool) thread.join();
  for (int t = 0; t < threads; ++t) EXPECT_TRUE(got[t] == expected[t]) << "thread " << t;
}

}  // namespace
