// The device side of the movie: the shell's one DisplayHost stands between the movie and the
// window. It is the clock, keeps the last stylus point and key for the movie to read, reports the
// screen's size and pixel format, repaints window rectangles, carries the debug log and the close
// request. The shell implements it over the real window; tests use a fake. Main thread only.
//
// Presenting: the movie computes the window rectangle that changed and calls `repaint`; before
// `repaint` returns, the host has the stage shown there: it calls the movie's `paint` (window
// rect), which asks the stage-image service to present it. The present step writes pixels through
// `beginDraw`/`endDraw`.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/stage_rect.h"
#include "engine/time_source.h"

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

class DisplayHost : public TimeSource {
 public:
  // Screen metrics and format, fixed for the run. `displayFormat`: 32, 16 for 5-5-5, -16 for
  // 5-6-5, otherwise the device's bit count.
  virtual int32_t displayFormat() const = 0;
  virtual int32_t screenWidth() const = 0;
  virtual int32_t screenHeight() const = 0;

  // Marks a window rectangle for repainting (no erase) and repaints it at once (see above).
  virtual void repaint(const IntRect& windowRect) = 0;
  // Takes the frame buffer for a present; false when the device refuses (nothing is drawn then).
  virtual bool beginDraw(FrameBuffer& buffer) = 0;
  virtual void endDraw() = 0;

  // Asks the main window to close; the program ends through its normal shutdown after the
  // current event, never from inside this call.
  virtual void postCloseRequest() = 0;

  // The debug log beside the program; lines go nowhere while it is closed.
  virtual void openDebugLog() = 0;
  virtual void closeDebugLog() = 0;
  virtual void writeDebugLog(std::string_view text) = 0;

  // Input state, written by the shell's window procedure before it calls the movie's input entry
  // points: the last stylus point in window pixels, the last key's character and key code.
  int32_t mouseH = 0;
  int32_t mouseV = 0;
  uint8_t lastKeyChar = 0;
  uint8_t lastKeyCode = 0;
};

}  // namespace qn
