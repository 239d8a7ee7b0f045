// Matrix benchmarks: 3x3 and 4x4 products, 4x4 times homogeneous coordinate, inverses of
// general 3x3 and 4x4 and of affine matrices, 4x4 determinant, in float and double.

#include <vezODedizezivuz/geMatrix3.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "benchUtil.h"
#include "matrixLu.h"

#ifdef VO_BENCH_HAVE_IMATH
#include <Imath/ImathMatrix.h>
#include <Imath/ImathVec.h>
#endif
#ifdef VO_BENCH_HAVE_GLM
#include <glm/glm.hpp>
#include <glm/gtc/matrix_inverse.hpp>
#endif
#ifdef VO_BENCH_HAVE_EIGEN
#include <Eigen/Dense>
#include <Eigen/Geometry>
#endif

namespace {

using namespace VoBench;

// The shared inputs, element (r, c) of matrix k at k * n * n + c * n + r.
const std::vector<double>& general4() {
  static const std::vector<double> v = wellConditioned(4, 1);
  return v;
}
const std::vector<double>& general4b() {
  static const std::vector<double> v = wellConditioned(4, 2);
  return v;
}
const std::vector<double>& general3() {
  static const std::vector<double> v = wellConditioned(3, 3);
  return v;
}
const std::vector<double>& general3b() {
  static const std::vector<double> v = wellConditioned(3, 4);
  return v;
}
// Affine: the 3x3 block of general3 with a random translation.
const std::vector<double>& translations() {
  static const std::vector<double> v = randomValues(batchSize * 3, 5);
  return v;
}
const std::vector<double>& coordinates() {
  static const std::vector<double> v = randomValues(batchSize * 4, 6);
  return v;
}

// Builds one value per input matrix with make(pointer to its column-major elements).
template <class M, class Make>
std::vector<M> build(const std::vector<double>& src, int n, Make make) {
  std::vector<M> out;
  out.reserve(batchSize);
  for (std::size_t k = 0; k < batchSize; ++k) out.push_back(make(&src[k * n * n]));
  return out;
}

// ---- this library ------------------------------------------------------------------------------

template <class T>
Vo::GeLinearMatrix3<T> voLin(const double* e) {
  return Vo::GeLinearMatrix3<T>(T(e[0]), T(e[3]), T(e[6]), T(e[1]), T(e[4]), T(e[7]), T(e[2]),
                                T(e[5]), T(e[8]));
}
template <class T>
Vo::GeProjectiveMatrix3<T> voProj(const double* e) {
  Vo::GeProjectiveMatrix3<T> m;
  for (int i = 0; i < 16; ++i) m.data()[i] = T(e[i]);
  return m;
}
template <class T>
std::vector<Vo::GeAffineMatrix3<T>> voAffines() {
  std::vector<Vo::GeAffineMatrix3<T>> out;
  const std::vector<double>& t = translations();
  for (std::size_t k = 0; k < batchSize; ++k) {
    out.emplace_back(voLin<T>(&general3()[k * 9]),
                     Vo::GeVector3<T>(T(t[3 * k]), T(t[3 * k + 1]), T(t[3 * k + 2])));
  }
  return out;
}
template <class T>
std::vector<Vo::GeHomogeneousCoord3<T>> voCoords() {
  std::vector<Vo::GeHomogeneousCoord3<T>> out;
  const std::vector<double>& c = coordinates();
  for (std::size_t k = 0; k < batchSize; ++k)
    out.emplace_back(T(c[4 * k]), T(c[4 * k + 1]), T(c[4 * k + 2]), T(c[4 * k + 3]));
  return out;
}

template <class T>
void voMul3(benchmark::State& state) {
  const auto a = build<Vo::GeLinearMatrix3<T>>(general3(), 3, voLin<T>);
  const auto b = build<Vo::GeLinearMatrix3<T>>(general3b(), 3, voLin<T>);
  std::vector<Vo::GeLinearMatrix3<T>> out(batchSize);
  runBinary(state, a, b, out, [](const auto& x, const auto& y) { return x * y; });
}
template <class T>
void voMul4(benchmark::State& state) {
  const auto a = build<Vo::GeProjectiveMatrix3<T>>(general4(), 4, voProj<T>);
  const auto b = build<Vo::GeProjectiveMatrix3<T>>(general4b(), 4, voProj<T>);
  std::vector<Vo::GeProjectiveMatrix3<T>> out(batchSize);
  runBinary(state, a, b, out, [](const auto& x, const auto& y) { return x * y; });
}
template <class T>
void voMulVec4(benchmark::State& state) {
  const auto a = build<Vo::GeProjectiveMatrix3<T>>(general4(), 4, voProj<T>);
  const auto v = voCoords<T>();
  std::vector<Vo::GeHomogeneousCoord3<T>> out(batchSize);
  runBinary(state, a, v, out, [](const auto& x, const auto& y) { return x * y; });
}
// ---- floors of the LU operations ---------------------------------------------------------------
// What the prescribed arithmetic costs at least on this machine's core (Golden Cove class; the
// figures are its documented latencies and reciprocal throughputs in cycles: divide latency D =
// 11 float, 13 double; multiply 4; add and subtract 2; divider throughput per instruction: 3
// float (4 or 8 lanes in 128 bits), 4 double scalar or 128-bit, 8 double 256-bit).
//
// The prescribed divisions, which no reordering may replace by multiplications:
//   n x n inverse: n row scales 1/max|row|, n−1 pivot reciprocals (sequential: each pivot comes
//   out of the previous elimination), n back-substitution rows of n quotients (sequential).
//   4x4 determinant: the scales and the pivot reciprocals only. The affine inverse is the 3x3 one.
// Latency bound (one call alone, pivots predicted): per eliminated column D + 4 + 4 + 2 (the
// reciprocal, the multiplier, its product with the pivot row, the subtraction); then the forward
// substitution's last step (6) and the back substitution, row n−1 a division, row i the product
// with the row below it (4), one subtraction per later row (2 each) and a division:
//   3x3: 5D + 40 = 95 float, 105 double cycles;   4x4: 7D + 60 = 137 float, 151 double;
//   affine: the 3x3 chain plus the translation (mul, add, add: 8) = 103 float, 113 double;
//   4x4 determinant: 3(D + 10) + 4 = 67 float, 73 double.
// Throughput bound (the benchmark's calls are independent, so the processor overlaps them and the
// divider is the busiest unit): the fewest divide instructions the dependences allow, each at the
// divider's reciprocal throughput:
//   3x3 (and affine): 1 (scales) + 2 (pivots) + 3 (rows) = 6 instructions: 18 float cycles;
//     double: 8 (3 scales) + 2·4 + 3·8 = 40;
//   4x4: 1 + 3 + 4 = 8: 24 float; double 8 + 3·4 + 4·8 = 52;
//   4x4 determinant: 1 + 3 = 4: 12 float; double 8 + 3·4 = 20.
// The measured times lie between the two bounds: below one call's latency (calls overlap), above
// the divider's throughput (the rest of the ~150-250 instructions and the mispredicted pivots of
// the shuffled rows). How far calls overlap is set by the instructions in flight behind the
// dependent divisions, so fewer instructions buy time even where the divider is idle: on the
// stored columns (no transpose, nothing through memory) the 4x4 double determinant took about 52
// cycles instead of 61 and the double affine inverse about 64 instead of 80; with the 3x3 pivot
// rows fixed at compile time (no lane exchanges, constant unit vectors) the double 3x3 inverse
// took about 55 cycles instead of 64, the float one 44 instead of 52. Neither one scalar division
// per pivot instead of a 256-bit one (less divider time) nor forming each pivot in every lane
// ahead of its elimination (a chain 7 cycles shorter, 6 more instructions) changed the time,
// which suggests the instructions waiting on the divisions bound it. With the rows left
// unshuffled (pivots always predicted) the determinant took about a tenth less: mispredictions
// are the smaller part of the gap to the floor (of the 3x3 inverse's, no measurable part).

// The benchmarks below report the throughput bounds through setFloor, which the comparison
// script prints next to the measured times.

template <class T>
void voInverse3(benchmark::State& state) {
  const auto a = build<Vo::GeLinearMatrix3<T>>(general3(), 3, voLin<T>);
  std::vector<Vo::GeLinearMatrix3<T>> out(batchSize);
  runUnary(state, a, out, [](const auto& x) { return x.computeInverse(); });
  setFloor(state, sizeof(T) == sizeof(double) ? 40 : 18);
}
template <class T>
void voInverse4(benchmark::State& state) {
  const auto a = build<Vo::GeProjectiveMatrix3<T>>(general4(), 4, voProj<T>);
  std::vector<Vo::GeProjectiveMatrix3<T>> out(batchSize);
  runUnary(state, a, out, [](const auto& x) { return x.computeInverse(); });
  setFloor(state, sizeof(T) == sizeof(double) ? 52 : 24);
}
template <class T>
void voAffineInverse(benchmark::State& state) {
  const auto a = voAffines<T>();
  std::vector<Vo::GeAffineMatrix3<T>> out(batchSize);
  runUnary(state, a, out, [](const auto& x) { return x.computeInverse(); });
  setFloor(state, sizeof(T) == sizeof(double) ? 40 : 18);
}
template <class T>
void voDet4(benchmark::State& state) {
  const auto a = build<Vo::GeProjectiveMatrix3<T>>(general4(), 4, voProj<T>);
  std::vector<T> out(batchSize);
  runUnary(state, a, out, [](const auto& x) { return x.computeDeterminant(); });
  setFloor(state, sizeof(T) == sizeof(double) ? 20 : 12);
}

VO_BENCH("mat3f_mul", "vo", voMul3<float>);
VO_BENCH("mat3d_mul", "vo", voMul3<double>);
VO_BENCH("mat4f_mul", "vo", voMul4<float>);
VO_BENCH("mat4d_mul", "vo", voMul4<double>);
VO_BENCH("mat4f_mulvec", "vo", voMulVec4<float>);
VO_BENCH("mat4d_mulvec", "vo", voMulVec4<double>);
VO_BENCH("mat3f_inverse", "vo", voInverse3<float>);
VO_BENCH("mat3d_inverse", "vo", voInverse3<double>);
VO_BENCH("mat4f_inverse", "vo", voInverse4<float>);
VO_BENCH("mat4d_inverse", "vo", voInverse4<double>);
VO_BENCH("affine4f_inverse", "vo", voAffineInverse<float>);
VO_BENCH("affine4d_inverse", "vo", voAffineInverse<double>);
VO_BENCH("mat4f_det", "vo", voDet4<float>);
VO_BENCH("mat4d_det", "vo", voDet4<double>);

// ---- GLM ---------------------------------------------------------------------------------------

#ifdef VO_BENCH_HAVE_GLM
template <class T>
using GlmMat3 = glm::mat<3, 3, T, glm::defaultp>;
template <class T>
using GlmMat4 = glm::mat<4, 4, T, glm::defaultp>;
template <class T>
using GlmVec4 = glm::vec<4, T, glm::defaultp>;

template <class T, int N>
glm::mat<N, N, T, glm::defaultp> glmMat(const double* e) {
  glm::mat<N, N, T, glm::defaultp> m;
  for (int c = 0; c < N; ++c)
    for (int r = 0; r < N; ++r) m[c][r] = T(e[c * N + r]);
  return m;
}
template <class T>
std::vector<GlmMat4<T>> glmAffines() {
  std::vector<GlmMat4<T>> out;
  const std::vector<double>& t = translations();
  for (std::size_t k = 0; k < batchSize; ++k) {
    GlmMat4<T> m(GlmMat3<T>(glmMat<T, 3>(&general3()[k * 9])));
    m[3] = GlmVec4<T>(T(t[3 * k]), T(t[3 * k + 1]), T(t[3 * k + 2]), T(1));
    out.push_back(m);
  }
  return out;
}

template <class T, int N>
void glmMul(benchmark::State& state) {
  const auto a =
      build<glm::mat<N, N, T, glm::defaultp>>(N == 3 ? general3() : general4(), N, glmMat<T, N>);
  const auto b =
      build<glm::mat<N, N, T, glm::defaultp>>(N == 3 ? general3b() : general4b(), N, glmMat<T, N>);
  std::vector<glm::mat<N, N, T, glm::defaultp>> out(batchSize);
  runBinary(state, a, b, out, [](const auto& x, const auto& y) { return x * y; });
}
template <class T>
void glmMulVec4(benchmark::State& state) {
  const auto a = build<GlmMat4<T>>(general4(), 4, glmMat<T, 4>);
  std::vector<GlmVec4<T>> v;
  const std::vector<double>& c = coordinates();
  for (std::size_t k = 0; k < batchSize; ++k)
    v.emplace_back(T(c[4 * k]), T(c[4 * k + 1]), T(c[4 * k + 2]), T(c[4 * k + 3]));
  std::vector<GlmVec4<T>> out(batchSize);
  runBinary(state, a, v, out, [](const auto& x, const auto& y) { return x * y; });
}
template <class T, int N>
void glmInverse(benchmark::State& state) {
  const auto a =
      build<glm::mat<N, N, T, glm::defaultp>>(N == 3 ? general3() : general4(), N, glmMat<T, N>);
  std::vector<glm::mat<N, N, T, glm::defaultp>> out(batchSize);
  runUnary(state, a, out, [](const auto& x) { return glm::inverse(x); });
}
template <class T>
void glmAffineInverse(benchmark::State& state) {
  const auto a = glmAffines<T>();
  std::vector<GlmMat4<T>> out(batchSize);
  runUnary(state, a, out, [](const auto& x) { return glm::affineInverse(x); });
}
template <class T>
void glmDet4(benchmark::State& state) {
  const auto a = build<GlmMat4<T>>(general4(), 4, glmMat<T, 4>);
  std::vector<T> out(batchSize);
  runUnary(state, a, out, [](const auto& x) { return glm::determinant(x); });
}

VO_BENCH("mat3f_mul", "glm", (glmMul<float, 3>));
VO_BENCH("mat3d_mul", "glm", (glmMul<double, 3>));
VO_BENCH("mat4f_mul", "glm", (glmMul<float, 4>));
VO_BENCH("mat4d_mul", "glm", (glmMul<double, 4>));
VO_BENCH("mat4f_mulvec", "glm", glmMulVec4<float>);
VO_BENCH("mat4d_mulvec", "glm", glmMulVec4<double>);
VO_BENCH("mat3f_inverse", "glm", (glmInverse<float, 3>));
VO_BENCH("mat3d_inverse", "glm", (glmInverse<double, 3>));
VO_BENCH("mat4f_inverse", "glm", (glmInverse<float, 4>));
VO_BENCH("mat4d_inverse", "glm", (glmInverse<double, 4>));
VO_BENCH("affine4f_inverse", "glm", glmAffineInverse<float>);
VO_BENCH("affine4d_inverse", "glm", glmAffineInverse<double>);
VO_BENCH("mat4f_det", "glm", glmDet4<float>);
VO_BENCH("mat4d_det", "glm", glmDet4<double>);
#endif

// ---- Imath (row vectors: v * M; the same work per call) ----------------------------------------

#ifdef VO_BENCH_HAVE_IMATH
template <class T>
Imath::Matrix33<T> imathMat3(const double* e) {
  Imath::Matrix33<T> m;
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 3; ++r) m[r][c] = T(e[c * 3 + r]);
  return m;
}
template <class T>
Imath::Matrix44<T> imathMat4(const double* e) {
  Imath::Matrix44<T> m;
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) m[r][c] = T(e[c * 4 + r]);
  return m;
}

