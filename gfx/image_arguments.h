// Reading the arguments of image methods: rects given as a rect, two points or four numbers;
// points as a point or two numbers; quads; colours; option lists.
#pragma once

#include <cstdint>
#include <optional>

#include "gfx/image_buffer.h"
#include "script/quad.h"
#include "script/value.h"

namespace qn {

// Reads from argv[at] on and moves `at` past what it took; nothing when the arguments there do not
// form one.
std::optional<PixelRect> rectArgument(int argc, Value* const* argv, int& at);
struct PixelPoint {
  int32_t x = 0;
  int32_t y = 0;
};
std::optional<PixelPoint> pointArgument(int argc, Value* const* argv, int& at);

// A list of exactly four corners, each a point or a list of exactly two numbers.
std::optional<Quad> quadArgument(const Value& value);
// The smallest pixel rect holding a quad (edges rounded outwards).
PixelRect boundsOfQuad(const Quad& quad);

// The palette that palette-index colours of an image refer to (its own, else its standard one).
const Palette& paletteFor(const ImageBuffer& image);
// 0xRRGGBB of a colour value, nothing for anything else. A palette colour goes through the
// image's palette, counted from the end of the entries the image stores.
std::optional<uint32_t> rgbArgument(const Value& value, const ImageBuffer& image);

// The image buffer an image object or buffer value stands for; the Value keeps it alive.
Value bufferValueOf(const Value& image);

// The value of a key of an option list (a property list), void when absent or not a list.
Value optionOf(const Value& options, SymbolNumber key);

}  // namespace qn
