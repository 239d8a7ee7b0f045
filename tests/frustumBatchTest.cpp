#include <vezODedizezivuz/geCameraBuilder.h>
#include <vezODedizezivuz/geFrustum.h>
#include <zevIRudez/RnRng.h>

#include <cmath>
#include <limits>
#include <vector>

#include "testUtil.h"

using namespace Vo;

namespace {

using Frustum = GeFrustum<float>;
using Box = GeAlignedBox3<float>;
using P = GePoint3<float>;
using Path = Frustum::SimdPath;

// A perspective camera at (1, 2, 3) turned about y, and the identity cube, whose planes have
// normal components that are exactly zero (the tie case of the corner choice), also moved to
// [0, 2], where a bound of -1e-4 evaluates exactly to the threshold of plane 0.
std::vector<Frustum> frusta() {
  const float c = std::cos(0.4f), s = std::sin(0.4f);
  const GeProjectiveMatrix3<float> view(c, 0, -s, -1, 0, 1, 0, -2, s, 0, c, -3, 0, 0, 0, 1);
  return {Frustum(GeCameraBuilder<float>::makePerspective(1.0f, 0.5f, 50.0f, 1.5f) * view),
          Frustum(GeCameraBuilder<float>::makeOrthographic(0.8f, 1.0f, 20.0f, 1.0f) * view),
          Frustum(GeProjectiveMatrix3<float>()),
          Frustum(GeProjectiveMatrix3<float>(1, 0, 0, -1, 0, 1, 0, -1, 0, 0, 1, -1, 0, 0, 0, 1))};
}

// Boxes inside, outside and across the planes, at scales from the cube to the perspective
// view, plus degenerate ones: points, inverted (empty) axes, infinite and NaN bounds, and boxes
// that touch a plane within the threshold or exactly at it.
std::vector<Box> scene(std::uint32_t seed, std::size_t count) {
  RnDefaultRng<float> rng(seed);
  const float inf = std::numeric_limits<float>::infinity(), nan = std::nanf("");
  std::vector<Box> boxes;
  while (boxes.size() < count) {
    const float scale = rng() < 0.5f ? 2.0f : 60.0f;
    const P p((rng() * 2 - 1) * scale, (rng() * 2 - 1) * scale, (rng() * 2 - 1) * scale);
    const GeVector3<float> h(rng() * scale * 0.2f, rng() * scale * 0.2f, rng() * scale * 0.2f);
    Box b(p - h, p + h);
    const int kind = static_cast<int>(rng() * 10);
    if (kind == 0) b = Box(p);
    if (kind == 1) std::swap(b.y.min, b.y.max);
    if (kind == 2) (rng() < 0.5f ? b.x.min : b.z.max) = rng() < 0.5f ? inf : -inf;
    if (kind == 3) (rng() < 0.5f ? b.y.min : b.x.max) = nan;
    // Just outside plane 1 of the cube, by less and by more than the threshold.
    if (kind == 4) b = Box(P(rng() < 0.5f ? 1.00005f : 1.0002f, 0, 0), P(3, 0.5f, 0.5f));
    if (kind == 5) b.x.min = -1e-4f;
    boxes.push_back(b);
  }
  return boxes;
}

// Every path the library lists, that this processor can run (or, with false, cannot).
std::vector<Path> paths(bool available) {
  std::vector<Path> paths;
  for (int i = 0; i < Frustum::pathCount(); ++i)
    if (Frustum::isAvailable(Path(i)) == available) paths.push_back(Path(i));
  return paths;
}

// Every available path gives the single-item answer item for item, and writes nothing beyond
// the batch: empty and short batches, and long ones whose tail is no multiple of a lane width.
template <class Item>
void expectEveryPathMatches(const std::vector<Item>& items) {
  for (const Frustum& frustum : frusta()) {
    std::vector<Frustum::Classification> expected(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) expected[i] = frustum.classify(items[i]);
    for (Path path : paths(true)) {
      for (std::size_t n : std::vector<std::size_t>{0, 1, 3, 7, 9, 17, items.size()}) {
        std::vector<Frustum::Classification> got(n + 1, Frustum::Classification(0));
        frustum.classify(items.data(), n, got.data(), path);
        ASSERT_EQ(got[n], 0) << Frustum::pathName(path) << " wrote past " << n;
        for (std::size_t i = 0; i < n; ++i)
          ASSERT_EQ(got[i], expected[i]) << Frustum::pathName(path) << " item " << i << " of " << n;
      }
    }
  }
}

TEST(FrustumBatch, EveryPathGivesTheSingleBoxAnswer) { expectEveryPathMatches(scene(7, 4099)); }

// The low corners of the scene: NaN, infinite and just-outside coordinates included.
TEST(FrustumBatch, EveryPathGivesTheSinglePointAnswer) {
  std::vector<GePoint3<float>> points;
  for (const Box& b : scene(11, 1027)) points.emplace_back(b.x.min, b.y.min, b.z.min);
  expectEveryPathMatches(points);
}

TEST(FrustumBatch, AnUnavailablePathIsReportedNotRun) {
  // The paths are listed from the narrowest to the widest: the best is the last that runs here.
  EXPECT_EQ(Frustum::bestPath(), paths(true).back());
  EXPECT_STREQ(Frustum::pathName(Path::sse2), "sse2");
  // A value past the listed paths is unavailable everywhere, so the report is reached on every
  // processor.
  std::vector<Path> unavailable = paths(false);
  unavailable.push_back(Path(Frustum::pathCount()));
  const Frustum cube{GeProjectiveMatrix3<float>()};
  const Box box(P(0, 0, 0));
  Frustum::Classification result;
  for (Path path : unavailable)
    EXPECT_TRUE(VoTest::failsWith([&] { cube.classify(&box, 1, &result, path); },
                                  GeReportSites::frustumBatchPath))
        << Frustum::pathName(path);
}

}  // namespace
