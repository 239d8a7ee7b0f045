#pragma once

/// @file
/// Rotations: `GeRotation3` (a general proper rotation held as a 3x3 matrix, with the aim
/// constructions) and the axis rotations `GeXAxisRotation3`, `GeYAxisRotation3`,
/// `GeZAxisRotation3` with their products with every other transform kind.
///
/// Conventions as in geMatrix3.h: column vectors, `X * Y` is X·Y (Y applies first) and
/// `X.mulOnRight(Y)` is Y·X (X applies first). Angles are in radians; a positive angle turns
/// counter-clockwise when seen from the positive half of the axis towards the origin (x: y
/// towards z, y: z towards x, z: x towards y).

#include <vezODedizezivuz/geMatrix3.h>
#include <vezODedizezivuz/geReportSites.h>
#include <vezODedizezivuz/geScalar.h>
#include <vezODedizezivuz/geScaleTranslation3.h>
#include <vezODedizezivuz/geVector.h>
#include <vezODedizezivuz/vezODedizezivuzExport.h>

#include <ostream>

namespace Vo {

/// A proper rotation (orthonormal, determinant +1) held as a 3x3 matrix. T is float or double.
///
/// Adds no data to `GeLinearMatrix3`, so it is accepted wherever a linear matrix is read. The
/// rotation property is not checked: it holds for the results of the aim constructions and of
/// the products of axis rotations with rotations.
template <class T>
class VO_EXPORT GeRotation3 : public GeLinearMatrix3<T> {
 public:
  /// The identity.
  constexpr GeRotation3() noexcept = default;
  /// Takes `m` as it is; the caller vouches that it is a rotation.
  explicit constexpr GeRotation3(const GeLinearMatrix3<T>& m) noexcept : GeLinearMatrix3<T>(m) {}

  /// The rotation that turns axis `aimAxis` onto `direction` and axis `upAxis` onto the part of
  /// `up` perpendicular to `direction`; the third axis completes a right-handed frame.
  ///
  /// `inverse` false gives the frame vectors as columns (axes to directions), true as rows
  /// (directions to axes, the transpose). Axes are 0, 1, 2 for x, y, z (`xAxis`, `yAxis`,
  /// `zAxis`) and must differ; otherwise reports "aimAxis in 0..2" or "upAxis in 0..2, not
  /// aimAxis" ("primitives/geRotation3.imp", line 0) before anything is computed. A zero
  /// `direction` stands for (0, 0, -1); an `up` that is zero or parallel to the direction is
  /// replaced by the negated axis of the direction's smallest component. `direction` is used as it
  /// is (not renormalised). Reports "len > 0"
  /// ("primitives/geRotation3.imp", lines 226, 253, 258) only if a frame vector has no length,
  /// which a unit direction rules out.
  static GeRotation3 aim(const GeUnitVector3<T>& direction, const GeVector3<T>& up, int aimAxis,
                         int upAxis, bool inverse);

  /// The rotation that turns axis `aimAxis` onto `direction`, the other two axes chosen from
  /// the direction alone: with k1 = (aimAxis + 1) mod 3 and k2 = (aimAxis + 2) mod 3, axis k2
  /// goes to direction × f (f the negated axis of the direction's smallest component) and
  /// axis k1 to (axis k2) × direction. `inverse`, a zero direction and an `aimAxis` outside
  /// 0..2 as in the first form.
  /// Reports "len > 0" ("primitives/geRotation3.imp", lines 163, 167) only for a direction
  /// that is not a unit vector, such as one with NaN components.
  static GeRotation3 aim(const GeUnitVector3<T>& direction, int aimAxis, bool inverse);

  /// The rotation that turns axis `aimAxis` onto the unit Newell normal of the closed polygon
  /// `points[0 .. pointCount-1]` (right-hand rule) and axis `upAxis` towards its longest edge
  /// (the first one of equal length), as the first form with that normal and edge; the axes
  /// are checked first, as there.
  ///
  /// Reports "len > 0" ("primitives/geRotation3.imp", line 311) when the normal is zero: fewer
  /// than three points, collinear points, or a polygon whose signed areas cancel.
  static GeRotation3 aim(int pointCount, const GePoint3<T>* points, int aimAxis, int upAxis,
                         bool inverse);

