// The one blit of the runtime: draws (part of) a source image into a destination image with an
// ink, scaled to a rect or mapped onto a quad, clipped to the destination's clip rect.
#pragma once

#include "gfx/blit_params.h"
#include "gfx/image_buffer.h"

namespace qn {

void drawImage(ImageBuffer& destination, const ImageBuffer* source, const BlitParams& params);

}  // namespace qn
