#pragma once

/// @file
/// The three matrix kinds of 3D space: `GeLinearMatrix3` (3x3), `GeAffineMatrix3` (4x4 with the
/// fixed bottom row 0 0 0 1) and `GeProjectiveMatrix3` (general 4x4).
///
/// Conventions shared by all kinds:
/// - matrices act on column vectors: M maps v to M·v, and in A·B the factor B applies first;
/// - `X * Y` is the product X·Y; `X.mulOnRight(Y)` is Y·X (X applies first, then Y). With a
///   vector, `M.mulOnRight(v)` is v·M for v taken as a row vector, that is transpose(M)·v;
/// - elements are addressed as (row, column), both counted from 0;
/// - `GeLinearMatrix3` stores its nine elements row by row (element (r, c) at 3r + c); the two
///   4x4 kinds store their sixteen elements column by column (element (r, c) at 4c + r);
/// - every sum of products is evaluated term by term in increasing index order, so float and
///   double give the values of the written formulas and results are reproducible;
/// - inverses come from an LU decomposition (Crout, partial pivoting on implicitly scaled rows).
///   A matrix is singular when a row's largest magnitude or a pivot is negligible:
///   `FloatUtil::isEqual(x, 0)` for float, |x| < 1e-7 for double. `computeInverse` then reports
///   "nonSingular" ("base/matrix3x3Imp.imp" line 126 for 3x3 parts, "base/matrix4x4Imp.imp"
///   line 175 for projective matrices); `computeInverseAndDeterminant` writes nothing instead.
/// No operation allocates.

#include <vezODedizezivuz/geVector.h>
#include <vezODedizezivuz/vezODedizezivuzExport.h>

#include <cstring>
#include <ostream>
#include <type_traits>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace Vo {

template <class T>
class GeAffineMatrix3;
template <class T>
class GeProjectiveMatrix3;

namespace GeMatrixDetail {
// The element-wise comparisons of the three matrix classes, which differ only in their count.
template <class T>
inline bool allEqual(const T* a, const T* b, int count) noexcept {
  for (int i = 0; i < count; ++i)
    if (!(a[i] == b[i])) return false;
  return true;
}
template <class T>
inline bool allWithin(const T* a, const T* b, int count, T tolerance) noexcept {
  for (int i = 0; i < count; ++i)
    if (!(GeScalar<T>::abs(a[i] - b[i]) <= tolerance)) return false;
  return true;
}
}  // namespace GeMatrixDetail

/// A 3x3 matrix of a linear map (rotation, scale, shear). T is float or double.
///
/// Holds exactly nine elements, row by row, and nothing else. `GeRotation3` derives from it.
template <class T>
class VO_EXPORT GeLinearMatrix3 {
 public:
  /// The identity.
  constexpr GeLinearMatrix3() noexcept : elem{1, 0, 0, 0, 1, 0, 0, 0, 1} {}
  /// Nine values row by row.
  constexpr GeLinearMatrix3(T m00, T m01, T m02, T m10, T m11, T m12, T m20, T m21, T m22) noexcept
      : elem{m00, m01, m02, m10, m11, m12, m20, m21, m22} {}

  /// Element (row, column), both 0..2.
  constexpr T& operator()(int row, int column) noexcept { return elem[3 * row + column]; }
  constexpr const T& operator()(int row, int column) const noexcept {
    return elem[3 * row + column];
  }
  /// The nine elements in storage order (row by row).
  constexpr const T* data() const noexcept { return elem; }
  constexpr T* data() noexcept { return elem; }

  /// Row `row` as a vector.
  constexpr GeVector3<T> getRow(int row) const noexcept {
    return GeVector3<T>(elem[3 * row], elem[3 * row + 1], elem[3 * row + 2]);
  }
  /// Column `column` as a vector.
  constexpr GeVector3<T> getColumn(int column) const noexcept {
    return GeVector3<T>(elem[column], elem[3 + column], elem[6 + column]);
  }

  void setIdentity() noexcept {
    elem[0] = 1, elem[1] = 0, elem[2] = 0;
    elem[3] = 0, elem[4] = 1, elem[5] = 0;
    elem[6] = 0, elem[7] = 0, elem[8] = 1;
  }

