// The device screen as the shell keeps it: 240 x 320 pixels in the display's format. Presenting
// copies a rectangle of the stage image here, turned by the stage orientation; the window then
// streams the changed rectangle to its texture, screenshots read it back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/int_rect.h"

namespace qn {

inline constexpr int kScreenWidth = 240;
inline constexpr int kScreenHeight = 320;

// Display formats as the display host reports them: 16 is 5-5-5, -16 is 5-6-5, 32 is 0xAARRGGBB.
enum class PixelFormat : int { rgb555 = 16, rgb565 = -16, argb8888 = 32 };

inline int bytesPerPixel(PixelFormat format) { return format == PixelFormat::argb8888 ? 4 : 2; }

// A read-only view of a stage image's pixels.
struct PixelView {
  const uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  ptrdiff_t pitch = 0;  // bytes from one row to the next
  PixelFormat format = PixelFormat::rgb565;
};

// Stage rect to screen rect for the stage orientation (0, 90 or -90 degrees).
IntRect stageToScreen(const IntRect& stage, int orientation);

class ScreenBuffer {
 public:
  explicit ScreenBuffer(PixelFormat format);

  PixelFormat format() const { return format_; }
  const uint8_t* pixels() const { return pixels_.data(); }
  uint8_t* pixels() { return pixels_.data(); }
  int pitch() const { return kScreenWidth * bytesPerPixel(format_); }

  // Copies the stage rect (clipped to the stage and the screen) and answers the screen rect
  // that changed (empty when nothing did).
  IntRect present(const PixelView& stage, const IntRect& stageRect, int orientation);

  // The screen as 8-bit RGBA rows, top to bottom (for image files).
  std::vector<uint8_t> toRgba() const;

 private:
  PixelFormat format_;
  std::vector<uint8_t> pixels_;
};

}  // namespace qn
