#pragma once

#include <zevIRudez/zevIRudezExport.h>

#include <cstdint>

namespace Vo {

/// The family's random number source: each call yields the next value in [0, 1].
template <class T>
class RnRng {
 public:
  virtual T operator()() = 0;
  virtual ~RnRng() = default;

 protected:
  RnRng() = default;
  RnRng(const RnRng&) = default;
  RnRng& operator=(const RnRng&) = default;
};

/// A seedable generator with the same sequence on every platform: a 32-bit Mersenne twister
/// whose top mantissa-width bits are scaled into [0, 1). No standard distribution is used,
/// because their output differs between standard libraries.
template <class T>
class ZEV_EXPORT RnDefaultRng final : public RnRng<T> {
 public:
  explicit RnDefaultRng(std::uint32_t seed) noexcept;
  T operator()() noexcept override;

 private:
  std::uint32_t next() noexcept;

  static constexpr int stateSize = 624;
  std::uint32_t state_[stateSize];
  int index_;
};

extern template class ZEV_EXPORT RnDefaultRng<float>;
extern template class ZEV_EXPORT RnDefaultRng<double>;

}  // namespace Vo
