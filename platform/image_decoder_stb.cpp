#include "platform/image_decoder.h"

#include <stb_image.h>

#include <climits>
#include <cstring>
#include <new>

namespace qn::platform {

namespace {

bool startsWith(const uint8_t* data, size_t size, const char* signature, size_t length) {
  return size >= length && std::memcmp(data, signature, length) == 0;
}

// Only the three formats the service promises; stb_image would take several more.
bool isJpegPngOrGif(const uint8_t* data, size_t size) {
  return startsWith(data, size, "\x89PNG\r\n\x1a\n", 8) || startsWith(data, size, "\xFF\xD8\xFF", 3) ||
         startsWith(data, size, "GIF87a", 6) || startsWith(data, size, "GIF89a", 6);
}

struct StbPixels {
  stbi_uc* pixels;
  ~StbPixels() { stbi_image_free(pixels); }
};

}  // namespace

DecodeStatus decodeImageFile(const uint8_t* data, size_t size, DecodedPixels24& out) {
  if (!data || size > INT_MAX || !isJpegPngOrGif(data, size)) return DecodeStatus::unsupported;
  int length = static_cast<int>(size);
  int width = 0, height = 0, components = 0;
  if (!stbi_info_from_memory(data, length, &width, &height, &components)) return DecodeStatus::unsupported;
  if (width <= 0 || height <= 0 || width > kLargestDecodedSide || height > kLargestDecodedSide)
    return DecodeStatus::unsupported;

  StbPixels rgb{stbi_load_from_memory(data, length, &width, &height, &components, 3)};
  if (!rgb.pixels) {
    // stb reports exhausted memory with this exact reason; everything else is bad data.
    const char* reason = stbi_failure_reason();
    return reason && std::strcmp(reason, "outofmem") == 0 ? DecodeStatus::outOfMemory : DecodeStatus::unsupported;
  }

  int32_t stride = ((24 * width + 31) >> 5) * 4;
  std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[size_t(stride) * size_t(height)]());
  if (!pixels) return DecodeStatus::outOfMemory;
  for (int y = 0; y < height; ++y) {
    const stbi_uc* source = rgb.pixels + size_t(y) * size_t(width) * 3;
    uint8_t* row = pixels.get() + size_t(height - 1 - y) * size_t(stride);
    for (int x = 0; x < width; ++x) {
      row[x * 3 + 0] = source[x * 3 + 2];
      row[x * 3 + 1] = source[x * 3 + 1];
      row[x * 3 + 2] = source[x * 3 + 0];
    }
  }
  out.width = width;
  out.height = height;
  out.stride = stride;
  out.pixels = std::move(pixels);
  return DecodeStatus::ok;
}

}  // namespace qn::platform
