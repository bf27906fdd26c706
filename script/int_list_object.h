// `IntListObject` (ilk `intList`): a linear list of raw 32-bit integers. It only arises from
// arithmetic with an existing integer list and from duplicating one; element writes store
// `toInteger` of the value and a missing position reads as 0. Same methods as `ListObject`.
#pragma once

#include "script/linear_list.h"

namespace qn {

class IntListObject final : public ListOf<int32_t, IntListObject> {
 public:
  // Out of line: the file that registers the number-on-the-left arithmetic is linked with it.
  IntListObject();
};

static_assert(sizeof(IntListObject) <= 32, "integer lists live in pool cells");

}  // namespace qn
