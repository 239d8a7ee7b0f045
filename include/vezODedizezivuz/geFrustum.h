#pragma once

/// @file
/// The view volume of a camera matrix as six planes, for culling points and boxes (float only).

#include <vezODedizezivuz/geAlignedBox3.h>
#include <vezODedizezivuz/geMatrix3.h>
#include <vezODedizezivuz/gePlane3.h>
#include <vezODedizezivuz/geReportSites.h>
#include <vezODedizezivuz/geSphere3.h>
#include <vezODedizezivuz/geVector.h>
#include <vezODedizezivuz/vezODedizezivuzExport.h>

#include <array>
#include <cstddef>
#include <ostream>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Vo {

/// The view volume of a projective matrix. Only `GeFrustum<float>` exists.
template <class T>
class GeFrustum;

/// The view volume of a projective (camera) matrix M, which maps world space to clip space
/// (column vectors): the points whose clip coordinates satisfy −w <= x, y, z <= w.
///
/// Usage: build it once per camera, `GeFrustum<float> frustum(projection * view);`, then
/// `if (frustum.classify(box) != GeFrustum<float>::OUTSIDE) draw(object);`.
///
/// Planes, in index order: clip x >= −w, clip x <= w, then the same for y and z. Each normal is
/// the unit normal of rows 3 ± a of M and points inwards; each offset is taken from the clip-space
/// corner (−1, −1, −1) mapped back to world space (low planes) or (1, 1, 1) (high planes), so the
/// planes pass exactly through those corners whatever the matrix's rounding.
///
/// Accuracy: a point up to 1e-4 (in units of the world, as the normals have unit length) outside
/// a plane still counts as inside it, so objects touching the boundary are not culled. A box is
/// `OUTSIDE` only when it lies wholly outside one plane; a box outside the volume but across the
/// extension of several planes is reported `INTERSECTING` (no false `OUTSIDE`).
///
/// A plain value of six planes (and their transposed copy for the sphere test): copying is
/// trivial and nothing is allocated.
template <>
class VO_EXPORT GeFrustum<float> {
 public:
  /// Result of a classification.
  enum Classification {
    OUTSIDE = 1,      ///< wholly on the outer side of at least one plane
    INSIDE = 2,       ///< on the inner side of all six planes
    INTERSECTING = 3  ///< a box not wholly outside any plane but crossing at least one
  };

  /// Points up to this far outside a plane still count as inside it (the float −1e-4).
  static constexpr float classificationThreshold = -0.0001f;

  /// Builds the six planes of `m`.
  ///
  /// Reports "nonSingular" (source "base/matrix4x4Imp.imp", line 175) when `m` cannot be
  /// inverted, and "len > 0" (source "primitives/geVector3.inline", line 496) when a plane's
  /// normal has zero length; construction does not complete then. A clip-space corner that maps
  /// to infinity (fourth component 0) is not checked: its planes get non-finite offsets.
  explicit GeFrustum(const GeProjectiveMatrix3<float>& m);

  /// Plane 0 to 5 in the order above (no range test).
  const GePlane3<float>& getPlane(int index) const noexcept { return planes_[index]; }

  /// `OUTSIDE` when `p` is more than 1e-4 outside any plane, else `INSIDE`.
  [[nodiscard]] Classification classify(const GePoint3<float>& p) const noexcept {
    for (const GePlane3<float>& plane : planes_) {
      if (plane.evaluate(p) < classificationThreshold) return OUTSIDE;
    }
    return INSIDE;
  }

  /// `OUTSIDE`, `INSIDE` or `INTERSECTING` for the box `b`.
  ///
  /// Per plane, the box corner nearest to the outside (on each axis the minimum bound where the
  /// normal component is positive, else the maximum) decides whether the box crosses the plane,
  /// and the opposite corner whether it lies wholly outside. Any plane with the box wholly
  /// outside gives `OUTSIDE`, whatever the other planes say. An axis with min > max is used as it
  /// stands (no emptiness test). Allocation-free and branch-free on x86-64, where four planes
  /// are evaluated at once with SSE2 (same values bit for bit as the plain loop, which the batch
  /// classification's scalar path runs). Inline: out of line it costs a quarter more per box.
  [[nodiscard]] Classification classify(const GeAlignedBox3<float>& b) const noexcept {
#if defined(__SSE2__)
    return classifySse2(b);
#else
    return classifyPlain(b);
#endif
  }

