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

#include <istream>
#include <ostream>

namespace Vo {

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
  constexpr T lengthSquared() const noexcept { return x * x + y * y + z * z; }
  T length() const noexcept { return GeScalar<T>::sqrt(lengthSquared()); }

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
  explicit GeUnitVector3(const GeVector3<T>& v) {
    const T len = GeScalar<T>::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (len == T(0)) failZeroLength();
    const T inv = T(1) / len;
    this->x = v.x * inv;
    this->y = v.y * inv;
    this->z = v.z * inv;
    if (!(len > T(0))) failZeroLength();
  }

  /// Stores (x, y, z) scaled to unit length and returns their length; on a zero length keeps
  /// the previous value and returns 0.
  T setNormalized(T x, T y, T z) noexcept {
    const T len = GeScalar<T>::sqrt(x * x + y * y + z * z);
    if (len == T(0)) return T(0);
    const T inv = T(1) / len;
    this->x = x * inv;
    this->y = y * inv;
    this->z = z * inv;
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

  constexpr T lengthSquared() const noexcept { return x * x + y * y; }
  T length() const noexcept { return GeScalar<T>::sqrt(lengthSquared()); }

  /// As `GeVector3::normalize`.
  T normalize() noexcept {
    const T len = GeScalar<T>::sqrt(x * x + y * y);
    if (len == T(0)) return T(0);
    const T inv = T(1) / len;
    x *= inv;
    y *= inv;
    return len;
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
  explicit GeUnitVector2(const GeVector2<T>& v) {
    const T len = GeScalar<T>::sqrt(v.x * v.x + v.y * v.y);
    if (len == T(0)) failZeroLength();
    const T inv = T(1) / len;
    this->x = v.x * inv;
    this->y = v.y * inv;
    if (!(len > T(0))) failZeroLength();
  }

  /// Stores (x, y) scaled to unit length and returns their length; on a zero length keeps the
  /// previous value and returns 0.
  T setNormalized(T x, T y) noexcept {
    const T len = GeScalar<T>::sqrt(x * x + y * y);
    if (len == T(0)) return T(0);
    const T inv = T(1) / len;
    this->x = x * inv;
    this->y = y * inv;
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

}  // namespace Vo
