#pragma once

// The batch frustum kernels, written once over a SIMD "lane set" and instantiated per
// instruction set in its own translation unit (the AVX2 one is compiled with -mavx2). Everything
// here has internal linkage and includes no library header, so no inline function compiled for
// AVX2 can be picked by the linker for code that runs on a processor without it.
//
// Each lane computes exactly what the scalar test computes for its box or point, in the same
// order: n.x·q.x + n.y·q.y + n.z·q.z + d with single-precision multiplies and adds (the library
// is built without contraction into fused multiply-adds), compared with `<` against the
// threshold, so NaN compares false in both. Only the bookkeeping differs: the scalar test stops
// at the first plane with the box wholly outside; the lanes evaluate all six planes and combine
// the comparison masks, which yields the same answer because one such plane makes the box
// OUTSIDE whatever the others say.

#include <cstddef>

namespace Vo {
namespace FrustumBatch {

// The six planes as the kernels read them. For plane p, nearSelect[p][a] is 0 when the box's
// minimum bound on axis a minimises n·q + d (normal component > 0), else 1 (the maximum, also
// for a zero or NaN component, as in the scalar test); the far corner takes the other bound.
struct Planes {
  float nx[6], ny[6], nz[6], d[6];
  int nearSelect[6][3];
  float threshold;
};

// Each classifies the leading multiple of its width of the `count` boxes (six floats each:
// x.min, x.max, y.min, y.max, z.min, z.max) or points (three floats) and writes one 32-bit
// classification code (1 outside, 2 inside, 3 intersecting) per element; returns how many it
// did. The caller finishes the rest with the scalar test.
std::size_t classifyBoxesSse2(const Planes& planes, const float* boxes, std::size_t count,
                              void* results) noexcept;
std::size_t classifyBoxesAvx2(const Planes& planes, const float* boxes, std::size_t count,
                              void* results) noexcept;
std::size_t classifyPointsSse2(const Planes& planes, const float* points, std::size_t count,
                               void* results) noexcept;
std::size_t classifyPointsAvx2(const Planes& planes, const float* points, std::size_t count,
                               void* results) noexcept;
std::size_t classifyBoxesAvx512(const Planes& planes, const float* boxes, std::size_t count,
                                void* results) noexcept;
std::size_t classifyPointsAvx512(const Planes& planes, const float* points, std::size_t count,
                                 void* results) noexcept;

}  // namespace FrustumBatch
}  // namespace Vo

#ifdef VO_FRUSTUM_BATCH_KERNELS