  /// `OUTSIDE`, `INSIDE` or `INTERSECTING` for the sphere of `center` and `radius`, by the rule
  /// and threshold of boxes: per plane, with v the signed distance of the centre, the sphere
  /// crosses the plane when v − radius < −1e-4 and lies wholly outside it when v + radius <
  /// −1e-4. Any plane with the sphere wholly outside gives `OUTSIDE`; a sphere outside the
  /// volume but across the extension of several planes is `INTERSECTING` (no false `OUTSIDE`).
  /// A radius of 0 classifies the centre as a point (`OUTSIDE` or `INSIDE`, never
  /// `INTERSECTING` unless within 1e-4 of a plane). Reports "radius >= 0" (source
  /// "primitives/geFrustum", line 0) for a negative or NaN radius. Branch-free on x86-64, where
  /// four planes are evaluated at once with SSE2 (same values bit for bit as the plain loop).
  [[nodiscard]] Classification classify(const GePoint3<float>& center, float radius) const {
    checkRadius(radius);
#if defined(__SSE2__)
    return classifySphereSse2(_mm_set_ps(radius, center.z, center.y, center.x));
#else
    Classification result = INSIDE;
    for (const GePlane3<float>& plane : planes_) {
      const float v = plane.evaluate(center);
      if (v - radius < classificationThreshold) {
        if (v + radius < classificationThreshold) return OUTSIDE;
        result = INTERSECTING;
      }
    }
    return result;
#endif
  }
  /// As `classify(sphere.center, sphere.radius)`.
  [[nodiscard]] Classification classify(const GeSphere3<float>& sphere) const {
#if defined(__SSE2__)
    checkRadius(sphere.radius);
    // Centre and radius are four consecutive floats: one load instead of four.
    return classifySphereSse2(_mm_loadu_ps(&sphere.center.x));
#else
    return classify(sphere.center, sphere.radius);
#endif
  }

  /// The eight world-space corners of the volume, each the meeting point of three planes:
  /// corner i lies on the high x plane when bit 0 of i is set (else the low one), on the high
  /// y plane for bit 1 and on the high z (far) plane for bit 2, so corner 0 is the image of the
  /// clip-space corner (−1, −1, −1) and corner 7 of (1, 1, 1). Computed in double from the
  /// stored planes and rounded once. A volume without such a corner (a far plane at infinity,
  /// parallel planes) gives infinite or NaN coordinates there.
  [[nodiscard]] std::array<GePoint3<float>, 8> getCorners() const noexcept;

  /// The instruction sets of the batch classifications. Every path returns, element for
  /// element, exactly what the single-element `classify` returns.
  enum class SimdPath {
    automatic,  ///< the fastest path this processor supports
    scalar,     ///< one element at a time, plane by plane; available everywhere
    sse2,       ///< four elements per step (x86-64)
    avx2,       ///< eight elements per step (x86-64 processors with AVX2)
    avx512      ///< sixteen elements per step (x86-64 processors with AVX-512F)
  };

  /// Whether `path` can run on this processor (`automatic` and `scalar` always can).
  static bool isAvailable(SimdPath path) noexcept;
  /// The path that `automatic` selects here.
  static SimdPath bestPath() noexcept;
  /// The number of paths: they are `SimdPath(0)` to `SimdPath(pathCount() - 1)`.
  static int pathCount() noexcept;
  /// The path's name as written above ("avx2"), for logs; "unknown" for any other value.
  static const char* pathName(SimdPath path) noexcept;

