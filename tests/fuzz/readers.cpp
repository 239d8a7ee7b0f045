// Fuzz targets for the library's text readers, one target per reader (VO_FUZZ_FAMILY, numbered
// in CMakeLists.txt). The contract every reader keeps, checked on arbitrary input:
// - rejected text sets the fail bit and leaves the value exactly as it was;
// - accepted text, dumped at full precision (max_digits10), reads back to the same bits;
// - nothing crashes or trips a sanitizer.
// A broken contract aborts; the sanitizer's stack trace names the check that failed.
// The first input byte picks the component type: float, double, and int where the reader has it.

#include <vezODedizezivuz/coColor.h>
#include <vezODedizezivuz/geQuaternion3.h>
#include <vezODedizezivuz/geVector.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <type_traits>

namespace {

using namespace Vo;

// `sentinel` is the value before reading; `Plain` is what the dumped text is read back into:
// the type itself, or for unit vectors the plain vector, because reading a unit vector
// normalises again.
template <class T, class Plain, class V>
void checkReader(const V& sentinel, const std::string& input) {
  static_assert(std::is_trivially_copyable_v<V> && sizeof(Plain) == sizeof(V));
  V value = sentinel;
  std::istringstream in(input);
  value.read(in);
  if (in.fail()) {
    // Rejected text must leave the value as it was.
    if (std::memcmp(&value, &sentinel, sizeof(V)) != 0) std::abort();
    return;
  }
  std::stringstream text;
  text.precision(std::numeric_limits<T>::max_digits10);
  value.dump(text);
  Plain back{};
  back.read(text);
  // The value's own text must be accepted and give back the same bits.
  if (text.fail() || std::memcmp(&back, &value, sizeof(V)) != 0) std::abort();
}

template <class T>
void check(const std::string& text) {
  if constexpr (VO_FUZZ_FAMILY == 0) {
    checkReader<T, GeVector2<T>>(GeVector2<T>(3, -3), text);
  } else if constexpr (VO_FUZZ_FAMILY == 1) {
    checkReader<T, GePoint2<T>>(GePoint2<T>(-3, 3), text);
  } else if constexpr (std::is_integral_v<T>) {
    std::abort();  // int exists for the plain 2D vector and point only
  } else if constexpr (VO_FUZZ_FAMILY == 2) {
    checkReader<T, GeVector2<T>>(GeUnitVector2<T>(GeVector2<T>(0, 1)), text);
  } else if constexpr (VO_FUZZ_FAMILY == 3) {
    checkReader<T, GeVector3<T>>(GeVector3<T>(3, -3, 3), text);
  } else if constexpr (VO_FUZZ_FAMILY == 4) {
    checkReader<T, GePoint3<T>>(GePoint3<T>(-3, 3, 0), text);
  } else if constexpr (VO_FUZZ_FAMILY == 5) {
    checkReader<T, GeVector3<T>>(GeUnitVector3<T>(GeVector3<T>(0, 0, 1)), text);
  } else if constexpr (VO_FUZZ_FAMILY == 6) {
    checkReader<T, GeQuaternion3<T>>(GeQuaternion3<T>(T(0.5), T(-0.5), T(0.5), T(0.5)), text);
  } else if constexpr (VO_FUZZ_FAMILY == 7) {
    checkReader<T, CoRgbColorT<T>>(CoRgbColorT<T>(T(0.25), T(0.5), T(0.75)), text);
  } else if constexpr (VO_FUZZ_FAMILY == 8) {
    checkReader<T, CoHsvColorT<T>>(CoHsvColorT<T>(T(120), T(0.5), T(0.75)), text);
  } else {
    checkReader<T, CoSpectrumT<T>>(CoSpectrumT<T>(T(1), T(2), T(3)), text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  constexpr void (*checks[])(const std::string&) = {check<float>, check<double>, check<int>};
  checks[data[0] % (VO_FUZZ_FAMILY <= 1 ? 3 : 2)](text);
  return 0;
}
