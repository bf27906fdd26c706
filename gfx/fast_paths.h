// Fast paths of the pixel stage: one table of (source format, destination format, ink and
// conditions) -> row function, consulted once per draw. Every entry gives the same bytes as the
// general path for the cases it covers.
#pragma once

#include "gfx/pixel_stage.h"

namespace qn {

// The row function for a rect draw with this stage and these 16.16 source steps per destination
// pixel, or null when only the general path fits. `oneSourcePixel`: every pixel of the draw
// samples the same source pixel.
RowFunction findFastPath(const PixelStage& stage, int64_t stepAcross, int64_t stepDown, bool oneSourcePixel);

// Off forces every draw through the general path (tests and debugging). On by default.
void setFastPathsEnabled(bool enabled);
bool fastPathsEnabled();

}  // namespace qn
