// The README's API tour, compiled and run so that every snippet there stays true: each printed
// value is also checked here, and a wrong one prints "FAILED" (which fails the test).

#include <vezODedizezivuz/vezODedizezivuz.h>

#include <cstdio>
#include <iostream>
#include <unordered_set>

using namespace Vo;

namespace {

int failures = 0;

void check(bool ok, const char* what) {
  if (!ok) {
    std::cout << "FAILED: " << what << '\n';
    ++failures;
  }
}

// Transforms: the camera of the tour, its inverse, and a point through it.
GeProjectiveMatrix3<float> cameraTour(const GePoint3<float>& eye, const GePoint3<float>& target) {
  // Transform composition: matrices act on column vectors, so A * B applies B first.
  const GeProjectiveMatrix3<float> projection =
      GeCameraBuilder<float>::makePerspective(1.0f, 0.1f, 100.0f, 16.0f / 9.0f);
  const GeRotation3<float> turn = GeRotation3<float>::aim(  // world to camera: (eye - target)
      GeUnitVector3<float>(eye - target), GeVector3<float>(0, 1, 0), zAxis, yAxis, true);
  const GeAffineMatrix3<float> view =
      GeTranslation3<float>(-eye.toVector()).mulOnRight(turn);  // turn · translate
  const GeProjectiveMatrix3<float> camera = projection * view;

  // Inverse: LU decomposition; a singular matrix raises Vo::AssertionFailedError ("nonSingular").
  const GeAffineMatrix3<float> back = view.computeInverse();
  const GePoint3<float> eyeAgain = back * GePoint3<float>(0, 0, 0);
  std::printf("eye from the inverse view: (%.3f, %.3f, %.3f)\n", eyeAgain.x, eyeAgain.y,
              eyeAgain.z);
  check(eyeAgain.isEqual(eye, 1e-5f), "the inverse view maps the origin to the eye");

  // Projective transform of a point with the divide by w; false when w is 0.
  GePoint3<float> ndc(0, 0, 0);  // left alone when w is 0
  const bool finite = camera.transformPoint(target, ndc);
  std::printf("target in clip space: (%.3f, %.3f, %.3f)\n", ndc.x, ndc.y, ndc.z);
  check(finite && ndc.isEqual(GePoint3<float>(0, 0, ndc.z), 1e-6f) && ndc.z > -1 && ndc.z < 1,
        "the target projects to the centre of the view, between near and far");
  check(!camera.transformPoint(eye, ndc), "the eye itself has w = 0");
  return camera;
}

void vectorAndQuaternionTour() {
  // Vectors: a normalised copy, division by a scalar, comparison within a tolerance.
  const GeVector3<float> v(3, 0, 4);
  std::cout << "normalized: " << v.normalized() << ", halved: " << v / 2.0f << '\n';
  check(v.normalized().isEqual(GeVector3<float>(0.6f, 0, 0.8f), 1e-7f), "normalized (3, 0, 4)");

  // Quaternion slerp, a quarter of the way from identity to 90 degrees about y; rotating a
  // vector needs no matrix.
  const GeQuaternion3<double> from;  // identity (0, 0, 0, 1)
  const GeQuaternion3<double> to =
      GeQuaternion3<double>::makeRotation(1.5707963267948966, GeVector3<double>(0, 1, 0));
  const GeQuaternion3<double> quarter = GeQuaternion3<double>::slerp(from, to, 0.25, 0.0);
  std::cout << "slerp: " << quarter << '\n';
  check(
      quarter.isEqual(GeQuaternion3<double>(0, 0.19509032201612825, 0, 0.98078528040323043), 1e-12),
      "slerp a quarter of the way");
  const GeVector3<double> turned = to.rotate(GeVector3<double>(1, 0, 0));
  std::printf("x turned 90 degrees about y: (%.3f, %.3f, %.3f)\n", turned.x, turned.y, turned.z);
  check(turned.isEqual(GeVector3<double>(0, 0, -1), 1e-15), "x about y goes to -z");

  // Euler angles: 24 conventions; angles in radians.
  GeLinearMatrix3<double> m;
  GeQuaternion3<double>::eulerToMatrix(m, GeQuaternion3<double>::staticXYZ, 0.1, 0.2, 0.3);
  double a = 0, b = 0, c = 0;
  GeQuaternion3<double>::matrixToEuler(m, GeQuaternion3<double>::staticXYZ, a, b, c);
  std::printf("Euler round trip: %.3f %.3f %.3f\n", a, b, c);
  check(GeVector3<double>(a, b, c).isEqual(GeVector3<double>(0.1, 0.2, 0.3), 1e-12),
        "Euler angles round trip");
}

void cullingTour(const GeProjectiveMatrix3<float>& camera, const GePoint3<float>& eye,
                 const GePoint3<float>& target) {
  // World bounds of an object box under its model matrix (45 degrees about y, then 5 along x).
  GeLinearMatrix3<float> spin;
  GeQuaternion3<float>::makeRotation(0.78539816f, GeVector3<float>(0, 1, 0)).getMatrix(spin);
  const GeAffineMatrix3<float> model(spin, GeVector3<float>(5, 0, 0));
  const GeAlignedBox3<float> object(GePoint3<float>(-1, -1, -1), GePoint3<float>(1, 1, 1));
  const GeAlignedBox3<float> world = object.transformed(model);
  std::printf("world box: x [%.3f, %.3f] y [%.3f, %.3f] z [%.3f, %.3f], centre x %.3f\n",
              world.x.min, world.x.max, world.y.min, world.y.max, world.z.min, world.z.max,
              world.getCenter().x);
  check(world.isEqual(GeAlignedBox3<float>(GePoint3<float>(3.5857865f, -1, -1.4142135f),
                                           GePoint3<float>(6.4142135f, 1, 1.4142135f)),
                      1e-5f),
        "the rotated box is sqrt(2) wide on x and z");
  check(world.contains(model * GePoint3<float>(1, 1, 1)), "the world box holds every corner");

  // Frustum culling, one box or a whole array (SIMD, same answers box for box), spheres, and
  // the eight corners for debug drawing.
  const GeFrustum<float> frustum(camera);
  const GeAlignedBox3<float> boxes[] = {
      GeAlignedBox3<float>(GePoint3<float>(-1, -1, -1), GePoint3<float>(1, 1, 1)),
      GeAlignedBox3<float>(GePoint3<float>(50, 0, 0), GePoint3<float>(51, 1, 1))};
  GeFrustum<float>::Classification result[2];
  frustum.classify(boxes, 2, result);
  const bool box0Inside = frustum.classify(boxes[0]) == GeFrustum<float>::INSIDE;
  const bool box1Outside = result[1] == GeFrustum<float>::OUTSIDE;
  std::cout << "box 0: " << (box0Inside ? "inside" : "not inside")
            << ", box 1: " << (box1Outside ? "outside" : "visible") << '\n';
  check(box0Inside && box1Outside, "box 0 inside, box 1 outside");
  const GeFrustum<float>::Classification sphere = frustum.classify(eye, 1.0f);
  std::cout << "sphere around the eye: "
            << (sphere == GeFrustum<float>::INTERSECTING ? "intersecting" : "not intersecting")
            << '\n';
  check(sphere == GeFrustum<float>::INTERSECTING, "a sphere around the eye crosses the near plane");
  const GePoint3<float> farCorner = frustum.getCorners()[7];
  std::printf("far top right corner: (%.1f, %.1f, %.1f)\n", farCorner.x, farCorner.y, farCorner.z);

  // Value types hash consistently with their exact ==.
  const std::unordered_set<GePoint3<float>> distinct = {eye, target, GePoint3<float>(0, 2, 10)};
  std::cout << "distinct points: " << distinct.size() << '\n';
  check(distinct.size() == 2, "equal points hash alike");
}

}  // namespace

int main() {
  const GePoint3<float> eye(0, 2, 10), target(0, 0, 0);
  const GeProjectiveMatrix3<float> camera = cameraTour(eye, target);
  vectorAndQuaternionTour();
  cullingTour(camera, eye, target);
  return failures == 0 ? 0 : 1;
}