template <class T>
void imathMul3(benchmark::State& state) {
  const auto a = build<Imath::Matrix33<T>>(general3(), 3, imathMat3<T>);
  const auto b = build<Imath::Matrix33<T>>(general3b(), 3, imathMat3<T>);
  std::vector<Imath::Matrix33<T>> out(batchSize);
  runBinary(state, a, b, out, [](const auto& x, const auto& y) { return x * y; });
}
template <class T>
void imathMul4(benchmark::State& state) {
  const auto a = build<Imath::Matrix44<T>>(general4(), 4, imathMat4<T>);
  const auto b = build<Imath::Matrix44<T>>(general4b(), 4, imathMat4<T>);
  std::vector<Imath::Matrix44<T>> out(batchSize);
  runBinary(state, a, b, out, [](const auto& x, const auto& y) { return x * y; });
}
template <class T>
void imathMulVec4(benchmark::State& state) {
  const auto a = build<Imath::Matrix44<T>>(general4(), 4, imathMat4<T>);
  std::vector<Imath::Vec4<T>> v;
  const std::vector<double>& c = coordinates();
  for (std::size_t k = 0; k < batchSize; ++k)
    v.emplace_back(T(c[4 * k]), T(c[4 * k + 1]), T(c[4 * k + 2]), T(c[4 * k + 3]));
  std::vector<Imath::Vec4<T>> out(batchSize);
  runBinary(state, v, a, out, [](const auto& x, const auto& y) { return x * y; });
}
template <class T>
void imathInverse3(benchmark::State& state) {
  const auto a = build<Imath::Matrix33<T>>(general3(), 3, imathMat3<T>);
  std::vector<Imath::Matrix33<T>> out(batchSize);
  runUnary(state, a, out, [](const auto& x) { return x.inverse(); });
}
// Imath's inverse() takes its pivoting Gauss-Jordan path for every non-affine matrix.
template <class T>
void imathInverse4(benchmark::State& state) {
  const auto a = build<Imath::Matrix44<T>>(general4(), 4, imathMat4<T>);
  std::vector<Imath::Matrix44<T>> out(batchSize);
  runUnary(state, a, out, [](const auto& x) { return x.inverse(); });
}
template <class T>
void imathAffineInverse(benchmark::State& state) {
  std::vector<Imath::Matrix44<T>> a;
  const std::vector<double>& t = translations();
  for (std::size_t k = 0; k < batchSize; ++k) {
    const double* e = &general3()[k * 9];
    Imath::Matrix44<T> m;  // row-vector layout: the translation is row 3
    for (int c = 0; c < 3; ++c)
      for (int r = 0; r < 3; ++r) m[c][r] = T(e[c * 3 + r]);
    for (int c = 0; c < 3; ++c) m[3][c] = T(t[3 * k + c]);
    a.push_back(m);
  }
  std::vector<Imath::Matrix44<T>> out(batchSize);
  runUnary(state, a, out, [](const auto& x) { return x.inverse(); });
}
template <class T>
void imathDet4(benchmark::State& state) {
  const auto a = build<Imath::Matrix44<T>>(general4(), 4, imathMat4<T>);
  std::vector<T> out(batchSize);
  runUnary(state, a, out, [](const auto& x) { return x.determinant(); });
}

