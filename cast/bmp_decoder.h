// Decoding of a BMP file image: the 14-byte file header ("BM"), a 40-byte information header
// (the larger 108- and 124-byte forms are read through their first 40 bytes), plain or bit-field
// pixels at depths 1, 2, 4, 8, 16, 24 and 32, with the palette for depths up to 8. Every header
// field is checked against the bytes present before anything is read, so damaged input fails
// cleanly. Rows stay bottom-up, as stored; top-down images (negative height) are not taken.
#pragma once

#include <cstddef>
#include <cstdint>

#include "cast/decoded_image.h"

namespace qn {

enum class BmpStatus { ok, malformed, outOfMemory };

BmpStatus decodeBmp(const uint8_t* data, size_t size, DecodedImage& out);

}  // namespace qn
