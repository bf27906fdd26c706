// The matte of an image (the 1-bit mask of its background) is computed by the bitmap members'
// matte algorithm; the cast installs it here so that the image method `createMatte` reaches it
// from below the cast.
#pragma once

#include <cstdint>

#include "gfx/image_buffer.h"

namespace qn {

// A new matte mask (refCount 1), or null.
using MatteBuilder = ImageBuffer* (*)(const ImageBuffer& image, int32_t alphaThreshold);
void setMatteBuilder(MatteBuilder builder);  // nullptr removes it
// Null without an installed builder.
ImageBuffer* buildMatte(const ImageBuffer& image, int32_t alphaThreshold);

}  // namespace qn