VO_BENCH("mat3f_mul", "imath", imathMul3<float>);
VO_BENCH("mat3d_mul", "imath", imathMul3<double>);
VO_BENCH("mat4f_mul", "imath", imathMul4<float>);
VO_BENCH("mat4d_mul", "imath", imathMul4<double>);
VO_BENCH("mat4f_mulvec", "imath", imathMulVec4<float>);
VO_BENCH("mat4d_mulvec", "imath", imathMulVec4<double>);
VO_BENCH("mat3f_inverse", "imath", imathInverse3<float>);
VO_BENCH("mat3d_inverse", "imath", imathInverse3<double>);
VO_BENCH("mat4f_inverse", "imath", imathInverse4<float>);
VO_BENCH("mat4d_inverse", "imath", imathInverse4<double>);
VO_BENCH("affine4f_inverse", "imath", imathAffineInverse<float>);
VO_BENCH("affine4d_inverse", "imath", imathAffineInverse<double>);
VO_BENCH("mat4f_det", "imath", imathDet4<float>);
VO_BENCH("mat4d_det", "imath", imathDet4<double>);
#endif

// ---- Eigen -------------------------------------------------------------------------------------

#ifdef VO_BENCH_HAVE_EIGEN
template <class T, int N>
Eigen::Matrix<T, N, N> eigenMat(const double* e) {
  Eigen::Matrix<T, N, N> m;
  for (int c = 0; c < N; ++c)
    for (int r = 0; r < N; ++r) m(r, c) = T(e[c * N + r]);
  return m;
}

