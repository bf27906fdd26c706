// The device's screen as the present step writes it: a frame buffer lent for one present, and
// the display formats a device reports.
#pragma once

#include <cstdint>

namespace qn {

// What a device's `displayFormat` answers: 32, 16 for 5-5-5, -16 for 5-6-5, otherwise its bit count.
inline constexpr int32_t kDisplay32 = 32;
inline constexpr int32_t kDisplay555 = 16;
inline constexpr int32_t kDisplay565 = -16;

// The device's frame buffer during one present: pixel (x, y) of the screen lies at
// pixels + x * xPitch + y * yPitch (pitches in bytes, either may be negative).
struct FrameBuffer {
  uint8_t* pixels = nullptr;
  int32_t xPitch = 0;
  int32_t yPitch = 0;
  int32_t bitsPerPixel = 0;
  int32_t width = 0;
  int32_t height = 0;
};

}  // namespace qn