  /// The determinant by expansion along row 2; exactly 0 for some singular matrices, tiny for
  /// others. Never tests anything.
  T computeDeterminant() const noexcept;
  GeLinearMatrix3 computeTranspose() const noexcept;
  /// The matrix of cofactors, not transposed: det(M) times the transpose of the inverse, the
  /// matrix that carries normals through M. Defined for singular matrices as well.
  GeLinearMatrix3 computeAdjoint() const noexcept;
  /// The inverse by LU decomposition. Reports "nonSingular" ("base/matrix3x3Imp.imp", 126) on a
  /// singular matrix; the object is unchanged.
  GeLinearMatrix3 computeInverse() const;
  /// Writes the inverse and the determinant of the LU decomposition (its sign from the row
  /// exchanges). On a singular matrix writes neither and reports nothing: set `determinant` to
  /// 0 beforehand to tell.
  void computeInverseAndDeterminant(GeLinearMatrix3& inverse, T& determinant) const noexcept;

  /// this·b.
  GeLinearMatrix3 operator*(const GeLinearMatrix3& b) const noexcept;
  /// Replaces the object by this·b; every new element is computed from the old values first, so
  /// `m *= m` squares m.
  GeLinearMatrix3& operator*=(const GeLinearMatrix3& b) noexcept;
  /// M·p.
  GePoint3<T> operator*(const GePoint3<T>& p) const noexcept {
    return GePoint3<T>(elem[0] * p.x + elem[1] * p.y + elem[2] * p.z,
                       elem[3] * p.x + elem[4] * p.y + elem[5] * p.z,
                       elem[6] * p.x + elem[7] * p.y + elem[8] * p.z);
  }
  /// M·v, the same arithmetic as for a point.
  GeVector3<T> operator*(const GeVector3<T>& v) const noexcept {
    return GeVector3<T>(elem[0] * v.x + elem[1] * v.y + elem[2] * v.z,
                        elem[3] * v.x + elem[4] * v.y + elem[5] * v.z,
                        elem[6] * v.x + elem[7] * v.y + elem[8] * v.z);
  }
  /// v·M (v a row vector), equal to transpose(M)·v: component c is x·M(0, c) + y·M(1, c) +
  /// z·M(2, c).
  GeVector3<T> mulOnRight(const GeVector3<T>& v) const noexcept {
    return GeVector3<T>(v.x * elem[0] + v.y * elem[3] + v.z * elem[6],
                        v.x * elem[1] + v.y * elem[4] + v.z * elem[7],
                        v.x * elem[2] + v.y * elem[5] + v.z * elem[8]);
  }

  /// Exact element-wise comparison.
  friend bool operator==(const GeLinearMatrix3& a, const GeLinearMatrix3& b) noexcept {
    return GeMatrixDetail::allEqual(a.elem, b.elem, 9);
  }
  friend bool operator!=(const GeLinearMatrix3& a, const GeLinearMatrix3& b) noexcept {
    return !(a == b);
  }
  /// The same as `==`.
  bool isEqualExact(const GeLinearMatrix3& other) const noexcept { return *this == other; }
  /// True when every element differs by at most `tolerance` (absolute).
  bool isEqual(const GeLinearMatrix3& other, T tolerance) const noexcept {
    return GeMatrixDetail::allWithin(elem, other.elem, 9, tolerance);
  }

  /// Three lines "| m(r,0) m(r,1) m(r,2) |", each ended by std::endl, with the stream's own
  /// number formatting.
  std::ostream& dump(std::ostream& os) const;
  friend std::ostream& operator<<(std::ostream& os, const GeLinearMatrix3& m) { return m.dump(os); }

 protected:
  T elem[9];
};

/// A 4x4 affine matrix: linear part L (rows and columns 0-2), translation t (column 3, rows
/// 0-2) and the bottom row 0 0 0 1. Maps a point p to L·p + t. T is float or double.
///
/// Holds exactly sixteen elements column by column, the layout of `GeProjectiveMatrix3`.
/// Everything that builds an affine matrix writes the bottom row; in-place updates rely on it.
template <class T>
class VO_EXPORT GeAffineMatrix3 {
 public:
  /// The identity.
  constexpr GeAffineMatrix3() noexcept : elem{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1} {}
  /// Linear part `linear`, translation `translation`.
  GeAffineMatrix3(const GeLinearMatrix3<T>& linear, const GeVector3<T>& translation) noexcept;
  /// Linear part m, no translation. Explicit: widening a matrix changes what `*` means.
  explicit GeAffineMatrix3(const GeLinearMatrix3<T>& m) noexcept
      : GeAffineMatrix3(m, GeVector3<T>(0, 0, 0)) {}
  /// From an array, converted to T. `columnMajor` true: a[c][r] is element (r, c) (storage
  /// order), a[0..3][3] unread. `columnMajor` false: a[r][c] is element (r, c), row a[3]
  /// unread. The bottom row is set to 0 0 0 1 either way.
  GeAffineMatrix3(const float a[4][4], bool columnMajor) noexcept { assign(a, columnMajor); }
  GeAffineMatrix3(const double a[4][4], bool columnMajor) noexcept { assign(a, columnMajor); }

