// Presenting: a window rectangle of a stage image copied onto the device's frame buffer, in the
// screen's pixel format, turned by the stage orientation.
#pragma once

#include "gfx/frame_buffer.h"
#include "gfx/image_buffer.h"

namespace qn {

// Copies the window rect of a stage image into a frame buffer of the given display format
// (32, 16 for 5-5-5, -16 for 5-6-5, 24), turned by orientation (0, 90, -90): with 90 window pixel
// (x, y) shows stage pixel (screen height - 1 - y, x), with -90 stage pixel (y, screen width - 1 - x).
void presentStage(const ImageBuffer& stage, const FrameBuffer& screen, int32_t displayFormat, const PixelRect& windowRect,
                  int32_t orientation);

}  // namespace qn
