// Benchmarks of the everyday host operations against their peer equivalents: the world bounds of
// a box under an affine matrix (Imath's transform of a Box3f by an M44f), frustum classification
// of spheres (Imath's FrustumTest::isVisible of a Sphere3f) and rotating a vector by a quaternion
// (GLM's quat * vec3).
#include <vezODedizezivuz/geAlignedBox3.h>
#include <vezODedizezivuz/geCameraBuilder.h>
#include <vezODedizezivuz/geFrustum.h>
#include <vezODedizezivuz/geQuaternion3.h>

#include <cmath>

#include "benchUtil.h"

#ifdef VO_BENCH_HAVE_IMATH
#include <Imath/ImathBox.h>
#include <Imath/ImathBoxAlgo.h>
#include <Imath/ImathFrustum.h>
#include <Imath/ImathFrustumTest.h>
#include <Imath/ImathMatrix.h>
#include <Imath/ImathSphere.h>
#endif
#ifdef VO_BENCH_HAVE_GLM
#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>
#endif

namespace {

using namespace VoBench;

float at(const std::vector<double>& v, std::size_t i) { return static_cast<float>(v[i]); }

// ---- Box under an affine matrix ----------------------------------------------------------------

// Rotation-and-scale parts with translations, and boxes of random corners.
std::vector<Vo::GeAffineMatrix3<float>> voModels() {
  const std::vector<double> r = randomValues(batchSize * 12, 31);
  return each<Vo::GeAffineMatrix3<float>>([&r](std::size_t k) {
    const std::size_t e = 12 * k;
    return Vo::GeAffineMatrix3<float>(
        Vo::GeLinearMatrix3<float>(at(r, e), at(r, e + 1), at(r, e + 2), at(r, e + 3), at(r, e + 4),
                                   at(r, e + 5), at(r, e + 6), at(r, e + 7), at(r, e + 8)),
        Vo::GeVector3<float>(10 * at(r, e + 9), 10 * at(r, e + 10), 10 * at(r, e + 11)));
  });
}

std::vector<Vo::GeAlignedBox3<float>> voBoxes() {
  const std::vector<double> r = randomValues(batchSize * 6, 32);
  return each<Vo::GeAlignedBox3<float>>([&r](std::size_t k) {
    const std::size_t e = 6 * k;
    return Vo::GeAlignedBox3<float>(Vo::GePoint3<float>(at(r, e), at(r, e + 1), at(r, e + 2)),
                                    Vo::GePoint3<float>(at(r, e + 3), at(r, e + 4), at(r, e + 5)));
  });
}

void voBoxTransform(benchmark::State& state) {
  const auto boxes = voBoxes();
  const auto models = voModels();
  std::vector<Vo::GeAlignedBox3<float>> out(batchSize);
  runBinary(state, boxes, models, out,
            [](const Vo::GeAlignedBox3<float>& b, const Vo::GeAffineMatrix3<float>& m) {
              return b.transformed(m);
            });
}
VO_BENCH("box3f_transform", "vo", voBoxTransform);

// ---- Sphere against a frustum ------------------------------------------------------------------

constexpr float fovY = 1.0f, nearDistance = 0.5f, farDistance = 50.0f, aspect = 1.5f;

// The camera at the origin looking down −z; spheres spread over and around the view volume so
// that every answer occurs often.
std::vector<Vo::GeSphere3<float>> voSpheres() {
  const std::vector<double> r = randomValues(batchSize * 4, 33);
  const float halfHeight = std::tan(0.5f * fovY);
  return each<Vo::GeSphere3<float>>([&](std::size_t k) {
    const std::size_t e = 4 * k;
    const float depth = 24.0f + 26.0f * at(r, e + 2);
    return Vo::GeSphere3<float>(
        Vo::GePoint3<float>(1.6f * at(r, e) * depth * halfHeight * aspect,
                            1.6f * at(r, e + 1) * depth * halfHeight, -depth),
        2.0f + at(r, e + 3));
  });
}

void voSphereClassify(benchmark::State& state) {
  const Vo::GeFrustum<float> frustum(
      Vo::GeCameraBuilder<float>::makePerspective(fovY, nearDistance, farDistance, aspect));
  const auto spheres = voSpheres();
  std::vector<int> out(batchSize);
  runUnary(state, spheres, out,
           [&](const Vo::GeSphere3<float>& s) { return int(frustum.classify(s)); });
}
VO_BENCH("frustum_sphere_classify", "vo", voSphereClassify);

// ---- Quaternion rotating a vector --------------------------------------------------------------

std::vector<Vo::GeQuaternion3<float>> voQuats() {
  const std::vector<double> r = randomValues(batchSize * 4, 34);
  return each<Vo::GeQuaternion3<float>>([&r](std::size_t k) {
    return Vo::GeQuaternion3<float>::makeRotation(
        3 * at(r, 4 * k),
        Vo::GeVector3<float>(at(r, 4 * k + 1), at(r, 4 * k + 2), at(r, 4 * k + 3)));
  });
}

std::vector<Vo::GeVector3<float>> voVectors() {
  const std::vector<double> r = randomValues(batchSize * 3, 35);
  return each<Vo::GeVector3<float>>([&r](std::size_t k) {
    return Vo::GeVector3<float>(at(r, 3 * k), at(r, 3 * k + 1), at(r, 3 * k + 2));
  });
}

// The inputs are copied through a capturing lambda exactly as the GLM ones below: built directly,
// the compiler kept one base pointer on the stack in this loop only, and the same arithmetic read
// 1 to 3 % slower than GLM's.
void voQuatRotate(benchmark::State& state) {
  const auto q = each<Vo::GeQuaternion3<float>>([vo = voQuats()](std::size_t k) { return vo[k]; });
  const auto v = each<Vo::GeVector3<float>>([vo = voVectors()](std::size_t k) { return vo[k]; });
  std::vector<Vo::GeVector3<float>> out(batchSize);
  runBinary(state, q, v, out, [](const Vo::GeQuaternion3<float>& a, const Vo::GeVector3<float>& b) {
    return a.rotate(b);
  });
}
VO_BENCH("quatf_rotate_vec3", "vo", voQuatRotate);

// ---- Imath -------------------------------------------------------------------------------------

#ifdef VO_BENCH_HAVE_IMATH
void imathBoxTransform(benchmark::State& state) {
  // Imath multiplies row vectors: element (r, c) of ours is m[c][r] there.
  const auto models = each<Imath::M44f>([vo = voModels()](std::size_t k) {
    Imath::M44f m;
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) m[c][r] = vo[k](r, c);
    return m;
  });
  const auto boxes = each<Imath::Box3f>([vo = voBoxes()](std::size_t k) {
    const Vo::GeAlignedBox3<float>& b = vo[k];
    return Imath::Box3f(Imath::V3f(b.x.min, b.y.min, b.z.min),
                        Imath::V3f(b.x.max, b.y.max, b.z.max));
  });
  std::vector<Imath::Box3f> out(batchSize);
  runBinary(state, boxes, models, out,
            [](const Imath::Box3f& b, const Imath::M44f& m) { return Imath::transform(b, m); });
}
VO_BENCH("box3f_transform", "imath", imathBoxTransform);

