// The device screen as the shell keeps it: 240 x 320 pixels in the display's format, the frame
// buffer the stage image presents into. The window streams changed rectangles of it to its
// texture; screenshots read it back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/screen_point.h"

namespace qn {

using platform::kScreenHeight;
using platform::kScreenWidth;

// The display formats the desktop offers, valued as the display host reports them: -16 is
// 5-6-5 (the device's), 32 is 0xAARRGGBB stored as the bytes B, G, R, A.
enum class DisplayFormat : int { rgb565 = -16, argb8888 = 32 };

inline int bytesPerPixel(DisplayFormat format) { return format == DisplayFormat::argb8888 ? 4 : 2; }

class ScreenBuffer {
 public:
  explicit ScreenBuffer(DisplayFormat format);

  DisplayFormat format() const { return format_; }
  const uint8_t* pixels() const { return pixels_.data(); }
  uint8_t* pixels() { return pixels_.data(); }
  int pitch() const { return kScreenWidth * bytesPerPixel(format_); }

  // The screen as 8-bit RGBA rows, top to bottom (for image files).
  std::vector<uint8_t> toRgba() const;

 private:
  DisplayFormat format_;
  std::vector<uint8_t> pixels_;
};

}  // namespace qn