  /// Element (row, column), both 0..3. Writing the bottom row breaks the affine invariant.
  constexpr T& operator()(int row, int column) noexcept { return elem[4 * column + row]; }
  constexpr const T& operator()(int row, int column) const noexcept {
    return elem[4 * column + row];
  }
  /// The sixteen elements in storage order (column by column).
  constexpr const T* data() const noexcept { return elem; }
  constexpr T* data() noexcept { return elem; }

  /// The linear part L.
  GeLinearMatrix3<T> getLinear() const noexcept {
    return GeLinearMatrix3<T>(elem[0], elem[4], elem[8], elem[1], elem[5], elem[9], elem[2],
                              elem[6], elem[10]);
  }
  /// The translation t.
  constexpr GeVector3<T> getTranslation() const noexcept {
    return GeVector3<T>(elem[12], elem[13], elem[14]);
  }
  void setTranslation(const GeVector3<T>& t) noexcept {
    elem[12] = t.x, elem[13] = t.y, elem[14] = t.z;
  }

  /// L = identity, t = 0; the bottom row is not written.
  void setIdentity() noexcept {
    elem[0] = 1, elem[1] = 0, elem[2] = 0;
    elem[4] = 0, elem[5] = 1, elem[6] = 0;
    elem[8] = 0, elem[9] = 0, elem[10] = 1;
    elem[12] = 0, elem[13] = 0, elem[14] = 0;
  }

  /// det(L) by the expansion of `GeLinearMatrix3::computeDeterminant`.
  T computeDeterminant() const noexcept;
  /// The inverse: linear part R = L⁻¹ by LU decomposition, translation −(R·t). Only L can make
  /// the matrix singular; then reports "nonSingular" ("base/matrix3x3Imp.imp", 126).
  GeAffineMatrix3 computeInverse() const;
  /// Writes the inverse and det(L) from the decomposition. On a singular L writes neither
  /// argument and reports nothing.
  void computeInverseAndDeterminant(GeAffineMatrix3& inverse, T& determinant) const noexcept;

  /// this·m: linear part L·m, translation unchanged.
  GeAffineMatrix3 operator*(const GeLinearMatrix3<T>& m) const noexcept;
  /// this·b: linear part L·L_b, translation L·t_b + t.
  GeAffineMatrix3 operator*(const GeAffineMatrix3& b) const noexcept;
  /// Replaces the object by this·b, reading all old values first (aliasing is safe).
  GeAffineMatrix3& operator*=(const GeAffineMatrix3& b) noexcept { return *this = *this * b; }
  /// m·this: linear part m·L, translation m·t.
  GeAffineMatrix3 mulOnRight(const GeLinearMatrix3<T>& m) const noexcept;
  /// v·L (v a row vector); the translation takes no part.
  GeVector3<T> mulOnRight(const GeVector3<T>& v) const noexcept {
    return GeVector3<T>(v.x * elem[0] + v.y * elem[1] + v.z * elem[2],
                        v.x * elem[4] + v.y * elem[5] + v.z * elem[6],
                        v.x * elem[8] + v.y * elem[9] + v.z * elem[10]);
  }
  /// L·p + t, each component summed as L(r,0)·x + L(r,1)·y + L(r,2)·z + t_r.
  GePoint3<T> operator*(const GePoint3<T>& p) const noexcept {
    return GePoint3<T>(elem[0] * p.x + elem[4] * p.y + elem[8] * p.z + elem[12],
                       elem[1] * p.x + elem[5] * p.y + elem[9] * p.z + elem[13],
                       elem[2] * p.x + elem[6] * p.y + elem[10] * p.z + elem[14]);
  }
  /// L·v: a displacement ignores the translation.
  GeVector3<T> operator*(const GeVector3<T>& v) const noexcept {
    return GeVector3<T>(elem[0] * v.x + elem[4] * v.y + elem[8] * v.z,
                        elem[1] * v.x + elem[5] * v.y + elem[9] * v.z,
                        elem[2] * v.x + elem[6] * v.y + elem[10] * v.z);
  }

