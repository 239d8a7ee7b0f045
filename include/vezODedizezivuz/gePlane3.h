#pragma once

/// @file
/// Oriented planes, planes with a unit normal, and the least-squares plane of a polygon.

#include <vezODedizezivuz/geScalar.h>
#include <vezODedizezivuz/geVector.h>
#include <vezODedizezivuz/vezODedizezivuzExport.h>
#include <zevIRudez/FloatUtil.h>

#include <ostream>

namespace Vo {

// Exported here already: clang gives a class template the visibility of its first declaration,
// and would hide the out-of-line members of the instantiations the library builds.
template <class T>
class VO_EXPORT GeNormalizedPlane3;

namespace GePlane3Detail {

// Shared by both plane kinds once the normal has unit length. The parallel test goes through
// the float functions for double planes too, so both precisions agree on which rays are
// parallel; everything else stays in T.
template <class T>
inline bool intersectUnitNormal(const GeVector3<T>& n, T d, const GePoint3<T>& origin,
                                const GeVector3<T>& direction, T& t) noexcept {
  const T denom = n.x * direction.x + n.y * direction.y + n.z * direction.z;
  if (FloatUtil::isEqual(FloatUtil::abs(static_cast<float>(denom)), 0.0f)) return false;
  const T num = n.x * origin.x + n.y * origin.y + n.z * origin.z + d;
  t = -num / denom;
  return true;
}

// float multiplies by the negated reciprocal instead of dividing.
template <>
inline bool intersectUnitNormal<float>(const GeVector3<float>& n, float d,
                                       const GePoint3<float>& origin,
                                       const GeVector3<float>& direction, float& t) noexcept {
  const float denom = n.x * direction.x + n.y * direction.y + n.z * direction.z;
  if (FloatUtil::isEqual(FloatUtil::abs(denom), 0.0f)) return false;
  const float num = n.x * origin.x + n.y * origin.y + n.z * origin.z + d;
  t = num * (-1.0f / denom);
  return true;
}

}  // namespace GePlane3Detail

/// An oriented plane: the points p with normal·p + d = 0. T is float or double.
///
/// The normal need not have unit length; normal·p + d is positive on the side the normal points
/// into (a signed distance only for unit normals). A plain value: trivially copyable and
/// uninitialised when default-constructed.
template <class T>
class VO_EXPORT GePlane3 {
 public:
  GeVector3<T> normal;
  T d;

  GePlane3() = default;
  constexpr GePlane3(const GeVector3<T>& normal, T d) noexcept : normal(normal), d(d) {}
  /// Every plane with a unit normal is a plane. /*implicit*/
  constexpr GePlane3(const GeNormalizedPlane3<T>& plane) noexcept;  // NOLINT

  /// normal·p + d, summed x, y, z, then d; positive on the normal's side.
  [[nodiscard]] constexpr T evaluate(const GePoint3<T>& p) const noexcept {
    return normal.x * p.x + normal.y * p.y + normal.z * p.z + d;
  }

  /// Normal x, y, z, then d, each within `tolerance` (absolute); false at the first that is not.
  bool isEqual(const GePlane3& other, T tolerance) const noexcept {
    return GeScalar<T>::abs(normal.x - other.normal.x) <= tolerance &&
           GeScalar<T>::abs(normal.y - other.normal.y) <= tolerance &&
           GeScalar<T>::abs(normal.z - other.normal.z) <= tolerance &&
           GeScalar<T>::abs(d - other.d) <= tolerance;
  }

  /// Where origin + t·direction meets the plane. The normal is first scaled to unit length
  /// while `d` is used as stored, so for a normal that is not of unit length the answer is that
  /// of the plane unitNormal·p + d = 0. False, with `t` unchanged, when the ray is parallel
  /// (|unitNormal·direction| within `FloatUtil::defaultTolerance`) or the normal is zero.
  bool intersectRay(const GePoint3<T>& origin, const GeVector3<T>& direction, T& t) const noexcept {
    return GePlane3Detail::intersectUnitNormal(normal.normalized(), d, origin, direction, t);
  }

  friend constexpr bool operator==(const GePlane3& a, const GePlane3& b) noexcept {
    return a.normal == b.normal && a.d == b.d;
  }
  friend constexpr bool operator!=(const GePlane3& a, const GePlane3& b) noexcept {
    return !(a == b);
  }

  /// Writes "[nx, ny, nz, d]" with the stream's own number formatting.
  std::ostream& dump(std::ostream& s) const;

