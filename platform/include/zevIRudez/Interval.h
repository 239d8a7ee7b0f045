#pragma once

#include <zevIRudez/FloatUtil.h>
#include <zevIRudez/zevIRudezExport.h>

#include <limits>
#include <ostream>
#include <type_traits>

namespace Vo {

/// A closed range [min, max] of T (float or double); empty when min > max.
///
/// Default construction leaves both ends unset, like a built-in number. The canonical empty
/// interval is [largest, -largest], so extending it by v gives [v, v]; the whole line is
/// [-largest, largest].
template <class T>
class Interval {
  static_assert(std::is_floating_point_v<T>, "Interval holds float or double");

 public:
  /// How a subject range stands to an object range; each classifying operation says which
  /// operand is the subject.
  enum Containment {
    DISJOINT = 0,     ///< nothing in common
    CONTAINED = 1,    ///< the subject lies inside the object
    OVERLAPPING = 2,  ///< they overlap, neither lies inside the other
    CONTAINING = 3    ///< the subject encloses the object
  };

  T min;
  T max;

  Interval() = default;
  /// Stores both ends unchanged; no ordering check.
  constexpr Interval(T min, T max) noexcept : min(min), max(max) {}

  static constexpr Interval makeEmpty() noexcept {
    return Interval(std::numeric_limits<T>::max(), -std::numeric_limits<T>::max());
  }
  static constexpr Interval makeInfinite() noexcept {
    return Interval(-std::numeric_limits<T>::max(), std::numeric_limits<T>::max());
  }

  constexpr bool isEmpty() const noexcept { return min > max; }

  /// Grows the range to include `value`; the two ends are tested independently so that the
  /// canonical empty interval becomes [value, value].
  constexpr void extendBy(T value) noexcept {
    if (min > value) min = value;
    if (value > max) max = value;
  }

  /// Clips to `other`; the result may be empty without being the canonical empty interval.
  constexpr void intersectWith(const Interval& other) noexcept {
    if (other.min > min) min = other.min;
    if (max > other.max) max = other.max;
  }

  constexpr bool operator==(const Interval& other) const noexcept {
    return min == other.min && max == other.max;
  }
  constexpr bool operator!=(const Interval& other) const noexcept { return !(*this == other); }

  /// Both ends equal within `tolerance` (absolute, `FloatUtil::isEqual`). float only.
  bool isEqual(const Interval& other, float tolerance) const noexcept {
    static_assert(std::is_same_v<T, float>, "isEqual exists for float intervals");
    return FloatUtil::isEqual(min, other.min, tolerance) &&
           FloatUtil::isEqual(max, other.max, tolerance);
  }

  /// Containment of this interval (the subject) in `other`, touching ends counting as contact.
  Containment classify(const Interval& other) const noexcept {
    static_assert(std::is_same_v<T, float>, "classification exists for float intervals");
    const bool meet = other.max >= min && max >= other.min;
    return _inclContMap[(meet ? 4 : 0) + (sticksOutOf(other) ? 2 : 0) + (encloses(other) ? 1 : 0)];
  }

  /// Containment of this interval in `other` where touching at one end only is no contact.
  Containment classifyExclude(const Interval& other) const noexcept {
    static_assert(std::is_same_v<T, float>, "classification exists for float intervals");
    const bool meet = other.max > min && max > other.min;
    return _exclContMap[(sticksOutOf(other) ? 4 : 0) + (meet ? 2 : 0) + (encloses(other) ? 1 : 0)];
  }

  /// Writes "[ min, max ]" with the stream's own number formatting.
  std::ostream& dump(std::ostream& s) const { return s << "[ " << min << ", " << max << " ]"; }

  /// Containment results indexed by the inclusive and exclusive condition weights; supplied by
  /// the base library for float only.
  static const Containment _inclContMap[8];
  static const Containment _exclContMap[8];

 private:
  constexpr bool sticksOutOf(const Interval& other) const noexcept {
    return other.min > min || max > other.max;
  }
  constexpr bool encloses(const Interval& other) const noexcept {
    return other.min >= min && max >= other.max;
  }
};

template <>
ZEV_EXPORT const Interval<float>::Containment Interval<float>::_inclContMap[8];
template <>
ZEV_EXPORT const Interval<float>::Containment Interval<float>::_exclContMap[8];

template <class T>
std::ostream& operator<<(std::ostream& s, const Interval<T>& interval) {
  return interval.dump(s);
}

}  // namespace Vo