  /// Exact comparison of all sixteen elements.
  friend bool operator==(const GeAffineMatrix3& a, const GeAffineMatrix3& b) noexcept {
    return GeMatrixDetail::allEqual(a.elem, b.elem, 16);
  }
  friend bool operator!=(const GeAffineMatrix3& a, const GeAffineMatrix3& b) noexcept {
    return !(a == b);
  }
  /// The same as `==`.
  bool isEqualExact(const GeAffineMatrix3& other) const noexcept { return *this == other; }
  /// True when every element differs by at most `tolerance` (absolute).
  bool isEqual(const GeAffineMatrix3& other, T tolerance) const noexcept {
    return GeMatrixDetail::allWithin(elem, other.elem, 16, tolerance);
  }

  /// Four lines "| m(r,0) m(r,1) m(r,2) m(r,3) |" ended by std::endl, the last one showing the
  /// bottom row; the same text as `GeProjectiveMatrix3::dump` of the same elements.
  std::ostream& dump(std::ostream& os) const;
  friend std::ostream& operator<<(std::ostream& os, const GeAffineMatrix3& m) { return m.dump(os); }

 private:
  template <class U>
  void assign(const U a[4][4], bool columnMajor) noexcept;

  T elem[16];
};

/// A general 4x4 matrix on homogeneous coordinates: projections, camera matrices, widened
/// affine matrices. T is float or double.
///
/// Holds exactly sixteen elements column by column: column 3 holds the translation terms and
/// row 3 the projective terms. Any sixteen values form a valid matrix.
template <class T>
class VO_EXPORT GeProjectiveMatrix3 {
 public:
  /// The identity.
  constexpr GeProjectiveMatrix3() noexcept : elem{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1} {}
  /// Sixteen values row by row (the reading order of a printed matrix, not the storage order).
  constexpr GeProjectiveMatrix3(T m00, T m01, T m02, T m03, T m10, T m11, T m12, T m13, T m20,
                                T m21, T m22, T m23, T m30, T m31, T m32, T m33) noexcept
      : elem{m00, m10, m20, m30, m01, m11, m21, m31, m02, m12, m22, m32, m03, m13, m23, m33} {}
  /// From an array, converted to T: `columnMajor` true takes a[c][r] as element (r, c) (storage
  /// order), false takes a[r][c]. All sixteen values are used.
  GeProjectiveMatrix3(const float a[4][4], bool columnMajor) noexcept { assign(a, columnMajor); }
  GeProjectiveMatrix3(const double a[4][4], bool columnMajor) noexcept { assign(a, columnMajor); }
  /// Upper-left block m, column 3 rows 0-2 zero, row 3 = 0 0 0 1.
  explicit GeProjectiveMatrix3(const GeLinearMatrix3<T>& m) noexcept;
  /// Rows 0-2 copied from a; row 3 written as 0 0 0 1.
  explicit GeProjectiveMatrix3(const GeAffineMatrix3<T>& a) noexcept;

  /// Element (row, column), both 0..3.
  constexpr T& operator()(int row, int column) noexcept { return elem[4 * column + row]; }
  constexpr const T& operator()(int row, int column) const noexcept {
    return elem[4 * column + row];
  }
  /// The sixteen elements in storage order (column by column).
  constexpr const T* data() const noexcept { return elem; }
  constexpr T* data() noexcept { return elem; }

  /// All sixteen elements: 1 on the diagonal, 0 elsewhere.
  void setIdentity() noexcept {
    for (int i = 0; i < 16; ++i) elem[i] = (i % 5 == 0) ? T(1) : T(0);
  }

