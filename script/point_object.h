// `PointObject` (ilk `point`): a location in integer or float form. In float form the coordinates
// are single-precision floats and the integer coordinates are derived from them by adding 0.5 and
// truncating toward zero (1.5 gives 2, -1.7 gives -1). Each form keeps only its own pair of
// fields, so a point fits one pool cell. Operations make new points; only the `locH`/`locV`
// setters and `setAt` change a point in place.
#pragma once

#include "script/indexed_object.h"
#include "script/int_rect.h"
#include "script/method_table.h"

namespace qn {

class PointObject final : public IndexedObject {
 public:
  PointObject(int32_t x, int32_t y);
  static PointObject* makeFloat(double x, double y);  // narrowed to single precision

  bool isFloat() const { return isFloat_; }
  int32_t intX() const { return isFloat_ ? roundCoordinate(x_.real) : x_.integer; }
  int32_t intY() const { return isFloat_ ? roundCoordinate(y_.real) : y_.integer; }
  float floatX() const { return isFloat_ ? x_.real : static_cast<float>(x_.integer); }
  float floatY() const { return isFloat_ ? y_.real : static_cast<float>(y_.integer); }
  void setInteger(int32_t x, int32_t y);
  // The `locH`/`locV` setters: an integer-like value is needed; a float switches the point to
  // float form. Returns whether the value was taken.
  bool setCoordinate(int axis, const Value& value);
  // `setAt`: position 1 sets x, 2 sets y, as the setters do; other positions change nothing.
  void setElementAt(int32_t position, const Value& value);
  // `map`: a new integer point at the place in `to` that this point has in `from`.
  Value mappedBetween(const IntRect& from, const IntRect& to) const;

  void toString(std::string& out) const override;
  ScriptObject* duplicate() override;
  int compare(const Value& other, bool ordering) const override;
  void arithmetic(Value& result, SymbolNumber op, const Value& other) override;
  int32_t count() override { return 2; }
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;
  void getProperty(Value& result, SymbolNumber property) override;
  bool setProperty(SymbolNumber property, const Value& value) override;
  Value elementAt(int32_t position) const override;  // 1: x, 2: y, as floats in float form
  // The methods scripts call; an unhandled call leaves the result as the caller gave it.
  static const MethodTable<PointObject>& methods();

 private:
  union Coordinate {
    int32_t integer;
    float real;
  };
  static int32_t roundCoordinate(float value);

  bool isFloat_ = false;
  Coordinate x_, y_;
};

static_assert(sizeof(PointObject) <= 32, "points live in pool cells");

// The point a value holds, else nullptr.
inline PointObject* pointOf(const Value& value) {
  return value.is(sym::point) ? static_cast<PointObject*>(value.object()) : nullptr;
}

// The movie's `point(x, y)`: float form when either argument is a float, integer form otherwise.
Value makePoint(const Value& x, const Value& y);
Value makePoint(int32_t x, int32_t y);
Value makePoint(double x, double y) = delete;  // say which form: makePoint or makeFloatPoint
Value makeFloatPoint(double x, double y);

}  // namespace qn
