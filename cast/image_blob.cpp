#include "cast/image_blob.h"

#include "cast/bmp_decoder.h"
#include "platform/image_decoder.h"

namespace qn {

namespace {

constexpr size_t kDecoderPurgeBytes = 1000000;

bool decodeFileImage(const uint8_t* data, size_t size, const PurgeMembers& purge, DecodedImage& out) {
  platform::DecodedPixels24 pixels;
  platform::DecodeStatus status = platform::decodeImageFile(data, size, pixels);
  if (status == platform::DecodeStatus::outOfMemory && purge) {
    purge(kDecoderPurgeBytes);
    status = platform::decodeImageFile(data, size, pixels);
  }
  if (status != platform::DecodeStatus::ok) return false;
  out.width = pixels.width;
  out.height = pixels.height;
  out.depthCode = 24;
  out.stride = pixels.stride;
  out.palette.clear();
  out.pixels = std::move(pixels.pixels);
  return true;
}

bool decodeBmpBlob(const uint8_t* data, size_t size, const PurgeMembers& purge, DecodedImage& out) {
  BmpStatus status = decodeBmp(data, size, out);
  if (status == BmpStatus::outOfMemory && purge) {
    purge(size * 2);
    status = decodeBmp(data, size, out);
  }
  return status == BmpStatus::ok;
}

}  // namespace

bool decodeImageBlob(const uint8_t* data, size_t size, uint8_t storedFormat, const PurgeMembers& purge,
                     DecodedImage& out) {
  if (!data) return false;
  return storedFormat == kStoredFileImage ? decodeFileImage(data, size, purge, out) : decodeBmpBlob(data, size, purge, out);
}

}  // namespace qn
