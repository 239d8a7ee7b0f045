#include <vezODedizezivuz/geFaceBuilder.h>

namespace Vo {

template class GeLineFaceBuilder<float>;
template class GeLineFaceBuilder<double>;
template class GeBezier3FaceBuilder<float>;
template class GeBezier3FaceBuilder<double>;

}  // namespace Vo