  /// Classifies `count` boxes into `results[0 .. count)`, each exactly as `classify(boxes[i])`
  /// would, including the −1e-4 threshold and NaN or infinite bounds. No allocation; the arrays
  /// must not overlap. Reports "isAvailable(path)" (source "primitives/geFrustumBatch") when an
  /// explicitly requested path cannot run on this processor.
  void classify(const GeAlignedBox3<float>* boxes, std::size_t count, Classification* results,
                SimdPath path = SimdPath::automatic) const;

  /// Classifies `count` points into `results[0 .. count)`, each exactly as `classify(points[i])`
  /// would (`OUTSIDE` or `INSIDE`). Same contract as the box batch.
  void classify(const GePoint3<float>* points, std::size_t count, Classification* results,
                SimdPath path = SimdPath::automatic) const;

  /// Normal x, y, z and d of each plane, in index order, within `tolerance` (absolute).
  bool isEqual(const GeFrustum& other, float tolerance) const noexcept;
  /// All 24 components compared with `==` (a NaN component never compares equal).
  bool isEqualExact(const GeFrustum& other) const noexcept;

  /// For each plane: a line end, "plane( i ) = " and the plane's text; no final line end.
  void dump(std::ostream& os) const;

 private:
  // The box test as stated: planes in index order, the first plane with the box wholly outside
  // ends it. The batch paths and the portable build use it.
  Classification classifyPlain(const GeAlignedBox3<float>& b) const noexcept {
    Classification result = INSIDE;
    for (const GePlane3<float>& plane : planes_) {
      const GeVector3<float>& n = plane.normal;
      // A zero normal component contributes nothing either way; it takes the maximum bound.
      const float nearX = n.x > 0.0f ? b.x.min : b.x.max;
      const float nearY = n.y > 0.0f ? b.y.min : b.y.max;
      const float nearZ = n.z > 0.0f ? b.z.min : b.z.max;
      if (n.x * nearX + n.y * nearY + n.z * nearZ + plane.d < classificationThreshold) {
        const float farX = n.x > 0.0f ? b.x.max : b.x.min;
        const float farY = n.y > 0.0f ? b.y.max : b.y.min;
        const float farZ = n.z > 0.0f ? b.z.max : b.z.min;
        if (n.x * farX + n.y * farY + n.z * farZ + plane.d < classificationThreshold) {
          return OUTSIDE;
        }
        result = INTERSECTING;
      }
    }
    return result;
  }

  static void checkRadius(float radius) {
    if (!(radius >= 0.0f)) GeReportSites::frustumSphereRadius.raise();
  }

