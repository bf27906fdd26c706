// The image decoder service: JPEG, PNG and GIF file images (the first image of a GIF) to 24-bit
// pixels, through Debian's libjpeg-turbo, libpng and giflib, which report damaged data through
// their error handlers: a damaged file is refused, never the end of the program. Sides above
// kLargestDecodedSide are refused before any pixel is decoded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace qn::platform {

inline constexpr int32_t kLargestDecodedSide = 4096;

// Rows are stored bottom-up, each `stride` bytes (a multiple of 4), pixels as the bytes B, G, R.
struct DecodedPixels24 {
  int32_t width = 0;
  int32_t height = 0;
  int32_t stride = 0;
  std::unique_ptr<uint8_t[]> pixels;

  // Row `y` counted from the top.
  uint8_t* rowFromTop(int32_t y) { return pixels.get() + size_t(height - 1 - y) * size_t(stride); }
};

enum class DecodeStatus { ok, unsupported, outOfMemory };

// `unsupported` covers every damaged or foreign input; `outOfMemory` is worth a retry after
// memory has been freed.
DecodeStatus decodeImageFile(const uint8_t* data, size_t size, DecodedPixels24& out);

}  // namespace qn::platform
