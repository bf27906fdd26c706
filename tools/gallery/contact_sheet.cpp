#include "tools/gallery/contact_sheet.h"

#include <algorithm>

#include "platform/text_renderer.h"

namespace qn::gallery {

namespace {

constexpr int32_t kColumns = 5;
constexpr int32_t kScreenWidth = 240, kScreenHeight = 320;
constexpr int32_t kMargin = 8, kCaptionHeight = 20;
constexpr int32_t kCellWidth = kScreenWidth + kMargin, kCellHeight = kScreenHeight + kCaptionHeight + kMargin;
constexpr uint32_t kBackground = 0x1C1C1C, kEmptyCell = 0x3A1010, kCaptionColour = 0xE8E8E8;

void drawCaption(RgbaImage& sheet, const std::string& text, int32_t left, int32_t top) {
  const platform::FontRequest font{"DejaVu Sans", 14, true};
  const platform::TextBox box{kScreenWidth, kCaptionHeight, platform::TextAlignment::center, false};
  std::vector<uint8_t> coverage(static_cast<size_t>(kScreenWidth) * kCaptionHeight, 0);
  platform::renderTextCoverage(text, font, box, {0, 0, kScreenWidth, kCaptionHeight}, coverage.data());
  for (int32_t y = 0; y < kCaptionHeight; ++y) {
    for (int32_t x = 0; x < kScreenWidth; ++x) {
      const uint32_t ink = coverage[static_cast<size_t>(y) * kScreenWidth + x];
      uint8_t* pixel = sheet.at(left + x, top + y);
      for (int c = 0; c < 3; ++c) {
        const uint32_t wanted = (kCaptionColour >> (16 - 8 * c)) & 0xFF;
        pixel[c] = static_cast<uint8_t>((pixel[c] * (255 - ink) + wanted * ink) / 255);
      }
    }
  }
}

}  // namespace

RgbaImage contactSheet(const std::vector<SheetEntry>& entries) {
  const auto count = static_cast<int32_t>(entries.size());
  const int32_t columns = std::max(1, std::min(kColumns, count));
  const int32_t rows = std::max(1, (count + kColumns - 1) / kColumns);
  RgbaImage sheet(kMargin + columns * kCellWidth, kMargin + rows * kCellHeight, kBackground);
  for (int32_t i = 0; i < count; ++i) {
    const int32_t left = kMargin + (i % kColumns) * kCellWidth, top = kMargin + (i / kColumns) * kCellHeight;
    const SheetEntry& entry = entries[static_cast<size_t>(i)];
    if (entry.screen) {
      const int32_t scale = std::max(1, entry.screen->width / kScreenWidth);
      const int32_t x = std::clamp(entry.detailX * scale - kScreenWidth / 2, 0, entry.screen->width - kScreenWidth);
      const int32_t y = std::clamp(entry.detailY * scale - kScreenHeight / 2, 0, entry.screen->height - kScreenHeight);
      sheet.paste(entry.screen->cropped(x, y, kScreenWidth, kScreenHeight), left, top);
    }
    else
      sheet.paste(RgbaImage(kScreenWidth, kScreenHeight, kEmptyCell), left, top);
    drawCaption(sheet, entry.caption, left, top + kScreenHeight);
  }
  return sheet;
}

}  // namespace qn::gallery
