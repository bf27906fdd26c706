// The window's events as the device's window messages: keys, characters, the pointer and the
// controllers become stylus, key and character messages for the application's window procedure,
// with focus changes, the close request and low memory. The desktop's own conveniences (full
// screen, window scale, screenshots, mute, and the tap focus that lets a keyboard or a controller
// tap the sprites a stylus would) are handled here and never reach the movie as keys.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>

#include "platform/window_event_handler.h"
#include "shell/desktop_keys.h"
#include "net/device_input.h"
#include "shell/tap_focus.h"

namespace qn {

class Application;
namespace platform {
class MainWindow;
}

class WindowInput final : public platform::WindowEventHandler {
 public:
  WindowInput(Application& application, platform::MainWindow& window);

  // The movie ticked: the focus ring follows the screen.
  void followScreen();

  const TapFocus& focus() const { return focus_; }

  bool takingEvents() const override;
  void keyDown(const platform::KeyPress& key) override;
  void keyUp(const platform::KeyPress& key) override;
  void typed(uint32_t character) override;
  void pointer(platform::PointerAction action, platform::ScreenPoint point, bool moved) override;
  void controllerButton(platform::ControllerButton button, bool down) override;
  void focusChanged(bool gained) override;
  void closeRequested() override;
  void lowMemory() override;
  void hostCommand(platform::HostCommand command, int32_t value) override;

 private:
  // Runs a window command; false when it does not apply (a tap with no focus shown).
  bool run(KeyCommand command, bool repeat);
  void stepFocus(bool forward);
  void showFocus();
  void pressTap();
  void releaseTap();
  void toggleMute();
  void saveScreenshot();

  Application& application_;
  platform::MainWindow& window_;
  // The device key each held key went down as (0: none, or the window took it), so that its
  // release is the same key whatever the modifiers are by then.
  std::array<uint8_t, platform::kPhysicalKeyCount> heldAs_{};
  std::bitset<platform::kControllerButtonCount> controllerHeld_;
  bool quitChordDown_ = false;
  int tapKey_ = -1;  // the physical key whose release ends the tap that is down
  TapFocus focus_;
  bool swallowText_ = false;  // the key just pressed types nothing (a device button, or the window took it)
};

}  // namespace qn
