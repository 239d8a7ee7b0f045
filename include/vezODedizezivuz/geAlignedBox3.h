#pragma once

/// @file
/// Axis-aligned boxes, and the callback that accumulates the bounding box of a point stream.

#include <vezODedizezivuz/geUnaryFunctor.h>
#include <vezODedizezivuz/geVector.h>
#include <vezODedizezivuz/vezODedizezivuzExport.h>
#include <zevIRudez/Interval.h>

#include <ostream>
#include <type_traits>

namespace Vo {

/// An axis-aligned box: one closed interval per axis, x, y, z. T is float or double.
///
/// The box is empty on an axis whose interval has min > max; nothing is normalised or checked
/// on construction from intervals. The default box is the canonical empty interval on every
/// axis, so extending it by a point gives that point's degenerate box.
template <class T>
class VO_EXPORT GeAlignedBox3 {
 public:
  /// How this box (the subject) stands to another box; shared with `Interval<float>`.
  using Containment = typename Interval<float>::Containment;

  Interval<T> x;
  Interval<T> y;
  Interval<T> z;

  /// The empty box.
  constexpr GeAlignedBox3() noexcept
      : x(Interval<T>::makeEmpty()), y(Interval<T>::makeEmpty()), z(Interval<T>::makeEmpty()) {}

  /// The degenerate box holding only `p`.
  constexpr explicit GeAlignedBox3(const GePoint3<T>& p) noexcept
      : x(p.x, p.x), y(p.y, p.y), z(p.z, p.z) {}

  /// The smallest box holding `p` and `q`, in either order.
  constexpr GeAlignedBox3(const GePoint3<T>& p, const GePoint3<T>& q) noexcept : GeAlignedBox3(p) {
    extendBy(q);
  }

  /// Stores the three intervals as given, empty or not.
  constexpr GeAlignedBox3(Interval<T> x, Interval<T> y, Interval<T> z) noexcept
      : x(x), y(y), z(z) {}

  /// The interval of axis 0, 1 or 2 (x, y, z).
  constexpr Interval<T> getInterval(int axis) const noexcept {
    return axis == 0 ? x : axis == 1 ? y : z;
  }

  /// Grows the box to hold `p`; each interval is extended independently.
  constexpr void extendBy(const GePoint3<T>& p) noexcept {
    x.extendBy(p.x);
    y.extendBy(p.y);
    z.extendBy(p.z);
  }

  /// True when some axis is empty (min > max).
  constexpr bool isEmpty() const noexcept { return x.isEmpty() || y.isEmpty() || z.isEmpty(); }

  /// Passes the eight corners to `f` so that successive corners differ in one coordinate:
  /// (x0,y0,z0), (x1,y0,z0), (x1,y1,z0), (x1,y1,z1), (x1,y0,z1), (x0,y0,z1), (x0,y1,z1),
  /// (x0,y1,z0), where 0 is min and 1 is max. Stops as soon as `f` returns false. The same
  /// point object is changed in place between calls.
  void enumerateCorners(UnaryFunctor<GePoint3<T>, bool>& f) const;

  /// The parameters t for which origin + t·direction lies in the box (slab method).
  ///
  /// A direction component of exactly zero makes that axis a test of the origin alone: outside
  /// the slab the result is at once the canonical empty interval. Otherwise the axes keep
  /// clipping the whole line even after the range went empty, so a line that misses returns
  /// some interval with min > max; test the result with `isEmpty()`.
  Interval<T> intersectLine(const GePoint3<T>& origin,
                            const GeVector3<T>& direction) const noexcept {
    Interval<T> r = Interval<T>::makeInfinite();
    if (!clipSlab(x, origin.x, direction.x, r) || !clipSlab(y, origin.y, direction.y, r) ||
        !clipSlab(z, origin.z, direction.z, r)) {
      return Interval<T>::makeEmpty();
    }
    return r;
  }

  /// Offsets from `p` to the nearest point of the box (`minVector`) and to its farthest corner
  /// (`maxVector`), axis by axis. A point inside the slab of an axis has nearest offset 0 there;
  /// on a tie the farthest offset is the upper end.
  void computeMinMaxDistanceVectors(const GePoint3<T>& p, GeVector3<T>& minVector,
                                    GeVector3<T>& maxVector) const noexcept;

