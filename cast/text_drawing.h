// Text drawn into a box of an image: the font made from a face name, a size in points and style
// words, the lines aligned and (with wordWrap) broken at words, everything outside the box cut
// off. The glyph coverage is drawn in the text colour with the coverage ink; unless the ink is
// backgroundTransparent the box is first filled with the background colour.
//
// At a presentation scale k the box is k times the field's own: the text is laid out in the
// field's own box (the same lines, the same places) and its glyphs drawn k times as large.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "gfx/image_buffer.h"
#include "platform/text_renderer.h"

namespace qn {

struct TextFormat {
  std::string font;
  int32_t fontSize = 12;
  std::string fontStyle;  // "bold", "italic", "underLine" found as substrings, ignoring case
  int32_t alignment = 0;  // 0 left, 1 center, 2 right
  bool wordWrap = false;
  uint32_t color = 0x000000;    // 0xRRGGBB
  uint32_t bgColor = 0xFFFFFF;  // 0xRRGGBB
};

// The platform font for a format: cell height fontSize x 29 / 24 pixels.
platform::FontRequest fontRequestFor(const TextFormat& format);

void drawTextInBox(ImageBuffer& target, const PixelRect& box, std::string_view text, const TextFormat& format,
                   int32_t ink, int32_t scale = 1);

}  // namespace qn
