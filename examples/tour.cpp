// The README's API tour, compiled and run so that every snippet there stays true.

#include <vezODedizezivuz/vezODedizezivuz.h>

#include <cstdio>
#include <iostream>

using namespace Vo;

int main() {
  // Transform composition: matrices act on column vectors, so A * B applies B first.
  const GeProjectiveMatrix3<float> projection =
      GeCameraBuilder<float>::makePerspective(1.0f, 0.1f, 100.0f, 16.0f / 9.0f);
  const GePoint3<float> eye(0, 2, 10), target(0, 0, 0);
  const GeRotation3<float> turn = GeRotation3<float>::aim(  // world to camera: (eye - target)
      GeUnitVector3<float>(eye - target), GeVector3<float>(0, 1, 0), 2, 1, true);  // onto +z
  const GeAffineMatrix3<float> view =
      GeTranslation3<float>(-eye.x, -eye.y, -eye.z).mulOnRight(turn);  // turn · translate
  const GeProjectiveMatrix3<float> camera = projection * view;
  std::cout << "camera matrix:\n";
  camera.dump(std::cout);

  // Inverse: LU decomposition; a singular matrix raises Vo::AssertionFailedError ("nonSingular").
  const GeAffineMatrix3<float> back = view.computeInverse();
  std::cout << "eye from the inverse view: " << back * GePoint3<float>(0, 0, 0) << '\n';

  // Quaternion slerp, a quarter of the way from identity to 90 degrees about y.
  const GeQuaternion3<double> from;  // identity (0, 0, 0, 1)
  const GeQuaternion3<double> to =
      GeQuaternion3<double>::makeRotation(1.5707963267948966, GeVector3<double>(0, 1, 0));
  std::cout << "slerp: " << GeQuaternion3<double>::slerp(from, to, 0.25, 0.0) << '\n';

  // Euler angles: 24 conventions; angles in radians.
  GeLinearMatrix3<double> m;
  GeQuaternion3<double>::eulerToMatrix(m, GeQuaternion3<double>::staticXYZ, 0.1, 0.2, 0.3);
  double a = 0, b = 0, c = 0;
  GeQuaternion3<double>::matrixToEuler(m, GeQuaternion3<double>::staticXYZ, a, b, c);
  std::printf("Euler round trip: %.3f %.3f %.3f\n", a, b, c);

  // Frustum culling, one box or a whole array (SIMD, same answers box for box).
  const GeFrustum<float> frustum(camera);
  const GeAlignedBox3<float> boxes[] = {
      GeAlignedBox3<float>(GePoint3<float>(-1, -1, -1), GePoint3<float>(1, 1, 1)),
      GeAlignedBox3<float>(GePoint3<float>(50, 0, 0), GePoint3<float>(51, 1, 1))};
  GeFrustum<float>::Classification result[2];
  frustum.classify(boxes, 2, result);
  std::cout << "box 0: "
            << (frustum.classify(boxes[0]) == GeFrustum<float>::INSIDE ? "inside" : "not inside")
            << ", box 1: " << (result[1] == GeFrustum<float>::OUTSIDE ? "outside" : "visible")
            << '\n';
  return 0;
}
