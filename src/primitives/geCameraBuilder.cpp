#include <vezODedizezivuz/geCameraBuilder.h>
#include <vezODedizezivuz/geScalar.h>

namespace Vo {

namespace {

// The constants that differ between the instantiations. The float values are the floats
// nearest to the decimal values (1e-4: 0x38D1B717, π: 0x40490FDB, π − 0.001: 0x4048FF78).
template <class T>
struct CameraConstants;

template <>
struct CameraConstants<float> {
  static constexpr float epsilon = 1e-4f;
  static constexpr float angleLimit = 3.14159274f;
  static constexpr float clampedAngle = 3.14059258f;
};

template <>
struct CameraConstants<double> {
  static constexpr double epsilon = 1e-7;
  static constexpr double angleLimit = 3.141592653589793;
  static constexpr double clampedAngle = 3.1405926535897932;
};

// A negative angle becomes 0; π or more stays just below π so that the tangent of the half
// angle remains finite and positive.
template <class T>
T clampAngle(T fieldOfView) noexcept {
  T a = fieldOfView;
  if (T(0) > a) {
    a = T(0);
  } else if (a >= CameraConstants<T>::angleLimit) {
    a = CameraConstants<T>::clampedAngle;
  }
  return a;
}

// Distances, their sum and difference, and the aspect ratio with every degenerate value
// replaced, in the order the replacements depend on each other.
template <class T>
struct Frame {
  T n, f, sum, diff, aspect;

  Frame(T nearDistance, T farDistance, T aspectRatio) noexcept {
    constexpr T eps = CameraConstants<T>::epsilon;
    f = farDistance > T(0) ? farDistance : eps;
    n = nearDistance > T(0) ? nearDistance : eps;
    sum = n + f;
    diff = f - n;
    aspect = GeScalar<T>::isNegligible(aspectRatio) ? eps : aspectRatio;
    // Adding rather than replacing keeps a tiny non-zero sum or difference's sign and size
    // visible while moving it away from the division by (almost) zero.
    if (GeScalar<T>::isNegligible(sum)) sum = sum + T(0.5);
    if (GeScalar<T>::isNegligible(diff)) diff = diff + T(0.5);
  }
};

// The projections set only a few elements; every other one is 0.
template <class T>
GeProjectiveMatrix3<T> zeroMatrix() noexcept {
  GeProjectiveMatrix3<T> m;
  T* e = m.data();
  for (int i = 0; i < 16; ++i) e[i] = T(0);
  return m;
}

}  // namespace

template <class T>
T GeCameraBuilder<T>::computeOrthoRadius(T fieldOfView, T distance) noexcept {
  const T a = clampAngle(fieldOfView);
  T r = GeScalar<T>::tan(a * T(0.5)) * distance;
  if (T(0) >= r) r = CameraConstants<T>::epsilon;
  return r;
}

template <class T>
GeProjectiveMatrix3<T> GeCameraBuilder<T>::makePerspective(T fieldOfView, T nearDistance,
                                                           T farDistance, T aspectRatio) noexcept {
  const T a = clampAngle(fieldOfView);
  const Frame<T> v(nearDistance, farDistance, aspectRatio);
  T k = T(1) / GeScalar<T>::tan(a * T(0.5));
  if (GeScalar<T>::isNegligible(k)) k = CameraConstants<T>::epsilon;
  const T inv = T(1) / v.diff;
  GeProjectiveMatrix3<T> m = zeroMatrix<T>();
  m(0, 0) = k / v.aspect;
  m(1, 1) = k;
  m(2, 2) = -(inv * v.sum);
  m(2, 3) = v.f * T(-2) * v.n * inv;
  m(3, 2) = T(-1);
  return m;
}

template <class T>
GeProjectiveMatrix3<T> GeCameraBuilder<T>::makeOrthographic(T fieldOfView, T nearDistance,
                                                            T farDistance, T aspectRatio) noexcept {
  const Frame<T> v(nearDistance, farDistance, aspectRatio);
  // The raw near distance: a non-positive one yields the fallback radius, not ε·tan.
  const T s = T(1) / computeOrthoRadius(fieldOfView, nearDistance);
  const T inv = T(1) / v.diff;
  GeProjectiveMatrix3<T> m = zeroMatrix<T>();
  m(0, 0) = s / v.aspect;
  m(1, 1) = s;
  m(2, 2) = inv * T(-2);
  m(2, 3) = -(inv * v.sum);
  m(3, 3) = T(1);
  return m;
}

template class GeCameraBuilder<float>;
template class GeCameraBuilder<double>;

}  // namespace Vo
