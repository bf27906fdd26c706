#include "shell/window_input.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <iterator>
#include <string>
#include <utility>

#include "platform/main_window.h"
#include "shell/application.h"
#include "shell/key_tables.h"
#include "sound/sound_mixer.h"

namespace qn {

using platform::ControllerButton;
using platform::KeyPress;
using platform::PointerAction;
using platform::ScreenPoint;

WindowInput::WindowInput(Application& application, platform::MainWindow& window)
    : application_(application), window_(window) {}

bool WindowInput::takingEvents() const { return !application_.loopEnded(); }

bool WindowInput::run(KeyCommand command, bool repeat) {
  switch (command.command) {
    case WindowCommand::none: return false;
    case WindowCommand::toggleFullscreen:
      if (!repeat) window_.toggleFullscreen();
      return true;
    case WindowCommand::setScale: window_.setScale(command.scale); return true;
    case WindowCommand::saveScreenshot:
      if (!repeat) saveScreenshot();
      return true;
    case WindowCommand::focusNext:
    case WindowCommand::focusPrevious: stepFocus(command.command == WindowCommand::focusNext); return true;
    case WindowCommand::tap:
      if (!focus_.shown()) return false;
      if (!repeat) pressTap();
      return true;
    case WindowCommand::toggleMute:
      if (!repeat) toggleMute();
      return true;
  }
  return false;
}

void WindowInput::keyDown(const KeyPress& key) {
  const KeyCommand command = windowCommandOf(key);
  if (run(command, key.repeat)) {
    heldAs_[key.physicalKey] = 0;
    if (command.command == WindowCommand::tap) tapKey_ = key.physicalKey;
    swallowText_ = true;
    return;
  }
  const uint8_t vk = virtualKeyOf(key);
  heldAs_[key.physicalKey] = vk;
  swallowText_ = isDeviceButton(vk);
  if (vk == 0) return;
  application_.input({InputKind::keyDown, vk, 0, key.keypad});
  if (swallowText_) return;
  if (key.controlCharacter != 0) application_.input({InputKind::character, key.controlCharacter, 0, key.keypad});
}

void WindowInput::keyUp(const KeyPress& key) {
  if (key.physicalKey == tapKey_) {
    tapKey_ = -1;
    releaseTap();
    return;
  }
  if (uint8_t vk = std::exchange(heldAs_[key.physicalKey], 0); vk != 0) application_.input({InputKind::keyUp, vk});
}

void WindowInput::controllerButton(ControllerButton button, bool down) {
  controllerHeld_[static_cast<size_t>(button)] = down;
  if (std::find(std::begin(kControllerQuitChord), std::end(kControllerQuitChord), button) !=
      std::end(kControllerQuitChord)) {
    const bool chordHeld =
        std::all_of(std::begin(kControllerQuitChord), std::end(kControllerQuitChord),
                    [this](ControllerButton member) { return controllerHeld_[static_cast<size_t>(member)]; });
    if (chordHeld != quitChordDown_) {
      quitChordDown_ = chordHeld;
      application_.input({chordHeld ? InputKind::keyDown : InputKind::keyUp, keys::vkApplication1});
      if (chordHeld) return;
    }
  }
  const WindowCommand command = windowCommandOf(button);
  if (command == WindowCommand::tap) {
    // The controller has no pointer: its first press shows the focus, the next ones tap.
    if (!down) releaseTap();
    else if (focus_.shown()) pressTap();
    else stepFocus(true);
    return;
  }
  if (command != WindowCommand::none) {
    if (down) run({command}, false);
    return;
  }
  if (uint8_t vk = virtualKeyOf(button); vk != 0) application_.input({down ? InputKind::keyDown : InputKind::keyUp, vk});
}

void WindowInput::pointer(PointerAction action, ScreenPoint point, bool moved) {
  if (action == PointerAction::move && moved && focus_.shown()) {
    focus_.clear();
    showFocus();
  }
  InputKind kind = InputKind::stylusMove;
  switch (action) {
    case PointerAction::down: kind = InputKind::stylusDown; break;
    case PointerAction::doubleDown: kind = InputKind::doubleTap; break;
    case PointerAction::up: kind = InputKind::stylusUp; break;
    case PointerAction::move: break;
  }
  application_.input({kind, static_cast<uint32_t>(point.x), static_cast<uint32_t>(point.y)});
}

void WindowInput::typed(uint32_t character) {
  if (swallowText_) {
    swallowText_ = false;
    return;
  }
  application_.input({InputKind::character, character});
}

void WindowInput::focusChanged(bool gained) {
  if (gained) application_.focusGained();
  else application_.focusLost();
}

void WindowInput::closeRequested() { application_.windowDestroyed(); }

void WindowInput::lowMemory() { application_.releaseMedia(); }

void WindowInput::hostCommand(platform::HostCommand command, int32_t value) {
  switch (command) {
    case platform::HostCommand::toggleMute: toggleMute(); break;
    case platform::HostCommand::presentationScale: application_.setPresentationScale(value); break;
    case platform::HostCommand::mediaSetArrived: application_.mediaSetArrived(value); break;
    case platform::HostCommand::keptStateStoredElsewhere: application_.keptStateStoredElsewhere(); break;
  }
}

void WindowInput::followScreen() {
  if (!focus_.shown() || application_.movie() == nullptr) return;
  focus_.follow(*application_.movie());
  showFocus();
}

void WindowInput::stepFocus(bool forward) {
  if (application_.movie() == nullptr) return;
  focus_.step(*application_.movie(), forward);
  showFocus();
}

void WindowInput::showFocus() {
  std::optional<platform::ScreenRect> ring;
  if (std::optional<IntRect> rect = focus_.ring())
    ring = platform::ScreenRect{rect->left, rect->top, rect->right, rect->bottom};
  window_.setFocusRing(ring);
}

void WindowInput::pressTap() {
  if (std::optional<ScreenPoint> point = focus_.press())
    application_.input({InputKind::stylusDown, static_cast<uint32_t>(point->x), static_cast<uint32_t>(point->y)});
}

void WindowInput::releaseTap() {
  if (std::optional<ScreenPoint> point = focus_.release())
    application_.input({InputKind::stylusUp, static_cast<uint32_t>(point->x), static_cast<uint32_t>(point->y)});
}

void WindowInput::toggleMute() {
  if (SoundMixer* mixer = application_.mixer()) application_.setMuted(!mixer->muted());
}

// "<title>-YYYYMMDD-HHMMSS.png" in the working folder, as the screen is composed (at its scale).
void WindowInput::saveScreenshot() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  std::string path = application_.title() + "-" + stamp + ".png";
  application_.writeScreenshot(path, "Print Screen:");
}

}  // namespace qn
