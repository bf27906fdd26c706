// `RectObject` (ilk `rect`): left, top, right and bottom (element positions 1 to 4). Operations
// make new rects; only the edge setters and `setAt` change one in place. The sprite engine reads
// and writes `bounds()` directly.
#pragma once

#include "script/indexed_object.h"
#include "script/int_rect.h"
#include "script/method_table.h"

namespace qn {

class PointObject;

class RectObject final : public IndexedObject {
 public:
  explicit RectObject(const IntRect& bounds);

  const IntRect& bounds() const { return bounds_; }
  IntRect& bounds() { return bounds_; }
  int32_t left() const { return bounds_.left; }
  int32_t top() const { return bounds_.top; }
  int32_t right() const { return bounds_.right; }
  int32_t bottom() const { return bounds_.bottom; }
  int32_t width() const { return bounds_.width(); }
  int32_t height() const { return bounds_.height(); }
  // In place: the point's integer coordinates added to both horizontal and both vertical edges.
  void moveBy(const PointObject& point);
  // `setAt`: positions 1 to 4 set left, top, right and bottom to an integer-like value.
  void setElementAt(int32_t position, const Value& value);
  // `map`: a new rect whose edges lie in `to` where this rect's lie in `from`.
  Value mappedBetween(const IntRect& from, const IntRect& to) const;

  void toString(std::string& out) const override;
  ScriptObject* duplicate() override;
  int compare(const Value& other, bool ordering) const override;
  void arithmetic(Value& result, SymbolNumber op, const Value& other) override;
  int32_t count() override { return 4; }
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;
  void getProperty(Value& result, SymbolNumber property) override;
  bool setProperty(SymbolNumber property, const Value& value) override;
  Value elementAt(int32_t position) const override;  // 1 to 4: left, top, right, bottom
  // The methods scripts call; an unhandled call leaves the result as the caller gave it.
  static const MethodTable<RectObject>& methods();

 private:
  int32_t* edge(int32_t position);  // nullptr outside 1 to 4

  IntRect bounds_;
};

static_assert(sizeof(RectObject) <= 32, "rects live in pool cells");

// The rect a value holds, else nullptr.
inline RectObject* rectOf(const Value& value) {
  return value.is(sym::rect) ? static_cast<RectObject*>(value.object()) : nullptr;
}

Value makeRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
Value makeRect(const IntRect& bounds);

}  // namespace qn
