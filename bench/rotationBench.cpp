// Rotation benchmarks in float: slerp, quaternion to matrix and back, Euler angles to matrix
// and back in the static x-then-y-then-z order (Imath's default order, GLM's ZYX functions),
// and a frame aimed at a direction with an up vector (GLM lookAt, Imath
// rotationMatrixWithUpDir).

#include <vezODedizezivuz/geQuaternion3.h>
#include <vezODedizezivuz/geRotation3.h>

#include "benchUtil.h"

#include <cmath>

#ifdef VO_BENCH_HAVE_IMATH
#include <Imath/ImathEuler.h>
#include <Imath/ImathMatrixAlgo.h>
#include <Imath/ImathQuat.h>
#endif
#ifdef VO_BENCH_HAVE_GLM
#define GLM_ENABLE_EXPERIMENTAL
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtx/euler_angles.hpp>
#endif
#ifdef VO_BENCH_HAVE_EIGEN
#include <Eigen/Dense>
#include <Eigen/Geometry>
#endif

namespace {

using namespace VoBench;
using Quat = Vo::GeQuaternion3<float>;
using Mat = Vo::GeLinearMatrix3<float>;

constexpr float slerpT = 0.3f;

// The shared inputs, generated in double and rounded once for every library. Quaternions come
// in two independent batches, 0 and 1.
const std::vector<Vo::GeQuaternion3<double>>& quaternions(unsigned batch) {
  static std::vector<Vo::GeQuaternion3<double>> v[2];
  std::vector<Vo::GeQuaternion3<double>>& out = v[batch & 1];
  if (out.empty()) {
    const std::vector<double> r = randomValues(batchSize * 4, 100 + batch);
    for (std::size_t k = 0; k < batchSize; ++k) {
      Vo::GeQuaternion3<double> q(r[4 * k], r[4 * k + 1], r[4 * k + 2], r[4 * k + 3]);
      q.normalize();
      out.push_back(q);
    }
  }
  return out;
}
// Element (r, c) of rotation k, column vectors.
double rotation(std::size_t k, int r, int c) {
  Vo::GeLinearMatrix3<double> m;
  quaternions(0)[k].getMatrix(m);
  return m(r, c);
}
// Angles (a, b, c) with the middle one inside (-π/2, π/2), away from gimbal lock.
const std::vector<double>& angles() {
  static const std::vector<double> v = [] {
    std::vector<double> a = randomValues(batchSize * 3, 300);
    for (std::size_t k = 0; k < a.size(); ++k) a[k] *= k % 3 == 1 ? 1.5 : 3.1;
    return a;
  }();
  return v;
}
// Unit view directions and up vectors.
const std::vector<double>& directions() {
  static const std::vector<double> v = [] {
    std::vector<double> d = randomValues(batchSize * 3, 400);
    for (std::size_t k = 0; k < batchSize; ++k) {
      double* p = &d[3 * k];
      const double len = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
      for (int i = 0; i < 3; ++i) p[i] /= len;
    }
    return d;
  }();
  return v;
}
const std::vector<double>& ups() {
  static const std::vector<double> v = randomValues(batchSize * 3, 500);
  return v;
}

// ---- this library ------------------------------------------------------------------------------

std::vector<Quat> voQuats(unsigned batch) {
  return each<Quat>([batch](std::size_t k) {
    const Vo::GeQuaternion3<double>& q = quaternions(batch)[k];
    return Quat(float(q.x), float(q.y), float(q.z), float(q.w));
  });
}
std::vector<Mat> voMats() {
  return each<Mat>([](std::size_t k) {
    Mat m;
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) m(r, c) = float(rotation(k, r, c));
    return m;
  });
}
std::vector<Vo::GeVector3<float>> voVectors(const std::vector<double>& v) {
  return each<Vo::GeVector3<float>>([&v](std::size_t k) {
    return Vo::GeVector3<float>(float(v[3 * k]), float(v[3 * k + 1]), float(v[3 * k + 2]));
  });
}

