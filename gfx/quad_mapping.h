// Drawing onto a quad: the source rect is mapped affinely onto four corners and the polygon is
// filled row by row through the general pixel stage.
#pragma once

#include "gfx/blit_params.h"
#include "gfx/image_buffer.h"
#include "gfx/pixel_stage.h"

namespace qn {

void drawQuad(ImageBuffer& destination, const ImageBuffer& source, const ImageBuffer* mask, const BlitParams& params,
              const PixelStage& stage);

}  // namespace qn
