#include <vezODedizezivuz/geFrustum.h>
#include <vezODedizezivuz/geReportSites.h>

#include "geFrustumBatchKernel.h"

namespace Vo {

namespace {

static_assert(sizeof(GeFrustum<float>::Classification) == 4,
              "the kernels write classifications as 32-bit codes");
static_assert(GeFrustum<float>::OUTSIDE == 1 && GeFrustum<float>::INSIDE == 2 &&
                  GeFrustum<float>::INTERSECTING == 3,
              "the kernels write these codes");
static_assert(sizeof(GePoint3<float>) == 3 * sizeof(float), "points are read as three floats");

// Answered once each; false too when the operating system does not save the wider registers.
bool processorHasAvx2() noexcept {
#if defined(__x86_64__) || defined(__i386__)
  static const bool has = __builtin_cpu_supports("avx2") != 0;
  return has;
#else
  return false;
#endif
}

bool processorHasAvx512() noexcept {
#if defined(__x86_64__) || defined(__i386__)
  static const bool has = __builtin_cpu_supports("avx512f") != 0;
  return has;
#else
  return false;
#endif
}

constexpr bool builtWithSse2() noexcept {
#if defined(__SSE2__)
  return true;
#else
  return false;
#endif
}

}  // namespace

bool GeFrustum<float>::isAvailable(SimdPath path) noexcept {
  switch (path) {
    case SimdPath::automatic:
    case SimdPath::scalar:
      return true;
    case SimdPath::sse2:
      return builtWithSse2();
    case SimdPath::avx2:
      return builtWithSse2() && processorHasAvx2();
    case SimdPath::avx512:
      return builtWithSse2() && processorHasAvx512();
  }
  return false;
}

GeFrustum<float>::SimdPath GeFrustum<float>::bestPath() noexcept {
  if (isAvailable(SimdPath::avx512)) return SimdPath::avx512;
  if (isAvailable(SimdPath::avx2)) return SimdPath::avx2;
  if (isAvailable(SimdPath::sse2)) return SimdPath::sse2;
  return SimdPath::scalar;
}

GeFrustum<float>::SimdPath GeFrustum<float>::resolve(SimdPath path) {
  if (path == SimdPath::automatic) return bestPath();
  if (!isAvailable(path)) {
    GeReportSites::frustumBatchPath.raise();
  }
  return path;
}

namespace {

FrustumBatch::Planes lanePlanes(const GeFrustum<float>& frustum) noexcept {
  FrustumBatch::Planes planes;
  for (int p = 0; p < 6; ++p) {
    const GePlane3<float>& plane = frustum.getPlane(p);
    planes.nx[p] = plane.normal.x;
    planes.ny[p] = plane.normal.y;
    planes.nz[p] = plane.normal.z;
    planes.d[p] = plane.d;
    // The same bound choice as the single-box test: the minimum only for a positive component.
    planes.nearSelect[p][0] = plane.normal.x > 0.0f ? 0 : 1;
    planes.nearSelect[p][1] = plane.normal.y > 0.0f ? 0 : 1;
    planes.nearSelect[p][2] = plane.normal.z > 0.0f ? 0 : 1;
  }
  planes.threshold = GeFrustum<float>::classificationThreshold;
  return planes;
}

}  // namespace

void GeFrustum<float>::classify(const GeAlignedBox3<float>* boxes, std::size_t count,
                                Classification* results, SimdPath path) const {
  const SimdPath chosen = resolve(path);
  std::size_t done = 0;
  if (chosen != SimdPath::scalar && count > 0) {
    const FrustumBatch::Planes planes = lanePlanes(*this);
    const float* bounds = &boxes[0].x.min;
    switch (chosen) {
      case SimdPath::avx512:
        done = FrustumBatch::classifyBoxesAvx512(planes, bounds, count, results);
        break;
      case SimdPath::avx2:
        done = FrustumBatch::classifyBoxesAvx2(planes, bounds, count, results);
        break;
      default:
        done = FrustumBatch::classifyBoxesSse2(planes, bounds, count, results);
        break;
    }
  }
  for (std::size_t i = done; i < count; ++i) results[i] = classifyPlain(boxes[i]);
}

void GeFrustum<float>::classify(const GePoint3<float>* points, std::size_t count,
                                Classification* results, SimdPath path) const {
  const SimdPath chosen = resolve(path);
  std::size_t done = 0;
  if (chosen != SimdPath::scalar && count > 0) {
    const FrustumBatch::Planes planes = lanePlanes(*this);
    const float* coordinates = &points[0].x;
    switch (chosen) {
      case SimdPath::avx512:
        done = FrustumBatch::classifyPointsAvx512(planes, coordinates, count, results);
        break;
      case SimdPath::avx2:
        done = FrustumBatch::classifyPointsAvx2(planes, coordinates, count, results);
        break;
      default:
        done = FrustumBatch::classifyPointsSse2(planes, coordinates, count, results);
        break;
    }
  }
  for (std::size_t i = done; i < count; ++i) results[i] = classify(points[i]);
}

}  // namespace Vo
