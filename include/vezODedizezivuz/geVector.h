#pragma once

/// @file
/// Vectors, points, unit vectors and homogeneous coordinates in two and three dimensions.
///
/// All are plain values: trivially copyable, exactly their components in storage order, and
/// uninitialised when default-constructed (`GeVector3<float> v{}` is zero). Points are positions
/// and vectors displacements; a point minus a point is a vector. Lengths in float code use
/// `FloatUtil::sqrt`, in double code the IEEE square root. Every normalisation forms the
/// reciprocal of the length once and multiplies each component by it.

#include <vezODedizezivuz/geReportSites.h>
#include <vezODedizezivuz/geScalar.h>
#include <vezODedizezivuz/vezODedizezivuzExport.h>

#include <cstddef>
#include <functional>
#include <istream>
#include <ostream>

namespace Vo {

/// The coordinate axes by name, for every function that takes an axis index (`operator[]`,
/// `GeRotation3::aim`, `GeAxisRotation3<axis, T>`). Unscoped so that it converts to the `int`
/// those take: `aim(d, up, zAxis, yAxis, true)` reads as what it does.
enum GeAxis : int { xAxis = 0, yAxis = 1, zAxis = 2 };

// The value types of the library (these, the colours, scale and translation, planes, matrices)
// each write out their own component operators, comparisons and stream operators rather than
// take them from a shared base or macro: every body is one inline line whose order of operations
// is part of the result, the types stay plain values, and each class reads complete on its own.

/// A displacement in 3D. T is float or double.
template <class T>
class VO_EXPORT GeVector3 {
 public:
  T x, y, z;

  GeVector3() = default;
  constexpr GeVector3(T x, T y, T z) noexcept : x(x), y(y), z(z) {}

  /// Component 0, 1 or 2 (x, y, z).
  constexpr T& operator[](int i) noexcept { return i == 0 ? x : i == 1 ? y : z; }
  constexpr const T& operator[](int i) const noexcept { return i == 0 ? x : i == 1 ? y : z; }

  /// x·x + y·y + z·z, summed in that order.
  [[nodiscard]] constexpr T lengthSquared() const noexcept { return x * x + y * y + z * z; }
  [[nodiscard]] T length() const noexcept { return GeScalar<T>::sqrt(lengthSquared()); }

  /// Scales to unit length in place and returns the former length. A zero vector is left
  /// unchanged and 0 returned; a NaN length makes every component NaN.
  T normalize() noexcept {
    const T len = GeScalar<T>::sqrt(x * x + y * y + z * z);
    if (len == T(0)) return T(0);
    const T inv = T(1) / len;
    x *= inv;
    y *= inv;
    z *= inv;
    return len;
  }
  /// A copy scaled to unit length by `normalize` (the same reciprocal, the same products); a
  /// zero vector comes back unchanged and a NaN length gives NaN components.
  [[nodiscard]] GeVector3 normalized() const noexcept {
    GeVector3 v = *this;
    v.normalize();
    return v;
  }

  /// Each component within `tolerance` (absolute), x, y, then z; false at the first that is not.
  [[nodiscard]] bool isEqual(const GeVector3& other, T tolerance) const noexcept {
    return GeScalar<T>::abs(x - other.x) <= tolerance &&
           GeScalar<T>::abs(y - other.y) <= tolerance && GeScalar<T>::abs(z - other.z) <= tolerance;
  }

  constexpr GeVector3& operator+=(const GeVector3& v) noexcept {
    x += v.x;
    y += v.y;
    z += v.z;
    return *this;
  }
  constexpr GeVector3& operator-=(const GeVector3& v) noexcept {
    x -= v.x;
    y -= v.y;
    z -= v.z;
    return *this;
  }
  constexpr GeVector3& operator*=(T s) noexcept {
    x *= s;
    y *= s;
    z *= s;
    return *this;
  }