  static SimdPath resolve(SimdPath path);
  void computeBatchSigns() noexcept;
  void computeSphereLanes() noexcept;

#if defined(__SSE2__)
  // The same per-plane values as the loop above, four planes to a register. The answer does not
  // depend on the order in which the planes are visited (any plane with the box wholly outside
  // makes it OUTSIDE), so all six are evaluated without branches and the answer is read from the
  // comparison masks. Every lane computes n.x·q.x + n.y·q.y + n.z·q.z + d in that order with
  // single-precision multiplies and adds, so the values are those of the scalar loop bit for bit.
  Classification classifySse2(const GeAlignedBox3<float>& b) const noexcept {
    const float* p = &planes_[0].normal.x;
    __m128 nx = _mm_loadu_ps(p), ny = _mm_loadu_ps(p + 4), nz = _mm_loadu_ps(p + 8),
           d = _mm_loadu_ps(p + 12);
    _MM_TRANSPOSE4_PS(nx, ny, nz, d);
    // Planes 4 and 5 fill one register twice, as (4, 4, 5, 5): the even lanes take the near
    // corner, the odd lanes the far corner.
    const __m128 p4 = _mm_loadu_ps(p + 16), p5 = _mm_loadu_ps(p + 20);
    const __m128 nx45 = _mm_shuffle_ps(p4, p5, 0x00), ny45 = _mm_shuffle_ps(p4, p5, 0x55);
    const __m128 nz45 = _mm_shuffle_ps(p4, p5, 0xAA), d45 = _mm_shuffle_ps(p4, p5, 0xFF);
    const __m128 zero = _mm_setzero_ps();

    // The box is six floats: x.min, x.max, y.min, y.max, z.min, z.max.
    const __m128 xy = _mm_loadu_ps(&b.x.min);
    const __m128 zz = _mm_loadl_pi(zero, reinterpret_cast<const __m64*>(&b.z.min));
    const __m128 minX = _mm_shuffle_ps(xy, xy, 0x00), maxX = _mm_shuffle_ps(xy, xy, 0x55);
    const __m128 minY = _mm_shuffle_ps(xy, xy, 0xAA), maxY = _mm_shuffle_ps(xy, xy, 0xFF);
    const __m128 minZ = _mm_shuffle_ps(zz, zz, 0x00), maxZ = _mm_shuffle_ps(zz, zz, 0x55);
    // min ^ max per axis: xor-ing it in under the "normal component > 0" mask swaps the bounds.
    const __m128 swapX = _mm_xor_ps(minX, maxX), swapY = _mm_xor_ps(minY, maxY),
                 swapZ = _mm_xor_ps(minZ, maxZ);
    const __m128 threshold = _mm_set1_ps(classificationThreshold);

    // Planes 0 to 3. Positive component: near = min, far = max; otherwise near = max, far = min.
    // The sums run x, y, z, then d, as in the loop above.
    __m128 t = _mm_and_ps(_mm_cmpgt_ps(nx, zero), swapX);
    __m128 nearValue = _mm_mul_ps(nx, _mm_xor_ps(maxX, t));
    __m128 farValue = _mm_mul_ps(nx, _mm_xor_ps(minX, t));
    t = _mm_and_ps(_mm_cmpgt_ps(ny, zero), swapY);
    nearValue = _mm_add_ps(nearValue, _mm_mul_ps(ny, _mm_xor_ps(maxY, t)));
    farValue = _mm_add_ps(farValue, _mm_mul_ps(ny, _mm_xor_ps(minY, t)));
    t = _mm_and_ps(_mm_cmpgt_ps(nz, zero), swapZ);
    nearValue = _mm_add_ps(_mm_add_ps(nearValue, _mm_mul_ps(nz, _mm_xor_ps(maxZ, t))), d);
    farValue = _mm_add_ps(_mm_add_ps(farValue, _mm_mul_ps(nz, _mm_xor_ps(minZ, t))), d);

    // Planes 4 and 5: as above in the even lanes; the odd lanes take the opposite bound, so
    // their swap mask is inverted.
    const __m128 odd = _mm_castsi128_ps(_mm_set_epi32(-1, 0, -1, 0));
    t = _mm_and_ps(_mm_xor_ps(_mm_cmpgt_ps(nx45, zero), odd), swapX);
    __m128 value45 = _mm_mul_ps(nx45, _mm_xor_ps(maxX, t));
    t = _mm_and_ps(_mm_xor_ps(_mm_cmpgt_ps(ny45, zero), odd), swapY);
    value45 = _mm_add_ps(value45, _mm_mul_ps(ny45, _mm_xor_ps(maxY, t)));
    t = _mm_and_ps(_mm_xor_ps(_mm_cmpgt_ps(nz45, zero), odd), swapZ);
    value45 = _mm_add_ps(_mm_add_ps(value45, _mm_mul_ps(nz45, _mm_xor_ps(maxZ, t))), d45);

    const int near03 = _mm_movemask_ps(_mm_cmplt_ps(nearValue, threshold));
    const int far03 = _mm_movemask_ps(_mm_cmplt_ps(farValue, threshold));
    const int below45 = _mm_movemask_ps(_mm_cmplt_ps(value45, threshold));
    const int crossing = (near03 | (below45 & 5)) != 0;
    const int outside = ((near03 & far03) | (below45 & (below45 >> 1) & 5)) != 0;
    // outside ? OUTSIDE : crossing ? INTERSECTING : INSIDE, without a branch on random input.
    return static_cast<Classification>(2 + crossing - outside * (1 + crossing));
  }

