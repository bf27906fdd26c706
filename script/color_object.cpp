#include "script/color_object.h"

#include <algorithm>
#include <cstdio>

#include "script/symbol_object.h"

namespace qn {

namespace {
uint8_t clampChannel(int32_t value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }
}  // namespace

ColorObject::ColorObject(uint8_t red, uint8_t green, uint8_t blue)
    : ScriptObject(sym::color), red_(red), green_(green), blue_(blue) {}

ColorObject* ColorObject::makePalette(int32_t index) {
  auto* color = new ColorObject(0, 0, 0);
  color->isPalette_ = true;
  color->paletteIndex_ = index;
  return color;
}

void ColorObject::toString(std::string& out) const {
  char text[64];
  if (isPalette_) std::snprintf(text, sizeof text, "paletteIndex( %d )", paletteIndex_);
  else std::snprintf(text, sizeof text, "rgb( %d, %d, %d )", red_, green_, blue_);
  out += text;
}

// A palette copy has its index clamped to the 256 entries of a palette.
ScriptObject* ColorObject::duplicate() {
  return isPalette_ ? makePalette(std::clamp(paletteIndex_, 0, 255)) : new ColorObject(red_, green_, blue_);
}

int ColorObject::compare(const Value& other, bool) const {
  if (other.object() == this) return kEqual;
  const ColorObject* that = colorOf(other);
  if (!that) return kIncomparable;
  if (isPalette_ || that->isPalette_) {
    return isPalette_ && that->isPalette_ && paletteIndex_ == that->paletteIndex_ ? kEqual : kIncomparable;
  }
  const uint8_t mine[] = {red_, green_, blue_};
  const uint8_t theirs[] = {that->red_, that->green_, that->blue_};
  for (int i = 0; i < 3; ++i) {
    if (mine[i] != theirs[i]) return mine[i] > theirs[i] ? kGreater : kLess;
  }
  return kEqual;
}

// Two rgb colors combine channel by channel as integers, clamped. A string that is integer-like
// gives void and any other string the color itself; everything else gives void.
void ColorObject::arithmetic(Value& result, SymbolNumber op, const Value& other) {
  if (other.is(sym::string)) {
    result = other.isIntegerLike() ? Value() : Value::share(this);
    return;
  }
  const ColorObject* that = colorOf(other);
  if (!that || isPalette_ || that->isPalette_) {
    result = Value();
    return;
  }
  auto channel = [op](uint8_t a, uint8_t b) { return clampChannel(qn::arithmetic(Value(a), op, Value(b)).toInteger()); };
  result = Value::adopt(new ColorObject(channel(red_, that->red_), channel(green_, that->green_), channel(blue_, that->blue_)));
}

void ColorObject::getProperty(Value& result, SymbolNumber property) {
  switch (property) {
    case sym::red: result = Value(int32_t{red_}); return;
    case sym::green: result = Value(int32_t{green_}); return;
    case sym::blue: result = Value(int32_t{blue_}); return;
    case sym::paletteIndex: result = Value(paletteIndex_); return;
    case sym::colorType: result = Value::symbol(isPalette_ ? sym::paletteIndex : sym::rgb); return;
    case sym::ilk: result = Value::symbol(sym::color); return;
    default: result = Value();
  }
}

bool ColorObject::setProperty(SymbolNumber property, const Value& value) {
  uint8_t* channel = nullptr;
  switch (property) {
    case sym::red: channel = &red_; break;
    case sym::green: channel = &green_; break;
    case sym::blue: channel = &blue_; break;
    case sym::paletteIndex:
      if (!value.isIntegerLike()) return false;
      isPalette_ = true;
      paletteIndex_ = value.toInteger();
      red_ = green_ = blue_ = 0;
      return true;
    case sym::colorType: return true;  // accepted, changes nothing
    default: return false;
  }
  if (!value.isIntegerLike()) return false;
  *channel = static_cast<uint8_t>(value.toInteger() & 0xFF);
  isPalette_ = false;
  return true;
}

bool ColorObject::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) {
  return methods().answer(*this, method, argc, argv, result);
}

const MethodTable<ColorObject>& ColorObject::methods() {
  static constexpr auto kMethods = std::to_array<Method<ColorObject>>({
      {sym::ilk, Arity::any(), [](ColorObject&, const MethodCall& call) { call.answer = Value::symbol(sym::color); }},
      // Each channel padded with a space to two places: rgb(255, 0, 16) gives "#FF# 0#10".
      {sym::hexString, Arity::any(),
       [](ColorObject& color, const MethodCall& call) {
         char text[16];
         std::snprintf(text, sizeof text, "#%2X#%2X#%2X", color.red_, color.green_, color.blue_);
         call.answer = Value(text);
       }},
  });
  static constexpr auto kTable = MethodTable<ColorObject>::bind(kMethods);
  return kTable;
}

Value makeRgb(int32_t red, int32_t green, int32_t blue) {
  return Value::adopt(new ColorObject(clampChannel(red), clampChannel(green), clampChannel(blue)));
}

Value makeColor(const Value& type, const Value& red, const Value& green, const Value& blue) {
  if (symbolOf(type) != sym::rgb) return Value();
  return makeRgb(red.toInteger(), green.toInteger(), blue.toInteger());
}

Value makePaletteColor(int32_t index) { return Value::adopt(ColorObject::makePalette(index)); }

}  // namespace qn
