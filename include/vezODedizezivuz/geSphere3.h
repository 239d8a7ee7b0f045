#pragma once

/// @file
/// Spheres and their ray queries.

#include <vezODedizezivuz/geScalar.h>
#include <vezODedizezivuz/geVector.h>
#include <vezODedizezivuz/vezODedizezivuzExport.h>

#include <ostream>

namespace Vo {

/// A sphere given by its centre and radius. T is float or double.
///
/// A plain value: trivially copyable and uninitialised when default-constructed.
template <class T>
class VO_EXPORT GeSphere3 {
 public:
  GePoint3<T> center;
  T radius;

  GeSphere3() = default;
  constexpr GeSphere3(const GePoint3<T>& center, T radius) noexcept
      : center(center), radius(radius) {}

  /// Where the line origin + t·direction enters (t0) and leaves (t1) the sphere, t0 <= t1,
  /// equal for a tangent. Parameters behind the origin are returned as they are. False, with
  /// t0 and t1 unchanged, when the line misses or the direction is zero.
  ///
  /// A slightly negative discriminant (down to -1e-4 for float, -1e-7 for double) still counts
  /// as a tangent, so grazing rays are not lost to rounding. A negligible squared direction
  /// length falls back to the linear solution.
  bool intersectRay(const GePoint3<T>& origin, const GeVector3<T>& direction, T& t0,
                    T& t1) const noexcept {
    const GeVector3<T> v = origin - center;
    const T b = dot(direction, v);
    const T a = dot(direction, direction);
    const T c = dot(v, v) - radius * radius;
    if (GeScalar<T>::isNegligible(a)) {
      if (GeScalar<T>::isNegligible(b)) return false;
      t0 = t1 = c * T(-0.5) / b;
      return true;
    }
    const T disc = b * b - c * a;
    // A branch, not a select of the outputs: where the outcome follows a pattern (neighbouring
    // rays, or a benchmark that repeats its rays) the predictor learns it, and a miss skips the
    // square root and the division. Selecting both outputs measured 1.6 times slower there, and
    // 1.3 to 1.4 times faster on rays that hit and miss at random.
    if (disc < tangentThreshold()) return false;
    // s = 0 for the grazing rays let through with a slightly negative discriminant.
    const T s = GeScalar<T>::sqrt(T(0) > disc ? T(0) : disc);
    const T inv = T(1) / a;
    T first = (s - b) * inv;
    T second = (-b - s) * inv;
    if (first > second) {
      const T swap = first;
      first = second;
      second = swap;
    }
    t0 = first;
    t1 = second;
    return true;
  }

  /// The point of the surface nearest to the ray origin + t·direction, t >= 0, for an origin on
  /// or outside the sphere. `direction` must have unit length; it is not normalised here. False,
  /// with `result` unchanged, when the origin is strictly inside or the centre lies behind the
  /// origin. A ray through the centre gives the centre itself.
  bool getClosestPoint(const GePoint3<T>& origin, const GeVector3<T>& direction,
                       GePoint3<T>& result) const noexcept;

  friend constexpr bool operator==(const GeSphere3& a, const GeSphere3& b) noexcept {
    return a.center == b.center && a.radius == b.radius;
  }
  friend constexpr bool operator!=(const GeSphere3& a, const GeSphere3& b) noexcept {
    return !(a == b);
  }

  /// Writes "GeSphere {(cx, cy, cz), r} ", trailing blank included.
  std::ostream& dump(std::ostream& s) const;

  friend std::ostream& operator<<(std::ostream& s, const GeSphere3& sphere) {
    return sphere.dump(s);
  }

 private:
  static constexpr T tangentThreshold() noexcept {
    return sizeof(T) == sizeof(float) ? T(-0.0001f) : T(-1e-07);
  }
};

extern template class GeSphere3<float>;
extern template class GeSphere3<double>;

}  // namespace Vo

// Consistent with the exact `==` (centre, then radius).
namespace std {
template <class T>
struct hash<Vo::GeSphere3<T>> {
  std::size_t operator()(const Vo::GeSphere3<T>& s) const noexcept {
    return Vo::GeHashDetail::combine(0, s.center.x, s.center.y, s.center.z, s.radius);
  }
};
}  // namespace std
