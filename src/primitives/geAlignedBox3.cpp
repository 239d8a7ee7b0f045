#include <vezODedizezivuz/geAlignedBox3.h>

namespace Vo {

template <class T>
void GeAlignedBox3<T>::enumerateCorners(UnaryFunctor<GePoint3<T>, bool>& f) const {
  // A Gray-code walk, written out step by step: one coordinate changes between successive
  // corners, and the caller may stop after any of them.
  GePoint3<T> c(x.min, y.min, z.min);
  if (!f(c)) return;
  c.x = x.max;
  if (!f(c)) return;
  c.y = y.max;
  if (!f(c)) return;
  c.z = z.max;
  if (!f(c)) return;
  c.y = y.min;
  if (!f(c)) return;
  c.x = x.min;
  if (!f(c)) return;
  c.y = y.max;
  if (!f(c)) return;
  c.z = z.min;
  f(c);
}

namespace {

template <class T>
void nearestAndFarthest(const Interval<T>& slab, T p, T& nearest, T& farthest) noexcept {
  const T lo = slab.min - p;
  const T hi = slab.max - p;
  if (T(0) >= hi) {
    nearest = hi;
    farthest = lo;
  } else if (T(0) > lo) {
    nearest = T(0);
    farthest = -lo > hi ? lo : hi;
  } else {
    nearest = lo;
    farthest = hi;
  }
}

}  // namespace

template <class T>
void GeAlignedBox3<T>::computeMinMaxDistanceVectors(const GePoint3<T>& p, GeVector3<T>& minVector,
                                                    GeVector3<T>& maxVector) const noexcept {
  nearestAndFarthest(x, p.x, minVector.x, maxVector.x);
  nearestAndFarthest(y, p.y, minVector.y, maxVector.y);
  nearestAndFarthest(z, p.z, minVector.z, maxVector.z);
}

template <class T>
std::ostream& GeAlignedBox3<T>::dump(std::ostream& s) const {
  s << "( X=";
  x.dump(s) << ", Y=";
  y.dump(s) << ", Z=";
  return z.dump(s) << " )";
}

template class GeAlignedBox3<float>;
template class GeAlignedBox3<double>;

GeAlignedBoxBuilder::~GeAlignedBoxBuilder() = default;

bool GeAlignedBoxBuilder::operator()(const GePoint3<float>& p) {
  box.extendBy(p);
  return true;
}

}  // namespace Vo
