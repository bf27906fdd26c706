#include "tools/gallery/screen_comparison.h"

#include <algorithm>
#include <cstring>

namespace qn::gallery {

namespace {

constexpr uint32_t kGap = 0x202020;  // between the panels
constexpr int32_t kGapWidth = 4;

bool samePixel(const RgbaImage& a, const RgbaImage& b, int32_t x, int32_t y) {
  return std::memcmp(a.at(x, y), b.at(x, y), 3) == 0;
}

}  // namespace

Comparison compareWithReference(const RgbaImage& reference, const RgbaImage& screen) {
  Comparison result;
  const bool sameSize = reference.width == screen.width && reference.height == screen.height;
  RgbaImage marked = screen;
  for (int32_t y = 0; y < screen.height; ++y) {
    for (int32_t x = 0; x < screen.width; ++x) {
      uint8_t* pixel = marked.at(x, y);
      if (sameSize && samePixel(reference, screen, x, y)) {
        const auto grey = static_cast<uint8_t>((pixel[0] * 3 + pixel[1] * 6 + pixel[2]) / 10 / 3 + 40);
        pixel[0] = pixel[1] = pixel[2] = grey;
      } else {
        ++result.differingPixels;
        pixel[0] = 255, pixel[1] = 0, pixel[2] = 255;
      }
    }
  }
  if (sameSize && result.differingPixels == 0) return result;
  if (!sameSize) result.differingPixels = std::max<int64_t>(result.differingPixels, 1);
  const int32_t height = std::max(reference.height, screen.height);
  result.difference = RgbaImage(reference.width + 2 * screen.width + 2 * kGapWidth, height, kGap);
  result.difference.paste(reference, 0, 0);
  result.difference.paste(screen, reference.width + kGapWidth, 0);
  result.difference.paste(marked, reference.width + screen.width + 2 * kGapWidth, 0);
  return result;
}

}  // namespace qn::gallery
