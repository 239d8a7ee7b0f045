// Only the cone builders' sample arrays and the build-information record may allocate. This
// test replaces the global allocation functions with counting ones (which can also be made to
// fail) and runs every other operation family between two readings of the counter.

#include <vezODedizezivuz/vezODedizezivuz.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

std::atomic<long> allocations{0};
std::atomic<bool> failNext{false};

}  // namespace

void* operator new(std::size_t size) {
  if (failNext.exchange(false)) throw std::bad_alloc();
  ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace Vo;

// Allocations made by `run`.
template <class Run>
long allocationsIn(Run run) {
  const long before = allocations.load();
  run();
  return allocations.load() - before;
}

struct CountCorners : UnaryFunctor<GePoint3<float>, bool> {
  int count = 0;
  bool operator()(const GePoint3<float>&) override { return ++count < 8; }
};

struct LastDirection : UnaryFunctor<GeVector3<float>, void> {
  GeVector3<float> last{};
  void operator()(const GeVector3<float>& v) override { last = v; }
};

// Keeps results observable so that nothing is optimised away.
template <class T>
void keep(const T& value) {
  asm volatile("" : : "g"(&value) : "memory");
}

TEST(Allocation, VectorsTolerancesIntervalsAndBoxesAllocateNothing) {
  EXPECT_EQ(allocationsIn([] {
              GeVector3<double> v(3, 4, 12);
              keep(v.normalize());
              keep(GeUnitVector3<float>(GeVector3<float>(1, 2, 3)));
              keep(cross(GeVector3<float>(1, 0, 0), GeVector3<float>(0, 1, 0)));
              const GeTolerances tolerances;
              keep(tolerances.compareCosine(0.5f, 0.25f));
              Interval<float> range = Interval<float>::makeEmpty();
              range.extendBy(2.0f);
              keep(range.classify(Interval<float>(0, 5)));
              const GeAlignedBox3<float> box(GePoint3<float>(0, 0, 0), GePoint3<float>(1, 2, 3));
              CountCorners corners;
              box.enumerateCorners(corners);
              keep(box.intersectLine(GePoint3<float>(-1, 1, 1), GeVector3<float>(1, 0, 0)));
              keep(box.classify(GeAlignedBox3<float>(GePoint3<float>(0.5f, 0.5f, 0.5f))));
            }),
            0);
}

TEST(Allocation, PlanesSpheresAndColoursAllocateNothing) {
  EXPECT_EQ(
      allocationsIn([] {
        GePlane3Builder<double> builder;
        builder.addPoint(GePoint3<double>(0, 0, 0));
        builder.addPoint(GePoint3<double>(1, 0, 0));
        builder.addPoint(GePoint3<double>(0, 1, 0));
        keep(builder.getPlane());
        const GeSphere3<float> sphere(GePoint3<float>(0, 0, 5), 1.0f);
        float t0 = 0, t1 = 0;
        keep(sphere.intersectRay(GePoint3<float>(0, 0, 0), GeVector3<float>(0, 0, 1), t0, t1));
        keep(GeVector2Utils<double>::distanceSquaredFromPointToLineSegment(
            GePoint2<double>(1, 1), GePoint2<double>(0, 0), GePoint2<double>(2, 0), false));
        const CoHsvColorT<float> hsv =
            CoHsvColorT<float>::convertFromRgb(CoRgbColorT<float>(0.2f, 0.4f, 0.6f));
        keep(hsv.convertToRgb());
      }),
      0);
}

TEST(Allocation, MatricesTransformsAndRotationsAllocateNothing) {
  EXPECT_EQ(
      allocationsIn([] {
        const GeProjectiveMatrix3<float> projection =
            GeCameraBuilder<float>::makePerspective(1.0f, 0.5f, 50.0f, 1.5f);
        const GeRotation3<float> rotation = GeRotation3<float>::aim(
            GeUnitVector3<float>(GeVector3<float>(1, 2, 3)), GeVector3<float>(0, 1, 0), 2, 1, true);
        const GeAffineMatrix3<float> view = GeTranslation3<float>(-1, -2, -3).mulOnRight(rotation);
        const GeProjectiveMatrix3<float> camera = projection * view;
        keep(camera.computeInverse());
        keep(camera.computeDeterminant());
        keep(GeLinearMatrix3<double>(2, 1, 0, 1, 3, 1, 0, 1, 4).computeInverse());
        keep(GeScale3<double>(1, 2, 3) * GeLinearMatrix3<double>());
        keep(GeXAxisRotation3<float>(0.3f) * view);
      }),
      0);
}

TEST(Allocation, QuaternionsAndEulerAnglesAllocateNothing) {
  EXPECT_EQ(allocationsIn([] {
              GeQuaternion3<double> p, q;
              q.setEuler(GeQuaternion3<double>::staticXYZ, 0.1, 0.2, 0.3);
              keep(GeQuaternion3<double>::slerp(p, q, 0.25, 1.0));
              GeLinearMatrix3<double> m;
              q.getMatrix(m);
              double a = 0, b = 0, c = 0;
              GeQuaternion3<double>::matrixToEuler(m, GeQuaternion3<double>::staticXYZ, a, b, c);
              keep(a + b + c);
            }),
            0);
}

TEST(Allocation, CullingAndSamplingAllocateNothing) {
  const GeFrustum<float> frustum(GeCameraBuilder<float>::makePerspective(1.0f, 0.5f, 50.0f, 1.5f));
  std::vector<GeAlignedBox3<float>> boxes(100, GeAlignedBox3<float>(GePoint3<float>(0, 0, -5)));
  std::vector<GeFrustum<float>::Classification> results(boxes.size());
  RnDefaultRng<float> rng(3);
  LastDirection sink;
  EXPECT_EQ(
      allocationsIn([&] {
        keep(frustum.classify(boxes[0]));
        frustum.classify(boxes.data(), boxes.size(), results.data());
        const GeShaft shaft(GeAlignedBox3<float>(GePoint3<float>(0, 0, 0)),
                            GeAlignedBox3<float>(GePoint3<float>(4, 4, 4)));
        keep(shaft.overlaps(GeAlignedBox3<float>(GePoint3<float>(2, 2, 2))));
        GeFloatingCone cone(GeUnitVector3<float>(GeVector3<float>(0, 0, 1)), 0.3f);
        cone.expand(GeFloatingCone(GeUnitVector3<float>(GeVector3<float>(0, 1, 1)), 0.2f));
        const GeCullingCones culling(GeAnchoredCone(cone, GePoint3<float>(0, 0, 0), 1.0f, 1.0f));
        keep(culling.isBehind(GePoint3<float>(0, 0, -10)));
        keep(GeIcosahedron::getStratifiedSamples(500, sink, rng));
      }),
      0);
}

// The builders own their samples; a failed append loses that sample only.
TEST(Allocation, ConeBuildersKeepTheirSamplesWhenAnAppendCannotAllocate) {
  GeFloatingConeBuilder directions(2);
  GeAnchoredConeBuilder points(2);
  const GeUnitVector3<float> up(GeVector3<float>(0, 0, 1));
  const GeUnitVector3<float> tilted(GeVector3<float>(0, 1, 4));
  directions(up);
  directions(tilted);
  points(GePoint3<float>(0, 0, 0));
  points(GePoint3<float>(1, 0, 0));
  // Both are full: the next append must grow the array, and that allocation fails.
  failNext = true;
  EXPECT_THROW(directions(GeUnitVector3<float>(GeVector3<float>(1, 0, 0))), std::bad_alloc);
  failNext = true;
  EXPECT_THROW(points(GePoint3<float>(2, 0, 0)), std::bad_alloc);
  ASSERT_EQ(directions.getSamples().size(), 2u);
  EXPECT_EQ(directions.getSamples()[1], tilted);
  ASSERT_EQ(points.getSamples().size(), 2u);
  EXPECT_EQ(points.getSamples()[1], GePoint3<float>(1, 0, 0));
  // They go on working, and their cones hold what was kept.
  const GeFloatingCone cone = directions.createCone();
  EXPECT_TRUE(cone.contains(up));
  EXPECT_TRUE(cone.contains(tilted));
  EXPECT_GT(allocationsIn([&] { points(GePoint3<float>(2, 0, 0)); }), 0);
}

}  // namespace
