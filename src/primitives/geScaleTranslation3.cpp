#include <vezODedizezivuz/geScaleTranslation3.h>

namespace Vo {

template <class T>
std::ostream& GeScale3<T>::dump(std::ostream& os) const {
  return os << "Scale3(" << x << ", " << y << ", " << z << ")";
}

template <class T>
std::ostream& GeTranslation3<T>::dump(std::ostream& os) const {
  return os << "Translation3(" << x << ", " << y << ", " << z << ")";
}

template class GeScale3<float>;
template class GeScale3<double>;
template class GeTranslation3<float>;
template class GeTranslation3<double>;

}  // namespace Vo
