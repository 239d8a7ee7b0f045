#pragma once

/// @file
/// `GeTolerances`: a length, an angle and a relative tolerance, with derived values stored so
/// that no comparison takes a square root or a trigonometric function.

#include <vezODedizezivuz/geVector.h>
#include <vezODedizezivuz/vezODedizezivuzExport.h>

namespace Vo {

/// Three-way comparisons within a length tolerance L, an angle tolerance A (radians) and a
/// relative tolerance F, for float. Comparisons return -1, 0 or 1 (first smaller, equal within
/// tolerance, larger); a difference exactly equal to the tolerance compares equal.
class VO_EXPORT GeTolerances {
 public:
  /// L = 0.0005, A = 0.0001 rad, F = 1e-7, with the derived values bit-exact as documented
  /// (cos A rounds to exactly 1.0f, so `cosineIsOne` holds only for c >= 1).
  GeTolerances() noexcept;

  float getLengthTolerance() const noexcept { return lengthTol; }
  float getAngleTolerance() const noexcept { return angleTol; }
  float getFractionTolerance() const noexcept { return fractionTol; }

  /// The stored derived values, for hosts that compare in the same squared or cosine forms.
  float getLengthToleranceSquared() const noexcept { return lengthTolSquared; }
  float getLengthToleranceFourth() const noexcept { return lengthTolFourth; }
  float getCosAngleTolerance() const noexcept { return cosAngleTol; }
  float getCosAngleToleranceSquared() const noexcept { return cosAngleTolSquared; }
  float getSinAngleTolerance() const noexcept { return sinAngleTol; }
  float getTwiceFractionTolerance() const noexcept { return twiceFractionTol; }
  float getFractionToleranceSquaredPlusOne() const noexcept { return fractionTolSquaredPlusOne; }

  /// Stores L, L·L and (L·L)·(L·L), all float products.
  void setLengthTolerance(float length) noexcept;
  /// Stores A and cos A, (cos A)², sin A computed in double from A and rounded to float.
  void setAngleTolerance(float angle) noexcept;
  /// Stores F, 2·F and F·F + 1.
  void setFractionTolerance(float fraction) noexcept;

  int compareLength(float a, float b) const noexcept;
  int compareLengthToZero(float a) const noexcept;
  /// Compares √a and √b within L without a square root; a and b are squared lengths.
  int compareLengthSquared(float a, float b) const noexcept;
  bool lengthSquaredIsZero(float a) const noexcept { return lengthTolSquared >= a; }

  int compareAngle(float a, float b) const noexcept;
  /// Compares the angles (not the values) whose cosines are c1 and c2: -1 when the first angle
  /// is the smaller, that is when c1 > c2 by more than the tolerance allows.
  int compareCosine(float c1, float c2) const noexcept;
  int compareCosineToZero(float c) const noexcept;
  bool cosineIsOne(float c) const noexcept { return c >= cosAngleTol; }
  bool cosineIsMinusOne(float c) const noexcept { return -c >= cosAngleTol; }

  /// Compares a and b within F times the larger magnitude.
  int compareFraction(float a, float b) const noexcept;
  /// Compares x and y within F where a = x² and b = y² (x, y >= 0).
  int compareFractionSquared(float a, float b) const noexcept;

  /// True when the squared distance is at most L·L.
  bool samePoint(const GePoint3<float>& p, const GePoint3<float>& q) const noexcept;
  bool samePoint(const GePoint2<float>& p, const GePoint2<float>& q) const noexcept;
  bool sameVector(const GeVector3<float>& u, const GeVector3<float>& v) const noexcept;
  bool sameVector(const GeVector2<float>& u, const GeVector2<float>& v) const noexcept;
  /// Compares the 3D points h1/w1 and h2/w2; a coordinate with w = 0 is the same as nothing.
  bool sameVector(const GeHomogeneousCoord3<float>& h1,
                  const GeHomogeneousCoord3<float>& h2) const noexcept;

 private:
  static int compareWithin(float a, float b, float tolerance) noexcept;

  float lengthTol;
  float lengthTolSquared;
  float lengthTolFourth;
  float angleTol;
  float cosAngleTol;
  float cosAngleTolSquared;
  float sinAngleTol;
  float fractionTol;
  float twiceFractionTol;
  float fractionTolSquaredPlusOne;
};

}  // namespace Vo