  friend constexpr GeVector3 operator+(const GeVector3& a, const GeVector3& b) noexcept {
    return GeVector3(a.x + b.x, a.y + b.y, a.z + b.z);
  }
  friend constexpr GeVector3 operator-(const GeVector3& a, const GeVector3& b) noexcept {
    return GeVector3(a.x - b.x, a.y - b.y, a.z - b.z);
  }
  friend constexpr GeVector3 operator-(const GeVector3& a) noexcept {
    return GeVector3(-a.x, -a.y, -a.z);
  }
  friend constexpr GeVector3 operator*(const GeVector3& a, T s) noexcept {
    return GeVector3(a.x * s, a.y * s, a.z * s);
  }
  friend constexpr GeVector3 operator*(T s, const GeVector3& a) noexcept {
    return GeVector3(a.x * s, a.y * s, a.z * s);
  }
  /// Each component divided by `s` (three divisions, not one reciprocal, so v / s equals the
  /// componentwise quotient to the bit); s = 0 gives infinities or NaN as the division does.
  friend constexpr GeVector3 operator/(const GeVector3& a, T s) noexcept {
    return GeVector3(a.x / s, a.y / s, a.z / s);
  }
  friend constexpr bool operator==(const GeVector3& a, const GeVector3& b) noexcept {
    return a.x == b.x && a.y == b.y && a.z == b.z;
  }
  friend constexpr bool operator!=(const GeVector3& a, const GeVector3& b) noexcept {
    return !(a == b);
  }

  /// a.x·b.x + a.y·b.y + a.z·b.z, summed in that order.
  friend constexpr T dot(const GeVector3& a, const GeVector3& b) noexcept {
    return a.x * b.x + a.y * b.y + a.z * b.z;
  }
  friend constexpr GeVector3 cross(const GeVector3& a, const GeVector3& b) noexcept {
    return GeVector3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
  }

  /// Writes "(x, y, z)" with the stream's own number formatting.
  std::ostream& dump(std::ostream& s) const;
  /// Reads "(x, y, z)" (blanks allowed where the stream skips them). On malformed text sets
  /// the fail bit and leaves the vector unchanged; end of file alone does not reject.
  std::istream& read(std::istream& s);

  friend std::ostream& operator<<(std::ostream& s, const GeVector3& v) { return v.dump(s); }
  friend std::istream& operator>>(std::istream& s, GeVector3& v) { return v.read(s); }
};

/// A position in 3D. T is float or double.
template <class T>
class VO_EXPORT GePoint3 {
 public:
  T x, y, z;

  GePoint3() = default;
  constexpr GePoint3(T x, T y, T z) noexcept : x(x), y(y), z(z) {}
  /// The point at `v` from the origin. Explicit: a displacement is not a position.
  constexpr explicit GePoint3(const GeVector3<T>& v) noexcept : x(v.x), y(v.y), z(v.z) {}
  /// The vector from the origin to this point.
  [[nodiscard]] constexpr GeVector3<T> toVector() const noexcept { return GeVector3<T>(x, y, z); }

  /// Each coordinate within `tolerance` (absolute), x, y, then z; false at the first that is not.
  [[nodiscard]] bool isEqual(const GePoint3& other, T tolerance) const noexcept {
    return GeScalar<T>::abs(x - other.x) <= tolerance &&
           GeScalar<T>::abs(y - other.y) <= tolerance && GeScalar<T>::abs(z - other.z) <= tolerance;
  }

  constexpr T& operator[](int i) noexcept { return i == 0 ? x : i == 1 ? y : z; }
  constexpr const T& operator[](int i) const noexcept { return i == 0 ? x : i == 1 ? y : z; }

  constexpr GePoint3& operator+=(const GeVector3<T>& v) noexcept {
    x += v.x;
    y += v.y;
    z += v.z;
    return *this;
  }
  constexpr GePoint3& operator-=(const GeVector3<T>& v) noexcept {
    x -= v.x;
    y -= v.y;
    z -= v.z;
    return *this;
  }

