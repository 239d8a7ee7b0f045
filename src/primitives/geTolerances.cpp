#include <vezODedizezivuz/geTolerances.h>

#include <cmath>

namespace Vo {

GeTolerances::GeTolerances() noexcept {
  // The setters derive the squares, the cosine and the doubled fraction; the defaults are the
  // floats nearest to the decimal values, and their derived values are the documented bits.
  setLengthTolerance(0.0005f);
  setAngleTolerance(0.0001f);
  setFractionTolerance(1e-7f);
}

void GeTolerances::setLengthTolerance(float length) noexcept {
  lengthTol = length;
  lengthTolSquared = length * length;
  lengthTolFourth = lengthTolSquared * lengthTolSquared;
}

void GeTolerances::setAngleTolerance(float angle) noexcept {
  // In double, and the square from the unrounded cosine, so that the derived values are the
  // correctly rounded ones rather than products of already rounded floats.
  const double cosine = std::cos(static_cast<double>(angle));
  angleTol = angle;
  cosAngleTol = static_cast<float>(cosine);
  cosAngleTolSquared = static_cast<float>(cosine * cosine);
  sinAngleTol = static_cast<float>(std::sin(static_cast<double>(angle)));
}

void GeTolerances::setFractionTolerance(float fraction) noexcept {
  fractionTol = fraction;
  twiceFractionTol = fraction * 2.0f;
  fractionTolSquaredPlusOne = fraction * fraction + 1.0f;
}

int GeTolerances::compareWithin(float a, float b, float tolerance) noexcept {
  if (a > b) return a - b > tolerance ? 1 : 0;
  return b - a > tolerance ? -1 : 0;
}

int GeTolerances::compareLength(float a, float b) const noexcept {
  return compareWithin(a, b, lengthTol);
}

int GeTolerances::compareLengthToZero(float a) const noexcept {
  if (a > lengthTol) return 1;
  if (-a > lengthTol) return -1;
  return 0;
}

int GeTolerances::compareLengthSquared(float a, float b) const noexcept {
  const float sum = a + b;
  if (lengthTolSquared >= sum) return 0;
  // |√a − √b| <= L squared out twice: 2·L²·(a + b) >= (a − b)² + L⁴.
  const float difference = a - b;
  if (lengthTolSquared * 2.0f * sum >= difference * difference + lengthTolFourth) return 0;
  return a > b ? 1 : -1;
}

int GeTolerances::compareAngle(float a, float b) const noexcept {
  return compareWithin(a, b, angleTol);
}

int GeTolerances::compareCosine(float c1, float c2) const noexcept {
  // cos(θ1 − θ2) >= cos A rearranged so that no sine is needed; double keeps the sum of
  // squares from cancelling near 1.
  const double d1 = c1;
  const double d2 = c2;
  const double cosA = cosAngleTol;
  const double s = d1 * d1 + static_cast<double>(cosAngleTolSquared) + d2 * d2;
  if (d2 * (d1 + d1) * cosA + 1.0 >= s) return 0;
  return c1 > c2 ? -1 : 1;
}

int GeTolerances::compareCosineToZero(float c) const noexcept {
  if (c > sinAngleTol) return 1;
  if (-sinAngleTol > c) return -1;
  return 0;
}

int GeTolerances::compareFraction(float a, float b) const noexcept {
  const float absA = FloatUtil::abs(a);
  const float absB = FloatUtil::abs(b);
  return compareWithin(a, b, fractionTol * (absA > absB ? absA : absB));
}

int GeTolerances::compareFractionSquared(float a, float b) const noexcept {
  if (a > b) return fractionTolSquaredPlusOne * a - b > twiceFractionTol * a ? 1 : 0;
  return fractionTolSquaredPlusOne * b - a > twiceFractionTol * b ? -1 : 0;
}

bool GeTolerances::samePoint(const GePoint3<float>& p, const GePoint3<float>& q) const noexcept {
  return lengthTolSquared >= (p - q).lengthSquared();
}

bool GeTolerances::samePoint(const GePoint2<float>& p, const GePoint2<float>& q) const noexcept {
  return lengthTolSquared >= (p - q).lengthSquared();
}

bool GeTolerances::sameVector(const GeVector3<float>& u, const GeVector3<float>& v) const noexcept {
  return lengthTolSquared >= (u - v).lengthSquared();
}

bool GeTolerances::sameVector(const GeVector2<float>& u, const GeVector2<float>& v) const noexcept {
  return lengthTolSquared >= (u - v).lengthSquared();
}

bool GeTolerances::sameVector(const GeHomogeneousCoord3<float>& h1,
                              const GeHomogeneousCoord3<float>& h2) const noexcept {
  const float inv1 = 1.0f / h1.w;
  const float inv2 = 1.0f / h2.w;
  return samePoint(GePoint3<float>(h1.x * inv1, h1.y * inv1, h1.z * inv1),
                   GePoint3<float>(h2.x * inv2, h2.y * inv2, h2.z * inv2));
}

}  // namespace Vo
