#include "tools/gallery/screen_comparison.h"

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <string>

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

RgbaImage shrunk(const RgbaImage& finer, int32_t scale) {
  RgbaImage small(finer.width / scale, finer.height / scale, 0x000000);
  const int32_t area = scale * scale;
  for (int32_t y = 0; y < small.height; ++y)
    for (int32_t x = 0; x < small.width; ++x)
      for (int c = 0; c < 3; ++c) {
        int32_t sum = 0;
        for (int32_t j = 0; j < scale; ++j)
          for (int32_t i = 0; i < scale; ++i) sum += finer.at(x * scale + i, y * scale + j)[c];
        small.at(x, y)[c] = static_cast<uint8_t>((sum + area / 2) / area);
      }
  return small;
}

Closeness closenessAfterShrinking(const RgbaImage& screen, const RgbaImage& finer, int32_t scale) {
  Closeness closeness;
  closeness.pixels = int64_t{screen.width} * screen.height;
  if (finer.width != screen.width * scale || finer.height != screen.height * scale) {
    closeness.farPixels = closeness.pixels;
    closeness.meanDifference = 255;
    return closeness;
  }
  const RgbaImage small = shrunk(finer, scale);
  int64_t total = 0;
  for (int32_t y = 0; y < screen.height; ++y)
    for (int32_t x = 0; x < screen.width; ++x) {
      int32_t farthest = 0;
      for (int c = 0; c < 3; ++c) {
        const int32_t difference = std::abs(screen.at(x, y)[c] - small.at(x, y)[c]);
        farthest = std::max(farthest, difference);
        total += difference;
      }
      closeness.farPixels += farthest > 64;
    }
  closeness.meanDifference = static_cast<double>(total) / (3.0 * static_cast<double>(closeness.pixels));
  return closeness;
}

std::string Closeness::describe() const {
  char text[160];
  std::snprintf(text, sizeof text, "%lld of %lld pixels more than 64 apart, %.1f apart on average",
                static_cast<long long>(farPixels), static_cast<long long>(pixels), meanDifference);
  return text;
}

}  // namespace qn::gallery
