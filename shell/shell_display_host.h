// The shell's display host: the movie's clock, screen, the stage shown and debug log on the
// desktop. The screen is the 240 x 320 device screen kept in a ScreenBuffer, and while the movie
// composes at a presentation scale k also the screen k times as large; with a window, every
// change shown streams the changed rectangle of the larger one to it.
//
// Two clocks: real time (monotonic milliseconds), or the frame clock of headless runs and
// recordings, which starts at 0 and moves only when the shell advances it by one frame interval
// per tick, so every run of the same input is the same.
#pragma once

#include <optional>

#include "engine/display_host.h"
#include "shell/screen_buffer.h"

namespace qn {

class KeyTranslator;
namespace platform {
class MainWindow;
}

enum class ClockKind { realTime, frame };

class ShellDisplayHost final : public DisplayHost {
 public:
  // `window` may be null (headless): the stage then only reaches the screen buffers.
  ShellDisplayHost(DisplayFormat format, ClockKind clock, platform::MainWindow* window);

  int32_t now() override;
  int32_t displayFormat() const override { return static_cast<int32_t>(screen_.format()); }
  int32_t screenWidth() const override { return kScreenWidth; }
  int32_t screenHeight() const override { return kScreenHeight; }
  void showStage(const StageView& view, const IntRect& windowRect) override;
  void compositionBegins() override;
  void openDebugLog() override;
  void closeDebugLog() override;
  void writeDebugLog(std::string_view text) override;
  bool keyPressed(int32_t code, int32_t orientation) const override;

  // The keys the window has seen go down and up, which the key-state query reads.
  void readKeysFrom(const KeyTranslator& keys) { keys_ = &keys; }
  // Moves the frame clock on (no effect on the real-time clock).
  void advanceClock(int32_t milliseconds);
  // Held, the window shows nothing new (the screens still follow the stage); let go, it shows
  // the whole screen at the next frame. A device catching up with a room is not drawn.
  void holdWindow(bool held);

  // The device screen, 240 x 320.
  const ScreenBuffer& screen() const { return screen_; }
  // The screen the window shows: the screen at the presentation scale the movie last showed the
  // stage at (the device screen at scale 1).
  const ScreenBuffer& shownScreen() const { return scaled_ ? *scaled_ : screen_; }

  // Where the current frame's time went, in high-resolution counts: composing (from
  // `compositionBegins` to the `showStage` that follows it) and presenting (inside `showStage`).
  struct FramePhases {
    uint64_t compositionCounts = 0;
    uint64_t presentCounts = 0;
    uint64_t composingSince = 0;  // not 0 while a composition has not reached its repaint
  };
  void startFrame() { phases_ = {}; }
  // Ends the frame's phases at counter value `now` and answers them.
  const FramePhases& endFrame(uint64_t now);

 private:
  ScreenBuffer screen_;
  std::optional<ScreenBuffer> scaled_;  // the screen at the presentation scale, above 1
  ClockKind clock_;
  platform::MainWindow* window_;
  const KeyTranslator* keys_ = nullptr;
  // Real time: the tick count at creation advanced by the high-resolution counter since then.
  uint64_t counterStart_;
  uint64_t counterFrequency_;
  uint32_t tickStart_;
  int32_t frameTime_ = 0;
  void endComposition(uint64_t now);

  bool openedDebugLog_ = false;
  bool windowHeld_ = false;
  bool windowStale_ = false;  // the window missed changes while held
  FramePhases phases_;
};

}  // namespace qn