  friend constexpr GeVector3<T> operator-(const GePoint3& p, const GePoint3& q) noexcept {
    return GeVector3<T>(p.x - q.x, p.y - q.y, p.z - q.z);
  }
  friend constexpr GePoint3 operator+(const GePoint3& p, const GeVector3<T>& v) noexcept {
    return GePoint3(p.x + v.x, p.y + v.y, p.z + v.z);
  }
  friend constexpr GePoint3 operator-(const GePoint3& p, const GeVector3<T>& v) noexcept {
    return GePoint3(p.x - v.x, p.y - v.y, p.z - v.z);
  }
  friend constexpr bool operator==(const GePoint3& a, const GePoint3& b) noexcept {
    return a.x == b.x && a.y == b.y && a.z == b.z;
  }
  friend constexpr bool operator!=(const GePoint3& a, const GePoint3& b) noexcept {
    return !(a == b);
  }

  std::ostream& dump(std::ostream& s) const;
  std::istream& read(std::istream& s);

  friend std::ostream& operator<<(std::ostream& s, const GePoint3& p) { return p.dump(s); }
  friend std::istream& operator>>(std::istream& s, GePoint3& p) { return p.read(s); }
};

/// A 3D direction of length 1 (within rounding). Made only by normalising; the length is not
/// re-checked afterwards. Reads wherever a `GeVector3` is read.
template <class T>
class VO_EXPORT GeUnitVector3 : public GeVector3<T> {
 public:
  GeUnitVector3() = default;

  /// Normalises `v`. Reports "len > 0" (source "primitives/geVector3.inline", line 496) when
  /// the length of `v` is zero or not a number.
  explicit GeUnitVector3(const GeVector3<T>& v) : GeVector3<T>(v) {
    // A NaN length passes normalize's zero test and is caught here as well.
    if (!(this->normalize() > T(0))) failZeroLength();
  }

  /// Stores (x, y, z) scaled to unit length and returns their length; on a zero length keeps
  /// the previous value and returns 0.
  T setNormalized(T x, T y, T z) noexcept {
    GeVector3<T> v(x, y, z);
    const T len = v.normalize();
    if (len != T(0)) GeVector3<T>::operator=(v);
    return len;
  }
  T setNormalized(const GeVector3<T>& v) noexcept { return setNormalized(v.x, v.y, v.z); }

  /// Negation keeps the length exactly, so the result is still a unit vector.
  GeUnitVector3 operator-() const noexcept {
    GeUnitVector3 u;
    u.x = -this->x;
    u.y = -this->y;
    u.z = -this->z;
    return u;
  }

  /// Reads "(x, y, z)" and normalises it; (0, 0, 0) is accepted and leaves the value unchanged.
  std::istream& read(std::istream& s);

  friend std::istream& operator>>(std::istream& s, GeUnitVector3& u) { return u.read(s); }

 private:
  [[noreturn]] static void failZeroLength() { GeReportSites::unitVectorLength.raise(); }
};

/// A displacement in 2D. T is int (storage and text only), float or double.
template <class T>
class VO_EXPORT GeVector2 {
 public:
  T x, y;

  GeVector2() = default;
  constexpr GeVector2(T x, T y) noexcept : x(x), y(y) {}

  constexpr T& operator[](int i) noexcept { return i == 0 ? x : y; }
  constexpr const T& operator[](int i) const noexcept { return i == 0 ? x : y; }

  [[nodiscard]] constexpr T lengthSquared() const noexcept { return x * x + y * y; }
  [[nodiscard]] T length() const noexcept { return GeScalar<T>::sqrt(lengthSquared()); }

  /// As `GeVector3::normalize`.
  T normalize() noexcept {
    const T len = GeScalar<T>::sqrt(x * x + y * y);
    if (len == T(0)) return T(0);
    const T inv = T(1) / len;
    x *= inv;
    y *= inv;
    return len;
  }
  /// A copy scaled by `normalize`, as `GeVector3::normalized`.
  [[nodiscard]] GeVector2 normalized() const noexcept {
    GeVector2 v = *this;
    v.normalize();
    return v;
  }

