#pragma once

/// @file
/// `GeQuaternion3`: rotations as quaternions, with matrix conversion, exponential and
/// logarithm, interpolation (lerp, slerp with extra spins, squad), aiming and the 24 Euler-angle
/// conventions.
///
/// The rotation by θ radians about the unit axis u is (u·sin(θ/2), cos(θ/2)); with column
/// vectors it turns points counter-clockwise about u, as the axis rotations of geRotation3.h
/// do, so (0, 0, sin 45°, cos 45°) is the z rotation by 90°. q and −q are the same rotation.
/// Values need not have unit length: the matrix conversion divides by the squared length, and
/// the operations that need a unit quaternion normalise their own copy. No operation reports an
/// error except the Euler conversions on a convention whose first axis is not 0, 1 or 2.

#include <vezODedizezivuz/geMatrix3.h>
#include <vezODedizezivuz/geScalar.h>
#include <vezODedizezivuz/geVector.h>
#include <vezODedizezivuz/vezODedizezivuzExport.h>

#include <istream>
#include <ostream>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Vo {

template <class T>
class GePlane3;

/// A quaternion (x, y, z, w): vector part (x, y, z), scalar part w. T is float or double.
///
/// Exactly four elements in that order. Default-constructed it is the identity (0, 0, 0, 1).
template <class T>
class VO_EXPORT GeQuaternion3 {
 public:
  /// The 24 ways three angles (a, b, c) about coordinate axes describe a rotation.
  ///
  /// A static convention turns by a about its first named axis, then by b about the second,
  /// then by c about the third, all axes fixed: `staticXYZ` is Rz(c)·Ry(b)·Rx(a). A rotating
  /// convention turns about the axes as they move with the body; it is the static convention
  /// of the reversed sequence with a and c exchanged: `rotatingZYX` (a, b, c) is `staticXYZ`
  /// (c, b, a), and its value is that of `staticXYZ` plus 64.
  ///
  /// Each value is a bit code: bits 0-3 the first axis (0 x, 1 y, 2 z), 16 odd parity (the
  /// axes run x, z, y cyclically instead of x, y, z), 32 repetition (the third turn is about the
  /// first axis again), 64 rotating frame. Higher bits are ignored; a first axis of 3 or more
  /// is rejected (see `eulerToMatrix`).
  enum EulerConvention : int {
    staticXYZ = 0,
    staticYZX = 1,
    staticZXY = 2,
    staticXZY = 16,
    staticYXZ = 17,
    staticZYX = 18,
    staticXYX = 32,
    staticYZY = 33,
    staticZXZ = 34,
    staticXZX = 48,
    staticYXY = 49,
    staticZYZ = 50,
    rotatingZYX = 64,
    rotatingXZY = 65,
    rotatingYXZ = 66,
    rotatingYZX = 80,
    rotatingZXY = 81,
    rotatingXYZ = 82,
    rotatingXYX = 96,
    rotatingYZY = 97,
    rotatingZXZ = 98,
    rotatingXZX = 112,
    rotatingYXY = 113,
    rotatingZYZ = 114
  };

  T x, y, z, w;

  /// The identity (0, 0, 0, 1).
  constexpr GeQuaternion3() noexcept : x(0), y(0), z(0), w(1) {}
  constexpr GeQuaternion3(T x, T y, T z, T w) noexcept : x(x), y(y), z(z), w(w) {}
  /// Vector part v, scalar part w.
  constexpr GeQuaternion3(const GeVector3<T>& v, T w) noexcept : x(v.x), y(v.y), z(v.z), w(w) {}

  /// The rotation by `angle` radians about `axis`, which is normalised first (a zero axis
  /// gives the quaternion (0, 0, 0, cos(angle/2))).
  static GeQuaternion3 makeRotation(T angle, const GeVector3<T>& axis) noexcept;

  /// Component 0..3 (x, y, z, w).
  constexpr T& operator[](int i) noexcept { return i == 0 ? x : i == 1 ? y : i == 2 ? z : w; }
  constexpr const T& operator[](int i) const noexcept {
    return i == 0 ? x : i == 1 ? y : i == 2 ? z : w;
  }
  /// The vector part (x, y, z).
  constexpr GeVector3<T> getVector() const noexcept { return GeVector3<T>(x, y, z); }

