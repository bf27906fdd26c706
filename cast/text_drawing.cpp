#include "cast/text_drawing.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "gfx/blit_params.h"
#include "gfx/draw_image.h"
#include "gfx/shape_drawing.h"

namespace qn {

namespace {

constexpr int64_t kLargestCellHeight = 1024;

bool containsIgnoringCase(std::string_view text, std::string_view word) {
  auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
  return std::search(text.begin(), text.end(), word.begin(), word.end(),
                     [&](char a, char b) { return lower(a) == lower(b); }) != text.end();
}

platform::TextAlignment alignmentOf(int32_t code) {
  return code == 1 ? platform::TextAlignment::center : code == 2 ? platform::TextAlignment::right
                                                                 : platform::TextAlignment::left;
}

}  // namespace

platform::FontRequest fontRequestFor(const TextFormat& format) {
  // A script may set any size: the cell height is kept to what a screen can show.
  int64_t cellHeight = std::clamp<int64_t>(int64_t(format.fontSize) * 29 / 24, 0, kLargestCellHeight);
  return {format.font, static_cast<int32_t>(cellHeight), containsIgnoringCase(format.fontStyle, "bold"),
          containsIgnoringCase(format.fontStyle, "italic"), containsIgnoringCase(format.fontStyle, "underLine")};
}

void drawTextInBox(ImageBuffer& target, const PixelRect& box, std::string_view text, const TextFormat& format,
                   int32_t ink, int32_t scale) {
  if (box.isEmpty()) return;
  if (ink != ink::backgroundTransparent) fillRect(target, box, format.bgColor);
  // Only the part of the box that can change pixels is rendered, however large the box.
  PixelRect visible = box.intersected(target.clipRect());
  if (text.empty() || visible.isEmpty()) return;
  platform::TextBox layout{box.width() / scale, box.height() / scale, alignmentOf(format.alignment), format.wordWrap};
  platform::CoverageWindow window{visible.left - box.left, visible.top - box.top, visible.right - box.left,
                                  visible.bottom - box.top};
  std::vector<uint8_t> coverage(static_cast<size_t>(visible.width()) * visible.height(), 0);
  if (!platform::renderTextCoverage(text, fontRequestFor(format), layout, window, coverage.data(), scale)) return;

  // The coverage ink reads 0 as full ink and 255 as none.
  Value glyphs = Value::adopt(ImageBuffer::create(visible.width(), visible.height(), 8));
  ImageBuffer* image = imageBufferOf(glyphs);
  if (!image || !image->hasPixels()) return;
  for (int32_t y = 0; y < visible.height(); ++y) {
    const uint8_t* source = coverage.data() + static_cast<size_t>(y) * visible.width();
    uint8_t* row = image->row(y);
    for (int32_t x = 0; x < visible.width(); ++x) row[x] = static_cast<uint8_t>(255 - source[x]);
  }
  BlitParams params;
  params.destinationRect = visible;
  params.sourceRect = image->bounds();
  params.ink = ink::coverage;
  params.foreColour = format.color;
  drawImage(target, image, params);
}

}  // namespace qn
