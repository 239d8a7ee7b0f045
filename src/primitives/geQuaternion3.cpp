#include <vezODedizezivuz/gePlane3.h>
#include <vezODedizezivuz/geQuaternion3.h>

#include <vezODedizezivuz/geReportSites.h>
#include <zevIRudez/FloatUtil.h>

#include <cmath>

#if defined(__SSE2__) && !defined(VO_NO_SIMD)
#include <emmintrin.h>
#endif

#include "geEulerSinCosKernel.h"

namespace Vo {

namespace {

// π/2 rounded to T: float uses 1.5707964.
template <class T>
constexpr T halfPi() {
  return static_cast<T>(1.57079632679489661923);
}

// Near-equality of the aim constructions: a negligible difference, so the base library's
// tolerance (inclusive) for float and the exclusive double threshold for double.
template <class T>
bool isNear(T a, T b) {
  return GeScalar<T>::isNegligible(a - b);
}

// A vector perpendicular to v, not normalised: two components swapped, one of them negated, and
// the third set to 0, choosing the pair so that the result cannot vanish for a non-zero v.
template <class T>
GeVector3<T> perpendicular(const GeVector3<T>& v) {
  const T ax = GeScalar<T>::abs(v.x);
  const T ay = GeScalar<T>::abs(v.y);
  const T az = GeScalar<T>::abs(v.z);
  if (ay > ax && az > ax) return GeVector3<T>(0, -v.z, v.y);
  if (az <= ay) return GeVector3<T>(-v.y, v.x, 0);
  return GeVector3<T>(v.z, 0, -v.x);
}

// Sine and cosine evaluated in double precision and rounded to T, so that float rotations built
// from angles do not depend on the platform's single-precision functions. (The compiler merges
// the pair into one sincos call.)
template <class T>
inline void sinCosInDouble(T angle, T& s, T& c) {
  s = static_cast<T>(std::sin(static_cast<double>(angle)));
  c = static_cast<T>(std::cos(static_cast<double>(angle)));
}

// The axes of an Euler convention, decoded from its bits.
struct EulerAxes {
  int i, j, k;
  bool oddParity, repetition, rotating;
};

inline EulerAxes decodeConvention(int convention) {
  // Successors of the cyclic axis order; index 3 serves the odd-parity lookups of axis 2.
  static const int next[4] = {1, 2, 0, 1};
  EulerAxes e;
  e.i = convention & 15;
  // Reading next[] with a first axis of 3 or more would run past the table.
  if (e.i >= 3) GeReportSites::eulerFirstAxis.raise();
  e.oddParity = (convention & 16) != 0;
  e.repetition = (convention & 32) != 0;
  e.rotating = (convention & 64) != 0;
  const int parity = e.oddParity ? 1 : 0;
  e.j = next[e.i + parity];
  e.k = next[e.i + 1 - parity];
  return e;
}

// Answered once; false too when the operating system does not save the wider registers.
bool processorHasAvx2Fma() noexcept {
#if (defined(__x86_64__) || defined(__i386__)) && !defined(VO_NO_SIMD)
  static const bool has = __builtin_cpu_supports("avx2") != 0 && __builtin_cpu_supports("fma") != 0;
  return has;
#else
  return false;
#endif
}

// The three angles' sines and cosines, as sinCosInDouble computes them, in s[0..2] and c[0..2]
// (four places each, for the kernel's whole-register stores). In float the AVX2 kernel answers
// the lanes it can prove to round alike and the system functions the rest.
template <class T>
inline void sinCosInDouble3(const T (&t)[3], T (&s)[4], T (&c)[4]) {
  for (int n = 0; n < 3; ++n) sinCosInDouble(t[n], s[n], c[n]);
}

// The lanes the kernel leaves over (values too near a float rounding midpoint, angles outside its
// range): rare, so kept out of line, and the other calls read the kernel's stores directly.
// The angles come by value: the kernel takes them from registers, and an array here would route
// them through memory before it.
[[gnu::noinline, gnu::cold]] void sinCosLeftOver(float a, float b, float c, unsigned rest,
                                                 float (&sines)[4], float (&cosines)[4]) {
  const float t[3] = {a, b, c};
  for (int n = 0; n < 3; ++n) {
    if ((rest >> n) & 1u) sinCosInDouble(t[n], sines[n], cosines[n]);
  }
}

template <>
inline void sinCosInDouble3(const float (&t)[3], float (&s)[4], float (&c)[4]) {
  if (!processorHasAvx2Fma()) {
    for (int n = 0; n < 3; ++n) sinCosInDouble(t[n], s[n], c[n]);
    return;
  }
  const unsigned rest = EulerSinCos::sinCosAvx2(t[0], t[1], t[2], s, c);
  if (rest != 0) sinCosLeftOver(t[0], t[1], t[2], rest, s, c);
}

// Writes a matrix given as rows r[0..2], r[3..5], r[6..8]. In float the first eight entries go
// out as two 16-byte stores, from which a caller's copy of the matrix in 16-byte pieces can be
// forwarded; nine 4-byte stores would make each such load wait until they reach the cache.
template <class T>
inline void storeRows(GeLinearMatrix3<T>& m, const T (&r)[9]) {
  for (int n = 0; n < 9; ++n) m(n / 3, n % 3) = r[n];
}

#if defined(__SSE2__) && !defined(VO_NO_SIMD)
template <>
inline void storeRows(GeLinearMatrix3<float>& m, const float (&r)[9]) {
  float* out = &m(0, 0);
  _mm_storeu_ps(out, _mm_setr_ps(r[0], r[1], r[2], r[3]));
  _mm_storeu_ps(out + 4, _mm_setr_ps(r[4], r[5], r[6], r[7]));
  out[8] = r[8];
}
#endif

// m(axis[p], axis[q]) = v[p][q] for the axis order (I, J, K), with the positions known here, so
// that the entries can be arranged in registers.
template <int I, int J, int K, class T>
inline void storePermuted(GeLinearMatrix3<T>& m, const T (&v)[3][3]) {
  T r[9];
  r[3 * I + I] = v[0][0], r[3 * I + J] = v[0][1], r[3 * I + K] = v[0][2];
  r[3 * J + I] = v[1][0], r[3 * J + J] = v[1][1], r[3 * J + K] = v[1][2];
  r[3 * K + I] = v[2][0], r[3 * K + J] = v[2][1], r[3 * K + K] = v[2][2];
  storeRows(m, r);
}

template <class T>
inline void storePermuted(GeLinearMatrix3<T>& m, const EulerAxes& e, const T (&v)[3][3]) {
  switch (3 * e.i + e.j) {
    case 1:
      return storePermuted<0, 1, 2>(m, v);
    case 2:
      return storePermuted<0, 2, 1>(m, v);
    case 3:
      return storePermuted<1, 0, 2>(m, v);
    case 5:
      return storePermuted<1, 2, 0>(m, v);
    case 6:
      return storePermuted<2, 0, 1>(m, v);
    default:
      return storePermuted<2, 1, 0>(m, v);
  }
}

}  // namespace

template <class T>
GeQuaternion3<T> GeQuaternion3<T>::makeRotation(T angle, const GeVector3<T>& axis) noexcept {
  const GeVector3<T> u = axis.normalized();
  const T half = angle / 2;
  return GeQuaternion3(u * GeScalar<T>::sin(half), GeScalar<T>::cos(half));
}

template <class T>
void GeQuaternion3<T>::getMatrix(GeAffineMatrix3<T>& m) const noexcept {
  GeLinearMatrix3<T> r;
  getMatrix(r);
  for (int i = 0; i < 3; ++i) {
    for (int c = 0; c < 3; ++c) m(i, c) = r(i, c);
    m(i, 3) = 0;
  }
}

template <class T>
void GeQuaternion3<T>::getMatrix(GeProjectiveMatrix3<T>& m) const noexcept {
  GeLinearMatrix3<T> r;
  getMatrix(r);
  for (int i = 0; i < 3; ++i) {
    for (int c = 0; c < 3; ++c) m(i, c) = r(i, c);
    m(i, 3) = 0;
    m(3, i) = 0;
  }
  m(3, 3) = 1;
}

template <class T>
void GeQuaternion3<T>::aim(const GeVector3<T>& from, const GeVector3<T>& to) noexcept {
  const T k = T(1) / (from.length() * to.length());
  const T c = dot(from, to) * k;
  const GeVector3<T> cr = cross(from, to);
  // Opposite directions first: their cross product carries no axis, so any perpendicular of
  // `from` serves for the half turn.
  if (isNear(c, T(-1))) {
    *this = makeRotation(pi, perpendicular(from));
  } else if (isNear(c, T(1))) {
    *this = GeQuaternion3();
  } else {
    // atan2 of sine and cosine keeps full accuracy near 0 and π, where acos(c) would not.
    *this = makeRotation(GeScalar<T>::atan2(cr.length() * k, c), cr);
  }
}

template <class T>
void GeQuaternion3<T>::aim(const GeVector3<T>& direction, const GePlane3<T>& plane) noexcept {
  GeVector3<T> dn = direction;
  if (dn.normalize() == T(0)) return;
  GeVector3<T> pn = plane.normal;
  if (pn.normalize() == T(0)) return;
  const GeVector3<T> axis = cross(pn, dn);
  const T c = dot(pn, dn);
  if (!isNear(c, T(1)) && !isNear(c, T(-1))) {
    // The angle between the direction and the plane is π/2 minus its angle to the normal.
    *this = makeRotation(halfPi<T>() - GeScalar<T>::acos(c), axis);
  } else {
    *this = makeRotation(halfPi<T>(), perpendicular(pn));
  }
}

template <class T>
GeQuaternion3<T> GeQuaternion3<T>::exp(const GeQuaternion3& q) noexcept {
  const T theta = GeScalar<T>::sqrt(q.x * q.x + q.y * q.y + q.z * q.z);
  const T sine = GeScalar<T>::sin(theta);
  const T cosine = GeScalar<T>::cos(theta);
  if (sine > epsilon) {
    return GeQuaternion3(q.x * sine / theta, q.y * sine / theta, q.z * sine / theta, cosine);
  }
  // sin θ / θ is 1 to within the cut-off.
  return GeQuaternion3(q.x, q.y, q.z, cosine);
}

template <class T>
GeQuaternion3<T> GeQuaternion3<T>::log(const GeQuaternion3& q) noexcept {
  const GeQuaternion3 u = q.normalized();
  if (GeScalar<T>::abs(u.w) < T(1) - epsilon) {
    const T theta = GeScalar<T>::acos(u.w);
    const T s = GeScalar<T>::sin(theta);
    if (GeScalar<T>::abs(s) >= epsilon) {
      return GeQuaternion3(u.x * theta / s, u.y * theta / s, u.z * theta / s, 0);
    }
  }
  // θ / sin θ is 1 to within the cut-off.
  return GeQuaternion3(u.x, u.y, u.z, 0);
}

template <class T>
GeQuaternion3<T> GeQuaternion3<T>::squad(const GeQuaternion3& p, const GeQuaternion3& a,
                                         const GeQuaternion3& b, const GeQuaternion3& q,
                                         T t) noexcept {
  const GeQuaternion3 u = slerp(p, q, t, 0);
  const GeQuaternion3 v = slerp(a, b, t, 0);
  return slerp(u, v, 2 * t * (1 - t), 0);
}

template <class T>
void GeQuaternion3<T>::computeIntermediates(const GeQuaternion3& q0, const GeQuaternion3& q1,
                                            const GeQuaternion3& q2, GeQuaternion3& first,
                                            GeQuaternion3& second) noexcept {
  const GeQuaternion3 inv0 = q0.computeInverse().normalized();
  const GeQuaternion3 unit1 = q1.normalized();
  const GeQuaternion3 inv1 = q1.computeInverse();
  const GeQuaternion3 unit2 = q2.normalized();
  const GeQuaternion3 l1 = log(inv0 * unit1);
  const GeQuaternion3 l2 = log(inv1 * unit2);
  const GeQuaternion3 d = (l1 - l2) * T(0.25);
  first = unit1 * exp(d);
  second = unit1 * exp(-d);
}

template <class T>
bool GeQuaternion3<T>::isShortestGreatCircle(const GeQuaternion3& p,
                                             const GeQuaternion3& q) noexcept {
  return (p + q).lengthSquared() >= (p - q).lengthSquared();
}

template <class T>
GeQuaternion3<T> GeQuaternion3<T>::bisect(const GeQuaternion3& p, const GeQuaternion3& q) noexcept {
  return (p + q).normalized();
}

template <class T>
GeQuaternion3<T> GeQuaternion3<T>::doub(const GeQuaternion3& p, const GeQuaternion3& q) noexcept {
  const T k = 2 * dot(p, q);
  return GeQuaternion3(k * q.x - p.x, k * q.y - p.y, k * q.z - p.z, k * q.w - p.w);
}

template <class T>
void GeQuaternion3<T>::eulerToMatrix(GeLinearMatrix3<T>& m, EulerConvention convention, T a, T b,
                                     T c) {
  const EulerAxes e = decodeConvention(convention);
  T ti = a, tj = b, th = c;
  if (e.rotating) {
    ti = c;
    th = a;
  }
  if (e.oddParity) {
    ti = -ti;
    tj = -tj;
    th = -th;
  }
  const T angles[3] = {ti, tj, th};
  T sines[4], cosines[4];
  sinCosInDouble3(angles, sines, cosines);
  const T si = sines[0], sj = sines[1], sh = sines[2];
  const T ci = cosines[0], cj = cosines[1], ch = cosines[2];
  const T cc = ci * ch, cs = ci * sh, sc = si * ch, ss = si * sh;
  // v[p][q] is the entry in row axis p, column axis q of the order (i, j, k).
  T v[3][3];
  if (!e.repetition) {
    v[0][0] = cj * ch;
    v[0][1] = sj * sc - cs;
    v[0][2] = sj * cc + ss;
    v[1][0] = cj * sh;
    v[1][1] = sj * ss + cc;
    v[1][2] = sj * cs - sc;
    v[2][0] = -sj;
    v[2][1] = cj * si;
    v[2][2] = cj * ci;
  } else {
    v[0][0] = cj;
    v[0][1] = sj * si;
    v[0][2] = sj * ci;
    v[1][0] = sj * sh;
    v[1][1] = -cj * ss + cc;
    v[1][2] = -cj * cs - sc;
    v[2][0] = -sj * ch;
    v[2][1] = cj * sc + cs;
    v[2][2] = cj * cc - ss;
  }
  storePermuted(m, e, v);
}

template <class T>
void GeQuaternion3<T>::matrixToEuler(const GeLinearMatrix3<T>& m, EulerConvention convention, T& a,
                                     T& b, T& c) {
  const EulerAxes e = decodeConvention(convention);
  const int i = e.i, j = e.j, k = e.k;
  // Below this cosine (sine for repeated sequences) of the middle angle the first and third
  // axes are too close to parallel to separate their turns; the threshold keeps the outer
  // angles stable at the precision of T.
  const T threshold = sizeof(T) == sizeof(float) ? static_cast<T>(0.0016f) : static_cast<T>(1.6e-6);
  T ra, rb, rc;
  if (!e.repetition) {
    const T cy = GeScalar<T>::sqrt(m(i, i) * m(i, i) + m(j, i) * m(j, i));
    if (cy > threshold) {
      ra = GeScalar<T>::atan2(m(k, j), m(k, k));
      rb = GeScalar<T>::atan2(-m(k, i), cy);
      rc = GeScalar<T>::atan2(m(j, i), m(i, i));
    } else {
      ra = GeScalar<T>::atan2(-m(j, k), m(j, j));
      rb = GeScalar<T>::atan2(-m(k, i), cy);
      rc = 0;
    }
  } else {
    const T sy = GeScalar<T>::sqrt(m(i, j) * m(i, j) + m(i, k) * m(i, k));
    if (sy > threshold) {
      ra = GeScalar<T>::atan2(m(i, j), m(i, k));
      rb = GeScalar<T>::atan2(sy, m(i, i));
      rc = GeScalar<T>::atan2(m(j, i), -m(k, i));
    } else {
      ra = GeScalar<T>::atan2(-m(j, k), m(j, j));
      rb = GeScalar<T>::atan2(sy, m(i, i));
      rc = 0;
    }
  }
  if (e.oddParity) {
    ra = -ra;
    rb = -rb;
    rc = -rc;
  }
  if (e.rotating) {
    const T t = ra;
    ra = rc;
    rc = t;
  }
  a = ra;
  b = rb;
  c = rc;
}

template <class T>
void GeQuaternion3<T>::setEuler(EulerConvention convention, T a, T b, T c) {
  const EulerAxes e = decodeConvention(convention);
  T ti = a, tj = b, th = c;
  if (e.rotating) {
    ti = c;
    th = a;
  }
  if (e.oddParity) tj = -tj;
  ti = ti / 2;
  tj = tj / 2;
  th = th / 2;
  T ci, cj, ch, si, sj, sh;
  sinCosInDouble(ti, si, ci);
  sinCosInDouble(tj, sj, cj);
  sinCosInDouble(th, sh, ch);
  const T cc = ci * ch, cs = ci * sh, sc = si * ch, ss = si * sh;
  T v[3];
  if (!e.repetition) {
    v[e.i] = cj * sc - sj * cs;
    v[e.j] = cj * ss + sj * cc;
    v[e.k] = cj * cs - sj * sc;
    w = cj * cc + sj * ss;
  } else {
    v[e.i] = cj * (cs + sc);
    v[e.j] = sj * (cc + ss);
    v[e.k] = sj * (cs - sc);
    w = cj * (cc - ss);
  }
  if (e.oddParity) v[e.j] = -v[e.j];
  x = v[0];
  y = v[1];
  z = v[2];
}

template <class T>
void GeQuaternion3<T>::getEuler(EulerConvention convention, T& a, T& b, T& c) const {
  GeLinearMatrix3<T> m;
  getMatrix(m);
  matrixToEuler(m, convention, a, b, c);
}

template <class T>
std::ostream& GeQuaternion3<T>::dump(std::ostream& os) const {
  return os << "[(" << x << ", " << y << ", " << z << "), " << w << "]";
}

template <class T>
std::istream& GeQuaternion3<T>::read(std::istream& is) {
  // Every piece is extracted even after a failure (a failed stream extracts nothing more), and
  // the text is judged once at the end, so a partial value is never stored.
  char open = 0, openVector = 0, comma1 = 0, comma2 = 0, closeVector = 0, comma3 = 0, close = 0;
  T c[4];
  is >> open >> openVector >> c[0] >> comma1 >> c[1] >> comma2 >> c[2] >> closeVector >> comma3 >>
      c[3] >> close;
  const bool accepted = !is.fail() && open == '[' && openVector == '(' && comma1 == ',' &&
                        comma2 == ',' && closeVector == ')' && comma3 == ',' && close == ']';
  if (accepted) {
    *this = GeQuaternion3(c[0], c[1], c[2], c[3]);
  } else {
    is.setstate(std::ios::failbit);
  }
  return is;
}

template class GeQuaternion3<float>;
template class GeQuaternion3<double>;

}  // namespace Vo
