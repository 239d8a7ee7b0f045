#pragma once

/// @file
/// The two cheapest elementary transforms, `GeScale3` and `GeTranslation3`, and their products
/// with the three matrix kinds.
///
/// Every product touches only what the transform changes (rows or columns scaled, one column or
/// the translation shifted) and yields the most specific matrix kind that can hold the result;
/// none goes through a general matrix product. Conventions as in geMatrix3.h: column vectors,
/// `X * m` is X·m, `mulOnRight(m)` is m·X and `mulOnRightAssign(m)` replaces m by m·X.

#include <vezODedizezivuz/geMatrix3.h>
#include <vezODedizezivuz/geVector.h>
#include <vezODedizezivuz/vezODedizezivuzExport.h>

#include <ostream>

namespace Vo {

/// The scale S = diag(x, y, z) (as a 4x4 matrix diag(x, y, z, 1)). T is float or double.
///
/// Exactly three elements: the factors along x, y and z. Factors are not checked: 0 and
/// negative factors are valid (a 0 factor zeroes a row or a column of a product).
template <class T>
class VO_EXPORT GeScale3 {
 public:
  T x, y, z;

  /// The unit scale (1, 1, 1).
  constexpr GeScale3() noexcept : x(1), y(1), z(1) {}
  constexpr GeScale3(T sx, T sy, T sz) noexcept : x(sx), y(sy), z(sz) {}

  /// Factor 0, 1 or 2 (x, y, z).
  constexpr T& operator[](int i) noexcept { return i == 0 ? x : i == 1 ? y : z; }
  constexpr const T& operator[](int i) const noexcept { return i == 0 ? x : i == 1 ? y : z; }

  /// S·m: row r of m times factor r.
  GeLinearMatrix3<T> operator*(const GeLinearMatrix3<T>& m) const noexcept {
    GeLinearMatrix3<T> r;
    T* o = r.data();
    const T* e = m.data();
    const T s[3] = {x, y, z};
    for (int i = 0; i < 9; ++i) o[i] = e[i] * s[i / 3];
    return r;
  }
  /// S·m: rows 0-2 (linear part and translation) times factor r; bottom row 0 0 0 1.
  GeAffineMatrix3<T> operator*(const GeAffineMatrix3<T>& m) const noexcept {
    GeAffineMatrix3<T> r;
    T* o = r.data();
    const T* e = m.data();
    for (int c = 0; c < 4; ++c) {
      o[4 * c] = e[4 * c] * x;
      o[4 * c + 1] = e[4 * c + 1] * y;
      o[4 * c + 2] = e[4 * c + 2] * z;
    }
    return r;
  }
  /// S·m: rows 0-2 times factor r; row 3 copied.
  GeProjectiveMatrix3<T> operator*(const GeProjectiveMatrix3<T>& m) const noexcept {
    GeProjectiveMatrix3<T> r;
    T* o = r.data();
    const T* e = m.data();
    for (int c = 0; c < 4; ++c) {
      o[4 * c] = e[4 * c] * x;
      o[4 * c + 1] = e[4 * c + 1] * y;
      o[4 * c + 2] = e[4 * c + 2] * z;
      o[4 * c + 3] = e[4 * c + 3];
    }
    return r;
  }
  /// S·v, each component times its factor.
  constexpr GeVector3<T> operator*(const GeVector3<T>& v) const noexcept {
    return GeVector3<T>(v.x * x, v.y * y, v.z * z);
  }
  /// S·p, each coordinate times its factor.
  constexpr GePoint3<T> operator*(const GePoint3<T>& p) const noexcept {
    return GePoint3<T>(p.x * x, p.y * y, p.z * z);
  }

  /// m becomes m·S: column c times factor c. Returns m.
  GeLinearMatrix3<T>& mulOnRightAssign(GeLinearMatrix3<T>& m) const noexcept {
    T* e = m.data();
    for (int r = 0; r < 3; ++r) {
      e[3 * r] *= x;
      e[3 * r + 1] *= y;
      e[3 * r + 2] *= z;
    }
    return m;
  }
  /// m becomes m·S: columns 0-2 of the linear part times factor c; translation and bottom row
  /// unchanged. Returns m.
  GeAffineMatrix3<T>& mulOnRightAssign(GeAffineMatrix3<T>& m) const noexcept {
    T* e = m.data();
    for (int r = 0; r < 3; ++r) {
      e[r] *= x;
      e[4 + r] *= y;
      e[8 + r] *= z;
    }
    return m;
  }
  /// m becomes m·S: columns 0-2, row 3 included, times factor c; column 3 unchanged. Returns m.
  GeProjectiveMatrix3<T>& mulOnRightAssign(GeProjectiveMatrix3<T>& m) const noexcept {
    T* e = m.data();
    for (int r = 0; r < 4; ++r) {
      e[r] *= x;
      e[4 + r] *= y;
      e[8 + r] *= z;
    }
    return m;
  }

  friend constexpr bool operator==(const GeScale3& a, const GeScale3& b) noexcept {
    return a.x == b.x && a.y == b.y && a.z == b.z;
  }
  friend constexpr bool operator!=(const GeScale3& a, const GeScale3& b) noexcept {
    return !(a == b);
  }
  /// The same as `==`.
  constexpr bool isEqualExact(const GeScale3& other) const noexcept { return *this == other; }
  /// True when every component differs by at most `tolerance` (absolute).
  bool isEqual(const GeScale3& other, T tolerance) const noexcept {
    return GeScalar<T>::abs(x - other.x) <= tolerance &&
           GeScalar<T>::abs(y - other.y) <= tolerance && GeScalar<T>::abs(z - other.z) <= tolerance;
  }

