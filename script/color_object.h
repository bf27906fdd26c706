// `ColorObject` (ilk `color`): an rgb color of three 8-bit channels, or a palette index. Setting
// a channel keeps its low 8 bits and makes the color rgb; setting `paletteIndex` makes it a
// palette color with all channels 0. The rgb constructor clamps its channels to 0..255.
#pragma once

#include "script/method_table.h"
#include "script/value.h"

namespace qn {

class ColorObject final : public ScriptObject {
 public:
  ColorObject(uint8_t red, uint8_t green, uint8_t blue);
  static ColorObject* makePalette(int32_t index);

  bool isPalette() const { return isPalette_; }
  uint8_t red() const { return red_; }
  uint8_t green() const { return green_; }
  uint8_t blue() const { return blue_; }
  int32_t paletteIndex() const { return paletteIndex_; }
  uint32_t rgb() const { return uint32_t{red_} << 16 | uint32_t{green_} << 8 | blue_; }  // 0xRRGGBB

  void toString(std::string& out) const override;
  ScriptObject* duplicate() override;
  int compare(const Value& other, bool ordering) const override;
  void arithmetic(Value& result, SymbolNumber op, const Value& other) override;
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;
  void getProperty(Value& result, SymbolNumber property) override;
  bool setProperty(SymbolNumber property, const Value& value) override;
  // The methods scripts call; an unhandled call leaves the result as the caller gave it.
  static const MethodTable<ColorObject>& methods();

 private:
  uint8_t red_ = 0, green_ = 0, blue_ = 0;
  bool isPalette_ = false;
  int32_t paletteIndex_ = 0;
};

static_assert(sizeof(ColorObject) <= 32, "colors live in pool cells");

// The color a value holds, else nullptr.
inline ColorObject* colorOf(const Value& value) {
  return value.is(sym::color) ? static_cast<ColorObject*>(value.object()) : nullptr;
}

// An rgb color, each channel clamped to 0..255.
Value makeRgb(int32_t red, int32_t green, int32_t blue);
// The movie's color function: the symbol `rgb` and three values make an rgb color (channels
// `toInteger`, clamped); any other type gives void.
Value makeColor(const Value& type, const Value& red, const Value& green, const Value& blue);
Value makePaletteColor(int32_t index);

}  // namespace qn
