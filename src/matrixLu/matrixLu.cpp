// The portable and SSE2 LU paths and the run-time choice among all paths.

#include "matrixLu.h"

#include <zevIRudez/FloatUtil.h>

#include "matrixLuTable.h"

namespace Vo {
namespace MatrixLu {

static_assert(MatrixImp::negligibleFloat == FloatUtil::defaultTolerance,
              "the kernels call a pivot negligible as GeScalar<float> does");

namespace {

template <class T>
constexpr Ops<T> portable = table<MatrixImp::PortableLanes<T>>();

#ifdef VO_LU_SSE2
constexpr Ops<float> sse2Float = table<MatrixImp::Sse2Float>();
constexpr Ops<double> sse2Double = table<MatrixImp::Sse2Double>();
#endif

// Answered once; false too when the operating system does not save the wider registers.
bool processorHasAvx2() noexcept {
#if defined(__x86_64__) || defined(__i386__)
  static const bool has = __builtin_cpu_supports("avx2") != 0;
  return has;
#else
  return false;
#endif
}

template <class T>
const Ops<T>* sse2Ops() noexcept {
#ifdef VO_LU_SSE2
  if constexpr (sizeof(T) == 4) {
    return &sse2Float;
  } else {
    return &sse2Double;
  }
#else
  return nullptr;
#endif
}

template <class T>
const Ops<T>* avx2Ops() noexcept {
  if (!processorHasAvx2()) return nullptr;
  if constexpr (sizeof(T) == 4) {
    return avx2Float();
  } else {
    return avx2Double();
  }
}

template <class T>
const Ops<T>* find(Path path) noexcept {
  switch (path) {
    case Path::portable:
      return &portable<T>;
    case Path::sse2:
      return sse2Ops<T>();
    case Path::avx2:
      return avx2Ops<T>();
  }
  return nullptr;
}

}  // namespace

bool isAvailable(Path path) noexcept { return find<float>(path) && find<double>(path); }

Path bestPath() noexcept {
  if (isAvailable(Path::avx2)) return Path::avx2;
  if (isAvailable(Path::sse2)) return Path::sse2;
  return Path::portable;
}

template <class T>
const Ops<T>& ops(Path path) noexcept {
  const Ops<T>* found = find<T>(path);
  return found ? *found : portable<T>;
}

template <class T>
const Ops<T>& active() noexcept {
  static const Ops<T>& chosen = ops<T>(bestPath());
  return chosen;
}

template const Ops<float>& ops<float>(Path) noexcept;
template const Ops<double>& ops<double>(Path) noexcept;
template const Ops<float>& active<float>() noexcept;
template const Ops<double>& active<double>() noexcept;

}  // namespace MatrixLu
}  // namespace Vo
