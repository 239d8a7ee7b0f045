#include <vezODedizezivuz/geFrustum.h>
#include <vezODedizezivuz/geReportSites.h>

#include <type_traits>

#include "geFrustumBatchKernel.h"

namespace Vo {

namespace {

using Frustum = GeFrustum<float>;
using Path = Frustum::SimdPath;

static_assert(sizeof(Frustum::Classification) == 4,
              "the kernels write classifications as 32-bit codes");
static_assert(Frustum::OUTSIDE == 1 && Frustum::INSIDE == 2 && Frustum::INTERSECTING == 3,
              "the kernels write these codes");
static_assert(sizeof(GePoint3<float>) == 3 * sizeof(float), "points are read as three floats");
static_assert(std::is_trivially_copyable_v<Frustum>, "a frustum stays a plain value");

// Whether the processor supports an instruction set; false too when the operating system does
// not save its wider registers.
#if defined(__x86_64__) || defined(__i386__)
#define VO_PROCESSOR_HAS(feature) (__builtin_cpu_supports(feature) != 0)
#else
#define VO_PROCESSOR_HAS(feature) false
#endif

// A path's kernels; empty ones where the build leaves the kernel files out (the SIMD opt-out,
// other processor families), which makes every path but the plain loop unavailable.
#ifdef VO_BATCH_KERNELS_BUILT
#define VO_BATCH_KERNELS_OF(path) &FrustumBatch::path##Kernels
#else
constexpr FrustumBatch::Kernels notBuilt{};
#define VO_BATCH_KERNELS_OF(path) &notBuilt
#endif

// One batch path: its name, whether this processor can run it, and its kernels (none for the
// plain loop). A path also needs its kernels built: empty kernels mean the build left that
// instruction set out.
struct PathRow {
  Path path;
  const char* name;
  bool (*processorSupports)() noexcept;
  const FrustumBatch::Kernels* kernels;
};

// Every path but `automatic`, in the order of the enumeration, slowest first: the automatic
// choice is the last available row. The plain loop runs everywhere; every other path is a row of
// the path list, which also gives its kernel file to the build.
constexpr PathRow pathTable[] = {
    {Path::scalar, "scalar", []() noexcept { return true; }, nullptr},
#define VO_BATCH_PATH(path, suffix, feature, options)                      \
  {Path::path, #path, []() noexcept { return VO_PROCESSOR_HAS(feature); }, \
   VO_BATCH_KERNELS_OF(path)},
#include "geFrustumBatchPaths.def"
#undef VO_BATCH_PATH
};

constexpr int rowCount = static_cast<int>(sizeof pathTable / sizeof pathTable[0]);

constexpr bool rowsFollowTheEnumeration() {
  for (int i = 0; i < rowCount; ++i) {
    if (pathTable[i].path != static_cast<Path>(i + 1)) return false;
  }
  return true;
}
static_assert(static_cast<int>(Path::automatic) == 0 && rowsFollowTheEnumeration(),
              "row i describes SimdPath(i + 1)");

// The row of a path other than `automatic`; null for a value outside the enumeration.
const PathRow* rowOf(Path path) noexcept {
  const int i = static_cast<int>(path) - 1;
  return i >= 0 && i < rowCount ? &pathTable[i] : nullptr;
}

bool runsHere(const PathRow& row) noexcept {
  return row.processorSupports() && (row.kernels == nullptr || row.kernels->boxes != nullptr);
}

// The planes transposed for the kernels, with the frustum's own corner choice.
FrustumBatch::Planes lanePlanes(const Frustum& frustum, const unsigned char signs[6]) noexcept {
  FrustumBatch::Planes planes;
  for (int p = 0; p < 6; ++p) {
    const GePlane3<float>& plane = frustum.getPlane(p);
    planes.nx[p] = plane.normal.x;
    planes.ny[p] = plane.normal.y;
    planes.nz[p] = plane.normal.z;
    planes.d[p] = plane.d;
    planes.signs[p] = signs[p];
  }
  planes.threshold = Frustum::classificationThreshold;
  return planes;
}

}  // namespace

void GeFrustum<float>::computeBatchSigns() noexcept {
  for (int p = 0; p < 6; ++p) {
    // The same bound choice as the single-box test: the minimum only for a positive component.
    const GeVector3<float>& n = planes_[p].normal;
    batchSigns_[p] = static_cast<unsigned char>((n.x > 0.0f ? 1 : 0) | (n.y > 0.0f ? 2 : 0) |
                                                (n.z > 0.0f ? 4 : 0));
  }
}

bool GeFrustum<float>::isAvailable(SimdPath path) noexcept {
  if (path == SimdPath::automatic) return true;
  const PathRow* row = rowOf(path);
  return row != nullptr && runsHere(*row);
}

GeFrustum<float>::SimdPath GeFrustum<float>::bestPath() noexcept {
  for (int i = rowCount - 1; i > 0; --i) {
    if (runsHere(pathTable[i])) return pathTable[i].path;
  }
  return pathTable[0].path;
}

int GeFrustum<float>::pathCount() noexcept { return rowCount + 1; }

const char* GeFrustum<float>::pathName(SimdPath path) noexcept {
  if (path == SimdPath::automatic) return "automatic";
  const PathRow* row = rowOf(path);
  return row != nullptr ? row->name : "unknown";
}

GeFrustum<float>::SimdPath GeFrustum<float>::resolve(SimdPath path) {
  if (path == SimdPath::automatic) return bestPath();
  if (!isAvailable(path)) GeReportSites::frustumBatchPath.raise();
  return path;
}

void GeFrustum<float>::classify(const GeAlignedBox3<float>* boxes, std::size_t count,
                                Classification* results, SimdPath path) const {
  const FrustumBatch::Kernels* kernels = rowOf(resolve(path))->kernels;
  std::size_t done = 0;
  if (kernels != nullptr && count > 0) {
    done = kernels->boxes(lanePlanes(*this, batchSigns_), &boxes[0].x.min, count, results);
  }
  for (std::size_t i = done; i < count; ++i) results[i] = classifyPlain(boxes[i]);
}

void GeFrustum<float>::classify(const GePoint3<float>* points, std::size_t count,
                                Classification* results, SimdPath path) const {
  const FrustumBatch::Kernels* kernels = rowOf(resolve(path))->kernels;
  std::size_t done = 0;
  if (kernels != nullptr && count > 0) {
    done = kernels->points(lanePlanes(*this, batchSigns_), &points[0].x, count, results);
  }
  for (std::size_t i = done; i < count; ++i) results[i] = classify(points[i]);
}

}  // namespace Vo
