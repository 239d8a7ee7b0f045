// SSE2 batch kernels: four boxes or points per step. SSE2 is part of every x86-64 processor.

#define VO_FRUSTUM_BATCH_KERNELS
#include "geFrustumBatchKernel.h"

#if defined(__SSE2__)
#include <emmintrin.h>

#include "geFrustumBatchSse2Lanes.h"

namespace Vo {
namespace FrustumBatch {

std::size_t classifyBoxesSse2(const Planes& planes, const float* boxes, std::size_t count,
                              void* results) noexcept {
  return classifyBoxes<Sse2Lanes>(planes, boxes, count, results);
}

std::size_t classifyPointsSse2(const Planes& planes, const float* points, std::size_t count,
                               void* results) noexcept {
  return classifyPoints<Sse2Lanes>(planes, points, count, results);
}

}  // namespace FrustumBatch
}  // namespace Vo

#else

namespace Vo {
namespace FrustumBatch {

std::size_t classifyBoxesSse2(const Planes&, const float*, std::size_t, void*) noexcept {
  return 0;
}
std::size_t classifyPointsSse2(const Planes&, const float*, std::size_t, void*) noexcept {
  return 0;
}

}  // namespace FrustumBatch
}  // namespace Vo

#endif
