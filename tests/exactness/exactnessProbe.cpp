// Runs every family of inline arithmetic of the public headers on seeded random inputs and
// prints one hash of the result bits per family and precision. Built with the project's own
// flags it is the reference; checkExactness.cmake builds it again the way hosts do (other
// compilers, optimisation levels, instruction sets, standards) and requires the same lines.
#include <vezODedizezivuz/vezODedizezivuz.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <type_traits>

// Kept out of line and visible outside this file: inlined or specialised for its one caller,
// GCC does not vectorise it and the fault hides.
__attribute__((noinline)) Vo::GeLinearMatrix3<double> rotateColumns(
    const Vo::GeXAxisRotation3<double>& r, const Vo::GeLinearMatrix3<double>& m);
Vo::GeLinearMatrix3<double> rotateColumns(const Vo::GeXAxisRotation3<double>& r,
                                          const Vo::GeLinearMatrix3<double>& m) {
  return r.mulOnRight(m);
}

namespace {

using namespace Vo;

std::uint64_t state = 0x9e3779b97f4a7c15u;

std::uint64_t next() {  // splitmix64: the same sequence under every compiler
  std::uint64_t z = (state += 0x9e3779b97f4a7c15u);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
  return z ^ (z >> 31);
}

// Uniform in [-1, 1) with every bit of the significand random, built without arithmetic that a
// compiler could fuse.
template <class T>
T uniform() {
  constexpr int bits = std::numeric_limits<T>::digits;
  const auto mantissa = static_cast<std::int64_t>(next() >> (64 - bits));
  return std::ldexp(static_cast<T>(mantissa), 1 - bits) - T(1);
}

// FNV-1a over the bytes of each result of a family, in the order of the arguments.
struct Hash {
  std::uint64_t h = 1469598103934665603u;
  template <class... V>
  void add(const V&... values) {
    (addBytes(values), ...);
  }
  template <class V>
  void addBytes(const V& v) {
    static_assert(std::is_trivially_copyable<V>::value, "results are plain values");
    unsigned char bytes[sizeof(V)];
    std::memcpy(bytes, &v, sizeof(V));
    for (unsigned char b : bytes) h = (h ^ b) * 1099511628211u;
  }
};

template <class T>
struct Inputs {
  GeVector3<T> u, v;
  GePoint3<T> p;
  GeHomogeneousCoord3<T> h;
  GeLinearMatrix3<T> l;
  GeAffineMatrix3<T> a;
  GeProjectiveMatrix3<T> m;
  GeScale3<T> s;
  GeTranslation3<T> t;
  GeQuaternion3<T> q, r;
  T c, sn, f;

