#pragma once

/// @file
/// Functors that turn a stream of samples into a cone: directions into a `GeFloatingCone`,
/// points into a `GeAnchoredCone` (float only).
///
/// Both are `UnaryFunctor`s: feed them samples one by one (directly, or from an enumeration such
/// as `GeAlignedBox3::enumerateCorners`), then ask for the cone. Each owns a `std::vector` of the
/// samples fed so far; copying a builder copies its samples. Appending may throw
/// `std::bad_alloc`, and a capacity beyond the vector's maximum size throws `std::length_error`.

#include <vezODedizezivuz/geCone.h>
#include <vezODedizezivuz/geUnaryFunctor.h>
#include <vezODedizezivuz/geVector.h>
#include <vezODedizezivuz/vezODedizezivuzExport.h>

#include <vector>

namespace Vo {

// The two builders keep the same outline (a sample list reserved up front, copies defined out of
// line for the export) but share no step of their algorithms, so neither derives from the other.

/// Collects unit directions and builds a floating cone that holds them all.
class VO_EXPORT GeFloatingConeBuilder : public UnaryFunctor<GeUnitVector3<float>, void> {
 public:
  /// An empty list with room reserved for `capacity` directions.
  explicit GeFloatingConeBuilder(unsigned int capacity = 16) { samples_.reserve(capacity); }
  GeFloatingConeBuilder(const GeFloatingConeBuilder&);
  GeFloatingConeBuilder& operator=(const GeFloatingConeBuilder&);
  ~GeFloatingConeBuilder() override;

  /// Appends `d`.
  void operator()(const GeUnitVector3<float>& d) override { samples_.push_back(d); }

  /// Forgets the directions; the reserved room is kept.
  void reset() noexcept { samples_.clear(); }

  /// The cone of the directions fed since the last `createCone` or `reset`, which are then
  /// forgotten.
  ///
  /// The axis is the normalised centre of the directions' bounding box (not their mean) and the
  /// semi-angle the largest angle between it and any direction, so every direction is contained
  /// up to the rounding of `acos` at the rim. When the bounding box holds the origin (bounds
  /// included), when its centre is the origin, or when no direction was fed, the result is the
  /// sphere: axis (0, 0, 1), semi-angle `GeFloatingCone::sphereAlpha`.
  GeFloatingCone createCone();

  /// The directions fed so far, in arrival order.
  const std::vector<GeUnitVector3<float>>& getSamples() const noexcept { return samples_; }

 private:
  std::vector<GeUnitVector3<float>> samples_;
};

/// Collects points and, given a floating cone, builds the anchored cone with that cone's axis and
/// semi-angle that encloses them: the base plane passes through the lowest point along the axis,
/// the height reaches the highest point, and the slanted side holds every point that lies
/// farther from the lowest point's axis than the slope reaches at its height (see `createCone`).
class VO_EXPORT GeAnchoredConeBuilder : public UnaryFunctor<GePoint3<float>, bool> {
 public:
  /// An empty list with room reserved for `capacity` points.
  explicit GeAnchoredConeBuilder(unsigned int capacity = 16) { samples_.reserve(capacity); }
  GeAnchoredConeBuilder(const GeAnchoredConeBuilder&);
  GeAnchoredConeBuilder& operator=(const GeAnchoredConeBuilder&);
  ~GeAnchoredConeBuilder() override;

  /// Appends `p`; always true, so an enumeration goes on.
  bool operator()(const GePoint3<float>& p) override {
    samples_.push_back(p);
    return true;
  }

  /// Forgets the points; the reserved room is kept.
  void reset() noexcept { samples_.clear(); }

  /// The anchored cone of `cone`'s axis a and semi-angle alpha that encloses the points.
  ///
  /// P0 is the point with the smallest p·a (the first on ties). In the base plane through P0 the
  /// frame (w, u) is built from a × e, e the coordinate axis of a's smallest component; every
  /// other point is slid down the slope tan(alpha) onto the base plane, and points whose slide
  /// reaches the axis are dropped. The base point is P0 moved to the centre of the bounding
  /// rectangle of the slid points (and of P0 itself), the bottom radius covers the slid points
  /// (not necessarily P0), and the height is the largest (p − P0)·a.
  ///
  /// The list serves as scratch space and is not emptied: afterwards its first entries hold the
  /// slid points as (s, r, 0) in the frame. `reset` before collecting the next cluster.
  ///
  /// Reports "len > 0" (source "primitives\geAnchoredConeBuilder", line 111 or 114) when the
  /// frame cannot be normalised (an axis of zero length or NaN), and, since an empty list has no
  /// lowest point, "size > 0" (same source, line 96) when no point was fed.
  GeAnchoredCone createCone(const GeFloatingCone& cone);

  /// The points fed so far (or the scratch content left by `createCone`).
  const std::vector<GePoint3<float>>& getSamples() const noexcept { return samples_; }

 private:
  std::vector<GePoint3<float>> samples_;
};

}  // namespace Vo
