// Shapes drawn straight into an image buffer, aliased, clipped to its clip rect: what the
// platform's graphics interface would draw on the image. Colours are 0xRRGGBB; palette images
// take the nearest palette entry, 32-bit images an opaque pixel.
#pragma once

#include <cstdint>

#include "gfx/image_buffer.h"

namespace qn {

enum class ShapeKind : uint8_t { rect, roundRect, oval, line };

// Corner ellipses of rounded rectangles.
inline constexpr int32_t kRoundRectCorner = 20;

// The raw pixel value an image stores for a colour.
uint32_t pixelValueOf(const ImageBuffer& image, uint32_t rgb);

void fillRect(ImageBuffer& image, const PixelRect& rect, uint32_t rgb);

// The shape's outline as a band of `penWidth` pixels inside `bounds` (a line: from the top-left
// to the bottom-right corner, the last point excluded).
void outlineShape(ImageBuffer& image, const PixelRect& bounds, ShapeKind shape, int32_t penWidth, uint32_t rgb);

// The fill of a shape: without a line size the shape filled in `fillRgb`; with one, the shape's
// outline of that pen width centred on the rect's edges in `lineRgb`, the inside in `fillRgb`.
void fillShape(ImageBuffer& image, const PixelRect& rect, ShapeKind shape, int32_t lineSize, uint32_t fillRgb,
               uint32_t lineRgb);

void drawLine(ImageBuffer& image, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t penWidth, uint32_t rgb);

}  // namespace qn
