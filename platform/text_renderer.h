// The text drawing service: lays a text out in a box and renders its glyph coverage. The face is
// chosen by name from the installed fonts (the closest match when the named face is missing; a
// bold sans face is the last resort), sized by its cell height (ascent + descent, in pixels).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qn::platform {

struct FontRequest {
  std::string face;
  int32_t cellHeight = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

enum class TextAlignment : uint8_t { left, center, right };

// Text is UTF-8 (bytes that do not form UTF-8 are taken as Latin-1). "\r", "\n" and "\r\n" end
// lines. With wordWrap, lines break at spaces before they would leave the box; a word wider than
// the box stays whole and is cut at the box edge like everything else outside it.
struct TextBox {
  int32_t width = 0;
  int32_t height = 0;
  TextAlignment alignment = TextAlignment::left;
  bool wordWrap = false;
};

// The part of a box whose coverage is wanted, in box coordinates (right and bottom exclusive).
struct CoverageWindow {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// Lays the text out in the whole box and writes the coverage of the window's part of it into
// `coverage`: window width x window height bytes, rows top-down, 0 = no ink, 255 = full ink. The
// caller clears the buffer first; glyphs combine by maximum. False when no font could be loaded
// at all (the buffer is then left as it was).
bool renderTextCoverage(std::string_view text, const FontRequest& font, const TextBox& box,
                        const CoverageWindow& window, uint8_t* coverage);

}  // namespace qn::platform
