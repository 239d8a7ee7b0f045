#pragma once

/// @file
/// RGB, HSV and spectral colours.

#include <vezODedizezivuz/geScalar.h>
#include <vezODedizezivuz/vezODedizezivuzExport.h>

#include <cmath>
#include <istream>
#include <limits>
#include <ostream>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Vo {

namespace CoDetail {

// a / d and b / d. In double both quotients come from one packed SSE2 division, which yields
// the IEEE quotient in each lane, so the values are those of two scalar divisions; in float two
// scalar divisions were faster than packing.
inline void dividePair(float a, float b, float d, float& qa, float& qb) noexcept {
  qa = a / d;
  qb = b / d;
}
inline void dividePair(double a, double b, double d, double& qa, double& qb) noexcept {
#if defined(__SSE2__)
  const __m128d q = _mm_div_pd(_mm_set_pd(b, a), _mm_set1_pd(d));
  qa = _mm_cvtsd_f64(q);
  qb = _mm_cvtsd_f64(_mm_unpackhi_pd(q, q));
#else
  qa = a / d;
  qb = b / d;
#endif
}

}  // namespace CoDetail

template <class T>
class CoHsvColorT;

/// A colour as red, green and blue. T is float or double.
///
/// Components are not clamped: values outside [0, 1] pass through every operation. Text is the
/// three numbers separated by single blanks, nothing around them.
template <class T>
class VO_EXPORT CoRgbColorT {
 public:
  CoRgbColorT() = default;
  constexpr CoRgbColorT(T red, T green, T blue) noexcept : c{red, green, blue} {}

  /// Component 0, 1 or 2 (red, green, blue).
  constexpr T& operator[](int i) noexcept { return c[i]; }
  constexpr const T& operator[](int i) const noexcept { return c[i]; }
  constexpr T& red() noexcept { return c[0]; }
  constexpr const T& red() const noexcept { return c[0]; }
  constexpr T& green() noexcept { return c[1]; }
  constexpr const T& green() const noexcept { return c[1]; }
  constexpr T& blue() noexcept { return c[2]; }
  constexpr const T& blue() const noexcept { return c[2]; }

  /// Each component raised to the power `gamma` (not 1/gamma).
  CoRgbColorT gammaCorrect(T gamma) const noexcept {
    return CoRgbColorT(GeScalar<T>::pow(c[0], gamma), GeScalar<T>::pow(c[1], gamma),
                       GeScalar<T>::pow(c[2], gamma));
  }

  friend constexpr CoRgbColorT operator+(const CoRgbColorT& a, const CoRgbColorT& b) noexcept {
    return CoRgbColorT(a.c[0] + b.c[0], a.c[1] + b.c[1], a.c[2] + b.c[2]);
  }
  friend constexpr CoRgbColorT operator-(const CoRgbColorT& a, const CoRgbColorT& b) noexcept {
    return CoRgbColorT(a.c[0] - b.c[0], a.c[1] - b.c[1], a.c[2] - b.c[2]);
  }
  /// Component-wise product, as when a light filters a surface colour.
  friend constexpr CoRgbColorT operator*(const CoRgbColorT& a, const CoRgbColorT& b) noexcept {
    return CoRgbColorT(a.c[0] * b.c[0], a.c[1] * b.c[1], a.c[2] * b.c[2]);
  }
  friend constexpr CoRgbColorT operator*(const CoRgbColorT& a, T s) noexcept {
    return CoRgbColorT(a.c[0] * s, a.c[1] * s, a.c[2] * s);
  }
  friend constexpr CoRgbColorT operator*(T s, const CoRgbColorT& a) noexcept { return a * s; }
  friend constexpr bool operator==(const CoRgbColorT& a, const CoRgbColorT& b) noexcept {
    return a.c[0] == b.c[0] && a.c[1] == b.c[1] && a.c[2] == b.c[2];
  }
  friend constexpr bool operator!=(const CoRgbColorT& a, const CoRgbColorT& b) noexcept {
    return !(a == b);
  }

  /// Writes "red green blue" with the stream's current formatting.
  std::ostream& dump(std::ostream& os) const;
  /// Reads three numbers. Changes nothing unless all three were read (end of input right after
  /// the third is fine); on failure the stream's error state tells.
  std::istream& read(std::istream& is);