void imathSphereVisible(benchmark::State& state) {
  const Imath::Frustumf frustum(nearDistance, farDistance, 0.0f, fovY, aspect);
  const Imath::FrustumTest<float> test(frustum, Imath::M44f());
  const auto spheres = each<Imath::Sphere3f>([vo = voSpheres()](std::size_t k) {
    return Imath::Sphere3f(Imath::V3f(vo[k].center.x, vo[k].center.y, vo[k].center.z),
                           vo[k].radius);
  });
  std::vector<int> out(batchSize);
  runUnary(state, spheres, out, [&](const Imath::Sphere3f& s) { return int(test.isVisible(s)); });
}
VO_BENCH("frustum_sphere_classify", "imath", imathSphereVisible);
#endif

// ---- GLM ---------------------------------------------------------------------------------------

#ifdef VO_BENCH_HAVE_GLM
void glmQuatRotate(benchmark::State& state) {
  const auto q = each<glm::quat>(
      [vo = voQuats()](std::size_t k) { return glm::quat(vo[k].w, vo[k].x, vo[k].y, vo[k].z); });
  const auto v = each<glm::vec3>(
      [vo = voVectors()](std::size_t k) { return glm::vec3(vo[k].x, vo[k].y, vo[k].z); });
  std::vector<glm::vec3> out(batchSize);
  runBinary(state, q, v, out, [](const glm::quat& a, const glm::vec3& b) { return a * b; });
}
VO_BENCH("quatf_rotate_vec3", "glm", glmQuatRotate);
#endif

}  // namespace
