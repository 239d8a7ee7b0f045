// Fuzz target for the quaternion reader and the three colour readers, float and double.

#include <vezODedizezivuz/coColor.h>
#include <vezODedizezivuz/geQuaternion3.h>

#include "readerFuzzer.h"

namespace {

using namespace Vo;
using VoFuzz::checkReader;
using VoFuzz::digits;

template <class T>
void check(int kind, const std::string& text) {
  switch (kind) {
    case 0:
      return checkReader<GeQuaternion3<T>, GeQuaternion3<T>, digits<T>()>(
          GeQuaternion3<T>(T(0.5), T(-0.5), T(0.5), T(0.5)), text);
    case 1:
      return checkReader<CoRgbColorT<T>, CoRgbColorT<T>, digits<T>()>(
          CoRgbColorT<T>(T(0.25), T(0.5), T(0.75)), text);
    case 2:
      return checkReader<CoHsvColorT<T>, CoHsvColorT<T>, digits<T>()>(
          CoHsvColorT<T>(T(120), T(0.5), T(0.75)), text);
    default:
      return checkReader<CoSpectrumT<T>, CoSpectrumT<T>, digits<T>()>(
          CoSpectrumT<T>(T(1), T(2), T(3)), text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  const int selector = data[0] % 8;
  if (selector < 4) {
    check<float>(selector, text);
  } else {
    check<double>(selector - 4, text);
  }
  return 0;
}
