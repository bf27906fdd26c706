#include "cast/image_blob.h"

#include <array>

#include "cast/bmp_decoder.h"
#include "platform/image_decoder.h"

namespace qn {

namespace {

constexpr size_t kDecoderPurgeBytes = 1000000;

// Indexed by platform::DecodeStatus and by BmpStatus.
constexpr std::array<LoadFailure, 3> kFailureByDecodeStatus = {LoadFailure::none, LoadFailure::undecodableImage,
                                                               LoadFailure::outOfMemory};
constexpr std::array<LoadFailure, 3> kFailureByBmpStatus = {LoadFailure::none, LoadFailure::badBmpHeader,
                                                            LoadFailure::outOfMemory};

LoadResult decodeFileImage(const uint8_t* data, size_t size, const PurgeMembers& purge, DecodedImage& out) {
  platform::DecodedPixels24 pixels;
  platform::DecodeStatus status = platform::decodeImageFile(data, size, pixels);
  if (status == platform::DecodeStatus::outOfMemory && purge) {
    purge(kDecoderPurgeBytes);
    status = platform::decodeImageFile(data, size, pixels);
  }
  if (status != platform::DecodeStatus::ok) return {kFailureByDecodeStatus[static_cast<size_t>(status)]};
  out.width = pixels.width;
  out.height = pixels.height;
  out.depthCode = 24;
  out.stride = pixels.stride;
  out.palette.clear();
  out.pixels = std::move(pixels.pixels);
  return {};
}

LoadResult decodeBmpBlob(const uint8_t* data, size_t size, const PurgeMembers& purge, DecodedImage& out) {
  BmpStatus status = decodeBmp(data, size, out);
  if (status == BmpStatus::outOfMemory && purge) {
    purge(size * 2);
    status = decodeBmp(data, size, out);
  }
  return {kFailureByBmpStatus[static_cast<size_t>(status)]};
}

}  // namespace

LoadResult decodeImageBlob(const uint8_t* data, size_t size, uint8_t storedFormat, const PurgeMembers& purge,
                           DecodedImage& out) {
  if (!data) return {storedFormat == kStoredFileImage ? LoadFailure::undecodableImage : LoadFailure::badBmpHeader};
  return storedFormat == kStoredFileImage ? decodeFileImage(data, size, purge, out) : decodeBmpBlob(data, size, purge, out);
}

}  // namespace qn
