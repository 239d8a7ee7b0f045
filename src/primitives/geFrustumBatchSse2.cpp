// SSE2 batch kernels: four boxes or points per step. SSE2 is part of every x86-64 processor.

#define VO_FRUSTUM_BATCH_KERNELS
#include "geFrustumBatchKernel.h"

#if defined(__SSE2__) && !defined(VO_NO_SIMD)
#include <emmintrin.h>

#include "geFrustumBatchSse2Lanes.h"

namespace Vo {
namespace FrustumBatch {

const Kernels sse2Kernels{classifyBoxes<Sse2Lanes>, classifyPoints<Sse2Lanes>};

}  // namespace FrustumBatch
}  // namespace Vo

#else

// Not built for this processor family: the path is never available.
const Vo::FrustumBatch::Kernels Vo::FrustumBatch::sse2Kernels{};

#endif