  /// this·b.
  GeProjectiveMatrix3 operator*(const GeProjectiveMatrix3& b) const noexcept;
  /// this·a with the bottom row of a taken as 0 0 0 1 (not read).
  GeProjectiveMatrix3 operator*(const GeAffineMatrix3<T>& a) const noexcept;
  /// Replaces the object by this·b, reading all old values first (aliasing is safe).
  GeProjectiveMatrix3& operator*=(const GeProjectiveMatrix3& b) noexcept {
    return *this = *this * b;
  }
  /// M·h: component r = M(r,0)·x + M(r,1)·y + M(r,2)·z + M(r,3)·w. A point is (x, y, z, 1);
  /// the caller divides by w.
  GeHomogeneousCoord3<T> operator*(const GeHomogeneousCoord3<T>& h) const noexcept;
  /// The projective image of `p`: M·(x, y, z, 1) by `operator*`, then x, y, z divided by the
  /// fourth component (`GeHomogeneousCoord3::project`). A point that maps to infinity (fourth
  /// component exactly 0) is reported by returning false with `result` unchanged.
  [[nodiscard]] bool transformPoint(const GePoint3<T>& p, GePoint3<T>& result) const noexcept {
    const GeHomogeneousCoord3<T> h = *this * GeHomogeneousCoord3<T>(p.x, p.y, p.z, T(1));
    if (h.w == T(0)) return false;
    result = h.project();
    return true;
  }
  /// h·M: component c = x·M(0,c) + y·M(1,c) + z·M(2,c) + w·M(3,c).
  GeHomogeneousCoord3<T> mulOnRight(const GeHomogeneousCoord3<T>& h) const noexcept {
    const T* e = elem;
    return GeHomogeneousCoord3<T>(h.x * e[0] + h.y * e[1] + h.z * e[2] + h.w * e[3],
                                  h.x * e[4] + h.y * e[5] + h.z * e[6] + h.w * e[7],
                                  h.x * e[8] + h.y * e[9] + h.z * e[10] + h.w * e[11],
                                  h.x * e[12] + h.y * e[13] + h.z * e[14] + h.w * e[15]);
  }

  GeProjectiveMatrix3 computeTranspose() const noexcept;
  /// The transpose of `a` read as a 4x4 matrix: row 3 is (t0, t1, t2, 1), column 3 rows 0-2 are
  /// 0.
  static GeProjectiveMatrix3 computeTranspose(const GeAffineMatrix3<T>& a) noexcept;
  /// The 4x4 matrix of cofactors, not transposed (det(M) times the transpose of the inverse).
  /// Each 3x3 minor is expanded along its last row as `GeLinearMatrix3::computeDeterminant`
  /// does. Defined for singular matrices as well.
  GeProjectiveMatrix3 computeAdjoint() const noexcept;
  /// The cofactors of `a` read as a 4x4 matrix, its stored bottom row included.
  static GeProjectiveMatrix3 computeAdjoint(const GeAffineMatrix3<T>& a) noexcept;
  /// The determinant of the LU decomposition; exactly 0 when the decomposition finds the
  /// matrix singular.
  T computeDeterminant() const noexcept;
  /// The inverse by LU decomposition; reports "nonSingular" ("base/matrix4x4Imp.imp", 175) on a
  /// singular matrix.
  GeProjectiveMatrix3 computeInverse() const;
  /// Writes the inverse and the determinant; on a singular matrix writes neither and reports
  /// nothing.
  void computeInverseAndDeterminant(GeProjectiveMatrix3& inverse, T& determinant) const noexcept;

  /// Exact comparison of all sixteen elements.
  friend bool operator==(const GeProjectiveMatrix3& a, const GeProjectiveMatrix3& b) noexcept {
    return GeMatrixDetail::allEqual(a.elem, b.elem, 16);
  }
  friend bool operator!=(const GeProjectiveMatrix3& a, const GeProjectiveMatrix3& b) noexcept {
    return !(a == b);
  }
  /// The same as `==`.
  bool isEqualExact(const GeProjectiveMatrix3& other) const noexcept { return *this == other; }
  /// True when every element differs by at most `tolerance` (absolute).
  bool isEqual(const GeProjectiveMatrix3& other, T tolerance) const noexcept {
    return GeMatrixDetail::allWithin(elem, other.elem, 16, tolerance);
  }

  /// Four lines "| m(r,0) m(r,1) m(r,2) m(r,3) |" ended by std::endl, with the stream's own
  /// number formatting.
  std::ostream& dump(std::ostream& os) const;
  friend std::ostream& operator<<(std::ostream& os, const GeProjectiveMatrix3& m) {
    return m.dump(os);
  }

 private:
  template <class U>
  void assign(const U a[4][4], bool columnMajor) noexcept;

  T elem[16];
};

// ---------------------------------------------------------------------------------------------
// Inline implementations. Sums are written out term by term in the order of the formulas; the
// compiler may vectorise across elements but never reorders the terms of one element.
// ---------------------------------------------------------------------------------------------