template <class T, int N>
void eigenMul(benchmark::State& state) {
  const auto a = build<Eigen::Matrix<T, N, N>>(N == 3 ? general3() : general4(), N, eigenMat<T, N>);
  const auto b =
      build<Eigen::Matrix<T, N, N>>(N == 3 ? general3b() : general4b(), N, eigenMat<T, N>);
  std::vector<Eigen::Matrix<T, N, N>> out(batchSize);
  runBinary(state, a, b, out,
            [](const auto& x, const auto& y) { return Eigen::Matrix<T, N, N>(x * y); });
}
template <class T>
void eigenMulVec4(benchmark::State& state) {
  const auto a = build<Eigen::Matrix<T, 4, 4>>(general4(), 4, eigenMat<T, 4>);
  std::vector<Eigen::Matrix<T, 4, 1>> v;
  const std::vector<double>& c = coordinates();
  for (std::size_t k = 0; k < batchSize; ++k)
    v.emplace_back(T(c[4 * k]), T(c[4 * k + 1]), T(c[4 * k + 2]), T(c[4 * k + 3]));
  std::vector<Eigen::Matrix<T, 4, 1>> out(batchSize);
  runBinary(state, a, v, out,
            [](const auto& x, const auto& y) { return Eigen::Matrix<T, 4, 1>(x * y); });
}
template <class T, int N>
void eigenInverse(benchmark::State& state) {
  const auto a = build<Eigen::Matrix<T, N, N>>(N == 3 ? general3() : general4(), N, eigenMat<T, N>);
  std::vector<Eigen::Matrix<T, N, N>> out(batchSize);
  runUnary(state, a, out, [](const auto& x) { return Eigen::Matrix<T, N, N>(x.inverse()); });
}
template <class T>
void eigenAffineInverse(benchmark::State& state) {
  using Affine = Eigen::Transform<T, 3, Eigen::Affine>;
  std::vector<Affine> a;
  const std::vector<double>& t = translations();
  for (std::size_t k = 0; k < batchSize; ++k) {
    Affine m = Affine::Identity();
    m.linear() = eigenMat<T, 3>(&general3()[k * 9]);
    m.translation() = Eigen::Matrix<T, 3, 1>(T(t[3 * k]), T(t[3 * k + 1]), T(t[3 * k + 2]));
    a.push_back(m);
  }
  std::vector<Affine> out(batchSize);
  runUnary(state, a, out, [](const auto& x) { return x.inverse(Eigen::Affine); });
}
template <class T>
void eigenDet4(benchmark::State& state) {
  const auto a = build<Eigen::Matrix<T, 4, 4>>(general4(), 4, eigenMat<T, 4>);
  std::vector<T> out(batchSize);
  runUnary(state, a, out, [](const auto& x) { return x.determinant(); });
}

