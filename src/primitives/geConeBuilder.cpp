#include <vezODedizezivuz/geConeBuilder.h>

#include <vezODedizezivuz/geAlignedBox3.h>
#include <vezODedizezivuz/geReportSites.h>
#include <zevIRudez/FloatUtil.h>
#include <zevIRudez/Interval.h>

#include <cstddef>
#include <vector>

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

// The sample lowest along `a` (the first of equal height): the apex side of the base plane.
std::size_t lowestAlong(const std::vector<GePoint3<float>>& samples,
                        const GeUnitVector3<float>& a) noexcept {
  std::size_t lowest = 0;
  float lowestHeight = 0.0f;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const GePoint3<float>& p = samples[i];
    const float h = p.x * a.x + p.y * a.y + p.z * a.z;
    if (i == 0 || h < lowestHeight) {
      lowest = i;
      lowestHeight = h;
    }
  }
  return lowest;
}

// Two unit vectors u, w completing a to a frame of the base plane, built from the coordinate
// axis least aligned with a for the best conditioned cross product.
void baseFrame(const GeUnitVector3<float>& a, GeUnitVector3<float>& u, GeUnitVector3<float>& w) {
  const float ax = FloatUtil::abs(a.x);
  const float ay = FloatUtil::abs(a.y);
  const float az = FloatUtil::abs(a.z);
  GeVector3<float> e(0.0f, 0.0f, 1.0f);
  if (ay > ax) {
    if (az > ax) e = GeVector3<float>(1.0f, 0.0f, 0.0f);
  } else if (az > ay) {
    e = GeVector3<float>(0.0f, 1.0f, 0.0f);
  }
  u = normalizedOrReport(cross(a, e), GeReportSites::anchoredConeFirstAcross);
  w = normalizedOrReport(cross(u, a), GeReportSites::anchoredConeSecondAcross);
}

// The largest distance of the first `count` samples from `centre`.
float largestDistance(const std::vector<GePoint3<float>>& samples, std::size_t count,
                      const GePoint3<float>& centre) noexcept {
  float largest2 = 0.0f;
  for (std::size_t i = 0; i < count; ++i) {
    const float d2 = (samples[i] - centre).lengthSquared();
    if (d2 > largest2) largest2 = d2;
  }
  return FloatUtil::sqrt(largest2);
}

// Slides every sample but the lowest down the slope t onto the base plane through it, writing
// the kept ones as (s, r, 0) over the front of the list; returns how many were kept, grows
// `rect` by them and `height` to the largest height above the base plane.
std::size_t slideToBase(std::vector<GePoint3<float>>& samples, std::size_t lowest,
                        const GeUnitVector3<float>& a, const GeUnitVector3<float>& u,
                        const GeUnitVector3<float>& w, float t, GeAlignedBox3<float>& rect,
                        float& height) noexcept {
  const GePoint3<float> p0 = samples[lowest];
  std::size_t slid = 0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (i == lowest) continue;
    const GeVector3<float> q = samples[i] - p0;
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
        samples[slid] = GePoint3<float>(k * s, k * r, 0.0f);
        rect.extendBy(samples[slid]);
        ++slid;
      }
    }
  }
  return slid;
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
  GeAlignedBox3<float> box;
  for (const GeUnitVector3<float>& d : samples_) box.extendBy(GePoint3<float>(d));

  // Directions on every side of the origin, bounds included. An empty list fails this test (its
  // box is empty) but its box centre is the origin, which gives the sphere as well.
  GeFloatingCone result = makeSphere();
  if (!box.contains(GePoint3<float>(0.0f, 0.0f, 0.0f))) {
    GeUnitVector3<float> axis;
    if (axis.setNormalized(box.getCenter().toVector()) != 0.0f) {
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
  if (samples_.empty()) GeReportSites::anchoredConeNoSamples.raise();
  const GeUnitVector3<float>& a = cone.getAxis();
  const std::size_t lowest = lowestAlong(samples_, a);
  // A copy: the list entries are overwritten with the slid points below.
  const GePoint3<float> p0 = samples_[lowest];
  GeUnitVector3<float> u;
  GeUnitVector3<float> w;
  baseFrame(a, u, w);

  // Every other sample slides down the cone's slope onto the base plane through p0, in the
  // coordinates (s, r) along (w, u); the base is the smallest circle about the centre of the
  // rectangle of the slid points, which starts as p0's own projection.
  GeAlignedBox3<float> rect(GePoint3<float>(0.0f, 0.0f, 0.0f));
  float height = 0.0f;
  const std::size_t slid =
      slideToBase(samples_, lowest, a, u, w, FloatUtil::tan(cone.getSemiAngle()), rect, height);
  const GePoint3<float> centre(rect.getCenter().x, rect.getCenter().y, 0.0f);
  const float radius = largestDistance(samples_, slid, centre);
  const GePoint3<float> base = p0 + w * centre.x + u * centre.y;
  return GeAnchoredCone(cone, base, radius, height);
}

}  // namespace Vo
