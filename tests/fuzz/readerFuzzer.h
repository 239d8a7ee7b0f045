#pragma once

// The contract every text reader of the library keeps, checked on arbitrary input:
// - rejected text sets the fail bit and leaves the value exactly as it was;
// - accepted text, dumped at full precision (max_digits10), reads back to the same bits;
// - nothing crashes or trips a sanitizer.
// A fuzz target picks the reader and its component type from the first input byte.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <limits>
#include <sstream>
#include <string>
#include <type_traits>

namespace VoFuzz {

template <class V>
bool sameBits(const V& a, const V& b) {
  static_assert(std::is_trivially_copyable_v<V>);
  return std::memcmp(&a, &b, sizeof(V)) == 0;
}

[[noreturn]] inline void broken(const char* what, const std::string& input) {
  std::cerr << "contract broken: " << what << " for input \"" << input << "\"\n";
  std::abort();
}

template <class V>
std::string fullPrecisionText(const V& value, int digits) {
  std::ostringstream out;
  out.precision(digits);
  value.dump(out);
  return out.str();
}

// `sentinel` is the value the object holds before reading; `Plain` is what the dumped text is
// read back into (the type itself, or for unit vectors the plain vector, because reading a unit
// vector normalises again).
template <class V, class Plain, int Digits>
void checkReader(const V& sentinel, const std::string& input) {
  V value = sentinel;
  std::istringstream in(input);
  value.read(in);
  if (in.fail()) {
    if (!sameBits(value, sentinel)) broken("rejected text changed the value", input);
    return;
  }
  const std::string text = fullPrecisionText(value, Digits);
  Plain back{};
  std::istringstream again(text);
  back.read(again);
  if (again.fail()) broken(("own text rejected: " + text).c_str(), input);
  Plain expected{};
  static_assert(sizeof(Plain) == sizeof(V));
  std::memcpy(static_cast<void*>(&expected), &value, sizeof(V));
  if (!sameBits(back, expected)) broken(("round trip changed bits: " + text).c_str(), input);
}

template <class T>
constexpr int digits() {
  return std::numeric_limits<T>::max_digits10;
}

}  // namespace VoFuzz
