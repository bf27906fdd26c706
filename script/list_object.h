// `ListObject` (ilk `list`): the script world's linear list of Values. Lists are reference
// objects: a second variable shares the list; `duplicate` makes an independent deep copy.
#pragma once

#include <initializer_list>

#include "script/linear_list.h"

namespace qn {

class ListObject final : public ListOf<Value, ListObject> {
 public:
  // Out of line: the file that registers the number-on-the-left arithmetic is linked with it.
  ListObject();
};

static_assert(sizeof(ListObject) <= 32, "lists live in pool cells");

// The list a value holds, else nullptr.
inline ListObject* listOf(const Value& value) {
  return value.is(sym::list) ? static_cast<ListObject*>(value.object()) : nullptr;
}

// Literal constructors of the compiled movie: `[a, b, c]` shares the given values; `[0, 1, 7]`
// shares sharedZero and sharedOne for 0 and 1 and makes new integers for the rest. Both make a
// `ListObject`.
Value makeList(std::initializer_list<Value> items);
Value makeIntegerList(std::initializer_list<int32_t> items);

}  // namespace qn
