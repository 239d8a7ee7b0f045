#pragma once

// The chosen LU operations, read inline by the matrices: one relaxed load and an indirect call.
// Until the first call the pointers lead to operations that make the choice and then forward;
// they are constant-initialised, so even a static initialiser may invert a matrix.

#include <atomic>

#include "matrixLu.h"

namespace Vo {
namespace MatrixLu {

extern std::atomic<const Ops<float>*> activeFloat;
extern std::atomic<const Ops<double>*> activeDouble;

template <class T>
inline const Ops<T>& chosen() noexcept {
  if constexpr (sizeof(T) == 4) {
    return *activeFloat.load(std::memory_order_relaxed);
  } else {
    return *activeDouble.load(std::memory_order_relaxed);
  }
}

}  // namespace MatrixLu
}  // namespace Vo