  /// Writes "Scale3(x, y, z)" with the stream's own number formatting, no newline.
  std::ostream& dump(std::ostream& os) const;
  friend std::ostream& operator<<(std::ostream& os, const GeScale3& s) { return s.dump(os); }
};

// GeTranslation3 mirrors GeScale3 member for member. The products share their shape, not their
// arithmetic (factors multiply rows or columns, offsets add into one column), so each is written
// out with the order of its sums visible.

/// The translation by t = (x, y, z): the affine matrix with linear part identity and
/// translation t. T is float or double.
///
/// Exactly three elements, tx, ty, tz.
template <class T>
class VO_EXPORT GeTranslation3 {
 public:
  T x, y, z;

  /// No translation.
  constexpr GeTranslation3() noexcept : x(0), y(0), z(0) {}
  constexpr GeTranslation3(T tx, T ty, T tz) noexcept : x(tx), y(ty), z(tz) {}
  constexpr explicit GeTranslation3(const GeVector3<T>& t) noexcept : x(t.x), y(t.y), z(t.z) {}

  /// Component 0, 1 or 2 (x, y, z).
  constexpr T& operator[](int i) noexcept { return i == 0 ? x : i == 1 ? y : z; }
  constexpr const T& operator[](int i) const noexcept { return i == 0 ? x : i == 1 ? y : z; }
  /// t as a vector.
  constexpr GeVector3<T> getVector() const noexcept { return GeVector3<T>(x, y, z); }

  /// T·m: linear part m, translation t.
  GeAffineMatrix3<T> operator*(const GeLinearMatrix3<T>& m) const noexcept {
    return GeAffineMatrix3<T>(m, GeVector3<T>(x, y, z));
  }
  /// m·T: linear part m, translation m·t.
  GeAffineMatrix3<T> mulOnRight(const GeLinearMatrix3<T>& m) const noexcept {
    return GeAffineMatrix3<T>(m, m * GeVector3<T>(x, y, z));
  }
  /// T·m: linear part of m, translation t_m + t.
  GeAffineMatrix3<T> operator*(const GeAffineMatrix3<T>& m) const noexcept {
    GeAffineMatrix3<T> r = m;
    T* o = r.data();
    o[12] = o[12] + x;
    o[13] = o[13] + y;
    o[14] = o[14] + z;
    o[3] = 0, o[7] = 0, o[11] = 0, o[15] = 1;
    return r;
  }
  /// T·m: rows 0-2 gain t_r times row 3, element (r, c) = m(r, c) + t_r·m(3, c); row 3 copied.
  GeProjectiveMatrix3<T> operator*(const GeProjectiveMatrix3<T>& m) const noexcept {
    GeProjectiveMatrix3<T> r;
    T* o = r.data();
    const T* e = m.data();
    for (int c = 0; c < 4; ++c) {
      const T w = e[4 * c + 3];
      o[4 * c] = e[4 * c] + x * w;
      o[4 * c + 1] = e[4 * c + 1] + y * w;
      o[4 * c + 2] = e[4 * c + 2] + z * w;
      o[4 * c + 3] = w;
    }
    return r;
  }
  /// p + t.
  constexpr GePoint3<T> operator*(const GePoint3<T>& p) const noexcept {
    return GePoint3<T>(p.x + x, p.y + y, p.z + z);
  }

  /// m becomes m·T: translation t_m + L·t; linear part and bottom row unchanged. Returns m.
  GeAffineMatrix3<T>& mulOnRightAssign(GeAffineMatrix3<T>& m) const noexcept {
    T* e = m.data();
    for (int r = 0; r < 3; ++r) e[12 + r] = e[12 + r] + (e[r] * x + e[4 + r] * y + e[8 + r] * z);
    return m;
  }
  /// m becomes m·T: element (r, 3) becomes m(r, 3) + m(r, 0)·tx + m(r, 1)·ty + m(r, 2)·tz for
  /// every row, summed left to right; columns 0-2 unchanged. Returns m.
  GeProjectiveMatrix3<T>& mulOnRightAssign(GeProjectiveMatrix3<T>& m) const noexcept {
    T* e = m.data();
    for (int r = 0; r < 4; ++r) e[12 + r] = e[12 + r] + e[r] * x + e[4 + r] * y + e[8 + r] * z;
    return m;
  }

  friend constexpr bool operator==(const GeTranslation3& a, const GeTranslation3& b) noexcept {
    return a.x == b.x && a.y == b.y && a.z == b.z;
  }
  friend constexpr bool operator!=(const GeTranslation3& a, const GeTranslation3& b) noexcept {
    return !(a == b);
  }
  /// The same as `==`.
  constexpr bool isEqualExact(const GeTranslation3& other) const noexcept { return *this == other; }
  /// True when every component differs by at most `tolerance` (absolute).
  bool isEqual(const GeTranslation3& other, T tolerance) const noexcept {
    return GeScalar<T>::abs(x - other.x) <= tolerance &&
           GeScalar<T>::abs(y - other.y) <= tolerance && GeScalar<T>::abs(z - other.z) <= tolerance;
  }

  /// Writes "Translation3(x, y, z)" with the stream's own number formatting, no newline.
  std::ostream& dump(std::ostream& os) const;
  friend std::ostream& operator<<(std::ostream& os, const GeTranslation3& t) { return t.dump(os); }
};

extern template class GeScale3<float>;
extern template class GeScale3<double>;
extern template class GeTranslation3<float>;
extern template class GeTranslation3<double>;

}  // namespace Vo
