// Fuzz target for the 2D and 3D vector, point and unit-vector readers of every component type.

#include <vezODedizezivuz/geVector.h>

#include "readerFuzzer.h"

namespace {

using namespace Vo;
using VoFuzz::checkReader;
using VoFuzz::digits;

template <class T>
void check3(int kind, const std::string& text) {
  const T s = T(7.25);
  switch (kind) {
    case 0:
      return checkReader<GeVector3<T>, GeVector3<T>, digits<T>()>(GeVector3<T>(s, -s, s), text);
    case 1:
      return checkReader<GePoint3<T>, GePoint3<T>, digits<T>()>(GePoint3<T>(-s, s, 0), text);
    default:
      return checkReader<GeUnitVector3<T>, GeVector3<T>, digits<T>()>(
          GeUnitVector3<T>(GeVector3<T>(0, 0, 1)), text);
  }
}

template <class T>
void check2(int kind, const std::string& text) {
  const T s = T(3);
  switch (kind) {
    case 0:
      return checkReader<GeVector2<T>, GeVector2<T>, digits<T>()>(GeVector2<T>(s, -s), text);
    case 1:
      return checkReader<GePoint2<T>, GePoint2<T>, digits<T>()>(GePoint2<T>(-s, s), text);
    default:
      if constexpr (std::is_floating_point_v<T>) {
        return checkReader<GeUnitVector2<T>, GeVector2<T>, digits<T>()>(
            GeUnitVector2<T>(GeVector2<T>(0, 1)), text);
      }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  const int selector = data[0] % 15;
  if (selector < 3) {
    check3<float>(selector, text);
  } else if (selector < 6) {
    check3<double>(selector - 3, text);
  } else if (selector < 9) {
    check2<float>(selector - 6, text);
  } else if (selector < 12) {
    check2<double>(selector - 9, text);
  } else {
    check2<int>(selector - 12, text);
  }
  return 0;
}
