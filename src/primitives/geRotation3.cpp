#include <vezODedizezivuz/geRotation3.h>

#include <zevIRudez/Assertions.h>

namespace Vo {

namespace {

// Normalises v in place by the reciprocal of its length. The length is required to be greater
// than 0 only after dividing, so a NaN length is caught as well as a zero one.
template <class T>
GeVector3<T> normalizeOrFail(const GeVector3<T>& v, int line) {
  GeVector3<T> n = v;
  const T len = GeScalar<T>::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (len != T(0)) {
    const T inv = T(1) / len;
    n.x = v.x * inv;
    n.y = v.y * inv;
    n.z = v.z * inv;
  }
  if (!(len > T(0)))
    Assertions::throwAssertionFailed("primitives/geRotation3.imp", line, "len > 0");
  return n;
}

// A zero direction means "look down -z", the default view direction of a camera.
template <class T>
GeVector3<T> aimVector(const GeVector3<T>& direction) {
  if (direction.x * direction.x + direction.y * direction.y + direction.z * direction.z == T(0)) {
    return GeVector3<T>(0, 0, -1);
  }
  return direction;
}

// The negated axis of a's smallest component: the axis farthest from a, so a × f is well
// conditioned. z only when strictly smallest; between x and y a tie goes to y.
template <class T>
GeVector3<T> fallbackVector(const GeVector3<T>& a) {
  const T ax = GeScalar<T>::abs(a.x);
  const T ay = GeScalar<T>::abs(a.y);
  const T az = GeScalar<T>::abs(a.z);
  if (ax >= ay) return az >= ay ? GeVector3<T>(0, -1, 0) : GeVector3<T>(0, 0, -1);
  return az >= ax ? GeVector3<T>(-1, 0, 0) : GeVector3<T>(0, 0, -1);
}

// Places frame vector v as column `axis` (rows with `inverse`).
template <class T>
void setFrameVector(GeRotation3<T>& m, int axis, const GeVector3<T>& v, bool inverse) {
  for (int i = 0; i < 3; ++i) {
    if (inverse) {
      m(axis, i) = v[i];
    } else {
      m(i, axis) = v[i];
    }
  }
}

}  // namespace

template <class T>
const unsigned char GeRotation3<T>::_handedness[9] = {1, 1, 0, 0, 1, 1, 1, 0, 1};

template <class T>
GeRotation3<T> GeRotation3<T>::aim(const GeUnitVector3<T>& direction, const GeVector3<T>& up,
                                   int aimAxis, int upAxis, bool inverse) {
  const GeVector3<T> a = aimVector<T>(direction);
  const GeVector3<T> p = up - dot(up, a) * a;
  // An up vector parallel to a leaves no perpendicular part; a NaN square compares false and
  // takes the fallback as well.
  const GeVector3<T> u = p.x * p.x + p.y * p.y + p.z * p.z > T(0)
                             ? normalizeOrFail(p, 226)
                             : normalizeOrFail(cross(a, fallbackVector(a)), 253);
  GeVector3<T> w = normalizeOrFail(cross(u, a), 258);
  if (_handedness[3 * upAxis + aimAxis] == 0) w = -w;
  GeRotation3 r;
  setFrameVector(r, aimAxis, a, inverse);
  setFrameVector(r, upAxis, u, inverse);
  setFrameVector(r, 3 - aimAxis - upAxis, w, inverse);
  return r;
}

template <class T>
GeRotation3<T> GeRotation3<T>::aim(const GeUnitVector3<T>& direction, int aimAxis, bool inverse) {
  const GeVector3<T> a = aimVector<T>(direction);
  const GeVector3<T> b = normalizeOrFail(cross(a, fallbackVector(a)), 163);
  const GeVector3<T> c = normalizeOrFail(cross(b, a), 167);
  // The cyclic order k, k + 1, k + 2 is right-handed for every k, so no table is needed.
  GeRotation3 r;
  setFrameVector(r, aimAxis, a, inverse);
  setFrameVector(r, (aimAxis + 1) % 3, c, inverse);
  setFrameVector(r, (aimAxis + 2) % 3, b, inverse);
  return r;
}

template <class T>
GeRotation3<T> GeRotation3<T>::aim(int pointCount, const GePoint3<T>* points, int aimAxis,
                                   int upAxis, bool inverse) {
  // Newell's normal: exact for planar polygons (twice the area along the normal) and a
  // least-squares normal for slightly non-planar ones, whatever the vertex count.
  GeVector3<T> normal(0, 0, 0);
  for (int i = 0; i < pointCount; ++i) {
    const GePoint3<T>& a = points[i];
    const GePoint3<T>& b = points[(i + 1) % pointCount];
    normal.x += (a.y - b.y) * (a.z + b.z);
    normal.y += (a.z - b.z) * (a.x + b.x);
    normal.z += (a.x - b.x) * (a.y + b.y);
  }
  const GeVector3<T> n = normalizeOrFail(normal, 311);

  int best = 0;
  T bestLength = 0;
  for (int i = 0; i < pointCount; ++i) {
    const T length = (points[(i + 1) % pointCount] - points[i]).length();
    if (length > bestLength) {
      best = i;
      bestLength = length;
    }
  }
  const GeVector3<T> edge = points[(best + 1) % pointCount] - points[best];

  // n has unit length already; the unit-vector type is filled without normalising it again.
  GeUnitVector3<T> direction;
  direction.x = n.x;
  direction.y = n.y;
  direction.z = n.z;
  return aim(direction, edge, aimAxis, upAxis, inverse);
}

template class GeRotation3<float>;
template class GeRotation3<double>;
template class GeAxisRotation3<0, float>;
template class GeAxisRotation3<0, double>;
template class GeAxisRotation3<1, float>;
template class GeAxisRotation3<1, double>;
template class GeAxisRotation3<2, float>;
template class GeAxisRotation3<2, double>;
template class GeXAxisRotation3<float>;
template class GeXAxisRotation3<double>;
template class GeYAxisRotation3<float>;
template class GeYAxisRotation3<double>;
template class GeZAxisRotation3<float>;
template class GeZAxisRotation3<double>;

}  // namespace Vo
