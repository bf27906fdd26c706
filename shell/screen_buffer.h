// A screen as the shell keeps it: pixels in the display's format, rows top to bottom, the frame
// buffer the stage presents into. The device screen is 240 x 320; at a presentation scale k the
// shell keeps a second one, k times as large, that the screen image presents into. The window
// streams changed rectangles of one of them to its texture; screenshots read them back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/image_buffer.h"
#include "platform/screen_point.h"
#include "script/stage_rect.h"

namespace qn {

using platform::kScreenHeight;
using platform::kScreenWidth;

// The display formats the desktop offers, valued as the display host reports them: -16 is
// 5-6-5 (the device's), 32 is 0xAARRGGBB stored as the bytes B, G, R, A.
enum class DisplayFormat : int { rgb565 = -16, argb8888 = 32 };

inline int bytesPerPixel(DisplayFormat format) { return format == DisplayFormat::argb8888 ? 4 : 2; }

class ScreenBuffer {
 public:
  // The device screen, or one `scale` times as large.
  explicit ScreenBuffer(DisplayFormat format, int scale = 1);

  DisplayFormat format() const { return format_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int scale() const { return width_ / kScreenWidth; }
  const uint8_t* pixels() const { return pixels_.data(); }
  uint8_t* pixels() { return pixels_.data(); }
  int pitch() const { return width_ * bytesPerPixel(format_); }

  // Puts `rect` (in this screen's pixels) of a stage image this screen's size on it, turned by
  // `orientation` as the movie turns its stage.
  void present(const ImageBuffer& image, const IntRect& rect, int32_t orientation);

  // The screen as 8-bit RGBA rows, top to bottom (for image files).
  std::vector<uint8_t> toRgba() const;

 private:
  DisplayFormat format_;
  int width_, height_;
  std::vector<uint8_t> pixels_;
};

}  // namespace qn