  /// x² + y² + z² + w², summed in that order.
  [[nodiscard]] constexpr T lengthSquared() const noexcept { return x * x + y * y + z * z + w * w; }
  [[nodiscard]] T length() const noexcept { return GeScalar<T>::sqrt(lengthSquared()); }
  /// Scales to unit length and returns the former length; a zero quaternion stays zero.
  T normalize() noexcept {
    const T len = length();
    if (len != T(0)) {
      const T inv = T(1) / len;
      x *= inv;
      y *= inv;
      z *= inv;
      w *= inv;
    }
    return len;
  }
  /// A copy scaled by `normalize` (the same reciprocal and products); a zero quaternion stays
  /// zero.
  [[nodiscard]] GeQuaternion3 normalized() const noexcept {
    GeQuaternion3 q = *this;
    q.normalize();
    return q;
  }
  /// (−x, −y, −z, w): the inverse rotation of a unit quaternion, without the division of
  /// `computeInverse`.
  [[nodiscard]] constexpr GeQuaternion3 conjugate() const noexcept {
    return GeQuaternion3(-x, -y, -z, w);
  }
  /// (−x, −y, −z, w) divided by the squared length; a zero quaternion is returned unchanged.
  [[nodiscard]] GeQuaternion3 computeInverse() const noexcept {
    const T n = lengthSquared();
    if (n == T(0)) return *this;
    return GeQuaternion3(-x / n, -y / n, -z / n, w / n);
  }

  /// The Hamilton product a·b: as rotations, b applies first, then a.
  friend constexpr GeQuaternion3 operator*(const GeQuaternion3& a,
                                           const GeQuaternion3& b) noexcept {
    return GeQuaternion3(a.w * b.x + b.w * a.x + (a.y * b.z - a.z * b.y),
                         a.w * b.y + b.w * a.y + (a.z * b.x - a.x * b.z),
                         a.w * b.z + b.w * a.z + (a.x * b.y - a.y * b.x),
                         a.w * b.w - (a.x * b.x + a.y * b.y + a.z * b.z));
  }
  friend constexpr GeQuaternion3 operator+(const GeQuaternion3& a,
                                           const GeQuaternion3& b) noexcept {
    return GeQuaternion3(a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w);
  }
  friend constexpr GeQuaternion3 operator-(const GeQuaternion3& a,
                                           const GeQuaternion3& b) noexcept {
    return GeQuaternion3(a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w);
  }
  friend constexpr GeQuaternion3 operator-(const GeQuaternion3& a) noexcept {
    return GeQuaternion3(-a.x, -a.y, -a.z, -a.w);
  }
  friend constexpr GeQuaternion3 operator*(T s, const GeQuaternion3& a) noexcept {
    return GeQuaternion3(s * a.x, s * a.y, s * a.z, s * a.w);
  }
  friend constexpr GeQuaternion3 operator*(const GeQuaternion3& a, T s) noexcept {
    return GeQuaternion3(a.x * s, a.y * s, a.z * s, a.w * s);
  }
  /// The 4D dot product, summed x, y, z, w.
  friend constexpr T dot(const GeQuaternion3& a, const GeQuaternion3& b) noexcept {
    return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
  }
  /// Exact comparison; q and −q compare unequal although they are the same rotation.
  friend constexpr bool operator==(const GeQuaternion3& a, const GeQuaternion3& b) noexcept {
    return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
  }
  friend constexpr bool operator!=(const GeQuaternion3& a, const GeQuaternion3& b) noexcept {
    return !(a == b);
  }
  /// True when every component differs by at most `tolerance` (absolute).
  bool isEqual(const GeQuaternion3& other, T tolerance) const noexcept {
    return GeScalar<T>::abs(x - other.x) <= tolerance &&
           GeScalar<T>::abs(y - other.y) <= tolerance &&
           GeScalar<T>::abs(z - other.z) <= tolerance && GeScalar<T>::abs(w - other.w) <= tolerance;
  }

  // ---- Rotating vectors and points -----------------------------------------------------------