  friend std::ostream& operator<<(std::ostream& s, const GePlane3& plane) { return plane.dump(s); }
};

/// A plane whose normal has unit length, so normal·p + d is the signed distance of p.
template <class T>
class VO_EXPORT GeNormalizedPlane3 {
 public:
  GeUnitVector3<T> normal;
  T d;

  GeNormalizedPlane3() = default;
  constexpr GeNormalizedPlane3(const GeUnitVector3<T>& normal, T d) noexcept
      : normal(normal), d(d) {}

  /// Signed distance of `p`: normal·p + d, summed x, y, z, then d.
  [[nodiscard]] constexpr T distance(const GePoint3<T>& p) const noexcept {
    return normal.x * p.x + normal.y * p.y + normal.z * p.z + d;
  }

  /// Where origin + t·direction meets the plane. False, with `t` unchanged, when the ray is
  /// parallel: |normal·direction| within `FloatUtil::defaultTolerance`, tested in float even
  /// for double planes.
  bool intersectRay(const GePoint3<T>& origin, const GeVector3<T>& direction, T& t) const noexcept {
    return GePlane3Detail::intersectUnitNormal<T>(normal, d, origin, direction, t);
  }

  friend constexpr bool operator==(const GeNormalizedPlane3& a,
                                   const GeNormalizedPlane3& b) noexcept {
    return a.normal == b.normal && a.d == b.d;
  }
  friend constexpr bool operator!=(const GeNormalizedPlane3& a,
                                   const GeNormalizedPlane3& b) noexcept {
    return !(a == b);
  }

  /// Writes "[nx, ny, nz, d]" with the stream's own number formatting.
  std::ostream& dump(std::ostream& s) const;

  friend std::ostream& operator<<(std::ostream& s, const GeNormalizedPlane3& plane) {
    return plane.dump(s);
  }
};

template <class T>
constexpr GePlane3<T>::GePlane3(const GeNormalizedPlane3<T>& plane) noexcept
    : normal(plane.normal), d(plane.d) {}

/// Fits a plane to the vertices of a closed polygon by Newell's method.
///
/// Feed the vertices in order with `addPoint`, then read `getPlane()`: its unit normal follows
/// the right-hand rule (vertices counter-clockwise seen from the side the normal points into)
/// and it passes through the centroid of the vertices. All sums are kept relative to the first
/// vertex, so polygons far from the coordinate origin lose no precision. Once the plane has
/// been read, the next `addPoint` starts a new polygon.
///
/// Reading the plane with fewer than three vertices aborts ("primitives/gePlane3Builder.imp",
/// line 82); collinear or coincident vertices report "len > 0" (same source, line 91).
template <class T>
class VO_EXPORT GePlane3Builder {
 public:
  GePlane3Builder() noexcept = default;

  /// The next vertex of the polygon.
  void addPoint(const GePoint3<T>& p) noexcept;

  /// The fitted plane, computed on first use after the last `addPoint`.
  const GeNormalizedPlane3<T>& getPlane() {
    computeQuantities();
    return plane;
  }

  /// The centroid of the vertices, which lies on the fitted plane. Reports as `getPlane`.
  GePoint3<T> getCentroid() {
    computeQuantities();
    return origin + sum;
  }

 private:
  void computeQuantities();

  int count = 0;            // points so far; -1 once the plane is computed
  GePoint3<T> origin{};     // first vertex
  GeVector3<T> previous{};  // last vertex, relative to origin
  GeVector3<T> sum{};       // sum of the vertices relative to origin; their mean once computed
  GeVector3<T> normalSum{};
  GeNormalizedPlane3<T> plane{};
};

extern template class GePlane3<float>;
extern template class GePlane3<double>;
extern template class GeNormalizedPlane3<float>;
extern template class GeNormalizedPlane3<double>;
extern template class GePlane3Builder<float>;
extern template class GePlane3Builder<double>;

}  // namespace Vo

// Consistent with the exact `==` (normal, then d).
namespace std {
template <class T>
struct hash<Vo::GePlane3<T>> {
  std::size_t operator()(const Vo::GePlane3<T>& p) const noexcept {
    return Vo::GeHashDetail::combine(0, p.normal.x, p.normal.y, p.normal.z, p.d);
  }
};
template <class T>
struct hash<Vo::GeNormalizedPlane3<T>> {
  std::size_t operator()(const Vo::GeNormalizedPlane3<T>& p) const noexcept {
    return Vo::GeHashDetail::combine(0, p.normal.x, p.normal.y, p.normal.z, p.d);
  }
};
}  // namespace std