  /// x, then y within `tolerance` (absolute).
  [[nodiscard]] bool isEqual(const GeVector2& other, T tolerance) const noexcept {
    return GeScalar<T>::abs(x - other.x) <= tolerance && GeScalar<T>::abs(y - other.y) <= tolerance;
  }

  constexpr GeVector2& operator+=(const GeVector2& v) noexcept {
    x += v.x;
    y += v.y;
    return *this;
  }
  constexpr GeVector2& operator-=(const GeVector2& v) noexcept {
    x -= v.x;
    y -= v.y;
    return *this;
  }
  constexpr GeVector2& operator*=(T s) noexcept {
    x *= s;
    y *= s;
    return *this;
  }

  friend constexpr GeVector2 operator+(const GeVector2& a, const GeVector2& b) noexcept {
    return GeVector2(a.x + b.x, a.y + b.y);
  }
  friend constexpr GeVector2 operator-(const GeVector2& a, const GeVector2& b) noexcept {
    return GeVector2(a.x - b.x, a.y - b.y);
  }
  friend constexpr GeVector2 operator-(const GeVector2& a) noexcept {
    return GeVector2(-a.x, -a.y);
  }
  friend constexpr GeVector2 operator*(const GeVector2& a, T s) noexcept {
    return GeVector2(a.x * s, a.y * s);
  }
  friend constexpr GeVector2 operator*(T s, const GeVector2& a) noexcept {
    return GeVector2(a.x * s, a.y * s);
  }
  /// Each component divided by `s`, as `GeVector3`'s `/`.
  friend constexpr GeVector2 operator/(const GeVector2& a, T s) noexcept {
    return GeVector2(a.x / s, a.y / s);
  }
  friend constexpr bool operator==(const GeVector2& a, const GeVector2& b) noexcept {
    return a.x == b.x && a.y == b.y;
  }
  friend constexpr bool operator!=(const GeVector2& a, const GeVector2& b) noexcept {
    return !(a == b);
  }
  friend constexpr T dot(const GeVector2& a, const GeVector2& b) noexcept {
    return a.x * b.x + a.y * b.y;
  }

  /// Writes "(x, y)".
  std::ostream& dump(std::ostream& s) const;
  /// Reads "(x, y)"; malformed text sets the fail bit and changes nothing. For int a fractional
  /// part stops the number at the point, so the text is rejected.
  std::istream& read(std::istream& s);

  friend std::ostream& operator<<(std::ostream& s, const GeVector2& v) { return v.dump(s); }
  friend std::istream& operator>>(std::istream& s, GeVector2& v) { return v.read(s); }
};

/// A position in 2D. T is int (storage and text only), float or double.
template <class T>
class VO_EXPORT GePoint2 {
 public:
  T x, y;

  GePoint2() = default;
  constexpr GePoint2(T x, T y) noexcept : x(x), y(y) {}
  /// The point at `v` from the origin. Explicit: a displacement is not a position.
  constexpr explicit GePoint2(const GeVector2<T>& v) noexcept : x(v.x), y(v.y) {}
  /// The vector from the origin to this point.
  [[nodiscard]] constexpr GeVector2<T> toVector() const noexcept { return GeVector2<T>(x, y); }

  /// x, then y within `tolerance` (absolute).
  [[nodiscard]] bool isEqual(const GePoint2& other, T tolerance) const noexcept {
    return GeScalar<T>::abs(x - other.x) <= tolerance && GeScalar<T>::abs(y - other.y) <= tolerance;
  }

  constexpr T& operator[](int i) noexcept { return i == 0 ? x : y; }
  constexpr const T& operator[](int i) const noexcept { return i == 0 ? x : y; }

