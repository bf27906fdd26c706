// The text drawing service: lays a text out in a box and renders its glyph coverage. The face is
// chosen by name: "Tahoma" is the free face made to its metrics that fonts-wine installs
// (/usr/share/wine/fonts), any other name the installed font fontconfig matches closest, and
// DejaVu Sans Bold the last resort. It is sized by its cell height (ascent + descent, in pixels).
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
//
// With a scale above 1 the window is in pixels of the box drawn that many times as large: the
// lines and every glyph's place are those of the box at its own size (the face's own bitmaps
// decide them where it has some), times the scale, and the glyphs are drawn from the outlines
// at the scale's size.
bool renderTextCoverage(std::string_view text, const FontRequest& font, const TextBox& box,
                        const CoverageWindow& window, uint8_t* coverage, int32_t scale = 1);

// The room a text takes laid out in the box (wrapped at its width when it wraps): the widest line
// and the height of all its lines, in pixels. It fits the box when neither is larger than the
// box's. Zero when no font could be loaded.
struct TextExtent {
  int32_t width = 0;
  int32_t height = 0;
};
TextExtent measureText(std::string_view text, const FontRequest& font, const TextBox& box);

// The first use of each face says which font file serves it, one line such as
// `-- font "Tahoma" bold: Tahoma Bold, /usr/share/wine/fonts/tahomabd.ttf` + CR LF. The lines go to
// standard error until the shell binds its debug log; nullptr restores that.
using FaceNoticeSink = void (*)(std::string_view line);
void setFaceNoticeSink(FaceNoticeSink sink);

}  // namespace qn::platform