void voSlerp(benchmark::State& state) {
  const auto a = voQuats(0), b = voQuats(1);
  std::vector<Quat> out(batchSize);
  runBinary(state, a, b, out,
            [](const Quat& p, const Quat& q) { return Quat::slerp(p, q, slerpT, 0); });
}
void voQuatToMat(benchmark::State& state) {
  const auto a = voQuats(0);
  std::vector<Mat> out(batchSize);
  runUnary(state, a, out, [](const Quat& q) {
    Mat m;
    q.getMatrix(m);
    return m;
  });
  // Floor (benchUtil.h), packed: the squared norm 1 multiply and 3 adds across lanes, its test
  // and the select 2, the scale 2/n broadcast into x, y, z 1, the 12 products in 3 packed
  // multiplies (they need the scaled vector first), the 9 sums in 3 packed operations: 12
  // operations, 4 cycles; the one division holds the divider 3 cycles.
  setFloor(state, 4);
}
void voMatToQuat(benchmark::State& state) {
  const auto a = voMats();
  std::vector<Quat> out(batchSize);
  runUnary(state, a, out, [](const Mat& m) {
    Quat q;
    q.setMatrix(m, 1);
    return q;
  });
}
void voEulerToMat(benchmark::State& state) {
  const auto a = voVectors(angles());
  std::vector<Mat> out(batchSize);
  runUnary(state, a, out, [](const Vo::GeVector3<float>& e) {
    Mat m;
    Quat::eulerToMatrix(m, Quat::staticXYZ, e.x, e.y, e.z);
    return m;
  });
  // Floor (benchUtil.h): the six double sines and cosines as the AVX2 kernel takes them, four
  // lanes at once with fused multiply-adds (the cheapest evaluation known here that rounds to
  // float as the system functions do): widening and range test 3, reduction 4, powers of the
  // square 3, two degree-5 polynomials in it 10, their completion 4, quadrant selection 11, the
  // zero case 2, narrowing 2, the rounding-margin tests 12 and the lane mask 1: 52 operations;
  // then the 4 products of sines and cosines and the 14 operations of the matrix: 70
  // operations, 23.3 cycles.
  setFloor(state, 70.0 / 3);
}
void voMatToEuler(benchmark::State& state) {
  const auto a = voMats();
  std::vector<Vo::GeVector3<float>> out(batchSize);
  runUnary(state, a, out, [](const Mat& m) {
    Vo::GeVector3<float> e;
    Quat::matrixToEuler(m, Quat::staticXYZ, e.x, e.y, e.z);
    return e;
  });
}
void voAim(benchmark::State& state) {
  // A view rotation as lookAt builds it: the view direction goes to -z, so z is aimed at its
  // opposite, and the frame vectors are the rows.
  const auto d = each<Vo::GeUnitVector3<float>>([](std::size_t k) {
    const double* p = &directions()[3 * k];
    Vo::GeUnitVector3<float> u;
    u.x = float(-p[0]), u.y = float(-p[1]), u.z = float(-p[2]);
    return u;
  });
  const auto up = voVectors(ups());
  std::vector<Vo::GeRotation3<float>> out(batchSize);
  runBinary(state, d, up, out,
            [](const Vo::GeUnitVector3<float>& dir, const Vo::GeVector3<float>& u) {
              return Vo::GeRotation3<float>::aim(dir, u, 2, 1, true);
            });
}

VO_BENCH("quatf_slerp", "vo", voSlerp);
VO_BENCH("quatf_tomat3", "vo", voQuatToMat);
VO_BENCH("mat3f_toquat", "vo", voMatToQuat);
VO_BENCH("eulerf_tomat3", "vo", voEulerToMat);
VO_BENCH("mat3f_toeuler", "vo", voMatToEuler);
VO_BENCH("rot3f_aim", "vo", voAim);

