// Fuzz targets for the quaternion reader and the three colour readers. Each target is built for
// one reader (VO_FUZZ_FAMILY: 0 GeQuaternion3, 1 CoRgbColorT, 2 CoHsvColorT, 3 CoSpectrumT);
// the first input byte picks float or double.

#include <vezODedizezivuz/coColor.h>
#include <vezODedizezivuz/geQuaternion3.h>

#include "readerFuzzer.h"

namespace {

using namespace Vo;
using VoFuzz::checkReader;
using VoFuzz::digits;

template <class T>
void check(const std::string& text) {
  switch (VO_FUZZ_FAMILY) {
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
  if (data[0] % 2 == 0) {
    check<float>(text);
  } else {
    check<double>(text);
  }
  return 0;
}
