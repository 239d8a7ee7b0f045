#pragma once

/// @file
/// Cones of directions and the culling cones of back-face culling for clusters of surface
/// elements (float only; angles in radians).
///
/// Recipe: bound the normals of a cluster with a `GeFloatingCone` (see `GeFloatingConeBuilder`),
/// place it over the cluster's points as a `GeAnchoredCone` (`GeAnchoredConeBuilder`), and build
/// `GeCullingCones` from that. A viewpoint for which `isBehind` holds sees every element of the
/// cluster from the back; one for which `isInFront` fails may see some from the back.

#include <vezODedizezivuz/geVector.h>
#include <vezODedizezivuz/vezODedizezivuzExport.h>

#include <ostream>

namespace Vo {

/// A cone of directions: a unit axis and a semi-angle alpha, not tied to any position.
///
/// alpha >= pi (compared in double) means the cone holds every direction (a sphere); the library
/// writes the float pi, `sphereAlpha`, for that, which lies just above the double pi.
class VO_EXPORT GeFloatingCone {
 public:
  /// The semi-angle stored for "every direction": the float nearest pi (bits 0x40490FDB).
  static constexpr float sphereAlpha = 3.14159265358979f;

  /// Stores `axis` and `alpha` unchanged; no range check on alpha.
  GeFloatingCone(const GeUnitVector3<float>& axis, float alpha) noexcept
      : axis_(axis), alpha_(alpha) {}

  const GeUnitVector3<float>& getAxis() const noexcept { return axis_; }
  float getSemiAngle() const noexcept { return alpha_; }

  /// alpha >= pi, compared in double so that only the float pi and above count as a sphere.
  bool isSphere() const noexcept { return static_cast<double>(alpha_) >= 3.141592653589793; }

  /// True when the angle between the axis and `d` is at most alpha: the float dot product is
  /// compared with `FloatUtil::cos(alpha)`, so directions on the rim are contained.
  bool contains(const GeUnitVector3<float>& d) const noexcept;

  /// Grows this cone to hold `other` as well.
  ///
  /// A sphere stays a sphere; expanding by a sphere, or by a cone whose axis is more than about
  /// 154 degrees away (axis dot product below -0.9, summed in double), makes this cone a sphere
  /// and keeps its axis. Otherwise the new semi-angle is (acos(a·b) + alpha1 + alpha2) / 2 and
  /// the axis turns towards `other` in the plane of the two axes, so that the rim touches the far
  /// rims of both cones. No test is made whether one cone already holds the other: then the
  /// result is narrower than this cone and turned away from `other`.
  ///
  /// A new axis of zero length is reported as "len > 0" (source "primitives\geFloatingCone",
  /// line 136); the new semi-angle is stored before the report and the axis is kept.
  void expand(const GeFloatingCone& other);

  /// Axis x, y, z within `tolerance`, then alpha within `angleTolerance` (`FloatUtil::isEqual`).
  bool isEqual(const GeFloatingCone& other, float tolerance, float angleTolerance) const noexcept;
  /// The four floats compared with `==`.
  bool isEqualExact(const GeFloatingCone& other) const noexcept {
    return axis_.x == other.axis_.x && axis_.y == other.axis_.y && axis_.z == other.axis_.z &&
           alpha_ == other.alpha_;
  }

  /// Writes "floatingCone( axis=(x, y, z), alpha=a )".
  std::ostream& dump(std::ostream& os) const;
  friend std::ostream& operator<<(std::ostream& os, const GeFloatingCone& c) { return c.dump(os); }

 private:
  GeUnitVector3<float> axis_;
  float alpha_;
};

/// A floating cone placed in space as a truncated cone: a base point on the axis, the radius r
/// at the base point, the height h along the axis and tan(alpha), computed once.
///
/// Comparisons look at the placement (base point, r, h, tangent) only, not at the floating cone
/// part. With alpha = 0 the tangent is 0 and `getApexDistance` is infinite (no check is made).
/// There is no text form.
class VO_EXPORT GeAnchoredCone {
 public:
  /// Copies the inputs; the tangent is `FloatUtil::tan(alpha)`.
  GeAnchoredCone(const GeFloatingCone& cone, const GePoint3<float>& basePoint, float bottomRadius,
                 float height) noexcept;

  const GeFloatingCone& getFloatingCone() const noexcept { return cone_; }
  const GeUnitVector3<float>& getAxis() const noexcept { return cone_.getAxis(); }
  float getSemiAngle() const noexcept { return cone_.getSemiAngle(); }
  bool isSphere() const noexcept { return cone_.isSphere(); }
  bool contains(const GeUnitVector3<float>& d) const noexcept { return cone_.contains(d); }

  const GePoint3<float>& getBasePoint() const noexcept { return basePoint_; }
  float getBottomRadius() const noexcept { return bottomRadius_; }
  float getHeight() const noexcept { return height_; }
  /// tan(alpha) as computed by the constructor.
  float getTangent() const noexcept { return tangent_; }