  // The sphere loop above without its branches, for the sphere (c.x, c.y, c.z, r) in `s`.
  // Lanes 0 to 3 hold planes 0 to 3 and give v − r and v + r; lanes 4 to 7 hold planes 4, 5,
  // 4, 5 and give v − r in the first pair and v + r in the second (v + (−r) is v − r exactly).
  // Each v is n.x·c.x + n.y·c.y + n.z·c.z + d in that order, as GePlane3::evaluate computes it.
  // A radius that passed the check is neither negative nor NaN, so v − r <= v + r: a plane with
  // the sphere wholly outside is also crossed, which lets the answer be read from the masks with
  // few integer operations.
  Classification classifySphereSse2(__m128 s) const noexcept {
    const __m128 cx = _mm_shuffle_ps(s, s, 0x00), cy = _mm_shuffle_ps(s, s, 0x55),
                 cz = _mm_shuffle_ps(s, s, 0xAA), r = _mm_shuffle_ps(s, s, 0xFF);
    const __m128 threshold = _mm_set1_ps(classificationThreshold);
    const float* n = sphereLanes_;
    __m128 v03 = _mm_mul_ps(_mm_load_ps(n), cx);
    __m128 v45 = _mm_mul_ps(_mm_load_ps(n + 4), cx);
    v03 = _mm_add_ps(v03, _mm_mul_ps(_mm_load_ps(n + 8), cy));
    v45 = _mm_add_ps(v45, _mm_mul_ps(_mm_load_ps(n + 12), cy));
    v03 = _mm_add_ps(v03, _mm_mul_ps(_mm_load_ps(n + 16), cz));
    v45 = _mm_add_ps(v45, _mm_mul_ps(_mm_load_ps(n + 20), cz));
    v03 = _mm_add_ps(v03, _mm_load_ps(n + 24));
    v45 = _mm_add_ps(v45, _mm_load_ps(n + 28));
    const __m128 signedR = _mm_xor_ps(r, _mm_set_ps(0.0f, 0.0f, -0.0f, -0.0f));  // −r, −r, r, r
    const int crossing03 = _mm_movemask_ps(_mm_cmplt_ps(_mm_sub_ps(v03, r), threshold));
    const int outside03 = _mm_movemask_ps(_mm_cmplt_ps(_mm_add_ps(v03, r), threshold));
    const int lanes45 = _mm_movemask_ps(_mm_cmplt_ps(_mm_add_ps(v45, signedR), threshold));
    // Bits 2 and 3 of lanes45 (outside planes 4, 5) imply bits 0 and 1, so they may stay in.
    const int crossing = (crossing03 | lanes45) != 0;
    const int outside = (outside03 | (lanes45 & 12)) != 0;
    // outside ? OUTSIDE : crossing ? INTERSECTING : INSIDE, as outside implies crossing.
    return static_cast<Classification>(2 + crossing - 2 * outside);
  }
#endif

  GePlane3<float> planes_[6];
  // The planes transposed for the sphere test: normal x of planes 0, 1, 2, 3, 4, 5, 4, 5, then
  // normal y, normal z and d in the same lane order. Planes 4 and 5 appear twice so that one
  // register yields both v − r and v + r for them and no lane is padding.
  alignas(16) float sphereLanes_[32];
  // Per plane, bit a set when the normal's component on axis a is greater than 0: the corner
  // choice of the batch paths, fixed with the planes rather than found again on every call.
  unsigned char batchSigns_[6];
};

static_assert(sizeof(GePlane3<float>) == 4 * sizeof(float), "planes are read as four floats");
static_assert(sizeof(GeAlignedBox3<float>) == 6 * sizeof(float), "boxes are read as six floats");
static_assert(sizeof(GeSphere3<float>) == 4 * sizeof(float), "spheres are read as four floats");

}  // namespace Vo