  Inputs() {
    // Drawn in a fixed order: the order in which a call's arguments are evaluated varies with
    // the compiler.
    T x[64];
    for (T& value : x) value = uniform<T>();
    u = GeVector3<T>(x[0], x[1], x[2]);
    v = GeVector3<T>(x[3], x[4], x[5]);
    p = GePoint3<T>(x[6], x[7], x[8]);
    h = GeHomogeneousCoord3<T>(x[9], x[10], x[11], x[12]);
    for (int k = 0; k < 9; ++k) l.data()[k] = x[13 + k];
    for (int k = 0; k < 12; ++k) a(k / 4, k % 4) = x[22 + k];
    for (int k = 0; k < 16; ++k) m.data()[k] = x[48 + k];
    s = GeScale3<T>(x[34], x[35], x[36]);
    t = GeTranslation3<T>(x[37], x[38], x[39]);
    q = GeQuaternion3<T>(x[40], x[41], x[42], x[43]);
    r = GeQuaternion3<T>(x[44], x[45], x[46], x[47]);
    c = x[0] * x[1] > T(0) ? x[2] : x[3];
    sn = x[4];
    f = (x[5] + T(1)) / T(2);
  }
};

// One result per call: grouped into one call, GCC stops inlining the products here, which then
// run the library's own build instead of the host's.
template <class R, class T>
void axisRotation(Hash& hash, const Inputs<T>& in) {
  const R rot(in.c, in.sn);
  hash.add(rot.getRotation());
  hash.add(rot * in.s);
  hash.add(rot.mulOnRight(in.s));
  hash.add(rot * in.l);
  hash.add(rot.mulOnRight(in.l));
  hash.add(rot * GeRotation3<T>(in.l));
  hash.add(rot.mulOnRight(GeRotation3<T>(in.l)));
  hash.add(rot * in.t);
  hash.add(rot.mulOnRight(in.t));
  hash.add(rot * in.a);
  hash.add(rot.mulOnRight(in.a));
}

// Arguments are evaluated in an order the compiler chooses, so no call to add changes what
// another of its arguments reads.
template <class T>
void run(const char* name) {
  constexpr int count = 4096;
  Hash vector, linear, affine, projective, scale, translation, xRot, yRot, zRot, aim, quaternion,
      colour, plane, everyday;
  for (int i = 0; i < count; ++i) {
    const Inputs<T> in;
    const GeVector2<T> u2(in.u.x, in.u.y), v2(in.v.x, in.v.y);
    vector.add(dot(in.u, in.v), cross(in.u, in.v), in.u.lengthSquared(),
               in.p - (in.u + in.v * in.c), dot(u2, v2), u2.lengthSquared());

    linear.add(in.l.computeDeterminant(), in.l.computeAdjoint(),
               in.l * GeLinearMatrix3<T>(in.a.getLinear()), in.l * in.p, in.l * in.u,
               in.l.mulOnRight(in.u));
    affine.add(in.a.computeDeterminant(), in.a * in.l, in.a.mulOnRight(in.l),
               in.a * GeAffineMatrix3<T>(in.l, in.v), in.a * in.p, in.a * in.u,
               in.a.mulOnRight(in.u));
    projective.add(in.m * in.m, in.m * in.a, in.m * in.h, in.m.mulOnRight(in.h));

    GeLinearMatrix3<T> l = in.l;
    GeAffineMatrix3<T> a = in.a;
    GeProjectiveMatrix3<T> m = in.m;
    scale.add(in.s * in.l, in.s * in.a, in.s * in.m, in.s * in.u, in.s * in.p);
    scale.add(in.s.mulOnRightAssign(l), in.s.mulOnRightAssign(a), in.s.mulOnRightAssign(m));
    translation.add(in.t * in.l, in.t.mulOnRight(in.l), in.t * in.a, in.t * in.m, in.t * in.p);
    translation.add(in.t.mulOnRightAssign(a), in.t.mulOnRightAssign(m));

    axisRotation<GeXAxisRotation3<T>>(xRot, in);
    axisRotation<GeYAxisRotation3<T>>(yRot, in);
    axisRotation<GeZAxisRotation3<T>>(zRot, in);
    if (in.u.lengthSquared() > T(0.01)) {
      const GeUnitVector3<T> direction(in.u);
      aim.add(GeRotation3<T>::aim(direction, in.v, i % 3, (i + 1) % 3, (i & 1) != 0));
    }

    GeLinearMatrix3<T> fromQuaternion, rotation;
    GeAffineMatrix3<T> affineFromQuaternion;
    in.q.getMatrix(fromQuaternion);
    in.q.getMatrix(affineFromQuaternion);
    GeQuaternion3<T> unitQ = in.q, unitR = in.r, fromMatrix;
    unitQ.normalize();
    unitR.normalize();
    unitQ.getMatrix(rotation);
    fromMatrix.setMatrix(rotation, T(1));
    quaternion.add(in.q * in.r, dot(in.q, in.r), in.q.lengthSquared(), in.q.computeInverse(),
                   GeQuaternion3<T>::lerp(in.q, in.r, in.f), fromQuaternion, affineFromQuaternion,
                   GeQuaternion3<T>::slerp(unitQ, unitR, in.f, T(0)), fromMatrix);

    const CoRgbColorT<T> rgb(in.f, (in.c + T(1)) / T(2), (in.sn + T(1)) / T(2));
    const CoHsvColorT<T> hsv = CoHsvColorT<T>::convertFromRgb(rgb);
    colour.add(hsv, hsv.convertToRgb(), CoHsvColorT<T>(in.c * T(512), in.f, in.f).convertToRgb());

    const GePlane3<T> somePlane(in.u, in.c);
    T t = T(0), t1 = T(0);
    plane.add(somePlane.evaluate(in.p), somePlane.intersectRay(in.p, in.v, t));
    plane.add(t);
    plane.add(
        GeSphere3<T>(in.p, in.f).intersectRay(GePoint3<T>(in.u.x, in.u.y, in.u.z), in.v, t, t1));
    plane.add(t, t1);

    GePoint3<T> projected(T(0), T(0), T(0));
    everyday.add(in.m.transformPoint(in.p, projected));
    const GeQuaternion3<T> unit = in.q.normalized();
    const GeAlignedBox3<T> box(in.p, GePoint3<T>(in.p.x + in.f, in.p.y + in.c, in.p.z + in.sn));
    everyday.add(in.u.normalized(), in.u / in.c, in.u.isEqual(in.v, in.f), in.h.project(),
                 projected, unit, unit.rotate(in.v), unit.rotate(in.p), unit.conjugate(),
                 box.transformed(in.a), box.getCenter(), box.getSize(),
                 box.contains(GePoint3<T>(in.u.x, in.u.y, in.u.z)));
  }
  const struct {
    const char* family;
    const Hash& hash;
  } families[] = {{"vector", vector},         {"linear", linear},
                  {"affine", affine},         {"projective", projective},
                  {"scale", scale},           {"translation", translation},
                  {"xRotation", xRot},        {"yRotation", yRot},
                  {"zRotation", zRot},        {"aim", aim},
                  {"quaternion", quaternion}, {"colour", colour},
                  {"planeSphere", plane},     {"everyday", everyday}};
  for (const auto& f : families)
    std::printf("%s %s %016llx\n", f.family, name, static_cast<unsigned long long>(f.hash.h));
}

void frustum() {
  // Single-box and point classification against the frustum of a random camera.
  Hash hash;
  for (int camera = 0; camera < 64; ++camera) {
    float x[5];
    for (float& value : x) value = uniform<float>();
    const GeUnitVector3<float> ahead(GeVector3<float>(x[0], x[1], x[2] - 2));
    const GeAffineMatrix3<float> view(GeRotation3<float>::aim(ahead, 2, true), {x[3], x[4], -5});
    const auto projection = GeCameraBuilder<float>::makePerspective(1.0f, 0.1f, 100.0f, 1.5f);
    const GeFrustum<float> frustum(projection * view);
    for (int i = 0; i < 256; ++i) {
      float y[6];
      for (float& value : y) value = uniform<float>();
      const GePoint3<float> p(y[0] * 16, y[1] * 16, y[2] * 16);
      const GePoint3<float> q(p.x + y[3] * 4, p.y + y[4] * 4, p.z + y[5] * 4);
      hash.add(frustum.classify(p), frustum.classify(GeAlignedBox3<float>(p, q)),
               frustum.classify(p, y[3] * y[3] * 8));
    }
  }
  std::printf("frustum float %016llx\n", static_cast<unsigned long long>(hash.h));
}

// The case that GCC 12 at -O3 with FMA fused into one rounding despite -ffp-contract=off: the
// separately rounded products give -0x1.91a7f54f7bd04p-2, the fused value ends in ...03p-2.
void knownCase() {
  // Read through volatile so that the compiler cannot fold the product at compile time.
  volatile double inputs[] = {-0x1.cefc4bdb55b54p-2, 0x1.0f2242728223ep-1, 0x1.778555666706p-1,
                              0x1.43690d0df7e0cp-2, -0x1.e258fe4d7e058p-2};
  const GeXAxisRotation3<double> rotation(inputs[0], inputs[1]);
  GeLinearMatrix3<double> m;
  m(0, 0) = inputs[2];
  m(0, 1) = inputs[3];
  m(0, 2) = inputs[4];
  std::printf("knownCase double %a\n", rotateColumns(rotation, m)(0, 1));
}

}  // namespace

int main() {
  knownCase();
  run<float>("float");
  run<double>("double");
  frustum();
  return 0;
}
