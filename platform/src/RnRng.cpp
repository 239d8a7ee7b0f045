#include <zevIRudez/RnRng.h>

namespace Vo {

template <class T>
RnDefaultRng<T>::RnDefaultRng(std::uint32_t seed) noexcept : index_(stateSize) {
  state_[0] = seed;
  for (int i = 1; i < stateSize; ++i) {
    state_[i] =
        1812433253u * (state_[i - 1] ^ (state_[i - 1] >> 30)) + static_cast<std::uint32_t>(i);
  }
}

// MT19937 (Matsumoto and Nishimura, 1998), written out so that the sequence does not depend on
// the standard library in use.
template <class T>
std::uint32_t RnDefaultRng<T>::next() noexcept {
  constexpr int m = 397;
  if (index_ >= stateSize) {
    for (int i = 0; i < stateSize; ++i) {
      const std::uint32_t y =
          (state_[i] & 0x80000000u) | (state_[(i + 1) % stateSize] & 0x7fffffffu);
      state_[i] = state_[(i + m) % stateSize] ^ (y >> 1) ^ ((y & 1u) ? 0x9908b0dfu : 0u);
    }
    index_ = 0;
  }
  std::uint32_t y = state_[index_++];
  y ^= y >> 11;
  y ^= (y << 7) & 0x9d2c5680u;
  y ^= (y << 15) & 0xefc60000u;
  y ^= y >> 18;
  return y;
}

// The top 24 bits scale exactly into float's [0, 1); double takes all 32 bits, which it holds
// exactly, so both types stay on an exact grid and never round up to 1.
template <class T>
T RnDefaultRng<T>::operator()() noexcept {
  if constexpr (sizeof(T) == sizeof(float)) {
    return static_cast<T>(next() >> 8) * (T(1) / T(16777216));
  } else {
    return static_cast<T>(next()) * (T(1) / T(4294967296.0));
  }
}

template class RnDefaultRng<float>;
template class RnDefaultRng<double>;

}  // namespace Vo