  /// a·b by the linear product; the product of two rotations is a rotation.
  friend GeRotation3 operator*(const GeRotation3& a, const GeRotation3& b) noexcept {
    return GeRotation3(static_cast<const GeLinearMatrix3<T>&>(a) * b);
  }

  /// Three lines "| m(r,0) m(r,1) m(r,2) |", each ended by std::endl, as the linear matrix.
  std::ostream& dump(std::ostream& os) const { return GeLinearMatrix3<T>::dump(os); }

 private:
  // For (up axis, aim axis), row by row: 1 when the third axis is up × aim, 0 when aim × up.
  // Every pair of distinct axes then gives a right-handed frame; the diagonal is unused.
  static constexpr unsigned char _handedness[9] = {1, 1, 0, 0, 1, 1, 1, 0, 1};

  // An axis outside 0..2 would index past the frame; equal axes leave the third axis at 3.
  static void checkAxes(int aimAxis, int upAxis) {
    if (aimAxis < 0 || aimAxis > 2) GeReportSites::aimAxisRange.raise();
    if (upAxis < 0 || upAxis > 2 || upAxis == aimAxis) GeReportSites::aimUpAxisRange.raise();
  }

  static GeVector3<T> normalizeOrFail(const GeVector3<T>& v, const GeReportSite& site);
  static GeVector3<T> aimVector(const GeVector3<T>& direction) noexcept;
  static GeVector3<T> fallbackVector(const GeVector3<T>& a) noexcept;
  static void setFrameVector(GeRotation3& m, int axis, const GeVector3<T>& v,
                             bool inverse) noexcept;
};

/// A rotation about coordinate axis `axis` (0 x, 1 y, 2 z) held as its cosine and sine.
/// T is float or double.
///
/// Exactly two elements, `cosine` then `sine`. The pair is used as stored: nothing checks or
/// restores cosine² + sine² = 1, so a pair of other length scales what it mixes. Matrices by
/// rows, c = cosine, s = sine:
/// - x: (1, 0, 0), (0, c, -s), (0, s, c)
/// - y: (c, 0, s), (0, 1, 0), (-s, 0, c)
/// - z: (c, -s, 0), (s, c, 0), (0, 0, 1)
///
/// Every product touches only the two rows or columns the rotation mixes and copies the rest;
/// none goes through a general matrix product except `mulOnRight(GeRotation3)`, which is the
/// linear product Q·R, and `mulOnRight(GeTranslation3)`, built from the rotation's matrix.
template <int axis, class T>
class VO_EXPORT GeAxisRotation3 {
  static_assert(axis >= 0 && axis <= 2, "the axis is 0 (x), 1 (y) or 2 (z)");

 public:
  T cosine;
  T sine;

  /// The identity (cosine 1, sine 0).
  constexpr GeAxisRotation3() noexcept : cosine(1), sine(0) {}
  /// Stores the pair as given.
  constexpr GeAxisRotation3(T cosine, T sine) noexcept : cosine(cosine), sine(sine) {}
  /// Stores (cos angle, sin angle); angle in radians.
  explicit GeAxisRotation3(T angle) noexcept
      : cosine(GeScalar<T>::cos(angle)), sine(GeScalar<T>::sin(angle)) {}

  /// The 3x3 matrix R of the table above.
  GeRotation3<T> getRotation() const noexcept {
    GeRotation3<T> r;
    r(p, p) = cosine;
    r(p, q) = -sine;
    r(q, p) = sine;
    r(q, q) = cosine;
    return r;
  }