  /// The six bounds equal within `tolerance` (absolute), compared x.min, x.max, ..., z.max.
  /// float only.
  template <class U = T, class = std::enable_if_t<std::is_same_v<U, float>>>
  bool isEqual(const GeAlignedBox3& other, float tolerance) const noexcept {
    return x.isEqual(other.x, tolerance) && y.isEqual(other.y, tolerance) &&
           z.isEqual(other.z, tolerance);
  }

  /// Containment of this box in `b`, touching faces counting as contact. `DISJOINT` as soon as
  /// one axis is disjoint; the common axis answer when all three agree on `CONTAINED` or
  /// `CONTAINING`; `OVERLAPPING` otherwise. float only.
  template <class U = T, class = std::enable_if_t<std::is_same_v<U, float>>>
  Containment classify(const GeAlignedBox3<float>& b) const noexcept {
    const Containment cx = x.classify(b.x);
    if (cx == Interval<float>::DISJOINT) return cx;
    const Containment cy = y.classify(b.y);
    if (cy == Interval<float>::DISJOINT) return cy;
    const Containment cz = z.classify(b.z);
    if (cz == Interval<float>::DISJOINT) return cz;
    return combine(cx, cy, cz);
  }

  /// As `classify`, but boxes that only touch are `DISJOINT`. float only.
  template <class U = T, class = std::enable_if_t<std::is_same_v<U, float>>>
  Containment classifyExclude(const GeAlignedBox3<float>& b) const noexcept {
    const Containment cx = x.classifyExclude(b.x);
    if (cx == Interval<float>::DISJOINT) return cx;
    const Containment cy = y.classifyExclude(b.y);
    if (cy == Interval<float>::DISJOINT) return cy;
    const Containment cz = z.classifyExclude(b.z);
    if (cz == Interval<float>::DISJOINT) return cz;
    return combine(cx, cy, cz);
  }

  friend constexpr bool operator==(const GeAlignedBox3& a, const GeAlignedBox3& b) noexcept {
    return a.x == b.x && a.y == b.y && a.z == b.z;
  }
  friend constexpr bool operator!=(const GeAlignedBox3& a, const GeAlignedBox3& b) noexcept {
    return !(a == b);
  }

  /// Writes "( X=[ x.min, x.max ], Y=[ ... ], Z=[ ... ] )" with the stream's number formatting.
  std::ostream& dump(std::ostream& s) const;

  friend std::ostream& operator<<(std::ostream& s, const GeAlignedBox3& box) { return box.dump(s); }

 private:
  // Three non-disjoint axis answers make a box answer only when they agree on containment.
  static constexpr Containment combine(Containment cx, Containment cy, Containment cz) noexcept {
    if (cx == Interval<float>::OVERLAPPING || cy == Interval<float>::OVERLAPPING ||
        cz == Interval<float>::OVERLAPPING || cx != cy || cy != cz) {
      return Interval<float>::OVERLAPPING;
    }
    return cx;
  }

  // One slab of the line test; false when a zero direction component leaves the origin outside.
  static bool clipSlab(const Interval<T>& slab, T o, T d, Interval<T>& r) noexcept {
    if (d == T(0)) return !(slab.min > o || o > slab.max);
    const T inv = T(1) / d;
    const T t1 = (slab.min - o) * inv;
    const T t2 = (slab.max - o) * inv;
    r.intersectWith(d > T(0) ? Interval<T>(t1, t2) : Interval<T>(t2, t1));
    return true;
  }
};

/// A point callback that accumulates the bounding box of the points it receives.
class VO_EXPORT GeAlignedBoxBuilder : public UnaryFunctor<GePoint3<float>, bool> {
 public:
  /// Starts with the empty box.
  GeAlignedBoxBuilder() noexcept = default;
  GeAlignedBoxBuilder(const GeAlignedBoxBuilder&) noexcept = default;
  GeAlignedBoxBuilder& operator=(const GeAlignedBoxBuilder&) noexcept = default;
  ~GeAlignedBoxBuilder() override;

  /// Extends the box by `p`; always asks for more points.
  bool operator()(const GePoint3<float>& p) override;

  /// Back to the empty box.
  void reset() noexcept { box = GeAlignedBox3<float>(); }

  /// The box of the points so far; the empty box before the first point.
  GeAlignedBox3<float> getBox() const noexcept { return box; }

 private:
  GeAlignedBox3<float> box;
};

extern template class GeAlignedBox3<float>;
extern template class GeAlignedBox3<double>;

}  // namespace Vo