template <class T>
inline T GeLinearMatrix3<T>::computeDeterminant() const noexcept {
  const T* m = elem;
  return m[6] * (m[1] * m[5] - m[2] * m[4]) + m[7] * (m[2] * m[3] - m[0] * m[5]) +
         m[8] * (m[0] * m[4] - m[1] * m[3]);
}

template <class T>
inline GeLinearMatrix3<T> GeLinearMatrix3<T>::computeTranspose() const noexcept {
  const T* m = elem;
  return GeLinearMatrix3(m[0], m[3], m[6], m[1], m[4], m[7], m[2], m[5], m[8]);
}

template <class T>
inline GeLinearMatrix3<T> GeLinearMatrix3<T>::computeAdjoint() const noexcept {
  const T* m = elem;
  return GeLinearMatrix3(
      m[4] * m[8] - m[5] * m[7], m[5] * m[6] - m[3] * m[8], m[3] * m[7] - m[4] * m[6],
      m[2] * m[7] - m[1] * m[8], m[0] * m[8] - m[2] * m[6], m[1] * m[6] - m[0] * m[7],
      m[1] * m[5] - m[2] * m[4], m[2] * m[3] - m[0] * m[5], m[0] * m[4] - m[1] * m[3]);
}

template <class T>
inline GeLinearMatrix3<T> GeLinearMatrix3<T>::operator*(const GeLinearMatrix3& b) const noexcept {
  GeLinearMatrix3 r;
  const T* a = elem;
  const T* c = b.elem;
#if defined(__SSE2__) || defined(_M_X64)
  if constexpr (std::is_same_v<T, double>) {
    // Columns 0 and 1 of a result row in one register: each lane sums the same three
    // products in the same order as the scalar formula.
    const __m128d b0 = _mm_loadu_pd(c), b1 = _mm_loadu_pd(c + 3), b2 = _mm_loadu_pd(c + 6);
    for (int i = 0; i < 3; ++i) {
      const double* ai = a + 3 * i;
      const __m128d lo = _mm_add_pd(
          _mm_add_pd(_mm_mul_pd(_mm_set1_pd(ai[0]), b0), _mm_mul_pd(_mm_set1_pd(ai[1]), b1)),
          _mm_mul_pd(_mm_set1_pd(ai[2]), b2));
      _mm_storeu_pd(r.elem + 3 * i, lo);
      r.elem[3 * i + 2] = ai[0] * c[2] + ai[1] * c[5] + ai[2] * c[8];
    }
    return r;
  }
#endif
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      r.elem[3 * i + j] = a[3 * i] * c[j] + a[3 * i + 1] * c[3 + j] + a[3 * i + 2] * c[6 + j];
    }
  }
  return r;
}

template <class T>
inline GeLinearMatrix3<T>& GeLinearMatrix3<T>::operator*=(const GeLinearMatrix3& b) noexcept {
  // Through a temporary: b may be the object itself.
  *this = *this * b;
  return *this;
}

template <class T>
inline GeAffineMatrix3<T>::GeAffineMatrix3(const GeLinearMatrix3<T>& m,
                                           const GeVector3<T>& t) noexcept
    : elem{m(0, 0), m(1, 0), m(2, 0), 0, m(0, 1), m(1, 1), m(2, 1), 0,
           m(0, 2), m(1, 2), m(2, 2), 0, t.x,     t.y,     t.z,     1} {}

template <class T>
template <class U>
inline void GeAffineMatrix3<T>::assign(const U a[4][4], bool columnMajor) noexcept {
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 3; ++r) {
      elem[4 * c + r] = static_cast<T>(columnMajor ? a[c][r] : a[r][c]);
    }
    elem[4 * c + 3] = c == 3 ? T(1) : T(0);
  }
}

template <class T>
inline T GeAffineMatrix3<T>::computeDeterminant() const noexcept {
  return getLinear().computeDeterminant();
}

template <class T>
inline GeAffineMatrix3<T> GeAffineMatrix3<T>::operator*(
    const GeLinearMatrix3<T>& m) const noexcept {
  GeAffineMatrix3 r;
  const T* a = elem;
  for (int c = 0; c < 3; ++c) {
    for (int i = 0; i < 3; ++i) {
      r.elem[4 * c + i] = a[i] * m(0, c) + a[4 + i] * m(1, c) + a[8 + i] * m(2, c);
    }
  }
  r.elem[12] = a[12], r.elem[13] = a[13], r.elem[14] = a[14];
  return r;
}

