// Only the cone builders' sample arrays and the build-information record may allocate. This
// test replaces the global allocation functions with counting ones and runs every other
// operation family between two readings of the counter.

#include <vezODedizezivuz/vezODedizezivuz.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

std::atomic<long> allocations{0};

}  // namespace

void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace Vo;

struct Directions : UnaryFunctor<GeVector3<float>, void> {
  void operator()(const GeVector3<float>&) override {}
};

// Keeps results observable so that nothing is optimised away.
template <class T>
void keep(const T& value) {
  asm volatile("" : : "g"(&value) : "memory");
}

TEST(Allocation, OnlyTheConeBuildersAllocate) {
  const auto camera = GeCameraBuilder<float>::makePerspective(1.0f, 0.5f, 50.0f, 1.5f);
  const GeFrustum<float> frustum(camera);
  std::vector<GeAlignedBox3<float>> boxes(100, GeAlignedBox3<float>(GePoint3<float>(0, 0, -5)));
  std::vector<GeFrustum<float>::Classification> results(boxes.size());
  RnDefaultRng<float> rng(3);
  long before = allocations;
  keep(GeRotation3<float>::aim(GeUnitVector3<float>({1, 2, 3}), {0, 1, 0}, 2, 1, true));
  keep(camera.computeInverse());
  keep(GeLinearMatrix3<double>(2, 1, 0, 1, 3, 1, 0, 1, 4).computeInverse());
  GeQuaternion3<double> q;
  q.setEuler(GeQuaternion3<double>::staticXYZ, 0.1, 0.2, 0.3);
  keep(GeQuaternion3<double>::slerp(GeQuaternion3<double>(), q, 0.25, 1.0));
  keep(CoHsvColorT<float>::convertFromRgb(CoRgbColorT<float>(0.2f, 0.4f, 0.6f)));
  frustum.classify(boxes.data(), boxes.size(), results.data());
  const GeShaft shaft(boxes[0], GeAlignedBox3<float>(GePoint3<float>(4, 4, 4)));
  keep(shaft.overlaps(GeAlignedBox3<float>(GePoint3<float>(2, 2, 2))));
  GeFloatingCone cone(GeUnitVector3<float>(GeVector3<float>(0, 0, 1)), 0.3f);
  cone.expand(GeFloatingCone(GeUnitVector3<float>(GeVector3<float>(0, 1, 1)), 0.2f));
  keep(GeCullingCones(GeAnchoredCone(cone, GePoint3<float>(0, 0, 0), 1.0f, 1.0f)));
  Directions sink;
  keep(GeIcosahedron::getStratifiedSamples(500, sink, rng));
  EXPECT_EQ(allocations - before, 0);

  // The counter does see allocations: the cone builders keep their samples in vectors.
  before = allocations;
  GeAnchoredConeBuilder points;
  for (int i = 0; i < 100; ++i) points(GePoint3<float>(float(i), 0, 0));
  EXPECT_GT(allocations - before, 0);
}

}  // namespace