  /// Radius at the top: tan(alpha)·h + r.
  float getTopRadius() const noexcept { return tangent_ * height_ + bottomRadius_; }
  /// Distance from the base point back to the apex of the cone through the rim: r / tan(alpha).
  float getApexDistance() const noexcept { return bottomRadius_ / tangent_; }
  /// Distance from the base point back to the apex of the behind cone: tan(alpha)·r.
  float getBackfacingDistance() const noexcept { return tangent_ * bottomRadius_; }
  /// Distance from the base point forward to the apex of the front cone: the height plus
  /// tan(alpha) times the top radius.
  float getFrontfacingDistance() const noexcept {
    return tangent_ * (height_ * tangent_ + bottomRadius_) + height_;
  }

  /// base point − axis · `getApexDistance()`.
  GePoint3<float> getApex() const noexcept;
  /// base point − axis · `getBackfacingDistance()`.
  GePoint3<float> getBackfacingApex() const noexcept;
  /// base point + axis · `getFrontfacingDistance()`.
  GePoint3<float> getFrontfacingApex() const noexcept;

  /// Base point x, y, z, r and h within `tolerance`, then the tangent within `angleTolerance`.
  bool isEqual(const GeAnchoredCone& other, float tolerance, float angleTolerance) const noexcept;
  /// Base point, r, h and the tangent compared with `==`.
  bool isEqualExact(const GeAnchoredCone& other) const noexcept {
    return basePoint_ == other.basePoint_ && bottomRadius_ == other.bottomRadius_ &&
           height_ == other.height_ && tangent_ == other.tangent_;
  }

 private:
  GeFloatingCone cone_;
  GePoint3<float> basePoint_;
  float bottomRadius_;
  float height_;
  float tangent_;
};

/// The two culling cones of a cluster: the behind cone opens backwards (along −axis) from the
/// backfacing apex, the front cone opens forwards from the frontfacing apex (backfacing apex +
/// axis · frontfacing offset); both have the semi-angle beta = pi/2 − alpha, held as
/// cos(beta) = sin(alpha). When 2·alpha > pi no culling cone exists: cos(beta) is −1,
/// `isBehind` is always false and `isInFront` always true.
///
/// Comparisons and text use the culling data (apex, offset, cos(beta)); the comparisons do not
/// look at the floating cone part.
class VO_EXPORT GeCullingCones {
 public:
  /// No culling: axis (0, 0, 1), alpha = float pi, cos(beta) = −1; apex (0, 0, 0), offset 0.
  GeCullingCones() noexcept;
  /// The culling cones of an anchored cone: apex = `cone.getBackfacingApex()`, offset =
  /// ((h·t + r)·t + h) + r·t with t the cone's tangent.
  explicit GeCullingCones(const GeAnchoredCone& cone) noexcept;
  /// Copies the inputs and derives cos(beta) from the cone's alpha.
  GeCullingCones(const GeFloatingCone& cone, const GePoint3<float>& backfacingApex,
                 float frontfacingOffset) noexcept;

  // The floating cone's queries, forwarded as `GeAnchoredCone` forwards them: both hold the
  // cone by value beside their own state rather than derive from it, which would make each a
  // floating cone to every function that takes one.
  const GeFloatingCone& getFloatingCone() const noexcept { return cone_; }
  const GeUnitVector3<float>& getAxis() const noexcept { return cone_.getAxis(); }
  float getSemiAngle() const noexcept { return cone_.getSemiAngle(); }
  bool isSphere() const noexcept { return cone_.isSphere(); }
  bool contains(const GeUnitVector3<float>& d) const noexcept { return cone_.contains(d); }

  GePoint3<float> getBackfacingApex() const noexcept { return backfacingApex_; }
  float getFrontfacingOffset() const noexcept { return frontfacingOffset_; }
  /// cos(beta) = sin(alpha), or −1 when no culling cone exists.
  float getCosBeta() const noexcept { return cosBeta_; }
  /// beta in radians; 0 when no culling cone exists.
  float getCullingSemiAngle() const noexcept;

  /// True when `p` lies in the behind cone, boundary and apex included: a viewpoint from which
  /// every element of the cluster is seen from the back. False when no culling cone exists.
  bool isBehind(const GePoint3<float>& p) const noexcept;
  /// True when `p` lies in the front cone, boundary and apex included: a viewpoint from which
  /// every element is seen from the front. True when no culling cone exists.
  bool isInFront(const GePoint3<float>& p) const noexcept;

  /// Apex x, y, z and the offset within `tolerance`, then cos(beta) within `angleTolerance`.
  bool isEqual(const GeCullingCones& other, float tolerance, float angleTolerance) const noexcept;
  /// Apex, offset and cos(beta) compared with `==`.
  bool isEqualExact(const GeCullingCones& other) const noexcept {
    return backfacingApex_ == other.backfacingApex_ &&
           frontfacingOffset_ == other.frontfacingOffset_ && cosBeta_ == other.cosBeta_;
  }

  /// Writes "cullingCones( backfacingApex=(x, y, z), frontfacingOffset=o, cosBeta=c, " then the
  /// floating cone's text, then " )".
  std::ostream& dump(std::ostream& os) const;
  friend std::ostream& operator<<(std::ostream& os, const GeCullingCones& c) { return c.dump(os); }

 private:
  static float cosBetaOf(float alpha) noexcept;

  GeFloatingCone cone_;
  GePoint3<float> backfacingApex_;
  float frontfacingOffset_;
  float cosBeta_;
};

}  // namespace Vo