VO_BENCH("mat3f_mul", "eigen", (eigenMul<float, 3>));
VO_BENCH("mat3d_mul", "eigen", (eigenMul<double, 3>));
VO_BENCH("mat4f_mul", "eigen", (eigenMul<float, 4>));
VO_BENCH("mat4d_mul", "eigen", (eigenMul<double, 4>));
VO_BENCH("mat4f_mulvec", "eigen", eigenMulVec4<float>);
VO_BENCH("mat4d_mulvec", "eigen", eigenMulVec4<double>);
VO_BENCH("mat3f_inverse", "eigen", (eigenInverse<float, 3>));
VO_BENCH("mat3d_inverse", "eigen", (eigenInverse<double, 3>));
VO_BENCH("mat4f_inverse", "eigen", (eigenInverse<float, 4>));
VO_BENCH("mat4d_inverse", "eigen", (eigenInverse<double, 4>));
VO_BENCH("affine4f_inverse", "eigen", eigenAffineInverse<float>);
VO_BENCH("affine4d_inverse", "eigen", eigenAffineInverse<double>);
VO_BENCH("mat4f_det", "eigen", eigenDet4<float>);
VO_BENCH("mat4d_det", "eigen", eigenDet4<double>);
#endif

}  // namespace

// ---- this library's LU paths one by one (no peer counterpart) ---------------------------------
// "lu_<operation>_<path>": the operation of each instruction-set path the processor has, called
// as the members call it, to see what each path gains.

