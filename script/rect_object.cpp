#include "script/rect_object.h"

#include <algorithm>
#include <cstdio>

#include "script/elementwise.h"
#include "script/geometry_methods.h"
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

void RectObject::setElementAt(int32_t position, const Value& value) {
  int32_t* field = edge(position);
  if (field && value.isIntegerLike()) *field = value.toInteger();
}

Value RectObject::mappedBetween(const IntRect& from, const IntRect& to) const {
  return makeRect(mapCoordinate(bounds_.left, from.left, from.width(), to.left, to.width()),
                  mapCoordinate(bounds_.top, from.top, from.height(), to.top, to.height()),
                  mapCoordinate(bounds_.right, from.right, from.width(), to.right, to.width()),
                  mapCoordinate(bounds_.bottom, from.bottom, from.height(), to.bottom, to.height()));
}

bool RectObject::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) {
  return methods().answer(*this, method, argc, argv, result);
}

const MethodTable<RectObject>& RectObject::methods() {
  static constexpr auto kMethods = joinMethods(commonGeometryMethods<RectObject>(), std::to_array<Method<RectObject>>({
      {sym::intersect, Arity::exactly(1),
       [](RectObject& rect, const MethodCall& call) {
         const RectObject* other = rectOf(call[0]);
         if (!other) call.answer = Value();
         else if (!rectsIntersect(rect.bounds_, other->bounds_)) call.answer = makeRect(IntRect{});
         else call.answer = makeRect(rectIntersection(rect.bounds_, other->bounds_));
       }},
      {sym::union_, Arity::exactly(1),
       [](RectObject& rect, const MethodCall& call) {
         const RectObject* other = rectOf(call[0]);
         call.answer = other ? makeRect(rectUnion(rect.bounds_, other->bounds_)) : Value();
       }},
      // The count is not checked: missing offsets are 0.
      {sym::offset, Arity::any(),
       [](RectObject& rect, const MethodCall& call) {
         call.answer = makeRect(movedBy(rect.bounds_, call.orVoid(0).toInteger(), call.orVoid(1).toInteger()));
       }},
      {sym::inflate, Arity::exactly(2),
       [](RectObject& rect, const MethodCall& call) {
         const int32_t dx = call[0].toInteger(), dy = call[1].toInteger();
         const IntRect& b = rect.bounds_;
         call.answer = makeRect(wrappingSubtract(b.left, dx), wrappingSubtract(b.top, dy), wrappingAdd(b.right, dx),
                                wrappingAdd(b.bottom, dy));
       }},
  }));
  static constexpr auto kTable = MethodTable<RectObject>::bind(kMethods);
  return kTable;
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
