// Values whose elements scripts reach by position: points, rects, lists and integer lists. They
// compare and combine with each other element by element through slot 14, with no method call.
#pragma once

#include "script/value.h"

namespace qn {

class IndexedObject : public ScriptObject {
 public:
  using ScriptObject::ScriptObject;
  // 14: the element at a position counted from 1; outside 1..count, void (integer 0 for an
  // integer list).
  virtual Value elementAt(int32_t position) const = 0;
};

// The indexed object a value holds (a point, rect, list or integer list), else nullptr.
inline IndexedObject* indexedOf(const Value& value) {
  switch (value.ilk()) {
    case sym::point:
    case sym::rect:
    case sym::list:
    case sym::intList: return static_cast<IndexedObject*>(value.object());
    default: return nullptr;
  }
}

}  // namespace qn