template <class T>
inline GeAffineMatrix3<T> GeAffineMatrix3<T>::operator*(const GeAffineMatrix3& b) const noexcept {
  GeAffineMatrix3 r;
  const T* a = elem;
  const T* e = b.elem;
  for (int c = 0; c < 3; ++c) {
    for (int i = 0; i < 3; ++i) {
      r.elem[4 * c + i] = a[i] * e[4 * c] + a[4 + i] * e[4 * c + 1] + a[8 + i] * e[4 * c + 2];
    }
  }
  for (int i = 0; i < 3; ++i) {
    r.elem[12 + i] = a[i] * e[12] + a[4 + i] * e[13] + a[8 + i] * e[14] + a[12 + i];
  }
  return r;
}

template <class T>
inline GeAffineMatrix3<T> GeAffineMatrix3<T>::mulOnRight(
    const GeLinearMatrix3<T>& m) const noexcept {
  GeAffineMatrix3 r;
  const T* a = elem;
  for (int c = 0; c < 3; ++c) {
    for (int i = 0; i < 3; ++i) {
      r.elem[4 * c + i] = m(i, 0) * a[4 * c] + m(i, 1) * a[4 * c + 1] + m(i, 2) * a[4 * c + 2];
    }
  }
  for (int i = 0; i < 3; ++i) {
    r.elem[12 + i] = m(i, 0) * a[12] + m(i, 1) * a[13] + m(i, 2) * a[14];
  }
  return r;
}

template <class T>
inline GeProjectiveMatrix3<T>::GeProjectiveMatrix3(const GeLinearMatrix3<T>& m) noexcept
    : elem{m(0, 0), m(1, 0), m(2, 0), 0, m(0, 1), m(1, 1), m(2, 1), 0,
           m(0, 2), m(1, 2), m(2, 2), 0, 0,       0,       0,       1} {}

template <class T>
inline GeProjectiveMatrix3<T>::GeProjectiveMatrix3(const GeAffineMatrix3<T>& a) noexcept {
  const T* e = a.data();
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 3; ++r) elem[4 * c + r] = e[4 * c + r];
    elem[4 * c + 3] = c == 3 ? T(1) : T(0);
  }
}

template <class T>
template <class U>
inline void GeProjectiveMatrix3<T>::assign(const U a[4][4], bool columnMajor) noexcept {
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) elem[4 * c + r] = static_cast<T>(columnMajor ? a[c][r] : a[r][c]);
  }
}

template <class T>
inline GeProjectiveMatrix3<T> GeProjectiveMatrix3<T>::operator*(
    const GeProjectiveMatrix3& b) const noexcept {
  GeProjectiveMatrix3 r;
  const T* a = elem;
  const T* e = b.elem;
  for (int c = 0; c < 4; ++c) {
    for (int i = 0; i < 4; ++i) {
      r.elem[4 * c + i] = a[i] * e[4 * c] + a[4 + i] * e[4 * c + 1] + a[8 + i] * e[4 * c + 2] +
                          a[12 + i] * e[4 * c + 3];
    }
  }
  return r;
}

template <class T>
inline GeProjectiveMatrix3<T> GeProjectiveMatrix3<T>::operator*(
    const GeAffineMatrix3<T>& b) const noexcept {
  GeProjectiveMatrix3 r;
  const T* a = elem;
  const T* e = b.data();
  for (int c = 0; c < 3; ++c) {
    for (int i = 0; i < 4; ++i) {
      r.elem[4 * c + i] = a[i] * e[4 * c] + a[4 + i] * e[4 * c + 1] + a[8 + i] * e[4 * c + 2];
    }
  }
  for (int i = 0; i < 4; ++i) {
    r.elem[12 + i] = a[i] * e[12] + a[4 + i] * e[13] + a[8 + i] * e[14] + a[12 + i];
  }
  return r;
}