  /// `v` turned by this unit quaternion without building a matrix: with u = (x, y, z) and
  /// c = u × v, the result is v + 2·(w·c + u × c). The length is taken as 1 and not divided
  /// out (as GLM, Imath and Eigen do): a quaternion of squared length n ≠ 1 also scales the
  /// part of v across its axis by about n, so rotate by `normalized()` when the length is not
  /// 1; a zero quaternion leaves v unchanged. Agrees with `getMatrix` times v to within
  /// rounding (a few ulps of |v|), not to the bit: the products are grouped differently.
  [[nodiscard]] constexpr GeVector3<T> rotate(const GeVector3<T>& v) const noexcept {
    // v + 2·(w·c + u × c) rather than v + w·t + u × t with t = 2c: the second cross product does
    // not wait for the doubling, which shortens the dependency chain.
    const GeVector3<T> u(x, y, z);
    const GeVector3<T> c = cross(u, v);
    return v + (c * w + cross(u, c)) * T(2);
  }
  /// `p` turned about the origin, as `rotate` of the vector from the origin to `p`.
  [[nodiscard]] constexpr GePoint3<T> rotate(const GePoint3<T>& p) const noexcept {
    return GePoint3<T>(rotate(p.toVector()));
  }

  // ---- Matrices ------------------------------------------------------------------------------

  /// Sets this to the rotation of m, where m is a rotation matrix times the uniform factor
  /// `scale` (1 for a pure rotation). Starts from the trace when it is not negative and from
  /// the largest diagonal element otherwise, so no branch divides by a small number. The result
  /// has unit length only when m really is `scale` times a rotation; no normalisation is made.
  void setMatrix(const GeLinearMatrix3<T>& m, T scale) noexcept;
  /// The rotation matrix of this, divided by the squared length (a zero quaternion gives the
  /// identity).
  void getMatrix(GeLinearMatrix3<T>& m) const noexcept;
  /// As above into the linear part; zero translation; the bottom row is left as it is.
  void getMatrix(GeAffineMatrix3<T>& m) const noexcept;
  /// As above into all sixteen elements: zero translation column, bottom row 0 0 0 1.
  void getMatrix(GeProjectiveMatrix3<T>& m) const noexcept;

  // ---- Aiming --------------------------------------------------------------------------------

  /// Sets this to the shortest-arc rotation that turns the direction of `from` onto that of
  /// `to` (neither needs unit length; both must be non-zero). Opposite directions give the
  /// half turn about a vector perpendicular to `from`; equal directions the identity. "Equal"
  /// means a cosine within 1e-6 of ±1 for float (inclusive) and 1e-7 for double (exclusive).
  void aim(const GeVector3<T>& from, const GeVector3<T>& to) noexcept;
  /// Sets this to the rotation that turns `direction` into the plane through the origin
  /// parallel to `plane` (only its normal is used), along the great circle through the normal.
  /// A direction already in the plane gives the identity; one along the normal a quarter turn.
  /// Leaves this unchanged when `direction` or the plane's normal is zero.
  void aim(const GeVector3<T>& direction, const GePlane3<T>& plane) noexcept;

  // ---- Exponential, logarithm, interpolation -------------------------------------------------

  /// exp of the pure quaternion (x, y, z, 0): (v·sin|v|/|v|, cos|v|). The scalar part of q is
  /// ignored. Meant for |v| < π (the library passes at most π/2).
  static GeQuaternion3 exp(const GeQuaternion3& q) noexcept;
  /// The logarithm of q normalised: (u·θ, 0) for q = (u·sin θ, cos θ). A zero quaternion gives
  /// (0, 0, 0, 0).
  static GeQuaternion3 log(const GeQuaternion3& q) noexcept;
  /// (1 − t)·p + t·q, not normalised.
  static constexpr GeQuaternion3 lerp(const GeQuaternion3& p, const GeQuaternion3& q,
                                      T t) noexcept {
    return GeQuaternion3((1 - t) * p.x + t * q.x, (1 - t) * p.y + t * q.y, (1 - t) * p.z + t * q.z,
                         (1 - t) * p.w + t * q.w);
  }
  /// Spherical linear interpolation from p (t = 0) to q (t = 1) along the shorter 4D arc,
  /// plus `spin` extra half turns of that arc. Nearly equal (or opposite) inputs interpolate
  /// linearly. The result is not normalised.
  static GeQuaternion3 slerp(const GeQuaternion3& p, const GeQuaternion3& q, T t, T spin) noexcept;
  /// Spherical quadrangle interpolation from p to q with inner control points a and b (see
  /// `computeIntermediates`): slerp(slerp(p, q, t), slerp(a, b, t), 2t(1 − t)).
  static GeQuaternion3 squad(const GeQuaternion3& p, const GeQuaternion3& a, const GeQuaternion3& b,
                             const GeQuaternion3& q, T t) noexcept;
  /// The squad control points around key q1 with neighbours q0 and q2: `first` =
  /// q1·exp(−(log(q1⁻¹q2) + log(q1⁻¹q0))/4) for unit keys, `second` its mirror through q1
  /// (the control point before and after q1). Key signs are not adjusted.
  static void computeIntermediates(const GeQuaternion3& q0, const GeQuaternion3& q1,
                                   const GeQuaternion3& q2, GeQuaternion3& first,
                                   GeQuaternion3& second) noexcept;
  /// True when the 4D dot product of p and q is not negative (|p + q|² ≥ |p − q|²), so that
  /// interpolating from p to q takes the shorter great circle.
  static bool isShortestGreatCircle(const GeQuaternion3& p, const GeQuaternion3& q) noexcept;
  /// The unit quaternion half-way between unit p and q on the 4D sphere: (p + q)/|p + q|;
  /// (0, 0, 0, 0) for opposite quaternions.
  static GeQuaternion3 bisect(const GeQuaternion3& p, const GeQuaternion3& q) noexcept;
  /// p reflected through q: 2·(p·q)·q − p.
  static GeQuaternion3 doub(const GeQuaternion3& p, const GeQuaternion3& q) noexcept;