  /// R·S: column c of R times factor c.
  GeLinearMatrix3<T> operator*(const GeScale3<T>& s) const noexcept;
  /// S·R: row r of R times factor r.
  GeLinearMatrix3<T> mulOnRight(const GeScale3<T>& s) const noexcept;
  /// R·M: the two mixed rows of M recombined, the third copied.
  GeLinearMatrix3<T> operator*(const GeLinearMatrix3<T>& m) const noexcept;
  /// M·R: the two mixed columns of M recombined, the third copied.
  GeLinearMatrix3<T> mulOnRight(const GeLinearMatrix3<T>& m) const noexcept;
  /// R·Q, sparse as with a linear matrix.
  GeRotation3<T> operator*(const GeRotation3<T>& rotation) const noexcept;
  /// Q·R by the general linear product.
  GeRotation3<T> mulOnRight(const GeRotation3<T>& rotation) const noexcept {
    return GeRotation3<T>(rotation * getRotation());
  }
  /// R·T: linear part R, translation R·t.
  GeAffineMatrix3<T> operator*(const GeTranslation3<T>& t) const noexcept;
  /// T·R: linear part R, translation t unchanged.
  GeAffineMatrix3<T> mulOnRight(const GeTranslation3<T>& t) const noexcept {
    GeAffineMatrix3<T> r(getRotation());
    r.setTranslation(GeVector3<T>(t.x, t.y, t.z));
    return r;
  }
  /// R·A: linear part R·L, translation R·t.
  GeAffineMatrix3<T> operator*(const GeAffineMatrix3<T>& a) const noexcept;
  /// A·R: linear part L·R, translation t unchanged.
  GeAffineMatrix3<T> mulOnRight(const GeAffineMatrix3<T>& a) const noexcept;

  friend constexpr bool operator==(const GeAxisRotation3& a, const GeAxisRotation3& b) noexcept {
    return a.cosine == b.cosine && a.sine == b.sine;
  }
  friend constexpr bool operator!=(const GeAxisRotation3& a, const GeAxisRotation3& b) noexcept {
    return !(a == b);
  }
  /// The matrix R as `GeLinearMatrix3::dump` writes it; no cosine, sine or angle.
  std::ostream& dump(std::ostream& os) const { return getRotation().dump(os); }

 protected:
  // The two axes the rotation mixes, in the order in which R(p, q) = -sine: (y, z) for x,
  // (z, x) for y, (x, y) for z.
  static constexpr int p = (axis + 1) % 3;
  static constexpr int q = (axis + 2) % 3;

  // R·S and S·R: R with each entry scaled by its column's factor (R·S) or its row's (S·R). Only
  // the two off-diagonal mixed entries tell them apart, so the caller names their factors.
  GeLinearMatrix3<T> scaled(const GeScale3<T>& s, int pqFactor, int qpFactor) const noexcept;

