// Comparison and running extremes over positional values, shared by the lists, property lists,
// points and rects. Positions count from 1; `own(i)` and `other(i)` read element i as a Value.
#pragma once

#include "script/value.h"

namespace qn {

// A shorter other value is less (this one answers 1), a longer one greater (-1); equal counts
// compare element by element and the first difference decides.
template <class OwnAt, class OtherAt>
int compareElementwise(int32_t count, OwnAt own, int32_t otherCount, OtherAt other, bool ordering) {
  if (otherCount != count) return otherCount < count ? kGreater : kLess;
  for (int32_t i = 1; i <= count; ++i) {
    int order = own(i).compare(other(i), ordering);
    if (order != kEqual) return order;
  }
  return kEqual;
}

// `min` or `max` of a list: starts with the first element and takes each later one that is less
// (for min) or greater (for max) than the one held. `whenEmpty` when there are none.
template <class ValueAt>
Value runningExtreme(SymbolNumber which, int32_t count, ValueAt valueAt, const Value& whenEmpty) {
  if (count < 1) return whenEmpty;
  Value held = valueAt(1);
  for (int32_t i = 2; i <= count; ++i) {
    Value candidate = valueAt(i);
    if (which == sym::min_ ? candidate < held : candidate > held) held = std::move(candidate);
  }
  return held;
}

}  // namespace qn