  // ---- Euler angles --------------------------------------------------------------------------

  /// Writes into m the rotation of the angles a, b, c (radians) read in `convention`. Sines
  /// and cosines are taken in double precision for both instantiations. Reports
  /// "firstAxis < 3" ("primitives/geQuaternion3.imp") for a convention whose first axis is 3
  /// or more.
  static void eulerToMatrix(GeLinearMatrix3<T>& m, EulerConvention convention, T a, T b, T c);
  /// Reads the angles of the rotation m in `convention` (m need not be exactly orthonormal;
  /// only five elements are read). Without repetition the middle angle lies in [−π/2, π/2];
  /// with repetition in [0, π] (even parity) or [−π, 0] (odd parity); the outer angles in
  /// (−π, π]. When the middle angle's cosine (sine for repeated sequences) is not above
  /// 0.0016 (float) or 1.6e-6 (double) the outer axes have collapsed (gimbal lock): the whole
  /// turn goes to a for static and to c for rotating conventions, the other angle is 0.
  /// Rejects a first axis of 3 or more as `eulerToMatrix` does.
  static void matrixToEuler(const GeLinearMatrix3<T>& m, EulerConvention convention, T& a, T& b,
                            T& c);
  /// Sets this to the rotation of a, b, c in `convention`, built directly as a unit quaternion;
  /// its matrix is that of `eulerToMatrix`.
  void setEuler(EulerConvention convention, T a, T b, T c);
  /// The angles of this rotation: `matrixToEuler` of `getMatrix`.
  void getEuler(EulerConvention convention, T& a, T& b, T& c) const;

  // ---- Text ----------------------------------------------------------------------------------

  /// Writes "[(x, y, z), w]" with the stream's own number formatting; no newline.
  std::ostream& dump(std::ostream& os) const;
  /// Reads "[(x, y, z), w]" (blanks allowed where the stream skips them) and stores it without
  /// normalising. On malformed text sets the fail bit and keeps the old value; end of file
  /// alone does not reject.
  std::istream& read(std::istream& is);

  friend std::ostream& operator<<(std::ostream& os, const GeQuaternion3& q) { return q.dump(os); }
  friend std::istream& operator>>(std::istream& is, GeQuaternion3& q) { return q.read(is); }

 private:
  // setMatrix for a negative trace: component i comes from the largest diagonal element m(i, i),
  // the others from the sums and differences of the off-diagonal pairs.
  template <int i>
  void setFromDiagonal(const GeLinearMatrix3<T>& m, T scale) noexcept {
    constexpr int j = (i + 1) % 3;
    constexpr int k = (j + 1) % 3;
    const T r = GeScalar<T>::sqrt(m(i, i) - (m(j, j) + m(k, k)) + scale);
    const T f = T(0.5) / r;
    (*this)[i] = r / 2;
    (*this)[j] = (m(j, i) + m(i, j)) * f;
    (*this)[k] = (m(k, i) + m(i, k)) * f;
    w = (m(k, j) - m(j, k)) * f;
  }

