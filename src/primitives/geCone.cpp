#include <vezODedizezivuz/geCone.h>

#include <vezODedizezivuz/geReportSites.h>
#include <zevIRudez/FloatUtil.h>

namespace Vo {

namespace {

constexpr double doublePi = 3.141592653589793;

// Beyond this dot product (about 154 degrees) two cones are merged into a sphere rather than
// into a cone wider than a hemisphere on both sides.
constexpr double oppositeAxesDot = -0.9;

}  // namespace

bool GeFloatingCone::contains(const GeUnitVector3<float>& d) const noexcept {
  return dot(axis_, d) >= FloatUtil::cos(alpha_);
}

void GeFloatingCone::expand(const GeFloatingCone& other) {
  if (isSphere()) return;
  if (other.isSphere()) {
    alpha_ = sphereAlpha;
    return;
  }
  const GeUnitVector3<float>& a = axis_;
  const GeUnitVector3<float>& b = other.axis_;
  // Summed in double so that nearly opposite axes are told apart before rounding.
  const double exactDot = static_cast<double>(a.x) * b.x + static_cast<double>(a.y) * b.y +
                          static_cast<double>(a.z) * b.z;
  if (exactDot < oppositeAxesDot) {
    alpha_ = sphereAlpha;
    return;
  }
  float d = static_cast<float>(exactDot);
  if (d > 1.0f) d = 1.0f;
  if (d < -1.0f) d = -1.0f;

  const float alpha1 = alpha_;
  const float gamma = (FloatUtil::acos(d) + alpha1 + other.alpha_) * 0.5f;
  const float theta = gamma - alpha1;

  // The part of b perpendicular to a; parallel axes leave it zero and the axis unturned.
  const GeVector3<float> w = cross(cross(a, b), a).normalized();
  const GeVector3<float> turned = a * FloatUtil::cos(theta) + w * FloatUtil::sin(theta);

  alpha_ = gamma;
  GeUnitVector3<float> axis;
  const float len = axis.setNormalized(turned);
  if (!(len > 0.0f)) GeReportSites::floatingConeAxis.raise();
  axis_ = axis;
}

bool GeFloatingCone::isEqual(const GeFloatingCone& other, float tolerance,
                             float angleTolerance) const noexcept {
  return FloatUtil::isEqual(axis_.x, other.axis_.x, tolerance) &&
         FloatUtil::isEqual(axis_.y, other.axis_.y, tolerance) &&
         FloatUtil::isEqual(axis_.z, other.axis_.z, tolerance) &&
         FloatUtil::isEqual(alpha_, other.alpha_, angleTolerance);
}

std::ostream& GeFloatingCone::dump(std::ostream& os) const {
  os << "floatingCone( axis=";
  axis_.dump(os);
  return os << ", alpha=" << alpha_ << " )";
}

GeAnchoredCone::GeAnchoredCone(const GeFloatingCone& cone, const GePoint3<float>& basePoint,
                               float bottomRadius, float height) noexcept
    : cone_(cone),
      basePoint_(basePoint),
      bottomRadius_(bottomRadius),
      height_(height),
      tangent_(FloatUtil::tan(cone.getSemiAngle())) {}

GePoint3<float> GeAnchoredCone::getApex() const noexcept {
  return basePoint_ - getAxis() * getApexDistance();
}

GePoint3<float> GeAnchoredCone::getBackfacingApex() const noexcept {
  return basePoint_ - getAxis() * getBackfacingDistance();
}

GePoint3<float> GeAnchoredCone::getFrontfacingApex() const noexcept {
  return basePoint_ + getAxis() * getFrontfacingDistance();
}

bool GeAnchoredCone::isEqual(const GeAnchoredCone& other, float tolerance,
                             float angleTolerance) const noexcept {
  return basePoint_.isEqual(other.basePoint_, tolerance) &&
         FloatUtil::isEqual(bottomRadius_, other.bottomRadius_, tolerance) &&
         FloatUtil::isEqual(height_, other.height_, tolerance) &&
         FloatUtil::isEqual(tangent_, other.tangent_, angleTolerance);
}

float GeCullingCones::cosBetaOf(float alpha) noexcept {
  // Compared in double: the float nearest pi/2 lies above pi/2, so that half-angle (a cone
  // holding a whole hemisphere and a sliver more) leaves no culling cone.
  return 2.0 * static_cast<double>(alpha) > doublePi ? -1.0f : FloatUtil::sin(alpha);
}

GeCullingCones::GeCullingCones() noexcept
    : cone_(GeUnitVector3<float>(GeVector3<float>(0.0f, 0.0f, 1.0f)), GeFloatingCone::sphereAlpha),
      backfacingApex_(0.0f, 0.0f, 0.0f),
      frontfacingOffset_(0.0f),
      cosBeta_(-1.0f) {}

GeCullingCones::GeCullingCones(const GeAnchoredCone& cone) noexcept
    : cone_(cone.getFloatingCone()),
      backfacingApex_(cone.getBackfacingApex()),
      frontfacingOffset_(
          ((cone.getHeight() * cone.getTangent() + cone.getBottomRadius()) * cone.getTangent() +
           cone.getHeight()) +
          cone.getBottomRadius() * cone.getTangent()),
      cosBeta_(cosBetaOf(cone.getSemiAngle())) {}

GeCullingCones::GeCullingCones(const GeFloatingCone& cone, const GePoint3<float>& backfacingApex,
                               float frontfacingOffset) noexcept
    : cone_(cone),
      backfacingApex_(backfacingApex),
      frontfacingOffset_(frontfacingOffset),
      cosBeta_(cosBetaOf(cone.getSemiAngle())) {}

float GeCullingCones::getCullingSemiAngle() const noexcept {
  return cosBeta_ < 0.0f ? 0.0f : FloatUtil::acos(cosBeta_);
}

bool GeCullingCones::isBehind(const GePoint3<float>& p) const noexcept {
  // Written so that a NaN cos(beta) culls nothing.
  if (!(cosBeta_ >= 0.0f)) return false;
  GeVector3<float> v = backfacingApex_ - p;
  // A point on the apex is behind; normalize() reports it by the zero length.
  if (v.normalize() == 0.0f) return true;
  return dot(getAxis(), v) >= cosBeta_;
}

bool GeCullingCones::isInFront(const GePoint3<float>& p) const noexcept {
  if (cosBeta_ < 0.0f) return true;
  const GePoint3<float> frontApex = backfacingApex_ + getAxis() * frontfacingOffset_;
  GeVector3<float> v = p - frontApex;
  if (v.normalize() == 0.0f) return true;
  return dot(getAxis(), v) >= cosBeta_;
}

bool GeCullingCones::isEqual(const GeCullingCones& other, float tolerance,
                             float angleTolerance) const noexcept {
  return backfacingApex_.isEqual(other.backfacingApex_, tolerance) &&
         FloatUtil::isEqual(frontfacingOffset_, other.frontfacingOffset_, tolerance) &&
         FloatUtil::isEqual(cosBeta_, other.cosBeta_, angleTolerance);
}

std::ostream& GeCullingCones::dump(std::ostream& os) const {
  os << "cullingCones( backfacingApex=";
  backfacingApex_.dump(os);
  os << ", frontfacingOffset=" << frontfacingOffset_ << ", cosBeta=" << cosBeta_ << ", ";
  cone_.dump(os);
  return os << " )";
}

}  // namespace Vo
