// The decoders behind decodeImageFile, one per format, each handed a file image of its own
// signature. They fill `out` through allocatePixels once the size is known; on any failure what
// they return is not `ok` and `out` may hold pixels half decoded, which the caller drops.
#pragma once

#include "platform/image_decoder.h"

namespace qn::platform {

DecodeStatus decodeJpeg(const uint8_t* data, size_t size, DecodedPixels24& out);
DecodeStatus decodePng(const uint8_t* data, size_t size, DecodedPixels24& out);
DecodeStatus decodeGif(const uint8_t* data, size_t size, DecodedPixels24& out);

// Whether a decoded picture of these sides is one the service takes.
inline bool isDecodableSize(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kLargestDecodedSide && height <= kLargestDecodedSide;
}
// Makes room in `out` for `width` x `height` pixels, all black; false when memory is short.
bool allocatePixels(DecodedPixels24& out, int32_t width, int32_t height);

}  // namespace qn::platform
