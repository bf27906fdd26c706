// The device side of the movie: the shell's one DisplayHost stands between the movie and the
// window. It is the clock, reports the screen's size and pixel format, repaints window rectangles
// and carries the debug log. The shell implements it over the real window; tests use a fake. Main
// thread only. Stylus points and keys come to the movie as the arguments of its input entries,
// and the movie answers each step whether the program goes on (engine/movie.h).
//
// Presenting: the movie computes the window rectangle that changed and calls `repaint`; before
// `repaint` returns, the host has the stage shown there: it calls the movie's `paint` (window
// rect), which asks the stage-image service to present it. The present step writes pixels through
// `beginDraw`/`endDraw`.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/time_source.h"
#include "gfx/frame_buffer.h"
#include "script/stage_rect.h"

namespace qn {

class DisplayHost : public TimeSource, public FrameBufferDevice {
 public:
  // Screen metrics, fixed for the run (the display format and frame buffer: FrameBufferDevice).
  virtual int32_t screenWidth() const = 0;
  virtual int32_t screenHeight() const = 0;

  // Marks a window rectangle for repainting (no erase) and repaints it at once (see above).
  virtual void repaint(const IntRect& windowRect) = 0;
  // Told when the movie starts composing a frame (before any `repaint` of it), so a host can
  // time composing apart from presenting.
  virtual void compositionBegins() {}

  // The debug log beside the program; lines go nowhere while it is closed.
  virtual void openDebugLog() = 0;
  virtual void closeDebugLog() = 0;
  virtual void writeDebugLog(std::string_view text) = 0;

  // Whether the key that produces movie key code `code` is down now, the stage being turned by
  // `orientation` degrees (the key-state query `keyPressed`). A host without keys has none down.
  virtual bool keyPressed(int32_t /*code*/, int32_t /*orientation*/) const { return false; }
};

}  // namespace qn
