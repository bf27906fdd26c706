// One draw of an image into another: which part goes where, and how it combines.
#pragma once

#include <cstdint>
#include <optional>

#include "gfx/ink.h"
#include "gfx/pixel_rect.h"
#include "script/quad.h"

namespace qn {

class ImageBuffer;

struct BlitParams {
  PixelRect destinationRect;
  PixelRect sourceRect;
  int32_t ink = ink::copy;
  int32_t blend = 255;                // 0 to 255; 255 is opaque
  uint32_t foreColour = 0x000000;     // 0xRRGGBB
  uint32_t backColour = 0xFFFFFF;     // 0xRRGGBB
  int32_t maskOffsetH = 0;            // where the mask's top-left lies in source coordinates
  int32_t maskOffsetV = 0;
  const ImageBuffer* mask = nullptr;  // depth 1 or 8; others count as none
  std::optional<Quad> quad;           // the sprite's quad: when present the source maps onto it
};

}  // namespace qn
