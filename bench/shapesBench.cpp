// Shape and colour benchmarks: line against box (slab method), ray against sphere, RGB to HSV
// and HSV to RGB, in float and double.
//
// Rays start on a sphere of radius 3 around the shape and aim at a random point of the ball of
// radius 1.4 around its centre, so that about half of them hit; directions have unit length
// because the peers' sphere tests require it. Colours are uniform in [0, 1]; each library gets
// the hue in its own unit (degrees here and in GLM, turns in Imath).

#include <vezODedizezivuz/coColor.h>
#include <vezODedizezivuz/geAlignedBox3.h>
#include <vezODedizezivuz/geSphere3.h>

#include <cmath>

#include "benchUtil.h"

#ifdef VO_BENCH_HAVE_IMATH
#include <Imath/ImathBoxAlgo.h>
#include <Imath/ImathColorAlgo.h>
#include <Imath/ImathLine.h>
#include <Imath/ImathSphere.h>
#endif
#ifdef VO_BENCH_HAVE_GLM
#define GLM_ENABLE_EXPERIMENTAL
#include <glm/glm.hpp>
#include <glm/gtx/color_space.hpp>
#include <glm/gtx/intersect.hpp>
#endif

namespace {

using namespace VoBench;

// Ray k: origin at rays()[6k .. 6k+2], unit direction at rays()[6k+3 .. 6k+5].
const std::vector<double>& rays() {
  static const std::vector<double> v = [] {
    const std::vector<double> r = randomValues(batchSize * 16, 11);
    std::vector<double> out;
    std::size_t next = 0;
    auto inBall = [&](double radius, double(&p)[3]) {
      do {
        for (double& c : p) c = radius * r[next++ % r.size()];
      } while (p[0] * p[0] + p[1] * p[1] + p[2] * p[2] > radius * radius || next < 3);
    };
    for (std::size_t k = 0; k < batchSize; ++k) {
      double o[3];
      double target[3];
      inBall(1.0, o);
      const double len = std::sqrt(o[0] * o[0] + o[1] * o[1] + o[2] * o[2]);
      for (double& c : o) c *= 3.0 / len;
      inBall(1.4, target);
      double d[3] = {target[0] - o[0], target[1] - o[1], target[2] - o[2]};
      const double dl = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
      for (double& c : d) c /= dl;
      out.insert(out.end(), {o[0], o[1], o[2], d[0], d[1], d[2]});
    }
    return out;
  }();
  return v;
}

// Colour k at colors()[3k .. 3k+2], each component in [0, 1].
const std::vector<double>& colors() {
  static const std::vector<double> v = [] {
    std::vector<double> c = randomValues(batchSize * 3, 12);
    for (double& x : c) x = 0.5 * (x + 1.0);
    return c;
  }();
  return v;
}

// ---- this library ------------------------------------------------------------------------------

template <class T>
struct VoRay {
  Vo::GePoint3<T> origin;
  Vo::GeVector3<T> direction;
};
template <class T>
std::vector<VoRay<T>> voRays() {
  std::vector<VoRay<T>> out;
  const std::vector<double>& r = rays();
  for (std::size_t k = 0; k < batchSize; ++k) {
    const double* e = &r[6 * k];
    out.push_back(
        {Vo::GePoint3<T>(T(e[0]), T(e[1]), T(e[2])), Vo::GeVector3<T>(T(e[3]), T(e[4]), T(e[5]))});
  }
  return out;
}
template <class Color, class T>
std::vector<Color> voColors(T hueScale) {
  std::vector<Color> out;
  const std::vector<double>& c = colors();
  for (std::size_t k = 0; k < batchSize; ++k)
    out.emplace_back(T(c[3 * k]) * hueScale, T(c[3 * k + 1]), T(c[3 * k + 2]));
  return out;
}

template <class T>
struct SphereHit {
  bool hit;
  T t0;
  T t1;
};

template <class T>
void voBoxSlab(benchmark::State& state) {
  const Vo::GeAlignedBox3<T> box(Vo::GePoint3<T>(-1, -1, -1), Vo::GePoint3<T>(1, 1, 1));
  const auto in = voRays<T>();
  std::vector<Vo::Interval<T>> out(batchSize);
  runUnary(state, in, out,
           [&](const VoRay<T>& ray) { return box.intersectLine(ray.origin, ray.direction); });
}
template <class T>
void voSphereRay(benchmark::State& state) {
  const Vo::GeSphere3<T> sphere(Vo::GePoint3<T>(0, 0, 0), 1);
  const auto in = voRays<T>();
  std::vector<SphereHit<T>> out(batchSize);
  runUnary(state, in, out, [&](const VoRay<T>& ray) {
    SphereHit<T> h{false, 0, 0};
    h.hit = sphere.intersectRay(ray.origin, ray.direction, h.t0, h.t1);
    return h;
  });
  // Floor (benchUtil.h), scalar count: v = origin − centre 3; the three dot products 5 each and
  // the squared radius subtracted 2; |a| tested 2; disc = b² − c·a 3 and its test 1; the max 1;
  // s − b and −b − s 2 with their 2 products by 1/a; ordering 3: 35 operations, 11.7 cycles.
  // The square root and the division (6 to 8 divider cycles) fit under that.
  setFloor(state, 35.0 / 3);
}
template <class T>
void voRgbToHsv(benchmark::State& state) {
  const auto in = voColors<Vo::CoRgbColorT<T>>(T(1));
  std::vector<Vo::CoHsvColorT<T>> out(batchSize);
  runUnary(state, in, out,
           [](const Vo::CoRgbColorT<T>& c) { return Vo::CoHsvColorT<T>::convertFromRgb(c); });
  // Floor (benchUtil.h): largest and smallest component 4, their test 1, delta 1, the two
  // numerators 2, the hue's difference 1 and sector offset or wrap 1, the degrees 1 (plus the
  // 2 conversions through double in float): 11 operations in double, 13 in float, with the
  // three quotients (delta/max and the two over delta) in one packed division: 3.7 and 4.3
  // cycles; the division holds the divider 4 cycles in double.
  setFloor(state, sizeof(T) == sizeof(double) ? 4.0 : 13.0 / 3);
}
template <class T>
void voHsvToRgb(benchmark::State& state) {
  const auto in = voColors<Vo::CoHsvColorT<T>>(T(360));
  std::vector<Vo::CoRgbColorT<T>> out(batchSize);
  runUnary(state, in, out, [](const Vo::CoHsvColorT<T>& c) { return c.convertToRgb(); });
}

VO_BENCH("box3f_rayslab", "vo", voBoxSlab<float>);
VO_BENCH("box3d_rayslab", "vo", voBoxSlab<double>);
VO_BENCH("sphere3f_ray", "vo", voSphereRay<float>);
VO_BENCH("sphere3d_ray", "vo", voSphereRay<double>);
VO_BENCH("color3f_rgb2hsv", "vo", voRgbToHsv<float>);
VO_BENCH("color3d_rgb2hsv", "vo", voRgbToHsv<double>);
VO_BENCH("color3f_hsv2rgb", "vo", voHsvToRgb<float>);
VO_BENCH("color3d_hsv2rgb", "vo", voHsvToRgb<double>);

// ---- Imath -------------------------------------------------------------------------------------

#ifdef VO_BENCH_HAVE_IMATH
template <class T>
std::vector<Imath::Line3<T>> imathLines() {
  std::vector<Imath::Line3<T>> out(batchSize);
  const std::vector<double>& r = rays();
  for (std::size_t k = 0; k < batchSize; ++k) {
    const double* e = &r[6 * k];
    out[k].pos = Imath::Vec3<T>(T(e[0]), T(e[1]), T(e[2]));
    out[k].dir = Imath::Vec3<T>(T(e[3]), T(e[4]), T(e[5]));
  }
  return out;
}
template <class T>
std::vector<Imath::Vec3<T>> imathColors(T hueScale) {
  std::vector<Imath::Vec3<T>> out;
  const std::vector<double>& c = colors();
  for (std::size_t k = 0; k < batchSize; ++k)
    out.emplace_back(T(c[3 * k]) * hueScale, T(c[3 * k + 1]), T(c[3 * k + 2]));
  return out;
}

template <class T>
struct BoxHit {
  bool hit;
  Imath::Vec3<T> entry;
};

// Imath's ray-box test: hit flag and entry point.
template <class T>
void imathBoxSlab(benchmark::State& state) {
  const Imath::Box<Imath::Vec3<T>> box(Imath::Vec3<T>(-1), Imath::Vec3<T>(1));
  const auto in = imathLines<T>();
  std::vector<BoxHit<T>> out(batchSize);
  runUnary(state, in, out, [&](const Imath::Line3<T>& line) {
    BoxHit<T> h{false, Imath::Vec3<T>(0)};
    h.hit = Imath::intersects(box, line, h.entry);
    return h;
  });
}
template <class T>
void imathSphereRay(benchmark::State& state) {
  const Imath::Sphere3<T> sphere(Imath::Vec3<T>(0), 1);
  const auto in = imathLines<T>();
  std::vector<SphereHit<T>> out(batchSize);
  runUnary(state, in, out, [&](const Imath::Line3<T>& line) {
    SphereHit<T> h{false, 0, 0};
    h.hit = sphere.intersectT(line, h.t0);
    return h;
  });
}
template <class T>
void imathRgbToHsv(benchmark::State& state) {
  const auto in = imathColors<T>(T(1));
  std::vector<Imath::Vec3<T>> out(batchSize);
  runUnary(state, in, out, [](const Imath::Vec3<T>& c) { return Imath::rgb2hsv(c); });
}
template <class T>
void imathHsvToRgb(benchmark::State& state) {
  const auto in = imathColors<T>(T(1));
  std::vector<Imath::Vec3<T>> out(batchSize);
  runUnary(state, in, out, [](const Imath::Vec3<T>& c) { return Imath::hsv2rgb(c); });
}

VO_BENCH("box3f_rayslab", "imath", imathBoxSlab<float>);
VO_BENCH("box3d_rayslab", "imath", imathBoxSlab<double>);
VO_BENCH("sphere3f_ray", "imath", imathSphereRay<float>);
VO_BENCH("sphere3d_ray", "imath", imathSphereRay<double>);
VO_BENCH("color3f_rgb2hsv", "imath", imathRgbToHsv<float>);
VO_BENCH("color3d_rgb2hsv", "imath", imathRgbToHsv<double>);
VO_BENCH("color3f_hsv2rgb", "imath", imathHsvToRgb<float>);
VO_BENCH("color3d_hsv2rgb", "imath", imathHsvToRgb<double>);
#endif

// ---- GLM (no ray-box test) ---------------------------------------------------------------------

#ifdef VO_BENCH_HAVE_GLM
template <class T>
using GlmVec3 = glm::vec<3, T, glm::defaultp>;

template <class T>
struct GlmRay {
  GlmVec3<T> origin;
  GlmVec3<T> direction;
};
template <class T>
std::vector<GlmRay<T>> glmRays() {
  std::vector<GlmRay<T>> out;
  const std::vector<double>& r = rays();
  for (std::size_t k = 0; k < batchSize; ++k) {
    const double* e = &r[6 * k];
    out.push_back({GlmVec3<T>(T(e[0]), T(e[1]), T(e[2])), GlmVec3<T>(T(e[3]), T(e[4]), T(e[5]))});
  }
  return out;
}
template <class T>
std::vector<GlmVec3<T>> glmColors(T hueScale) {
  std::vector<GlmVec3<T>> out;
  const std::vector<double>& c = colors();
  for (std::size_t k = 0; k < batchSize; ++k)
    out.emplace_back(T(c[3 * k]) * hueScale, T(c[3 * k + 1]), T(c[3 * k + 2]));
  return out;
}

template <class T>
void glmSphereRay(benchmark::State& state) {
  const GlmVec3<T> center(0);
  const auto in = glmRays<T>();
  std::vector<SphereHit<T>> out(batchSize);
  runUnary(state, in, out, [&](const GlmRay<T>& ray) {
    SphereHit<T> h{false, 0, 0};
    h.hit = glm::intersectRaySphere(ray.origin, ray.direction, center, T(1), h.t0);
    return h;
  });
}
template <class T>
void glmRgbToHsv(benchmark::State& state) {
  const auto in = glmColors<T>(T(1));
  std::vector<GlmVec3<T>> out(batchSize);
  runUnary(state, in, out, [](const GlmVec3<T>& c) { return glm::hsvColor(c); });
}
template <class T>
void glmHsvToRgb(benchmark::State& state) {
  const auto in = glmColors<T>(T(360));
  std::vector<GlmVec3<T>> out(batchSize);
  runUnary(state, in, out, [](const GlmVec3<T>& c) { return glm::rgbColor(c); });
}

VO_BENCH("sphere3f_ray", "glm", glmSphereRay<float>);
VO_BENCH("sphere3d_ray", "glm", glmSphereRay<double>);
VO_BENCH("color3f_rgb2hsv", "glm", glmRgbToHsv<float>);
VO_BENCH("color3d_rgb2hsv", "glm", glmRgbToHsv<double>);
VO_BENCH("color3f_hsv2rgb", "glm", glmHsvToRgb<float>);
VO_BENCH("color3d_hsv2rgb", "glm", glmHsvToRgb<double>);
#endif

}  // namespace