// ---- Imath (row vectors: its matrices are the transposes) --------------------------------------

#ifdef VO_BENCH_HAVE_IMATH
std::vector<Imath::Quatf> imathQuats(unsigned batch) {
  return each<Imath::Quatf>([batch](std::size_t k) {
    const Vo::GeQuaternion3<double>& q = quaternions(batch)[k];
    return Imath::Quatf(float(q.w), float(q.x), float(q.y), float(q.z));
  });
}
template <class M>
std::vector<M> imathMats() {
  return each<M>([](std::size_t k) {
    M m;
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) m[c][r] = float(rotation(k, r, c));
    return m;
  });
}
std::vector<Imath::V3f> imathVectors(const std::vector<double>& v) {
  return each<Imath::V3f>([&v](std::size_t k) {
    return Imath::V3f(float(v[3 * k]), float(v[3 * k + 1]), float(v[3 * k + 2]));
  });
}

void imathSlerp(benchmark::State& state) {
  const auto a = imathQuats(0), b = imathQuats(1);
  std::vector<Imath::Quatf> out(batchSize);
  runBinary(state, a, b, out, [](const Imath::Quatf& p, const Imath::Quatf& q) {
    return Imath::slerpShortestArc(p, q, slerpT);
  });
}
void imathQuatToMat(benchmark::State& state) {
  const auto a = imathQuats(0);
  std::vector<Imath::M33f> out(batchSize);
  runUnary(state, a, out, [](const Imath::Quatf& q) { return q.toMatrix33(); });
}
void imathMatToQuat(benchmark::State& state) {
  const auto a = imathMats<Imath::M44f>();
  std::vector<Imath::Quatf> out(batchSize);
  runUnary(state, a, out, [](const Imath::M44f& m) { return Imath::extractQuat(m); });
}
void imathEulerToMat(benchmark::State& state) {
  const auto a = imathVectors(angles());
  std::vector<Imath::M33f> out(batchSize);
  runUnary(state, a, out,
           [](const Imath::V3f& e) { return Imath::Eulerf(e, Imath::Eulerf::XYZ).toMatrix33(); });
}
void imathMatToEuler(benchmark::State& state) {
  const auto a = imathMats<Imath::M33f>();
  std::vector<Imath::V3f> out(batchSize);
  runUnary(state, a, out, [](const Imath::M33f& m) {
    Imath::Eulerf e(Imath::Eulerf::XYZ);
    e.extract(m);
    return Imath::V3f(e);
  });
}
void imathAim(benchmark::State& state) {
  const auto d = imathVectors(directions());
  const auto up = imathVectors(ups());
  std::vector<Imath::M44f> out(batchSize);
  runBinary(state, d, up, out, [](const Imath::V3f& dir, const Imath::V3f& u) {
    return Imath::rotationMatrixWithUpDir(Imath::V3f(0, 0, -1), dir, u);
  });
}

VO_BENCH("quatf_slerp", "imath", imathSlerp);
VO_BENCH("quatf_tomat3", "imath", imathQuatToMat);
VO_BENCH("mat3f_toquat", "imath", imathMatToQuat);
VO_BENCH("eulerf_tomat3", "imath", imathEulerToMat);
VO_BENCH("mat3f_toeuler", "imath", imathMatToEuler);
VO_BENCH("rot3f_aim", "imath", imathAim);
#endif

// ---- GLM ---------------------------------------------------------------------------------------

#ifdef VO_BENCH_HAVE_GLM
std::vector<glm::quat> glmQuats(unsigned batch) {
  return each<glm::quat>([batch](std::size_t k) {
    const Vo::GeQuaternion3<double>& q = quaternions(batch)[k];
    return glm::quat(float(q.w), float(q.x), float(q.y), float(q.z));
  });
}
template <class M>
std::vector<M> glmMats() {
  return each<M>([](std::size_t k) {
    M m(1.0f);
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) m[c][r] = float(rotation(k, r, c));
    return m;
  });
}
std::vector<glm::vec3> glmVectors(const std::vector<double>& v) {
  return each<glm::vec3>([&v](std::size_t k) {
    return glm::vec3(float(v[3 * k]), float(v[3 * k + 1]), float(v[3 * k + 2]));
  });
}

