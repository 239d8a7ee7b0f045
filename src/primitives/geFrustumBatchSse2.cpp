// SSE2 batch kernels: four boxes or points per step. SSE2 is part of every x86-64 processor.

#define VO_FRUSTUM_BATCH_KERNELS
#include "geFrustumBatchKernel.h"

#include <emmintrin.h>

#include "geFrustumBatchSse2Lanes.h"

namespace Vo {
namespace FrustumBatch {

const Kernels sse2Kernels{classifyBoxes<Sse2Lanes>, classifyPoints<Sse2Lanes>};

}  // namespace FrustumBatch
}  // namespace Vo