  friend std::ostream& operator<<(std::ostream& os, const CoRgbColorT& color) {
    return color.dump(os);
  }
  friend std::istream& operator>>(std::istream& is, CoRgbColorT& color) { return color.read(is); }

 private:
  T c[3];
};

/// A colour as hue (degrees), saturation and value. T is float or double.
///
/// Converted from RGB the hue lies in [0, 360), the saturation in [0, 1] for components in
/// [0, 1], and the value is the largest RGB component. Any hue converts back to RGB: it is
/// first reduced into [0, 360) by whole turns.
template <class T>
class VO_EXPORT CoHsvColorT {
 public:
  CoHsvColorT() = default;
  constexpr CoHsvColorT(T hue, T saturation, T value) noexcept : c{hue, saturation, value} {}

  /// Component 0, 1 or 2 (hue, saturation, value).
  constexpr T& operator[](int i) noexcept { return c[i]; }
  constexpr const T& operator[](int i) const noexcept { return c[i]; }
  constexpr T& hue() noexcept { return c[0]; }
  constexpr const T& hue() const noexcept { return c[0]; }
  constexpr T& saturation() noexcept { return c[1]; }
  constexpr const T& saturation() const noexcept { return c[1]; }
  constexpr T& value() noexcept { return c[2]; }
  constexpr const T& value() const noexcept { return c[2]; }

  /// The HSV form of `rgb`. A grey (black included) has hue 0 and saturation 0. When two
  /// components tie for the largest, red wins over green and green over blue.
  static CoHsvColorT convertFromRgb(const CoRgbColorT<T>& rgb) noexcept;

  /// The RGB form. A saturation of 0 or less gives the grey of the value whatever the hue; a
  /// hue that is not finite gives NaN components.
  CoRgbColorT<T> convertToRgb() const noexcept;

  friend constexpr bool operator==(const CoHsvColorT& a, const CoHsvColorT& b) noexcept {
    return a.c[0] == b.c[0] && a.c[1] == b.c[1] && a.c[2] == b.c[2];
  }
  friend constexpr bool operator!=(const CoHsvColorT& a, const CoHsvColorT& b) noexcept {
    return !(a == b);
  }

  /// Writes "hue saturation value" with the stream's current formatting.
  std::ostream& dump(std::ostream& os) const;
  /// Reads three numbers, as `CoRgbColorT::read`.
  std::istream& read(std::istream& is);

  friend std::ostream& operator<<(std::ostream& os, const CoHsvColorT& color) {
    return color.dump(os);
  }
  friend std::istream& operator>>(std::istream& is, CoHsvColorT& color) { return color.read(is); }

 private:
  T c[3];
};

/// A spectrum of three samples. T is float or double.
template <class T>
class VO_EXPORT CoSpectrumT {
 public:
  CoSpectrumT() = default;
  constexpr CoSpectrumT(T s0, T s1, T s2) noexcept : c{s0, s1, s2} {}

  /// Sample 0, 1 or 2.
  constexpr T& operator[](int i) noexcept { return c[i]; }
  constexpr const T& operator[](int i) const noexcept { return c[i]; }

  friend constexpr CoSpectrumT operator+(const CoSpectrumT& a, const CoSpectrumT& b) noexcept {
    return CoSpectrumT(a.c[0] + b.c[0], a.c[1] + b.c[1], a.c[2] + b.c[2]);
  }
  /// Sample-wise product.
  friend constexpr CoSpectrumT operator*(const CoSpectrumT& a, const CoSpectrumT& b) noexcept {
    return CoSpectrumT(a.c[0] * b.c[0], a.c[1] * b.c[1], a.c[2] * b.c[2]);
  }
  friend constexpr CoSpectrumT operator*(const CoSpectrumT& a, T s) noexcept {
    return CoSpectrumT(a.c[0] * s, a.c[1] * s, a.c[2] * s);
  }
  friend constexpr bool operator==(const CoSpectrumT& a, const CoSpectrumT& b) noexcept {
    return a.c[0] == b.c[0] && a.c[1] == b.c[1] && a.c[2] == b.c[2];
  }
  friend constexpr bool operator!=(const CoSpectrumT& a, const CoSpectrumT& b) noexcept {
    return !(a == b);
  }

