// A screen held against its reference image: exact, pixel for pixel (every step from the input to
// the pixels is deterministic, so any difference is a change). Where they differ, a difference
// image shows the reference, the new screen and, in the third panel, the new screen greyed with
// every differing pixel in magenta.
#pragma once

#include <cstdint>
#include <string>

#include "tools/gallery/rgba_image.h"

namespace qn::gallery {

struct Comparison {
  int64_t differingPixels = 0;  // all of them when the sizes differ
  RgbaImage difference;         // empty when the images are equal
};

Comparison compareWithReference(const RgbaImage& reference, const RgbaImage& screen);

// How close a screen composed at a presentation scale is to the screen, once shrunk to its size by
// averaging each scale x scale square. Not equal: the finer screen is drawn from finer art and
// outlines; but a sprite misplaced, drawn at the wrong size or with the wrong ink moves many
// pixels far. Close: at most 2 % of the pixels differ by more than 64 in a channel, and the
// channels differ by at most 8 on average.
struct Closeness {
  int64_t pixels = 0;
  int64_t farPixels = 0;
  double meanDifference = 0;
  bool close() const { return farPixels * 50 <= pixels && meanDifference <= 8; }
  std::string describe() const;
};
Closeness closenessAfterShrinking(const RgbaImage& screen, const RgbaImage& finer, int32_t scale);

// The finer screen shrunk by `scale`, each pixel the rounded mean of its square.
RgbaImage shrunk(const RgbaImage& finer, int32_t scale);

}  // namespace qn::gallery
