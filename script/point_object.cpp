#include "script/point_object.h"

#include <algorithm>
#include <cstdio>

#include "script/elementwise.h"
#include "script/geometry_methods.h"
#include "script/list_object.h"
#include "script/rect_object.h"
#include "script/scalars.h"

namespace qn {

PointObject::PointObject(int32_t x, int32_t y) : IndexedObject(sym::point) { setInteger(x, y); }

PointObject* PointObject::makeFloat(double x, double y) {
  auto* point = new PointObject(0, 0);
  point->isFloat_ = true;
  point->x_.real = static_cast<float>(x);
  point->y_.real = static_cast<float>(y);
  return point;
}

int32_t PointObject::roundCoordinate(float value) { return truncateToInteger(static_cast<double>(value) + 0.5); }

void PointObject::setInteger(int32_t x, int32_t y) {
  isFloat_ = false;
  x_.integer = x;
  y_.integer = y;
}

bool PointObject::setCoordinate(int axis, const Value& value) {
  if (!value.isIntegerLike()) return false;
  Coordinate& target = axis == 1 ? x_ : y_;
  if (value.is(sym::float_)) {
    if (!isFloat_) {
      x_.real = static_cast<float>(x_.integer);
      y_.real = static_cast<float>(y_.integer);
      isFloat_ = true;
    }
    target.real = static_cast<float>(value.toFloat());
  } else if (isFloat_) {
    target.real = static_cast<float>(value.toInteger());
  } else {
    target.integer = value.toInteger();
  }
  return true;
}

Value PointObject::elementAt(int32_t position) const {
  if (position != 1 && position != 2) return Value();
  if (isFloat_) return Value(static_cast<double>(position == 1 ? x_.real : y_.real));
  return Value(position == 1 ? x_.integer : y_.integer);
}

void PointObject::toString(std::string& out) const {
  char text[128];
  if (isFloat_) std::snprintf(text, sizeof text, "point(%1.4f, %1.4f)", static_cast<double>(x_.real), static_cast<double>(y_.real));
  else std::snprintf(text, sizeof text, "point(%1d, %1d)", x_.integer, y_.integer);
  out += text;
}

ScriptObject* PointObject::duplicate() {
  return isFloat_ ? makeFloat(x_.real, y_.real) : new PointObject(x_.integer, y_.integer);
}

int PointObject::compare(const Value& other, bool ordering) const {
  if (other.object() == this) return kEqual;
  IndexedObject* indexed = indexedOf(other);
  if (!indexed) return kIncomparable;
  (void)ordering;  // coordinates always compare with the ordering flag set
  return compareElementwise(2, [this](int32_t i) { return elementAt(i); }, indexed->count(),
                            [indexed](int32_t i) { return indexed->elementAt(i); }, true);
}

// Each coordinate is combined with its partner by the number rules. The result stays in integer
// form while both the point and its partners are integers (or void); a float anywhere gives a
// float-form point computed from the float coordinates. A partner of another length than 2 gives
// a list of the pairs that exist.
void PointObject::arithmetic(Value& result, SymbolNumber op, const Value& other) {
  Value partnerX, partnerY;
  switch (other.ilk()) {
    case sym::void_:
    case sym::integer:
    case sym::float_: partnerX = partnerY = other; break;
    case sym::string:
      if (!other.isFloatLike()) {
        result = Value();
        return;
      }
      partnerX = partnerY = Value(other.toFloat());
      break;
    case sym::point:
    case sym::rect:
    case sym::list:
    case sym::intList: {
      IndexedObject* indexed = indexedOf(other);
      int32_t partnerCount = indexed->count();
      if (partnerCount != 2) {
        auto* pairs = new ListObject();
        Value made = Value::adopt(pairs);
        for (int32_t i = 1; i <= std::min(partnerCount, 2); ++i)
          pairs->append(qn::arithmetic(elementAt(i), op, indexed->elementAt(i)));
        result = std::move(made);
        return;
      }
      partnerX = indexed->elementAt(1);
      partnerY = indexed->elementAt(2);
      break;
    }
    default: result = Value(); return;
  }
  auto integral = [](const Value& v) { return v.is(sym::integer) || v.isVoid(); };
  if (isFloat_ || !integral(partnerX) || !integral(partnerY)) {
    Value x = qn::arithmetic(Value(static_cast<double>(floatX())), op, partnerX);
    Value y = qn::arithmetic(Value(static_cast<double>(floatY())), op, partnerY);
    result = Value::adopt(makeFloat(x.toFloat(), y.toFloat()));
  } else {
    Value x = qn::arithmetic(Value(x_.integer), op, partnerX);
    Value y = qn::arithmetic(Value(y_.integer), op, partnerY);
    result = Value::adopt(new PointObject(x.toInteger(), y.toInteger()));
  }
}

void PointObject::getProperty(Value& result, SymbolNumber property) {
  switch (property) {
    case sym::locH: result = elementAt(1); return;
    case sym::locV: result = elementAt(2); return;
    case sym::count: result = Value(2); return;
    case sym::ilk: result = Value::symbol(sym::point); return;
    default: result = Value();
  }
}

bool PointObject::setProperty(SymbolNumber property, const Value& value) {
  switch (property) {
    case sym::locH: return setCoordinate(1, value);
    case sym::locV: return setCoordinate(2, value);
    default: return false;
  }
}

void PointObject::setElementAt(int32_t position, const Value& value) {
  if (position == 1 || position == 2) setCoordinate(position, value);
}

Value PointObject::mappedBetween(const IntRect& from, const IntRect& to) const {
  return makePoint(mapCoordinate(intX(), from.left, from.width(), to.left, to.width()),
                   mapCoordinate(intY(), from.top, from.height(), to.top, to.height()));
}

bool PointObject::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) {
  return methods().answer(*this, method, argc, argv, result);
}

// `inside` reads its argument without checking the count: a missing one is void, and an argument
// that is not a rect leaves the answer as it was.
const MethodTable<PointObject>& PointObject::methods() {
  static constexpr auto kMethods = joinMethods(commonGeometryMethods<PointObject>(), std::to_array<Method<PointObject>>({
      {sym::inside, Arity::any(),
       [](PointObject& point, const MethodCall& call) {
         if (const RectObject* rect = rectOf(call.orVoid(0)))
           call.answer = Value(pointInside(point.intX(), point.intY(), rect->bounds()) ? 1 : 0);
       }},
  }));
  static constexpr auto kTable = MethodTable<PointObject>::bind(kMethods);
  return kTable;
}

Value makePoint(int32_t x, int32_t y) { return Value::adopt(new PointObject(x, y)); }
Value makeFloatPoint(double x, double y) { return Value::adopt(PointObject::makeFloat(x, y)); }

Value makePoint(const Value& x, const Value& y) {
  if (x.is(sym::float_) || y.is(sym::float_)) return makeFloatPoint(x.toFloat(), y.toFloat());
  return makePoint(x.toInteger(), y.toInteger());
}

namespace {

// A number on the left of a point: always an integer point.
void numberWithPoint(Value& result, SymbolNumber op, const Value& number, const Value& compound) {
  const PointObject& point = *pointOf(compound);
  Value x = qn::arithmetic(number, op, point.elementAt(1));
  Value y = qn::arithmetic(number, op, point.elementAt(2));
  result = makePoint(x.toInteger(), y.toInteger());
}

[[maybe_unused]] const bool registered = (registerNumberOnLeftArithmetic(sym::point, numberWithPoint), true);

}  // namespace

}  // namespace qn