namespace Vo {
namespace FrustumBatch {
namespace {

// One plane against every lane's box, for `groups` groups of boxes. `Signs` has bit a set when
// the plane's normal component on axis a is greater than 0, so that the nearest corner takes the
// minimum on that axis; the choice is made at compile time, leaving only arithmetic in the loop.
template <class Lanes, int Signs>
void testPlane(const typename Lanes::F (*bounds)[6], std::size_t groups, typename Lanes::F nx,
               typename Lanes::F ny, typename Lanes::F nz, typename Lanes::F d,
               typename Lanes::F threshold, typename Lanes::M* crossing,
               typename Lanes::M* outside) {
  constexpr int nearX = (Signs & 1) ? 0 : 1;
  constexpr int nearY = (Signs & 2) ? 2 : 3;
  constexpr int nearZ = (Signs & 4) ? 4 : 5;
  for (std::size_t g = 0; g < groups; ++g) {
    const typename Lanes::F* b = bounds[g];
    const auto nearValue =
        Lanes::add(Lanes::add(Lanes::add(Lanes::mul(nx, b[nearX]), Lanes::mul(ny, b[nearY])),
                              Lanes::mul(nz, b[nearZ])),
                   d);
    const auto farValue = Lanes::add(
        Lanes::add(Lanes::add(Lanes::mul(nx, b[1 - nearX]), Lanes::mul(ny, b[5 - nearY])),
                   Lanes::mul(nz, b[9 - nearZ])),
        d);
    const auto nearBelow = Lanes::less(nearValue, threshold);
    crossing[g] = Lanes::bitOr(crossing[g], nearBelow);
    outside[g] =
        Lanes::bitOr(outside[g], Lanes::bitAnd(nearBelow, Lanes::less(farValue, threshold)));
  }
}

// Lanes::F is a register of Lanes::width floats and Lanes::M a per-lane mask; the operations
// are the instruction set's own. The boxes go in blocks: each block is transposed once into
// per-bound registers, then every plane runs over the whole block with its corner choice fixed,
// so the inner loops hold no branch and no index arithmetic.
template <class Lanes>
std::size_t classifyBoxes(const Planes& planes, const float* boxes, std::size_t count,
                          void* results) noexcept {
  using F = typename Lanes::F;
  using M = typename Lanes::M;
  constexpr std::size_t width = Lanes::width;
  // Small blocks: the next block's loads then overlap this one's arithmetic in the out-of-order
  // window (measured best on a million boxes), while each plane's case is still chosen once per
  // block rather than once per group.
  constexpr std::size_t block = 4;
  int signs[6];
  for (int p = 0; p < 6; ++p) {
    signs[p] = (planes.nearSelect[p][0] == 0 ? 1 : 0) | (planes.nearSelect[p][1] == 0 ? 2 : 0) |
               (planes.nearSelect[p][2] == 0 ? 4 : 0);
  }
  const F threshold = Lanes::set1(planes.threshold);
  F bounds[block][6];
  M crossing[block];
  M outside[block];
  std::size_t i = 0;
  while (count - i >= width) {
    const std::size_t left = (count - i) / width;
    const std::size_t groups = left < block ? left : block;
    for (std::size_t g = 0; g < groups; ++g) {
      // bounds[g][2a] is the minimum on axis a for every lane's box, bounds[g][2a + 1] the maximum.
      Lanes::loadBoxes(boxes + 6 * (i + g * width), bounds[g]);
      crossing[g] = Lanes::none();
      outside[g] = Lanes::none();
    }
    for (int p = 0; p < 6; ++p) {
      const F nx = Lanes::set1(planes.nx[p]);
      const F ny = Lanes::set1(planes.ny[p]);
      const F nz = Lanes::set1(planes.nz[p]);
      const F d = Lanes::set1(planes.d[p]);
      switch (signs[p]) {
        case 0:
          testPlane<Lanes, 0>(bounds, groups, nx, ny, nz, d, threshold, crossing, outside);
          break;
        case 1:
          testPlane<Lanes, 1>(bounds, groups, nx, ny, nz, d, threshold, crossing, outside);
          break;
        case 2:
          testPlane<Lanes, 2>(bounds, groups, nx, ny, nz, d, threshold, crossing, outside);
          break;
        case 3:
          testPlane<Lanes, 3>(bounds, groups, nx, ny, nz, d, threshold, crossing, outside);
          break;
        case 4:
          testPlane<Lanes, 4>(bounds, groups, nx, ny, nz, d, threshold, crossing, outside);
          break;
        case 5:
          testPlane<Lanes, 5>(bounds, groups, nx, ny, nz, d, threshold, crossing, outside);
          break;
        case 6:
          testPlane<Lanes, 6>(bounds, groups, nx, ny, nz, d, threshold, crossing, outside);
          break;
        default:
          testPlane<Lanes, 7>(bounds, groups, nx, ny, nz, d, threshold, crossing, outside);
          break;
      }
    }
    for (std::size_t g = 0; g < groups; ++g) {
      Lanes::storeCodes(static_cast<char*>(results) + 4 * (i + g * width), crossing[g], outside[g]);
    }
    i += groups * width;
  }
  return i;
}

template <class Lanes>
std::size_t classifyPoints(const Planes& planes, const float* points, std::size_t count,
                           void* results) noexcept {
  using F = typename Lanes::F;
  constexpr std::size_t width = Lanes::width;
  const F threshold = Lanes::set1(planes.threshold);
  std::size_t i = 0;
  for (; i + width <= count; i += width) {
    F c[3];
    Lanes::loadPoints(points + 3 * i, c);
    typename Lanes::M outside = Lanes::none();
    for (int p = 0; p < 6; ++p) {
      const F value = Lanes::add(Lanes::add(Lanes::add(Lanes::mul(Lanes::set1(planes.nx[p]), c[0]),
                                                       Lanes::mul(Lanes::set1(planes.ny[p]), c[1])),
                                            Lanes::mul(Lanes::set1(planes.nz[p]), c[2])),
                                 Lanes::set1(planes.d[p]));
      outside = Lanes::bitOr(outside, Lanes::less(value, threshold));
    }
    // A point is never intersecting: the crossing mask is the outside mask.
    Lanes::storeCodes(static_cast<char*>(results) + 4 * i, outside, outside);
  }
  return i;
}

}  // namespace
}  // namespace FrustumBatch
}  // namespace Vo

#endif  // VO_FRUSTUM_BATCH_KERNELS