namespace {

using Vo::MatrixLu::Path;

template <class T, int N>
struct Elements {
  T e[N];
};

// op(ops, input, output) over the batch of `make`'s inputs.
template <class T, int In, int Out, class Make, class Op>
void runPath(benchmark::State& state, Path path, Make make, Op op) {
  if (!Vo::MatrixLu::isAvailable(path)) {
    state.SkipWithError("path not available on this processor");
    return;
  }
  const Vo::MatrixLu::Ops<T>& ops = Vo::MatrixLu::ops<T>(path);
  std::vector<Elements<T, In>> in;
  for (std::size_t k = 0; k < batchSize; ++k) {
    Elements<T, In> m;
    std::copy(make(k), make(k) + In, m.e);
    in.push_back(m);
  }
  std::vector<Elements<T, Out>> out(batchSize);
  runUnary(state, in, out, [&](const Elements<T, In>& m) {
    Elements<T, Out> r{};
    op(ops, m.e, r.e);
    return r;
  });
}

template <class T, Path path>
void luLinearInverse(benchmark::State& state) {
  const auto a = build<Vo::GeLinearMatrix3<T>>(general3(), 3, voLin<T>);
  runPath<T, 9, 9>(
      state, path, [&](std::size_t k) { return a[k].data(); },
      [](const auto& ops, const T* m, T* r) { ops.linearInverse(m, r); });
}
template <class T, Path path>
void luAffineInverse(benchmark::State& state) {
  const auto a = voAffines<T>();
  runPath<T, 16, 16>(
      state, path, [&](std::size_t k) { return a[k].data(); },
      [](const auto& ops, const T* m, T* r) { ops.affineInverse(m, r); });
}
template <class T, Path path>
void luProjectiveInverse(benchmark::State& state) {
  const auto a = build<Vo::GeProjectiveMatrix3<T>>(general4(), 4, voProj<T>);
  runPath<T, 16, 16>(
      state, path, [&](std::size_t k) { return a[k].data(); },
      [](const auto& ops, const T* m, T* r) { ops.projectiveInverse(m, r); });
}
template <class T, Path path>
void luProjectiveDeterminant(benchmark::State& state) {
  const auto a = build<Vo::GeProjectiveMatrix3<T>>(general4(), 4, voProj<T>);
  runPath<T, 16, 1>(
      state, path, [&](std::size_t k) { return a[k].data(); },
      [](const auto& ops, const T* m, T* r) { *r = ops.projectiveDeterminant(m); });
}

// "lu_mat3f_inverse_sse2/vo", ... for one element type and path.
template <class T, Path path>
bool addPath(const char* pathName) {
  const std::string type = sizeof(T) == 4 ? "f_" : "d_";
  const std::string suffix = std::string("_") + pathName;
  add(("lu_mat3" + type + "inverse" + suffix).c_str(), "vo", luLinearInverse<T, path>);
  add(("lu_affine4" + type + "inverse" + suffix).c_str(), "vo", luAffineInverse<T, path>);
  add(("lu_mat4" + type + "inverse" + suffix).c_str(), "vo", luProjectiveInverse<T, path>);
  add(("lu_mat4" + type + "det" + suffix).c_str(), "vo", luProjectiveDeterminant<T, path>);
  return true;
}
const bool pathsAdded = addPath<float, Path::portable>("portable") &&
                        addPath<float, Path::sse2>("sse2") && addPath<float, Path::avx2>("avx2") &&
                        addPath<double, Path::portable>("portable") &&
                        addPath<double, Path::sse2>("sse2") && addPath<double, Path::avx2>("avx2");

}  // namespace
