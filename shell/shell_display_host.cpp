#include "shell/shell_display_host.h"

#include "platform/main_window.h"
#include "platform/platform.h"
#include "shell/debug_log.h"
#include "shell/key_translator.h"

namespace qn {

ShellDisplayHost::ShellDisplayHost(DisplayFormat format, ClockKind clock, platform::MainWindow* window)
    : screen_(format),
      clock_(clock),
      window_(window),
      counterStart_(platform::highResolutionCounter()),
      counterFrequency_(platform::highResolutionFrequency()),
      tickStart_(platform::monotonicMilliseconds()) {}

int32_t ShellDisplayHost::now() {
  if (clock_ == ClockKind::frame) return frameTime_;
  // Whole seconds and the rest apart, so the multiplication cannot overflow in a long run.
  uint64_t elapsed = platform::highResolutionCounter() - counterStart_;
  uint64_t milliseconds =
      elapsed / counterFrequency_ * 1000 + elapsed % counterFrequency_ * 1000 / counterFrequency_;
  return static_cast<int32_t>(tickStart_ + static_cast<uint32_t>(milliseconds));
}

void ShellDisplayHost::advanceClock(int32_t milliseconds) {
  if (clock_ == ClockKind::frame) frameTime_ += milliseconds;
}

void ShellDisplayHost::showStage(const StageView& view, const IntRect& windowRect) {
  IntRect shown = clippedRect(windowRect, {0, 0, kScreenWidth, kScreenHeight});
  if (isEmptyRect(shown)) return;
  const uint64_t start = platform::highResolutionCounter();
  endComposition(start);
  if (const ImageBuffer* stage = imageBufferOf(view.stageImage)) screen_.present(*stage, shown, view.orientation);
  const ImageBuffer* screenImage = view.scale > 1 ? imageBufferOf(view.screenImage) : nullptr;
  if (!screenImage) scaled_.reset();
  else if (!scaled_ || scaled_->scale() != view.scale) scaled_.emplace(screen_.format(), view.scale);
  if (scaled_) scaled_->present(*screenImage, scaledRect(shown, view.scale), view.orientation);
  if (window_ != nullptr && windowHeld_) windowStale_ = true;
  if (window_ != nullptr && !windowHeld_) {
    const ScreenBuffer& streamed = shownScreen();
    const IntRect changed = windowStale_ ? IntRect{0, 0, streamed.width(), streamed.height()} : scaledRect(shown, streamed.scale());
    windowStale_ = false;
    window_->present({streamed.pixels(), streamed.pitch(), streamed.width(), streamed.height()},
                     {changed.left, changed.top, changed.right, changed.bottom});
  }
  phases_.presentCounts += platform::highResolutionCounter() - start;
}

void ShellDisplayHost::holdWindow(bool held) { windowHeld_ = held; }

void ShellDisplayHost::compositionBegins() { phases_.composingSince = platform::highResolutionCounter(); }

void ShellDisplayHost::endComposition(uint64_t now) {
  if (phases_.composingSince != 0) phases_.compositionCounts += now - phases_.composingSince;
  phases_.composingSince = 0;
}

const ShellDisplayHost::FramePhases& ShellDisplayHost::endFrame(uint64_t now) {
  endComposition(now);
  return phases_;
}

void ShellDisplayHost::openDebugLog() { openedDebugLog_ = debug_log::open(); }

void ShellDisplayHost::closeDebugLog() {
  if (openedDebugLog_) debug_log::close();
  openedDebugLog_ = false;
}

void ShellDisplayHost::writeDebugLog(std::string_view text) { debug_log::writeLine(text); }

bool ShellDisplayHost::keyPressed(int32_t code, int32_t orientation) const {
  return keys_ != nullptr && code >= 0 && keys_->keyPressed(static_cast<uint32_t>(code), orientation);
}

}  // namespace qn
