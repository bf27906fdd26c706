// The scanline seed fill of the image method `floodFill`: replaces the 4-connected area of the
// start pixel's value with a new raw value. Pixels compare on their low 24 bits. Segments wait
// on a stack of at most 32768 entries; segments that do not fit are dropped.
#pragma once

#include <cstdint>

#include "gfx/image_buffer.h"

namespace qn {

inline constexpr int32_t kFloodFillStackSize = 32768;

// False when the start lies outside the image or already has the new value.
bool floodFill(ImageBuffer& image, int32_t x, int32_t y, uint32_t raw);

}  // namespace qn