void glmSlerp(benchmark::State& state) {
  const auto a = glmQuats(0), b = glmQuats(1);
  std::vector<glm::quat> out(batchSize);
  runBinary(state, a, b, out,
            [](const glm::quat& p, const glm::quat& q) { return glm::slerp(p, q, slerpT); });
}
void glmQuatToMat(benchmark::State& state) {
  const auto a = glmQuats(0);
  std::vector<glm::mat3> out(batchSize);
  runUnary(state, a, out, [](const glm::quat& q) { return glm::mat3_cast(q); });
}
void glmMatToQuat(benchmark::State& state) {
  const auto a = glmMats<glm::mat3>();
  std::vector<glm::quat> out(batchSize);
  runUnary(state, a, out, [](const glm::mat3& m) { return glm::quat_cast(m); });
}
void glmEulerToMat(benchmark::State& state) {
  // Rz(c)·Ry(b)·Rx(a), the same rotation as the static XYZ order.
  const auto a = glmVectors(angles());
  std::vector<glm::mat4> out(batchSize);
  runUnary(state, a, out, [](const glm::vec3& e) { return glm::eulerAngleZYX(e.z, e.y, e.x); });
}
void glmMatToEuler(benchmark::State& state) {
  const auto a = glmMats<glm::mat4>();
  std::vector<glm::vec3> out(batchSize);
  runUnary(state, a, out, [](const glm::mat4& m) {
    glm::vec3 e;
    glm::extractEulerAngleZYX(m, e.z, e.y, e.x);
    return e;
  });
}
void glmAim(benchmark::State& state) {
  const auto d = glmVectors(directions());
  const auto up = glmVectors(ups());
  std::vector<glm::mat4> out(batchSize);
  runBinary(state, d, up, out, [](const glm::vec3& dir, const glm::vec3& u) {
    return glm::lookAt(glm::vec3(0.0f), dir, u);
  });
}

VO_BENCH("quatf_slerp", "glm", glmSlerp);
VO_BENCH("quatf_tomat3", "glm", glmQuatToMat);
VO_BENCH("mat3f_toquat", "glm", glmMatToQuat);
VO_BENCH("eulerf_tomat3", "glm", glmEulerToMat);
VO_BENCH("mat3f_toeuler", "glm", glmMatToEuler);
VO_BENCH("rot3f_aim", "glm", glmAim);
#endif

// ---- Eigen -------------------------------------------------------------------------------------

#ifdef VO_BENCH_HAVE_EIGEN
std::vector<Eigen::Quaternionf> eigenQuats(unsigned batch) {
  return each<Eigen::Quaternionf>([batch](std::size_t k) {
    const Vo::GeQuaternion3<double>& q = quaternions(batch)[k];
    return Eigen::Quaternionf(float(q.w), float(q.x), float(q.y), float(q.z));
  });
}
std::vector<Eigen::Matrix3f> eigenMats() {
  return each<Eigen::Matrix3f>([](std::size_t k) {
    Eigen::Matrix3f m;
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) m(r, c) = float(rotation(k, r, c));
    return m;
  });
}

