// A picture enlarged by a whole factor for a finer screen, where no finer drawing of it exists:
// bilinear, sampled at the pixel centres, in integers, so every machine makes the same pixels.
//
// - 32-bit pictures with useAlpha mix premultiplied colour: a transparent pixel lends no colour
//   to the edge next to it;
// - the other direct-colour pictures keep pure white exact, since white is the key of the matte
//   and backgroundTransparent inks: an enlarged pixel is white exactly when white pixels carry
//   at least half of its weight, and otherwise mixes only the pixels that are not white (and is
//   never white itself), so the key's outline is smooth and no pale fringe grows around it;
// - palette pictures, whose indices do not mix, repeat each pixel.
//
// The result has the picture's format, palette and useAlpha.
#pragma once

#include <cstdint>

#include "gfx/image_buffer.h"

namespace qn {

// Null when the memory could not be had or the result would be too large; `factor` from 1.
ImageBuffer* upscaleSmoothly(const ImageBuffer& image, int32_t factor);

}  // namespace qn
