// The device side of the movie: the shell's one DisplayHost stands between the movie and the
// window. It is the clock, reports the screen's size and pixel format, shows the stage and
// carries the debug log. The shell implements it over the real window; tests use a fake. Main
// thread only. Stylus points and keys come to the movie as the arguments of its input entries,
// and the movie answers each step whether the program goes on (engine/movie.h).
//
// Presenting: after a frame changed the stage the movie tells the host which window rectangle
// changed and hands it the pictures to take it from (`showStage`); the host has it on the screen
// before the call returns.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/time_source.h"
#include "gfx/frame_buffer.h"
#include "script/stage_rect.h"
#include "script/value.h"

namespace qn {

// What the movie shows: its stage image (the stage at its own size, what scripts draw into and
// 1x screenshots show) and, while it composes at a presentation scale above 1, the screen image:
// the same stage composed `scale` times as large. Both are image buffers of the movie's colour
// depth; the host reads them during `showStage` only.
struct StageView {
  const Value& stageImage;
  const Value& screenImage;  // void at scale 1
  int32_t scale = 1;
  int32_t orientation = 0;  // degrees the stage is turned against the screen
};

class DisplayHost : public TimeSource {
 public:
  // Screen metrics and pixel format, fixed for the run (the format as in gfx/frame_buffer.h).
  virtual int32_t screenWidth() const = 0;
  virtual int32_t screenHeight() const = 0;
  virtual int32_t displayFormat() const = 0;

  // The stage changed inside `windowRect` (device-screen pixels at scale 1): the host shows that
  // part of the view's stage image, and the part of its screen image `scale` times as large.
  virtual void showStage(const StageView& view, const IntRect& windowRect) = 0;
  // Told when the movie starts composing a frame (before any `showStage` of it), so a host can
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
