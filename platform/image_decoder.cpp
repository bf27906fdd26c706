#include "platform/image_decoder.h"

#include <cstring>
#include <new>

#include "platform/file_image_decoders.h"

namespace qn::platform {

namespace {

bool startsWith(const uint8_t* data, size_t size, const char* signature, size_t length) {
  return size >= length && std::memcmp(data, signature, length) == 0;
}

}  // namespace

bool allocatePixels(DecodedPixels24& out, int32_t width, int32_t height) {
  const int32_t stride = ((24 * width + 31) >> 5) * 4;
  out.pixels.reset(new (std::nothrow) uint8_t[size_t(stride) * size_t(height)]());
  if (!out.pixels) return false;
  out.width = width;
  out.height = height;
  out.stride = stride;
  return true;
}

DecodeStatus decodeImageFile(const uint8_t* data, size_t size, DecodedPixels24& out) {
  if (data == nullptr) return DecodeStatus::unsupported;
  DecodeStatus status = DecodeStatus::unsupported;
  if (startsWith(data, size, "\xFF\xD8\xFF", 3))
    status = decodeJpeg(data, size, out);
  else if (startsWith(data, size, "\x89PNG\r\n\x1a\n", 8))
    status = decodePng(data, size, out);
  else if (startsWith(data, size, "GIF87a", 6) || startsWith(data, size, "GIF89a", 6))
    status = decodeGif(data, size, out);
  if (status != DecodeStatus::ok) out = DecodedPixels24();
  return status;
}

}  // namespace qn::platform