  // R·M: rows p and q of m recombined into r over the first `columns` columns. M·R: columns p
  // and q of m recombined into r over the first `rows` rows. Shared by the linear and affine
  // products; every other element of r is the caller's.
  template <class Out, class In>
  void mixRows(Out& r, const In& m, int columns) const noexcept;
  template <class Out, class In>
  void mixColumns(Out& r, const In& m, int rows) const noexcept;
};

/// The rotation about the x axis (y towards z).
template <class T>
class VO_EXPORT GeXAxisRotation3 : public GeAxisRotation3<0, T> {
 public:
  using GeAxisRotation3<0, T>::GeAxisRotation3;
};

/// The rotation about the y axis (z towards x).
template <class T>
class VO_EXPORT GeYAxisRotation3 : public GeAxisRotation3<1, T> {
 public:
  using GeAxisRotation3<1, T>::GeAxisRotation3;
};

/// The rotation about the z axis (x towards y).
template <class T>
class VO_EXPORT GeZAxisRotation3 : public GeAxisRotation3<2, T> {
 public:
  using GeAxisRotation3<2, T>::GeAxisRotation3;
};

// ---------------------------------------------------------------------------------------------
// Aiming. The form with an up vector is inline for callers that aim every frame; the helpers
// serve all three forms.
// ---------------------------------------------------------------------------------------------

// v times the reciprocal of its length. The length is required to be greater
// than 0 only after dividing, so a NaN length is caught as well as a zero one.
template <class T>
inline GeVector3<T> GeRotation3<T>::normalizeOrFail(const GeVector3<T>& v,
                                                    const GeReportSite& site) {
  GeVector3<T> n = v;
  const T len = n.normalize();
  if (!(len > T(0))) site.raise();
  return n;
}

// A zero direction means "look down -z", the default view direction of a camera.
template <class T>
inline GeVector3<T> GeRotation3<T>::aimVector(const GeVector3<T>& direction) noexcept {
  if (direction.x * direction.x + direction.y * direction.y + direction.z * direction.z == T(0)) {
    return GeVector3<T>(0, 0, -1);
  }
  return direction;
}

// The negated axis of a's smallest component: the axis farthest from a, so a × f is well
// conditioned. z only when strictly smallest; between x and y a tie goes to y.
template <class T>
inline GeVector3<T> GeRotation3<T>::fallbackVector(const GeVector3<T>& a) noexcept {
  const T ax = GeScalar<T>::abs(a.x);
  const T ay = GeScalar<T>::abs(a.y);
  const T az = GeScalar<T>::abs(a.z);
  if (ax >= ay) return az >= ay ? GeVector3<T>(0, -1, 0) : GeVector3<T>(0, 0, -1);
  return az >= ax ? GeVector3<T>(-1, 0, 0) : GeVector3<T>(0, 0, -1);
}

// Places frame vector v as column `axis` (rows with `inverse`).
template <class T>
inline void GeRotation3<T>::setFrameVector(GeRotation3& m, int axis, const GeVector3<T>& v,
                                           bool inverse) noexcept {
  for (int i = 0; i < 3; ++i) {
    if (inverse) {
      m(axis, i) = v[i];
    } else {
      m(i, axis) = v[i];
    }
  }
}

template <class T>
inline GeRotation3<T> GeRotation3<T>::aim(const GeUnitVector3<T>& direction, const GeVector3<T>& up,
                                          int aimAxis, int upAxis, bool inverse) {
  checkAxes(aimAxis, upAxis);
  const GeVector3<T> a = aimVector(direction);
  const GeVector3<T> p = up - dot(up, a) * a;
  // An up vector parallel to a leaves no perpendicular part; a NaN square compares false and
  // takes the fallback as well.
  const GeVector3<T> u =
      p.x * p.x + p.y * p.y + p.z * p.z > T(0)
          ? normalizeOrFail(p, GeReportSites::aimUpVector)
          : normalizeOrFail(cross(a, fallbackVector(a)), GeReportSites::aimFallbackUp);
  GeVector3<T> w = normalizeOrFail(cross(u, a), GeReportSites::aimThirdAxis);
  if (_handedness[3 * upAxis + aimAxis] == 0) w = -w;
  GeRotation3 r;
  setFrameVector(r, aimAxis, a, inverse);
  setFrameVector(r, upAxis, u, inverse);
  setFrameVector(r, 3 - aimAxis - upAxis, w, inverse);
  return r;
}

// ---------------------------------------------------------------------------------------------
// Axis rotation products. With p, q the mixed axes, R·M recombines rows p and q as
//   row p = c·row p − s·row q,  row q = s·row p + c·row q,
// and M·R recombines columns p and q as
//   column p = c·column p + s·column q,  column q = c·column q − s·column p.
// For the y rotation (p = z, q = x) these are the written forms −s·row 0 + c·row 2 etc. with
// the two terms swapped, which IEEE addition leaves bit for bit the same. Every product is
// rounded on its own (roundedProduct) before it is added, however the host compiles this.
// ---------------------------------------------------------------------------------------------

template <int axis, class T>
inline GeLinearMatrix3<T> GeAxisRotation3<axis, T>::scaled(const GeScale3<T>& s, int pqFactor,
                                                           int qpFactor) const noexcept {
  GeLinearMatrix3<T> r(0, 0, 0, 0, 0, 0, 0, 0, 0);
  r(axis, axis) = s[axis];
  r(p, p) = cosine * s[p];
  r(p, q) = -sine * s[pqFactor];
  r(q, p) = sine * s[qpFactor];
  r(q, q) = cosine * s[q];
  return r;
}

template <int axis, class T>
inline GeLinearMatrix3<T> GeAxisRotation3<axis, T>::operator*(const GeScale3<T>& s) const noexcept {
  return scaled(s, q, p);
}

template <int axis, class T>
inline GeLinearMatrix3<T> GeAxisRotation3<axis, T>::mulOnRight(
    const GeScale3<T>& s) const noexcept {
  return scaled(s, p, q);
}

template <int axis, class T>
template <class Out, class In>
inline void GeAxisRotation3<axis, T>::mixRows(Out& r, const In& m, int columns) const noexcept {
  for (int c = 0; c < columns; ++c) {
    r(p, c) = roundedProduct(cosine, m(p, c)) - roundedProduct(sine, m(q, c));
    r(q, c) = roundedProduct(sine, m(p, c)) + roundedProduct(cosine, m(q, c));
  }
}

template <int axis, class T>
template <class Out, class In>
inline void GeAxisRotation3<axis, T>::mixColumns(Out& r, const In& m, int rows) const noexcept {
  for (int i = 0; i < rows; ++i) {
    r(i, p) = roundedProduct(cosine, m(i, p)) + roundedProduct(sine, m(i, q));
    r(i, q) = roundedProduct(cosine, m(i, q)) - roundedProduct(sine, m(i, p));
  }
}

template <int axis, class T>
inline GeLinearMatrix3<T> GeAxisRotation3<axis, T>::operator*(
    const GeLinearMatrix3<T>& m) const noexcept {
  GeLinearMatrix3<T> r = m;
  mixRows(r, m, 3);
  return r;
}

template <int axis, class T>
inline GeLinearMatrix3<T> GeAxisRotation3<axis, T>::mulOnRight(
    const GeLinearMatrix3<T>& m) const noexcept {
  GeLinearMatrix3<T> r = m;
  mixColumns(r, m, 3);
  return r;
}

template <int axis, class T>
inline GeRotation3<T> GeAxisRotation3<axis, T>::operator*(const GeRotation3<T>& m) const noexcept {
  return GeRotation3<T>(*this * static_cast<const GeLinearMatrix3<T>&>(m));
}

template <int axis, class T>
inline GeAffineMatrix3<T> GeAxisRotation3<axis, T>::operator*(
    const GeTranslation3<T>& t) const noexcept {
  GeAffineMatrix3<T> r(getRotation());
  r(axis, 3) = t[axis];
  r(p, 3) = roundedProduct(cosine, t[p]) - roundedProduct(sine, t[q]);
  r(q, 3) = roundedProduct(sine, t[p]) + roundedProduct(cosine, t[q]);
  return r;
}

template <int axis, class T>
inline GeAffineMatrix3<T> GeAxisRotation3<axis, T>::operator*(
    const GeAffineMatrix3<T>& a) const noexcept {
  // Rows p and q of the whole upper 3x4 block mix alike: the linear part gives R·L and the
  // translation column R·t. The default-constructed result supplies the bottom row 0 0 0 1.
  GeAffineMatrix3<T> r;
  for (int c = 0; c < 4; ++c) r(axis, c) = a(axis, c);
  mixRows(r, a, 4);
  return r;
}

template <int axis, class T>
inline GeAffineMatrix3<T> GeAxisRotation3<axis, T>::mulOnRight(
    const GeAffineMatrix3<T>& a) const noexcept {
  GeAffineMatrix3<T> r;
  for (int i = 0; i < 3; ++i) {
    r(i, axis) = a(i, axis);
    r(i, 3) = a(i, 3);
  }
  mixColumns(r, a, 3);
  return r;
}

extern template class GeRotation3<float>;
extern template class GeRotation3<double>;
extern template class GeAxisRotation3<0, float>;
extern template class GeAxisRotation3<0, double>;
extern template class GeAxisRotation3<1, float>;
extern template class GeAxisRotation3<1, double>;
extern template class GeAxisRotation3<2, float>;
extern template class GeAxisRotation3<2, double>;
extern template class GeXAxisRotation3<float>;
extern template class GeXAxisRotation3<double>;
extern template class GeYAxisRotation3<float>;
extern template class GeYAxisRotation3<double>;
extern template class GeZAxisRotation3<float>;
extern template class GeZAxisRotation3<double>;

}  // namespace Vo
