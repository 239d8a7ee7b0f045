#include <vezODedizezivuz/geConeBuilder.h>

#include <vezODedizezivuz/geReportSites.h>
#include <zevIRudez/FloatUtil.h>
#include <zevIRudez/Interval.h>

#include <cstddef>

namespace Vo {

namespace {

GeFloatingCone makeSphere() {
  return GeFloatingCone(GeUnitVector3<float>(GeVector3<float>(0.0f, 0.0f, 1.0f)),
                        GeFloatingCone::sphereAlpha);
}

GeUnitVector3<float> normalizedOrReport(const GeVector3<float>& v, const GeReportSite& site) {
  GeUnitVector3<float> u;
  if (!(u.setNormalized(v) > 0.0f)) site.raise();
  return u;
}

}  // namespace

// Member-wise, out of line so that the vector code is compiled once, in the library.
GeFloatingConeBuilder::GeFloatingConeBuilder(const GeFloatingConeBuilder&) = default;
GeFloatingConeBuilder& GeFloatingConeBuilder::operator=(const GeFloatingConeBuilder&) = default;
GeFloatingConeBuilder::~GeFloatingConeBuilder() = default;
GeAnchoredConeBuilder::GeAnchoredConeBuilder(const GeAnchoredConeBuilder&) = default;
GeAnchoredConeBuilder& GeAnchoredConeBuilder::operator=(const GeAnchoredConeBuilder&) = default;
GeAnchoredConeBuilder::~GeAnchoredConeBuilder() = default;

GeFloatingCone GeFloatingConeBuilder::createCone() {
  Interval<float> bx = Interval<float>::makeEmpty();
  Interval<float> by = Interval<float>::makeEmpty();
  Interval<float> bz = Interval<float>::makeEmpty();
  for (const GeUnitVector3<float>& d : samples_) {
    bx.extendBy(d.x);
    by.extendBy(d.y);
    bz.extendBy(d.z);
  }

  // Directions on every side of the origin, bounds included. An empty list fails this test (its
  // box is empty) but its box centre is the origin, which gives the sphere as well.
  const bool holdsOrigin = bx.min <= 0.0f && 0.0f <= bx.max && by.min <= 0.0f && 0.0f <= by.max &&
                           bz.min <= 0.0f && 0.0f <= bz.max;
  GeFloatingCone result = makeSphere();
  if (!holdsOrigin) {
    const GeVector3<float> centre((bx.max + bx.min) * 0.5f, (by.max + by.min) * 0.5f,
                                  (bz.max + bz.min) * 0.5f);
    GeUnitVector3<float> axis;
    if (axis.setNormalized(centre) != 0.0f) {
      // Starting from 1 keeps m <= 1 and gives alpha = 0 for a single direction on the axis.
      float m = 1.0f;
      for (const GeUnitVector3<float>& d : samples_) {
        const float c = dot(axis, d);
        if (c < m) m = c;
      }
      const float alpha = m <= -1.0f ? GeFloatingCone::sphereAlpha
                          : m < 1.0f ? FloatUtil::acos(m)
                                     : 0.0f;
      result = GeFloatingCone(axis, alpha);
    }
  }
  samples_.clear();
  return result;
}

GeAnchoredCone GeAnchoredConeBuilder::createCone(const GeFloatingCone& cone) {
  const std::size_t count = samples_.size();
  if (count == 0) GeReportSites::anchoredConeNoSamples.raise();

  const GeUnitVector3<float>& a = cone.getAxis();
  std::size_t lowest = 0;
  float lowestHeight = 0.0f;
  for (std::size_t i = 0; i < count; ++i) {
    const GePoint3<float>& p = samples_[i];
    const float h = p.x * a.x + p.y * a.y + p.z * a.z;
    if (i == 0 || h < lowestHeight) {
      lowest = i;
      lowestHeight = h;
    }
  }
  // A copy: the list entries are overwritten with the slid points below.
  const GePoint3<float> p0 = samples_[lowest];

  // The frame is built from the coordinate axis least aligned with a, for the best conditioned
  // cross product.
  const float ax = FloatUtil::abs(a.x);
  const float ay = FloatUtil::abs(a.y);
  const float az = FloatUtil::abs(a.z);
  GeVector3<float> e(0.0f, 0.0f, 1.0f);
  if (ay > ax) {
    if (az > ax) e = GeVector3<float>(1.0f, 0.0f, 0.0f);
  } else if (az > ay) {
    e = GeVector3<float>(0.0f, 1.0f, 0.0f);
  }
  const GeUnitVector3<float> u =
      normalizedOrReport(cross(a, e), GeReportSites::anchoredConeFirstAcross);
  const GeUnitVector3<float> w =
      normalizedOrReport(cross(u, a), GeReportSites::anchoredConeSecondAcross);

  const float t = FloatUtil::tan(cone.getSemiAngle());
  float height = 0.0f;
  // The rectangle starts as P0's own projection, the origin of the base plane.
  Interval<float> rectS(0.0f, 0.0f);
  Interval<float> rectR(0.0f, 0.0f);
  std::size_t slid = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (i == lowest) continue;
    const GeVector3<float> q = samples_[i] - p0;
    const float s = dot(q, w);
    const float r = dot(q, u);
    const float h = dot(q, a);
    if (h > height) height = h;
    const float radial2 = r * r + s * s;
    if (radial2 > 0.0f) {
      const float d = FloatUtil::sqrt(radial2);
      // Sliding down the slope shortens the radial distance by h·t; k scales (s, r) to it.
      const float k = (d - h * t) / d;
      if (k > 0.0f) {
        // Entry `slid` is never ahead of entry i, so no unread point is overwritten.
        samples_[slid] = GePoint3<float>(k * s, k * r, 0.0f);
        rectS.extendBy(k * s);
        rectR.extendBy(k * r);
        ++slid;
      }
    }
  }

  const float cs = (rectS.max + rectS.min) * 0.5f;
  const float cr = (rectR.max + rectR.min) * 0.5f;
  const GePoint3<float> centre(cs, cr, 0.0f);
  float largest2 = 0.0f;
  for (std::size_t i = 0; i < slid; ++i) {
    const float d2 = (samples_[i] - centre).lengthSquared();
    if (d2 > largest2) largest2 = d2;
  }
  const float radius = FloatUtil::sqrt(largest2);
  const GePoint3<float> base = p0 + w * cs + u * cr;
  return GeAnchoredCone(cone, base, radius, height);
}

}  // namespace Vo
