// The matte of an image (a bitmap member's, or what the image method `createMatte` answers): a
// 1-bit image of the same size in which a set bit marks background, the pixels connected to the
// image border through "empty" pixels. Empty means alpha below the threshold for a 32-bit image
// with useAlpha, else pure white in the image's format (1 for 1-bit, 15 for 4-bit, 255 for 8-bit,
// 0x7FFF for 5-5-5, 0xFFFF for 5-6-5, 0xFFFFFF for 24 and 32 bits). Images of other depths get an
// all-clear matte.
//
// The fill walks horizontal spans seeded from every qualifying border pixel, with a stack of
// 32768 spans; spans that do not fit are dropped. A matte with no background at all carries
// the no-border flag, so drawing through it costs nothing.
#pragma once

#include <cstdint>

#include "gfx/image_buffer.h"

namespace qn {

inline constexpr int32_t kMatteSpanStackSize = 32768;

// Null when the mask image could not be made.
ImageBuffer* buildMatteMask(const ImageBuffer& image, int32_t alphaThreshold);

// Whether a matte marks (x, y) as background; points outside count as background.
bool matteIsBackground(const ImageBuffer& matte, int32_t x, int32_t y);

}  // namespace qn
