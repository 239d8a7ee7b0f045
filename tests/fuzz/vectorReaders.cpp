// Fuzz targets for the vector, point and unit-vector readers. Each target is built for one
// reader family (VO_FUZZ_FAMILY: 0 GeVector2, 1 GePoint2, 2 GeUnitVector2, 3 GeVector3,
// 4 GePoint3, 5 GeUnitVector3); the first input byte picks the component type (float, double,
// and int where the family has it).

#include <vezODedizezivuz/geVector.h>

#include "readerFuzzer.h"

namespace {

using namespace Vo;
using VoFuzz::checkReader;
using VoFuzz::digits;

template <class T>
void check(const std::string& text) {
  const T s = T(3);
  switch (VO_FUZZ_FAMILY) {
    case 0:
      return checkReader<GeVector2<T>, GeVector2<T>, digits<T>()>(GeVector2<T>(s, -s), text);
    case 1:
      return checkReader<GePoint2<T>, GePoint2<T>, digits<T>()>(GePoint2<T>(-s, s), text);
    case 3:
      return checkReader<GeVector3<T>, GeVector3<T>, digits<T>()>(GeVector3<T>(s, -s, s), text);
    case 4:
      return checkReader<GePoint3<T>, GePoint3<T>, digits<T>()>(GePoint3<T>(-s, s, 0), text);
    default:
      break;
  }
  // Reading a unit vector normalises, so its text is read back into the plain vector.
  if constexpr (std::is_floating_point_v<T>) {
    if (VO_FUZZ_FAMILY == 2) {
      checkReader<GeUnitVector2<T>, GeVector2<T>, digits<T>()>(GeUnitVector2<T>(GeVector2<T>(0, 1)),
                                                               text);
    } else if (VO_FUZZ_FAMILY == 5) {
      checkReader<GeUnitVector3<T>, GeVector3<T>, digits<T>()>(
          GeUnitVector3<T>(GeVector3<T>(0, 0, 1)), text);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  // int exists for the plain 2D vector and point only.
  const bool hasInt = VO_FUZZ_FAMILY == 0 || VO_FUZZ_FAMILY == 1;
  switch (data[0] % (hasInt ? 3 : 2)) {
    case 0:
      check<float>(text);
      break;
    case 1:
      check<double>(text);
      break;
    default:
      check<int>(text);
      break;
  }
  return 0;
}