  constexpr GePoint2& operator+=(const GeVector2<T>& v) noexcept {
    x += v.x;
    y += v.y;
    return *this;
  }
  constexpr GePoint2& operator-=(const GeVector2<T>& v) noexcept {
    x -= v.x;
    y -= v.y;
    return *this;
  }

  friend constexpr GeVector2<T> operator-(const GePoint2& p, const GePoint2& q) noexcept {
    return GeVector2<T>(p.x - q.x, p.y - q.y);
  }
  friend constexpr GePoint2 operator+(const GePoint2& p, const GeVector2<T>& v) noexcept {
    return GePoint2(p.x + v.x, p.y + v.y);
  }
  friend constexpr GePoint2 operator-(const GePoint2& p, const GeVector2<T>& v) noexcept {
    return GePoint2(p.x - v.x, p.y - v.y);
  }
  friend constexpr bool operator==(const GePoint2& a, const GePoint2& b) noexcept {
    return a.x == b.x && a.y == b.y;
  }
  friend constexpr bool operator!=(const GePoint2& a, const GePoint2& b) noexcept {
    return !(a == b);
  }

  std::ostream& dump(std::ostream& s) const;
  std::istream& read(std::istream& s);

  friend std::ostream& operator<<(std::ostream& s, const GePoint2& p) { return p.dump(s); }
  friend std::istream& operator>>(std::istream& s, GePoint2& p) { return p.read(s); }
};

/// A 2D direction of length 1 (within rounding), made only by normalising.
template <class T>
class VO_EXPORT GeUnitVector2 : public GeVector2<T> {
 public:
  GeUnitVector2() = default;

  /// Normalises `v`; reports "len > 0" as `GeUnitVector3` does when the length is zero or NaN.
  explicit GeUnitVector2(const GeVector2<T>& v) : GeVector2<T>(v) {
    if (!(this->normalize() > T(0))) failZeroLength();
  }

  /// Stores (x, y) scaled to unit length and returns their length; on a zero length keeps the
  /// previous value and returns 0.
  T setNormalized(T x, T y) noexcept {
    GeVector2<T> v(x, y);
    const T len = v.normalize();
    if (len != T(0)) GeVector2<T>::operator=(v);
    return len;
  }
  T setNormalized(const GeVector2<T>& v) noexcept { return setNormalized(v.x, v.y); }

  GeUnitVector2 operator-() const noexcept {
    GeUnitVector2 u;
    u.x = -this->x;
    u.y = -this->y;
    return u;
  }

  /// Reads "(x, y)" and normalises it; (0, 0) is accepted and leaves the value unchanged.
  std::istream& read(std::istream& s);

  friend std::istream& operator>>(std::istream& s, GeUnitVector2& u) { return u.read(s); }

 private:
  // The 2D family shares the 3D family's inline source and report.
  [[noreturn]] static void failZeroLength() { GeReportSites::unitVectorLength.raise(); }
};

/// Homogeneous coordinates (x, y, z, w) of a 3D point; w = 0 is a direction.
template <class T>
class VO_EXPORT GeHomogeneousCoord3 {
 public:
  T x, y, z, w;

  GeHomogeneousCoord3() = default;
  constexpr GeHomogeneousCoord3(T x, T y, T z, T w) noexcept : x(x), y(y), z(z), w(w) {}
  /// The point (x/w, y/w, z/w), three divisions. Nothing is checked: w = 0 gives infinite or
  /// NaN coordinates; `GeProjectiveMatrix3::transformPoint` is the checked form.
  [[nodiscard]] constexpr GePoint3<T> project() const noexcept {
    return GePoint3<T>(x / w, y / w, z / w);
  }

  constexpr T& operator[](int i) noexcept { return i == 0 ? x : i == 1 ? y : i == 2 ? z : w; }
  constexpr const T& operator[](int i) const noexcept {
    return i == 0 ? x : i == 1 ? y : i == 2 ? z : w;
  }