  // The cut-off of the near-identity tests of exp, log and slerp: the single-precision 1e-6 in
  // both instantiations, so float and double switch to the linear forms at the same angles.
  static constexpr T epsilon = static_cast<T>(1e-6f);
  // π rounded to T: float uses 3.1415927.
  static constexpr T pi = static_cast<T>(3.14159265358979323846);
};

// The conversions between quaternions and linear matrices and slerp are inline: they are short
// and callers use them in inner loops.
namespace GeQuaternionDetail {

// The scale of the rotation matrix of q = (x, y, z, w): 2 / |q|², or 0 where the squared norm is
// zero or underflows to it.
template <class T>
inline T rotationScale(T x, T y, T z, T w) noexcept {
  const T n = x * x + y * y + z * z + w * w;
  return n > T(0) ? T(2) / n : T(0);
}

// The rotation matrix of q = (x, y, z, w) with the scale s, element by element: the steps every
// path computes, and the path of double and of processors without SSE2.
template <class T>
inline void rotationMatrix(T x, T y, T z, T w, T s, GeLinearMatrix3<T>& m) noexcept {
  const T xs = x * s, ys = y * s, zs = z * s;
  const T wx = w * xs, wy = w * ys, wz = w * zs;
  const T xx = x * xs, xy = x * ys, xz = x * zs;
  const T yy = y * ys, yz = y * zs, zz = z * zs;
  m(0, 0) = T(1) - (yy + zz);
  m(0, 1) = xy - wz;
  m(0, 2) = xz + wy;
  m(1, 0) = xy + wz;
  m(1, 1) = T(1) - (xx + zz);
  m(1, 2) = yz - wx;
  m(2, 0) = xz - wy;
  m(2, 1) = yz + wx;
  m(2, 2) = T(1) - (xx + yy);
}

#if defined(__SSE2__)

// The float rotation matrix of q = (x, y, z, w) with the scale s, in two 16-byte stores and
// one of 4 bytes that a caller's copy of the matrix can forward from. Every element takes the
// scalar steps: its two products, their sum or difference, and for the diagonal 1 minus that.
// A difference a - w·c is taken as a + (-w)·c, with -w made by multiplying by -1 (exact, and it
// keeps the sign of a NaN w as the subtraction would). Only the scaled vector waits for the
// division of 2 by n; the shuffles of q run beside it.
inline void rotationMatrixSse2(const float* q, float s, float* m) noexcept {
  const __m128 v = _mm_loadu_ps(q);
  // Lane by lane the sums are (yy + zz, xy - wz, xz + wy, xy + wz) for elements 0 to 3 and
  // (xx + zz, yz - wx, xz - wy, yz + wx) for elements 4 to 7; 1 minus the first lane of each
  // gives the diagonal elements 0 and 4.
  const __m128 left0 = _mm_shuffle_ps(v, v, _MM_SHUFFLE(0, 0, 0, 1));
  const __m128 right0 =
      _mm_mul_ps(_mm_shuffle_ps(v, v, _MM_SHUFFLE(3, 3, 3, 2)), _mm_setr_ps(1, -1, 1, 1));
  const __m128 left1 = _mm_shuffle_ps(v, v, _MM_SHUFFLE(1, 0, 1, 0));
  const __m128 right1 =
      _mm_mul_ps(_mm_shuffle_ps(v, v, _MM_SHUFFLE(3, 3, 3, 2)), _mm_setr_ps(1, -1, -1, 1));
  const __m128 scaled = _mm_mul_ps(v, _mm_set1_ps(s));
  __m128 l0 = _mm_mul_ps(left0, _mm_shuffle_ps(scaled, scaled, _MM_SHUFFLE(1, 2, 1, 1)));
  __m128 r0 = _mm_mul_ps(right0, _mm_shuffle_ps(scaled, scaled, _MM_SHUFFLE(2, 1, 2, 2)));
  __m128 l1 = _mm_mul_ps(left1, _mm_shuffle_ps(scaled, scaled, _MM_SHUFFLE(2, 2, 2, 0)));
  __m128 r1 = _mm_mul_ps(right1, _mm_shuffle_ps(scaled, scaled, _MM_SHUFFLE(0, 1, 0, 2)));
  // The products stay rounded: a host's FMA flags must not fuse them into the sums.
  __asm__("" : "+x"(l0), "+x"(r0), "+x"(l1), "+x"(r1));
  const __m128 one = _mm_set1_ps(1);
  const __m128 sum0 = _mm_add_ps(l0, r0);
  const __m128 sum1 = _mm_add_ps(l1, r1);
  _mm_storeu_ps(m, _mm_move_ss(sum0, _mm_sub_ss(one, sum0)));
  _mm_storeu_ps(m + 4, _mm_move_ss(sum1, _mm_sub_ss(one, sum1)));
  // Element 8 is 1 - (xx + yy), from the first lanes of l1 and l0.
  _mm_store_ss(m + 8, _mm_sub_ss(one, _mm_add_ss(l1, l0)));
}
#endif

}  // namespace GeQuaternionDetail

