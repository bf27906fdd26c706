// A bitmap member's image blob to pixels: a BMP file image (storedFormat 0), or a JPEG, PNG or
// GIF file image handed to the image decoder service (storedFormat 1), which yields 24 bits.
#pragma once

#include <cstddef>
#include <cstdint>

#include "cast/decoded_image.h"
#include "cast/load_failure.h"
#include "cast/media_file.h"

namespace qn {

inline constexpr uint8_t kStoredBmp = 0;
inline constexpr uint8_t kStoredFileImage = 1;

// When memory runs out, purges members once (a million bytes for the decoder, twice the pixel
// size for BMP pixels) and tries once more. Fails for anything that cannot be decoded.
LoadResult decodeImageBlob(const uint8_t* data, size_t size, uint8_t storedFormat, const PurgeMembers& purge,
                     DecodedImage& out);

}  // namespace qn