  friend constexpr bool operator==(const GeHomogeneousCoord3& a,
                                   const GeHomogeneousCoord3& b) noexcept {
    return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
  }
  friend constexpr bool operator!=(const GeHomogeneousCoord3& a,
                                   const GeHomogeneousCoord3& b) noexcept {
    return !(a == b);
  }

  /// Writes "(x, y, z, w)".
  std::ostream& dump(std::ostream& s) const;

  friend std::ostream& operator<<(std::ostream& s, const GeHomogeneousCoord3& h) {
    return h.dump(s);
  }
};

// Text input and output are compiled once in the library.
extern template class GeVector3<float>;
extern template class GeVector3<double>;
extern template class GePoint3<float>;
extern template class GePoint3<double>;
extern template class GeUnitVector3<float>;
extern template class GeUnitVector3<double>;
extern template class GeVector2<float>;
extern template class GeVector2<double>;
extern template class GePoint2<float>;
extern template class GePoint2<double>;
extern template class GeUnitVector2<float>;
extern template class GeUnitVector2<double>;
extern template class GeHomogeneousCoord3<float>;
extern template class GeHomogeneousCoord3<double>;
// The int 2D types take no part in lengths, so only their text members are instantiated.
extern template std::ostream& GeVector2<int>::dump(std::ostream&) const;
extern template std::istream& GeVector2<int>::read(std::istream&);
extern template std::ostream& GePoint2<int>::dump(std::ostream&) const;
extern template std::istream& GePoint2<int>::read(std::istream&);

// The value types' headers all end alike: the extern declarations matching the instantiations
// their source files compile, then a std::hash per type beside the `==` it must agree with. The
// few repeated lines keep each header complete; only the combining step below is shared.
namespace GeHashDetail {
// Exact equality treats +0 and -0 as equal, so both hash as +0; NaN never equals itself, so its
// hash does not matter. The combining step is the usual golden-ratio mix.
template <class T>
std::size_t combine(std::size_t seed, T value) noexcept {
  const std::size_t h = std::hash<T>()(value == T(0) ? T(0) : value);
  return seed ^ (h + 0x9e3779b9u + (seed << 6) + (seed >> 2));
}
template <class T, class... Rest>
std::size_t combine(std::size_t seed, T value, Rest... rest) noexcept {
  return combine(combine(seed, value), rest...);
}
template <class T>
std::size_t combineAll(const T* values, int count) noexcept {
  std::size_t seed = 0;
  for (int i = 0; i < count; ++i) seed = combine(seed, values[i]);
  return seed;
}
}  // namespace GeHashDetail

}  // namespace Vo

// Hashes consistent with the exact `==` of the value types, for unordered containers.
namespace std {
template <class T>
struct hash<Vo::GeVector3<T>> {
  std::size_t operator()(const Vo::GeVector3<T>& v) const noexcept {
    return Vo::GeHashDetail::combine(0, v.x, v.y, v.z);
  }
};
template <class T>
struct hash<Vo::GePoint3<T>> {
  std::size_t operator()(const Vo::GePoint3<T>& p) const noexcept {
    return Vo::GeHashDetail::combine(0, p.x, p.y, p.z);
  }
};
template <class T>
struct hash<Vo::GeVector2<T>> {
  std::size_t operator()(const Vo::GeVector2<T>& v) const noexcept {
    return Vo::GeHashDetail::combine(0, v.x, v.y);
  }
};
template <class T>
struct hash<Vo::GePoint2<T>> {
  std::size_t operator()(const Vo::GePoint2<T>& p) const noexcept {
    return Vo::GeHashDetail::combine(0, p.x, p.y);
  }
};
template <class T>
struct hash<Vo::GeHomogeneousCoord3<T>> {
  std::size_t operator()(const Vo::GeHomogeneousCoord3<T>& h) const noexcept {
    return Vo::GeHashDetail::combine(0, h.x, h.y, h.z, h.w);
  }
};
}  // namespace std
