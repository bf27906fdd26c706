// The window's event queue as the device's window messages: SDL events become stylus, key and
// character messages, focus changes, repaints and the close request, delivered to the
// application's window procedure. The desktop's own conveniences (full screen, window scale,
// screenshots, mute, and the tap focus that lets a keyboard or a controller tap the sprites a
// stylus would) are handled here and never reach the movie as keys.
#pragma once

#include <SDL.h>

#include <array>
#include <bitset>
#include <string>
#include <vector>

#include "shell/desktop_keys.h"
#include "shell/device_input.h"
#include "shell/tap_focus.h"

namespace qn {

class Application;
class MainWindow;

class WindowEvents {
 public:
  WindowEvents(Application& application, MainWindow& window);
  ~WindowEvents();
  WindowEvents(const WindowEvents&) = delete;
  WindowEvents& operator=(const WindowEvents&) = delete;

  // Takes every pending event; stops early once the application's loop has ended.
  void drain();
  // Sleeps until an event arrives (and handles it) or `milliseconds` have passed.
  void waitUpTo(int32_t milliseconds);

  // The movie ticked: the focus ring follows the screen.
  void followScreen();

  const TapFocus& focus() const { return focus_; }

 private:
  void handle(const SDL_Event& event);
  void handleWindowEvent(const SDL_WindowEvent& event);
  // Runs a window command; false when it does not apply (a tap with no focus shown).
  bool run(KeyCommand command, bool repeat);
  void keyDown(const SDL_KeyboardEvent& key);
  void keyUp(const SDL_KeyboardEvent& key);
  void controllerButton(SDL_GameControllerButton button, bool down);
  void text(const char* utf8);
  void stylus(InputKind kind, int windowX, int windowY);
  void mouseMoved(const SDL_MouseMotionEvent& motion);
  void stepFocus(bool forward);
  void showFocus();
  void pressTap();
  void releaseTap();
  void toggleMute();
  void controllerAdded(int joystickIndex);
  void controllerRemoved(SDL_JoystickID instance);
  void saveScreenshot();

  Application& application_;
  MainWindow& window_;
  std::vector<SDL_GameController*> controllers_;
  // The device key each held key went down as (0: none, or the window took it), so that its
  // release is the same key whatever the modifiers are by then.
  std::array<uint8_t, SDL_NUM_SCANCODES> heldAs_{};
  std::bitset<SDL_CONTROLLER_BUTTON_MAX> controllerHeld_;
  bool quitChordDown_ = false;
  SDL_Scancode tapKey_ = SDL_SCANCODE_UNKNOWN;  // the key whose release ends the tap that is down
  TapFocus focus_;
  bool swallowText_ = false;  // the key just pressed types nothing (a device button, or the window took it)
};

}  // namespace qn