template <class T>
inline void GeQuaternion3<T>::getMatrix(GeLinearMatrix3<T>& m) const noexcept {
  const T s = GeQuaternionDetail::rotationScale(x, y, z, w);
#if defined(__SSE2__)
  if constexpr (std::is_same<T, float>::value) {
    GeQuaternionDetail::rotationMatrixSse2(&x, s, &m(0, 0));
    return;
  }
#endif
  GeQuaternionDetail::rotationMatrix(x, y, z, w, s, m);
}

template <class T>
inline void GeQuaternion3<T>::setMatrix(const GeLinearMatrix3<T>& m, T scale) noexcept {
  const T tr = m(0, 0) + m(1, 1) + m(2, 2);
  if (tr >= T(0)) {
    const T r = GeScalar<T>::sqrt(tr + scale);
    w = r / 2;
    const T f = T(0.5) / r;
    x = (m(2, 1) - m(1, 2)) * f;
    y = (m(0, 2) - m(2, 0)) * f;
    z = (m(1, 0) - m(0, 1)) * f;
  } else {
    // Build from the largest diagonal element so that r stays well away from 0; ties keep
    // the lower index.
    if (m(1, 1) > m(0, 0)) {
      if (m(2, 2) > m(1, 1)) {
        setFromDiagonal<2>(m, scale);
      } else {
        setFromDiagonal<1>(m, scale);
      }
    } else if (m(2, 2) > m(0, 0)) {
      setFromDiagonal<2>(m, scale);
    } else {
      setFromDiagonal<0>(m, scale);
    }
  }
  if (scale != T(1)) {
    const T inv = T(1) / GeScalar<T>::sqrt(scale);
    x *= inv;
    y *= inv;
    z *= inv;
    w *= inv;
  }
}

template <class T>
inline GeQuaternion3<T> GeQuaternion3<T>::slerp(const GeQuaternion3& p, const GeQuaternion3& q, T t,
                                                T spin) noexcept {
  T c = p.x * q.x + p.y * q.y + p.z * q.z + p.w * q.w;
  const bool flip = c < T(0);
  if (flip) c = -c;
  T s1;
  T s2;
  if (c > T(1) - epsilon) {
    // sin Ω is too small to divide by; the arc is straight to within rounding.
    s1 = 1 - t;
    s2 = t;
  } else {
    const T omega = GeScalar<T>::acos(c);
    // Without spins φ = Ω + 0·π is Ω exactly; skipping the sum shortens the path to the sines.
    const T phi = spin == T(0) ? omega : omega + spin * pi;
    const T sinOmega = GeScalar<T>::sin(omega);
    s1 = GeScalar<T>::sin(omega - t * phi) / sinOmega;
    s2 = GeScalar<T>::sin(t * phi) / sinOmega;
  }
  if (flip) s2 = -s2;
  return GeQuaternion3(s1 * p.x + s2 * q.x, s1 * p.y + s2 * q.y, s1 * p.z + s2 * q.z,
                       s1 * p.w + s2 * q.w);
}

extern template class GeQuaternion3<float>;
extern template class GeQuaternion3<double>;

}  // namespace Vo

// Consistent with the exact `==`: q and −q hash differently, as they compare unequal.
namespace std {
template <class T>
struct hash<Vo::GeQuaternion3<T>> {
  std::size_t operator()(const Vo::GeQuaternion3<T>& q) const noexcept {
    return Vo::GeHashDetail::combine(0, q.x, q.y, q.z, q.w);
  }
};
}  // namespace std