template <class T>
inline GeHomogeneousCoord3<T> GeProjectiveMatrix3<T>::operator*(
    const GeHomogeneousCoord3<T>& h) const noexcept {
  const T* e = elem;
#if defined(__SSE2__) || defined(_M_X64)
  if constexpr (std::is_same_v<T, double>) {
    // Components (x, y) and (z, w) in two registers, the four terms added in order.
    __m128d part[2];
    for (int k = 0; k < 2; ++k) {
      const double* c = e + 2 * k;
      part[k] = _mm_add_pd(_mm_add_pd(_mm_add_pd(_mm_mul_pd(_mm_loadu_pd(c), _mm_set1_pd(h.x)),
                                                 _mm_mul_pd(_mm_loadu_pd(c + 4), _mm_set1_pd(h.y))),
                                      _mm_mul_pd(_mm_loadu_pd(c + 8), _mm_set1_pd(h.z))),
                           _mm_mul_pd(_mm_loadu_pd(c + 12), _mm_set1_pd(h.w)));
    }
    double c[4];
    _mm_storeu_pd(c, part[0]);
    _mm_storeu_pd(c + 2, part[1]);
    return GeHomogeneousCoord3<T>(c[0], c[1], c[2], c[3]);
  } else {
    // All four components in one register, the four terms added in the same order. The
    // coordinate is read once and its lanes spread by shuffles, not loaded one by one.
    static_assert(sizeof(GeHomogeneousCoord3<T>) == sizeof(__m128), "x, y, z, w packed");
    __m128i v;
    std::memcpy(&v, &h, sizeof v);
    const __m128 r = _mm_add_ps(
        _mm_add_ps(
            _mm_add_ps(
                _mm_mul_ps(_mm_loadu_ps(e), _mm_castsi128_ps(_mm_shuffle_epi32(v, 0x00))),
                _mm_mul_ps(_mm_loadu_ps(e + 4), _mm_castsi128_ps(_mm_shuffle_epi32(v, 0x55)))),
            _mm_mul_ps(_mm_loadu_ps(e + 8), _mm_castsi128_ps(_mm_shuffle_epi32(v, 0xAA)))),
        _mm_mul_ps(_mm_loadu_ps(e + 12), _mm_castsi128_ps(_mm_shuffle_epi32(v, 0xFF))));
    float c[4];
    _mm_storeu_ps(c, r);
    return GeHomogeneousCoord3<T>(c[0], c[1], c[2], c[3]);
  }
#endif
  return GeHomogeneousCoord3<T>(e[0] * h.x + e[4] * h.y + e[8] * h.z + e[12] * h.w,
                                e[1] * h.x + e[5] * h.y + e[9] * h.z + e[13] * h.w,
                                e[2] * h.x + e[6] * h.y + e[10] * h.z + e[14] * h.w,
                                e[3] * h.x + e[7] * h.y + e[11] * h.z + e[15] * h.w);
}

template <class T>
inline GeProjectiveMatrix3<T> GeProjectiveMatrix3<T>::computeTranspose() const noexcept {
  GeProjectiveMatrix3 r;
  for (int c = 0; c < 4; ++c) {
    for (int i = 0; i < 4; ++i) r.elem[4 * i + c] = elem[4 * c + i];
  }
  return r;
}

template <class T>
inline GeProjectiveMatrix3<T> GeProjectiveMatrix3<T>::computeTranspose(
    const GeAffineMatrix3<T>& a) noexcept {
  GeProjectiveMatrix3 r;
  const T* e = a.data();
  for (int c = 0; c < 4; ++c) {
    for (int i = 0; i < 3; ++i) r.elem[4 * i + c] = e[4 * c + i];
  }
  r.elem[12] = 0, r.elem[13] = 0, r.elem[14] = 0, r.elem[15] = 1;
  return r;
}

// Compiled once in the library: text output, inverses, the 4x4 determinant and adjoint.
extern template class GeLinearMatrix3<float>;
extern template class GeLinearMatrix3<double>;
extern template class GeAffineMatrix3<float>;
extern template class GeAffineMatrix3<double>;
extern template class GeProjectiveMatrix3<float>;
extern template class GeProjectiveMatrix3<double>;

}  // namespace Vo

// Consistent with the exact element-wise `==`.
namespace std {
template <class T>
struct hash<Vo::GeLinearMatrix3<T>> {
  std::size_t operator()(const Vo::GeLinearMatrix3<T>& m) const noexcept {
    return Vo::GeHashDetail::combineAll(m.data(), 9);
  }
};
template <class T>
struct hash<Vo::GeAffineMatrix3<T>> {
  std::size_t operator()(const Vo::GeAffineMatrix3<T>& m) const noexcept {
    return Vo::GeHashDetail::combineAll(m.data(), 16);
  }
};
template <class T>
struct hash<Vo::GeProjectiveMatrix3<T>> {
  std::size_t operator()(const Vo::GeProjectiveMatrix3<T>& m) const noexcept {
    return Vo::GeHashDetail::combineAll(m.data(), 16);
  }
};
}  // namespace std