void eigenSlerp(benchmark::State& state) {
  const auto a = eigenQuats(0), b = eigenQuats(1);
  std::vector<Eigen::Quaternionf> out(batchSize);
  runBinary(state, a, b, out, [](const Eigen::Quaternionf& p, const Eigen::Quaternionf& q) {
    return p.slerp(slerpT, q);
  });
}
void eigenQuatToMat(benchmark::State& state) {
  const auto a = eigenQuats(0);
  std::vector<Eigen::Matrix3f> out(batchSize);
  runUnary(state, a, out, [](const Eigen::Quaternionf& q) { return q.toRotationMatrix(); });
}
void eigenMatToQuat(benchmark::State& state) {
  const auto a = eigenMats();
  std::vector<Eigen::Quaternionf> out(batchSize);
  runUnary(state, a, out, [](const Eigen::Matrix3f& m) { return Eigen::Quaternionf(m); });
}
void eigenEulerToMat(benchmark::State& state) {
  const auto a = each<Eigen::Vector3f>([](std::size_t k) {
    const double* e = &angles()[3 * k];
    return Eigen::Vector3f(float(e[0]), float(e[1]), float(e[2]));
  });
  std::vector<Eigen::Matrix3f> out(batchSize);
  runUnary(state, a, out, [](const Eigen::Vector3f& e) {
    return (Eigen::AngleAxisf(e.z(), Eigen::Vector3f::UnitZ()) *
            Eigen::AngleAxisf(e.y(), Eigen::Vector3f::UnitY()) *
            Eigen::AngleAxisf(e.x(), Eigen::Vector3f::UnitX()))
        .toRotationMatrix();
  });
}
void eigenMatToEuler(benchmark::State& state) {
  const auto a = eigenMats();
  std::vector<Eigen::Vector3f> out(batchSize);
  runUnary(state, a, out, [](const Eigen::Matrix3f& m) { return m.eulerAngles(2, 1, 0); });
}

VO_BENCH("quatf_slerp", "eigen", eigenSlerp);
VO_BENCH("quatf_tomat3", "eigen", eigenQuatToMat);
VO_BENCH("mat3f_toquat", "eigen", eigenMatToQuat);
VO_BENCH("eulerf_tomat3", "eigen", eigenEulerToMat);
VO_BENCH("mat3f_toeuler", "eigen", eigenMatToEuler);
#endif

// ---- axis rotation times an affine matrix ---------------------------------------------------
// The library rounds each product of the axis-rotation products on its own, behind an empty asm
// statement, so that no host's FMA flags can fuse it into the sum. "plain" is the same
// arithmetic without that barrier: the ratio is what the barrier costs in a build that would
// not have fused anyway.
using Affine = Vo::GeAffineMatrix3<float>;
using XRotation = Vo::GeXAxisRotation3<float>;

const std::vector<Affine>& affines() {
  static const std::vector<Affine> v = each<Affine>([](std::size_t k) {
    static const std::vector<double> r = randomValues(batchSize * 12, 310);
    Affine a;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 4; ++j) a(i, j) = static_cast<float>(r[12 * k + 4 * i + j]);
    return a;
  });
  return v;
}
const std::vector<XRotation>& xRotations() {
  static const std::vector<XRotation> v =
      each<XRotation>([](std::size_t k) { return XRotation(static_cast<float>(angles()[3 * k])); });
  return v;
}

void voXRotationTimesAffine(benchmark::State& state) {
  std::vector<Affine> out(batchSize);
  runBinary(state, xRotations(), affines(), out,
            [](const XRotation& r, const Affine& a) { return r * a; });
}
void plainXRotationTimesAffine(benchmark::State& state) {
  std::vector<Affine> out(batchSize);
  runBinary(state, xRotations(), affines(), out, [](const XRotation& r, const Affine& a) {
    Affine m = a;
    for (int c = 0; c < 4; ++c) {
      m(1, c) = r.cosine * a(1, c) - r.sine * a(2, c);
      m(2, c) = r.sine * a(1, c) + r.cosine * a(2, c);
    }
    return m;
  });
}
VO_BENCH("xrot3f_mul_affine", "vo", voXRotationTimesAffine);
VO_BENCH("xrot3f_mul_affine", "plain", plainXRotationTimesAffine);

}  // namespace
