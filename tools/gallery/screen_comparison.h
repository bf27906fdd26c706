// A screen held against its reference image: exact, pixel for pixel (every step from the input to
// the pixels is deterministic, so any difference is a change). Where they differ, a difference
// image shows the reference, the new screen and, in the third panel, the new screen greyed with
// every differing pixel in magenta.
#pragma once

#include <cstdint>

#include "tools/gallery/rgba_image.h"

namespace qn::gallery {

struct Comparison {
  int64_t differingPixels = 0;  // all of them when the sizes differ
  RgbaImage difference;         // empty when the images are equal
};

Comparison compareWithReference(const RgbaImage& reference, const RgbaImage& screen);

}  // namespace qn::gallery
