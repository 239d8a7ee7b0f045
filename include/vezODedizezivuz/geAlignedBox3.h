#pragma once

/// @file
/// Axis-aligned boxes, and the callback that accumulates the bounding box of a point stream.

#include <vezODedizezivuz/geMatrix3.h>
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

  /// Grows the box to hold `b`, axis by axis. An empty `b` leaves the box unchanged.
  constexpr void extendBy(const GeAlignedBox3& b) noexcept {
    if (b.isEmpty()) return;
    extendAxis(x, b.x);
    extendAxis(y, b.y);
    extendAxis(z, b.z);
  }

  /// True when some axis is empty (min > max).
  [[nodiscard]] constexpr bool isEmpty() const noexcept {
    return x.isEmpty() || y.isEmpty() || z.isEmpty();
  }

  /// The midpoint (min + max)·0.5 of each axis. Meaningless for an empty box (the canonical one
  /// gives the origin).
  [[nodiscard]] constexpr GePoint3<T> getCenter() const noexcept {
    return GePoint3<T>((x.min + x.max) * T(0.5), (y.min + y.max) * T(0.5),
                       (z.min + z.max) * T(0.5));
  }
  /// The extent max − min of each axis; negative on an empty axis.
  [[nodiscard]] constexpr GeVector3<T> getSize() const noexcept {
    return GeVector3<T>(x.max - x.min, y.max - y.min, z.max - z.min);
  }

  /// True when `p` lies in the box, bounds included. An empty box contains no point; a NaN
  /// coordinate is never contained.
  [[nodiscard]] constexpr bool contains(const GePoint3<T>& p) const noexcept {
    return x.min <= p.x && p.x <= x.max && y.min <= p.y && p.y <= y.max && z.min <= p.z &&
           p.z <= z.max;
  }
  /// True when `p` lies strictly inside the box, off every bound.
  [[nodiscard]] constexpr bool containsStrictly(const GePoint3<T>& p) const noexcept {
    return x.min < p.x && p.x < x.max && y.min < p.y && p.y < y.max && z.min < p.z && p.z < z.max;
  }
  /// True when every point of `b` lies in this box, bounds included. An empty `b` is contained
  /// in every box (the empty one too); a non-empty `b` in no empty box.
  [[nodiscard]] constexpr bool contains(const GeAlignedBox3& b) const noexcept {
    return b.isEmpty() || (x.min <= b.x.min && b.x.max <= x.max && y.min <= b.y.min &&
                           b.y.max <= y.max && z.min <= b.z.min && b.z.max <= z.max);
  }

  /// The tight box of this box under the affine map `m` (the world-space bounds of an object
  /// box with a model matrix), without transforming the eight corners (Arvo's method).
  ///
  /// Per output axis i the bound is the sum over j of the smaller (for min) or larger (for max)
  /// of m(i,j)·min_j and m(i,j)·max_j, then the translation, added in the order j = 0, 1, 2, t
  /// that `m * point` uses. Rounded addition never decreases when an operand grows, so the
  /// result is bit for bit the box of the eight transformed corners (bar the sign of a zero
  /// bound). An empty box gives the empty box; a NaN matrix element gives NaN bounds on its row.
  [[nodiscard]] GeAlignedBox3 transformed(const GeAffineMatrix3<T>& m) const noexcept {
    if (isEmpty()) return GeAlignedBox3();
    return GeAlignedBox3(transformedAxis(m, 0), transformedAxis(m, 1), transformedAxis(m, 2));
  }

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
  [[nodiscard]] Interval<T> intersectLine(const GePoint3<T>& origin,
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
    return classifyAxes<&Interval<float>::classify>(b);
  }

  /// As `classify`, but boxes that only touch are `DISJOINT`. float only.
  template <class U = T, class = std::enable_if_t<std::is_same_v<U, float>>>
  Containment classifyExclude(const GeAlignedBox3<float>& b) const noexcept {
    return classifyAxes<&Interval<float>::classifyExclude>(b);
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
  // x, y, z in turn by `axisTest`, stopping at the first disjoint axis. The member pointer is a
  // template argument, so each caller compiles to the direct calls it would write out.
  template <Containment (Interval<float>::*axisTest)(const Interval<float>&) const noexcept>
  Containment classifyAxes(const GeAlignedBox3<float>& b) const noexcept {
    const Containment cx = (x.*axisTest)(b.x);
    if (cx == Interval<float>::DISJOINT) return cx;
    const Containment cy = (y.*axisTest)(b.y);
    if (cy == Interval<float>::DISJOINT) return cy;
    const Containment cz = (z.*axisTest)(b.z);
    if (cz == Interval<float>::DISJOINT) return cz;
    return combine(cx, cy, cz);
  }

  // Three non-disjoint axis answers make a box answer only when they agree on containment.
  static constexpr Containment combine(Containment cx, Containment cy, Containment cz) noexcept {
    if (cx == Interval<float>::OVERLAPPING || cy == Interval<float>::OVERLAPPING ||
        cz == Interval<float>::OVERLAPPING || cx != cy || cy != cz) {
      return Interval<float>::OVERLAPPING;
    }
    return cx;
  }

  static constexpr void extendAxis(Interval<T>& to, const Interval<T>& from) noexcept {
    if (to.min > from.min) to.min = from.min;
    if (from.max > to.max) to.max = from.max;
  }

  // Output axis i of `transformed`: per input axis the smaller and the larger product, summed
  // in the order of the point transform.
  Interval<T> transformedAxis(const GeAffineMatrix3<T>& m, int i) const noexcept {
    const T a0 = m(i, 0) * x.min, b0 = m(i, 0) * x.max;
    const T a1 = m(i, 1) * y.min, b1 = m(i, 1) * y.max;
    const T a2 = m(i, 2) * z.min, b2 = m(i, 2) * z.max;
    const T lo = (b0 < a0 ? b0 : a0) + (b1 < a1 ? b1 : a1) + (b2 < a2 ? b2 : a2) + m(i, 3);
    const T hi = (a0 < b0 ? b0 : a0) + (a1 < b1 ? b1 : a1) + (a2 < b2 ? b2 : a2) + m(i, 3);
    return Interval<T>(lo, hi);
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

// Consistent with the exact `==` (the six bounds).
namespace std {
template <class T>
struct hash<Vo::GeAlignedBox3<T>> {
  std::size_t operator()(const Vo::GeAlignedBox3<T>& b) const noexcept {
    return Vo::GeHashDetail::combine(0, b.x.min, b.x.max, b.y.min, b.y.max, b.z.min, b.z.max);
  }
};
}  // namespace std