  /// Writes the three samples separated by blanks.
  std::ostream& dump(std::ostream& os) const;
  /// Reads three numbers, as `CoRgbColorT::read`.
  std::istream& read(std::istream& is);

  friend std::ostream& operator<<(std::ostream& os, const CoSpectrumT& s) { return s.dump(os); }
  friend std::istream& operator>>(std::istream& is, CoSpectrumT& s) { return s.read(is); }

 private:
  T c[3];
};

template <class T>
inline CoHsvColorT<T> CoHsvColorT<T>::convertFromRgb(const CoRgbColorT<T>& rgb) noexcept {
  const T r = rgb[0];
  const T g = rgb[1];
  const T b = rgb[2];
  T max = r;
  if (g > max) max = g;
  if (b > max) max = b;
  T min = r;
  if (min > g) min = g;
  if (min > b) min = b;
  if (min >= max) return CoHsvColorT(T(0), T(0), max);

  const T delta = max - min;
  const T s = delta / max;
  // Hue in sixths of a turn from the distances of the components below the largest, over
  // delta; only the two that a branch needs are formed. The comparisons run red, green, blue so
  // that red wins a tie for the largest component and green wins over blue. Each quotient lies
  // in [0, 1], so only the red sector can fall below zero and need a whole turn added.
  // The branch picks the two numerators; both quotients are then taken together.
  T h = T(0);
  T q1, q2;
  if (r == max) {
    CoDetail::dividePair(max - b, max - g, delta, q1, q2);
    h = q1 - q2;
    if (h < T(0)) h += T(6);
  } else if (g == max) {
    CoDetail::dividePair(max - r, max - b, delta, q1, q2);
    h = T(2) + q1 - q2;
  } else if (b == max) {
    CoDetail::dividePair(max - g, max - r, delta, q1, q2);
    h = T(4) + q1 - q2;
  }
  // The scaling to degrees is done in double for both precisions.
  return CoHsvColorT(static_cast<T>(static_cast<double>(h) * 60.0), s, max);
}

template <class T>
inline CoRgbColorT<T> CoHsvColorT<T>::convertToRgb() const noexcept {
  const T s = c[1];
  const T v = c[2];
  if (s <= T(0)) return CoRgbColorT<T>(v, v, v);

  T h = c[0];
  if (!(h >= T(0) && h < T(360))) {
    // fmod reduces by whole turns exactly; a tiny negative hue may round up to 360 when raised.
    h = std::fmod(h, T(360));
    if (h < T(0)) h += T(360);
    if (h >= T(360)) h -= T(360);
    if (!(h >= T(0))) {
      const T nan = std::numeric_limits<T>::quiet_NaN();
      return CoRgbColorT<T>(nan, nan, nan);
    }
  }
  // The sixth of a turn is the double 1/60 for both precisions; float keeps the rounded product.
  const T h6 = static_cast<T>(static_cast<double>(h) * (1.0 / 60.0));
  int sector = static_cast<int>(h6);
  if (sector > 5) sector = 5;
  const T f = h6 - static_cast<T>(sector);
  const T p = v * (T(1) - s);
  const T q = v * (T(1) - s * f);
  const T t = v * (T(1) - s * (T(1) - f));
  switch (sector) {
    case 0:
      return CoRgbColorT<T>(v, t, p);
    case 1:
      return CoRgbColorT<T>(q, v, p);
    case 2:
      return CoRgbColorT<T>(p, v, t);
    case 3:
      return CoRgbColorT<T>(p, q, v);
    case 4:
      return CoRgbColorT<T>(t, p, v);
    default:
      return CoRgbColorT<T>(v, p, q);
  }
}

extern template class CoRgbColorT<float>;
extern template class CoRgbColorT<double>;
extern template class CoHsvColorT<float>;
extern template class CoHsvColorT<double>;
extern template class CoSpectrumT<float>;
extern template class CoSpectrumT<double>;

}  // namespace Vo
