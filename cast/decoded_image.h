// Pixels as a decoder hands them over, before they become an image buffer: rows bottom-up, each
// `stride` bytes, in the layout the depth code names (1, 2, 4, 8 with a palette; 16 for 5-5-5,
// -16 for 5-6-5; 24 as B, G, R; 32 as B, G, R, A).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace qn {

struct DecodedImage {
  int32_t width = 0;
  int32_t height = 0;
  int32_t depthCode = 0;
  int32_t stride = 0;
  std::vector<uint32_t> palette;  // 0xFFRRGGBB, for depths up to 8
  std::unique_ptr<uint8_t[]> pixels;

  int32_t bitsPerPixel() const { return depthCode < 0 ? -depthCode : depthCode; }
  uint8_t* row(int32_t y) { return pixels.get() + static_cast<size_t>(height - 1 - y) * stride; }  // y from the top
  const uint8_t* row(int32_t y) const { return pixels.get() + static_cast<size_t>(height - 1 - y) * stride; }
};

// Bytes per row, padded to whole 32-bit words; 64 bits wide, so a file's claimed width cannot
// overflow it.
inline int64_t paddedRowBytes(int32_t bitsPerPixel, int64_t width) { return ((bitsPerPixel * width + 31) >> 5) * 4; }

}  // namespace qn
