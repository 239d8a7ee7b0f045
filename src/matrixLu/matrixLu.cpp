// The portable and SSE2 LU paths and the run-time choice among all paths.

#include "matrixLu.h"

#include <atomic>

#include <zevIRudez/FloatUtil.h>

#include "matrixLuActive.h"
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

// The AVX2 file's operations, each measured faster than the SSE2 one (voBench lu_*); offered
// only beside the SSE2 ones, so that every path implies the narrower ones.
template <class T>
const Ops<T>* avx2Ops() noexcept {
  const Ops<T>* wide = nullptr;
  if constexpr (sizeof(T) == 4) {
    wide = avx2Float();
  } else {
    wide = avx2Double();
  }
  if (!processorHasAvx2() || !wide || !sse2Ops<T>()) return nullptr;
  return wide;
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
  static const Ops<T>& best = ops<T>(bestPath());
  return best;
}

namespace {

// The first call through the active pointer chooses, publishes the choice and forwards. Every
// thread that races here stores the same table.
template <class T>
const Ops<T>& choose() noexcept {
  const Ops<T>& best = active<T>();
  if constexpr (sizeof(T) == 4) {
    activeFloat.store(&best, std::memory_order_relaxed);
  } else {
    activeDouble.store(&best, std::memory_order_relaxed);
  }
  return best;
}

template <class T>
constexpr Ops<T> choosing = {
    [](const T* m, T* out) noexcept { return choose<T>().linearInverse(m, out); },
    [](const T* m, T* out, T* det) noexcept {
      return choose<T>().linearInverseAndDeterminant(m, out, det);
    },
    [](const T* m, T* out) noexcept { return choose<T>().affineInverse(m, out); },
    [](const T* m, T* out, T* det) noexcept {
      return choose<T>().affineInverseAndDeterminant(m, out, det);
    },
    [](const T* m, T* out) noexcept { return choose<T>().projectiveInverse(m, out); },
    [](const T* m, T* out, T* det) noexcept {
      return choose<T>().projectiveInverseAndDeterminant(m, out, det);
    },
    [](const T* m) noexcept { return choose<T>().projectiveDeterminant(m); }};

}  // namespace

std::atomic<const Ops<float>*> activeFloat{&choosing<float>};
std::atomic<const Ops<double>*> activeDouble{&choosing<double>};

template const Ops<float>& ops<float>(Path) noexcept;
template const Ops<double>& ops<double>(Path) noexcept;
template const Ops<float>& active<float>() noexcept;
template const Ops<double>& active<double>() noexcept;

}  // namespace MatrixLu
}  // namespace Vo
