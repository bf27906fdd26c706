// The device's screen as the present step writes it: a frame buffer lent for one present, and
// the display format it holds. The display host is such a device; the stage image service
// presents through this interface alone, so the graphics library needs nothing of the movie.
#pragma once

#include <cstdint>

namespace qn {

// What `displayFormat` answers.
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

class FrameBufferDevice {
 public:
  virtual ~FrameBufferDevice() = default;
  // Fixed for the run: 32, 16 for 5-5-5, -16 for 5-6-5, otherwise the device's bit count.
  virtual int32_t displayFormat() const = 0;
  // Takes the frame buffer for a present; false when the device refuses (nothing is drawn then).
  virtual bool beginDraw(FrameBuffer& buffer) = 0;
  virtual void endDraw() = 0;
};

}  // namespace qn
