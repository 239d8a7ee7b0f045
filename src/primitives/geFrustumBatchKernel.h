#pragma once

// The batch frustum kernels, written once over a SIMD "lane set" and instantiated per
// instruction set in its own translation unit (the AVX2 one is compiled with -mavx2). Every
// function here has internal linkage and no library header is included, so no inline function
// compiled for AVX2 can be picked by the linker for code that runs on a processor without it;
// each file shares only its `Kernels` object, plain data.
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

// The six planes as the kernels read them. Bit a of signs[p] is set when plane p's normal
// component on axis a is greater than 0: the box corner nearest to the outside then takes the
// minimum bound on that axis, otherwise (a zero or NaN component too, as in the scalar test) the
// maximum; the far corner takes the other bound. The signs come with the frustum, computed once.
struct Planes {
  float nx[6], ny[6], nz[6], d[6];
  int signs[6];
  float threshold;
};

// A kernel classifies the leading multiple of its width of the `count` boxes (six floats each:
// x.min, x.max, y.min, y.max, z.min, z.max) or points (three floats) and writes one 32-bit
// classification code (1 outside, 2 inside, 3 intersecting) per element; it returns how many
// it did. The caller finishes the rest with the scalar test.
using BoxKernel = std::size_t (*)(const Planes& planes, const float* boxes, std::size_t count,
                                  void* results) noexcept;
using PointKernel = std::size_t (*)(const Planes& planes, const float* points, std::size_t count,
                                    void* results) noexcept;

// One instruction set's kernels, defined in its own file, which the build compiles only on x86-64
// and without the SIMD opt-out.
struct Kernels {
  BoxKernel boxes;
  PointKernel points;
};

// sse2Kernels, avx2Kernels, ...: one per row of the path list.
#define VO_BATCH_PATH(path, suffix, feature, options) extern const Kernels path##Kernels;
#include "geFrustumBatchPaths.def"
#undef VO_BATCH_PATH

}  // namespace FrustumBatch
}  // namespace Vo

#ifdef VO_FRUSTUM_BATCH_KERNELS

#include <utility>

namespace Vo {
namespace FrustumBatch {
namespace {

// A box in registers: bounds[2a] holds the minimum on axis a for every lane's box,
// bounds[2a + 1] the maximum. The corner of a plane with sign bits `signs` (see Planes) nearest
// to its outside, and the opposite corner, on axis a:
constexpr int nearBound(int signs, int axis) { return 2 * axis + ((signs >> axis) & 1 ? 0 : 1); }
constexpr int farBound(int signs, int axis) { return 2 * axis + ((signs >> axis) & 1 ? 1 : 0); }

// A block of up to `capacity` groups of boxes, one group per register width, each group
// transposed once into per-bound registers, with the running masks of its lanes: `crossing`
// when some plane has the near corner outside, `outside` when some plane has the whole box
// outside.
template <class Lanes>
struct BoxBlock {
  using F = typename Lanes::F;
  using M = typename Lanes::M;
  // Small blocks: the next block's loads then overlap this one's arithmetic in the out-of-order
  // window (measured best on a million boxes), while each plane's case is still chosen once per
  // block rather than once per group.
  static constexpr std::size_t capacity = 4;

  F bounds[capacity][6];
  M crossing[capacity];
  M outside[capacity];
  std::size_t groups;

  void load(const float* boxes, std::size_t groupCount) {
    groups = groupCount;
    for (std::size_t g = 0; g < groups; ++g) {
      Lanes::loadBoxes(boxes + 6 * g * Lanes::width, bounds[g]);
      crossing[g] = Lanes::none();
      outside[g] = Lanes::none();
    }
  }

  // One plane against every group, with the plane's corner choice fixed at compile time so that
  // the loop holds only arithmetic.
  template <int Signs>
  void testPlane(F nx, F ny, F nz, F d, F threshold) {
    constexpr int nearX = nearBound(Signs, 0), farX = farBound(Signs, 0);
    constexpr int nearY = nearBound(Signs, 1), farY = farBound(Signs, 1);
    constexpr int nearZ = nearBound(Signs, 2), farZ = farBound(Signs, 2);
    for (std::size_t g = 0; g < groups; ++g) {
      const F* b = bounds[g];
      const F nearValue =
          Lanes::add(Lanes::add(Lanes::add(Lanes::mul(nx, b[nearX]), Lanes::mul(ny, b[nearY])),
                                Lanes::mul(nz, b[nearZ])),
                     d);
      const F farValue =
          Lanes::add(Lanes::add(Lanes::add(Lanes::mul(nx, b[farX]), Lanes::mul(ny, b[farY])),
                                Lanes::mul(nz, b[farZ])),
                     d);
      const M nearBelow = Lanes::less(nearValue, threshold);
      crossing[g] = Lanes::bitOr(crossing[g], nearBelow);
      outside[g] =
          Lanes::bitOr(outside[g], Lanes::bitAnd(nearBelow, Lanes::less(farValue, threshold)));
    }
  }

  // The instantiation of testPlane for `signs`: one case per combination of the three sign
  // bits, generated rather than written out.
  template <int... Signs>
  void testPlane(int signs, std::integer_sequence<int, Signs...>, F nx, F ny, F nz, F d,
                 F threshold) {
    (void)((signs == Signs && (testPlane<Signs>(nx, ny, nz, d, threshold), true)) || ...);
  }

  void testPlane(const Planes& planes, int p, F threshold) {
    testPlane(planes.signs[p], std::make_integer_sequence<int, 8>(), Lanes::set1(planes.nx[p]),
              Lanes::set1(planes.ny[p]), Lanes::set1(planes.nz[p]), Lanes::set1(planes.d[p]),
              threshold);
  }

  void store(void* results) const {
    for (std::size_t g = 0; g < groups; ++g) {
      Lanes::storeCodes(static_cast<char*>(results) + 4 * g * Lanes::width, crossing[g],
                        outside[g]);
    }
  }
};

// Lanes::F is a register of Lanes::width floats and Lanes::M a per-lane mask; the operations
// are the instruction set's own. The boxes go in blocks: load and transpose a block, run every
// plane over it, store its codes.
template <class Lanes>
std::size_t classifyBoxes(const Planes& planes, const float* boxes, std::size_t count,
                          void* results) noexcept {
  constexpr std::size_t width = Lanes::width;
  constexpr std::size_t capacity = BoxBlock<Lanes>::capacity;
  const typename Lanes::F threshold = Lanes::set1(planes.threshold);
  BoxBlock<Lanes> block;
  std::size_t done = 0;
  while (count - done >= width) {
    const std::size_t groupsLeft = (count - done) / width;
    block.load(boxes + 6 * done, groupsLeft < capacity ? groupsLeft : capacity);
    for (int p = 0; p < 6; ++p) block.testPlane(planes, p, threshold);
    block.store(static_cast<char*>(results) + 4 * done);
    done += block.groups * width;
  }
  return done;
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
