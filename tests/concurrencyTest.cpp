// Many threads use their own objects and share const frusta, shafts and matrices at once;
// every thread must get what a single-threaded run gets. Run under ThreadSanitizer in CI.

#include <vezODedizezivuz/vezODedizezivuz.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using namespace Vo;

TEST(Concurrency, ThreadsSharingConstObjectsGetTheSingleThreadedResults) {
  auto camera = GeCameraBuilder<float>::makePerspective(1.0f, 0.5f, 80.0f, 1.5f);
  GeTranslation3<float>(0, -2, -20).mulOnRightAssign(camera);
  const GeFrustum<float> frustum(camera);
  const GeShaft shaft(GeAlignedBox3<float>(GePoint3<float>(-5, -5, -5)),
                      GeAlignedBox3<float>(GePoint3<float>(3, 3, 3), GePoint3<float>(6, 6, 6)));
  // Everything one worker computes from the shared objects and its own, as numbers that must
  // match exactly between runs.
  const auto work = [&](std::uint32_t seed) {
    RnDefaultRng<float> rng(seed);
    std::vector<GeAlignedBox3<float>> boxes;
    for (int i = 0; i < 500; ++i) {
      const GePoint3<float> p((rng() - 0.5f) * 60, (rng() - 0.5f) * 60, (rng() - 0.5f) * 60);
      boxes.emplace_back(p, p + GeVector3<float>(rng() * 4, rng() * 4, rng() * 4));
    }
    std::vector<GeFrustum<float>::Classification> batch(boxes.size());
    frustum.classify(boxes.data(), boxes.size(), batch.data());
    std::vector<double> out;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      out.push_back(frustum.classify(boxes[i]) * 4 + batch[i]);
      out.push_back(shaft.overlaps(boxes[i]));
    }
    const GeProjectiveMatrix3<float> inverse = camera.computeInverse();
    out.insert(out.end(), inverse.data(), inverse.data() + 16);
    return out;
  };
  // The threads run first, so that whatever the library prepares on first use is prepared
  // under contention.
  std::vector<std::vector<double>> got(6);
  std::vector<std::thread> pool;
  for (int t = 0; t < 6; ++t) pool.emplace_back([&, t] { got[t] = work(100 + t); });
  for (std::thread& thread : pool) thread.join();
  for (int t = 0; t < 6; ++t) EXPECT_TRUE(got[t] == work(100 + t)) << "thread " << t;
}

}  // namespace
