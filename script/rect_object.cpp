#include "script/rect_object.h"

#include <algorithm>
#include <cstdio>

#include "script/elementwise.h"
#include "script/handler_call.h"
#include "script/list_object.h"
#include "script/point_object.h"
#include "script/scalars.h"

namespace qn {

namespace {

// A new rect whose edge i (1 to 4) is `toInteger` of edge(i).
template <class EdgeValue>
Value rectOfIntegers(EdgeValue edge) {
  return makeRect(edge(1).toInteger(), edge(2).toInteger(), edge(3).toInteger(), edge(4).toInteger());
}

}  // namespace

RectObject::RectObject(const IntRect& bounds) : IndexedObject(sym::rect), bounds_(bounds) {}

void RectObject::moveBy(const PointObject& point) { qn::moveBy(bounds_, point.intX(), point.intY()); }

int32_t* RectObject::edge(int32_t position) {
  switch (position) {
    case 1: return &bounds_.left;
    case 2: return &bounds_.top;
    case 3: return &bounds_.right;
    case 4: return &bounds_.bottom;
    default: return nullptr;
  }
}

Value RectObject::elementAt(int32_t position) const {
  int32_t* field = const_cast<RectObject*>(this)->edge(position);
  return field ? Value(*field) : Value();
}

void RectObject::toString(std::string& out) const {
  char text[96];
  std::snprintf(text, sizeof text, "rect(%1d, %1d, %1d, %1d)", bounds_.left, bounds_.top, bounds_.right, bounds_.bottom);
  out += text;
}

ScriptObject* RectObject::duplicate() { return new RectObject(bounds_); }

int RectObject::compare(const Value& other, bool) const {
  if (other.object() == this) return kEqual;
  IndexedObject* indexed = indexedOf(other);
  if (!indexed) return kIncomparable;
  return compareElementwise(4, [this](int32_t i) { return elementAt(i); }, indexed->count(),
                            [indexed](int32_t i) { return indexed->elementAt(i); }, true);
}

// Each edge combined with a number, or with the partner's element at the same position: a
// partner of 4 elements gives a rect, of another length a list of the pairs that exist.
void RectObject::arithmetic(Value& result, SymbolNumber op, const Value& other) {
  Value number;
  switch (other.ilk()) {
    case sym::void_:
    case sym::integer:
    case sym::float_: number = other; break;
    case sym::string:
      if (!other.isFloatLike()) {
        result = Value();
        return;
      }
      number = Value(other.toFloat());
      break;
    case sym::point:
    case sym::rect:
    case sym::list:
    case sym::intList: {
      IndexedObject* indexed = indexedOf(other);
      int32_t partnerCount = indexed->count();
      if (partnerCount == 4) {
        result = rectOfIntegers([&](int32_t i) { return qn::arithmetic(elementAt(i), op, indexed->elementAt(i)); });
        return;
      }
      auto* pairs = new ListObject();
      Value made = Value::adopt(pairs);
      for (int32_t i = 1; i <= std::min(partnerCount, 4); ++i)
        pairs->append(qn::arithmetic(elementAt(i), op, indexed->elementAt(i)));
      result = std::move(made);
      return;
    }
    default: result = Value(); return;
  }
  result = rectOfIntegers([&](int32_t i) { return qn::arithmetic(elementAt(i), op, number); });
}

void RectObject::getProperty(Value& result, SymbolNumber property) {
  switch (property) {
    case sym::left: result = Value(bounds_.left); return;
    case sym::top: result = Value(bounds_.top); return;
    case sym::right: result = Value(bounds_.right); return;
    case sym::bottom: result = Value(bounds_.bottom); return;
    case sym::width: result = Value(width()); return;
    case sym::height: result = Value(height()); return;
    case sym::count: result = Value(4); return;
    case sym::ilk: result = Value::symbol(sym::rect); return;
    default: result = Value();
  }
}

bool RectObject::setProperty(SymbolNumber property, const Value& value) {
  int32_t* field = nullptr;
  switch (property) {
    case sym::left: field = &bounds_.left; break;
    case sym::top: field = &bounds_.top; break;
    case sym::right: field = &bounds_.right; break;
    case sym::bottom: field = &bounds_.bottom; break;
    default: return false;
  }
  if (!value.isIntegerLike()) return false;
  *field = value.toInteger();
  return true;
}

// Unhandled methods leave the result as the caller gave it; a missing argument reads as void.
bool RectObject::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) {
  switch (method) {
    case sym::ilk: result = Value::symbol(sym::rect); return true;
    case sym::duplicate:
      if (argc != 0) return false;
      result = Value::adopt(duplicate());
      return true;
    case sym::getAt:
      if (argc != 1) return false;
      result = elementAt(argv[0]->toInteger());
      return true;
    case sym::setAt: {
      if (argc != 2) return false;
      int32_t* field = edge(argv[0]->toInteger());
      if (field && argv[1]->isIntegerLike()) *field = argv[1]->toInteger();
      result = Value();
      return true;
    }
    case sym::intersect:
    case sym::union_: {
      if (argc != 1) return false;
      const RectObject* other = rectOf(*argv[0]);
      if (!other) result = Value();
      else if (method == sym::union_) result = makeRect(rectUnion(bounds_, other->bounds_));
      else result = makeRect(rectsIntersect(bounds_, other->bounds_) ? rectIntersection(bounds_, other->bounds_) : IntRect{});
      return true;
    }
    case sym::offset:  // the count is not checked: missing offsets are 0
      result = makeRect(movedBy(bounds_, argumentOrVoid(argc, argv, 0).toInteger(), argumentOrVoid(argc, argv, 1).toInteger()));
      return true;
    case sym::inflate: {
      if (argc != 2) return false;
      int32_t dx = argv[0]->toInteger(), dy = argv[1]->toInteger();
      result = makeRect(wrappingSubtract(bounds_.left, dx), wrappingSubtract(bounds_.top, dy),
                        wrappingAdd(bounds_.right, dx), wrappingAdd(bounds_.bottom, dy));
      return true;
    }
    case sym::map: {
      if (argc != 2) return false;
      const RectObject* from = rectOf(*argv[0]);
      const RectObject* to = rectOf(*argv[1]);
      if (!from || !to) {
        result = Value();
        return true;
      }
      const IntRect& a = from->bounds_;
      const IntRect& b = to->bounds_;
      result = makeRect(mapCoordinate(bounds_.left, a.left, a.width(), b.left, b.width()),
                        mapCoordinate(bounds_.top, a.top, a.height(), b.top, b.height()),
                        mapCoordinate(bounds_.right, a.right, a.width(), b.right, b.width()),
                        mapCoordinate(bounds_.bottom, a.bottom, a.height(), b.bottom, b.height()));
      return true;
    }
    default: return false;
  }
}

Value makeRect(const IntRect& bounds) { return Value::adopt(new RectObject(bounds)); }
Value makeRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return makeRect(IntRect{left, top, right, bottom});
}

namespace {

// A number on the left of a rect: the four edges as integers.
void numberWithRect(Value& result, SymbolNumber op, const Value& number, const Value& compound) {
  const RectObject& rect = *rectOf(compound);
  result = rectOfIntegers([&](int32_t i) { return qn::arithmetic(number, op, rect.elementAt(i)); });
}

[[maybe_unused]] const bool registered = (registerNumberOnLeftArithmetic(sym::rect, numberWithRect), true);

}  // namespace

}  // namespace qn
