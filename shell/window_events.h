// The window's event queue as the device's window messages: SDL events become stylus, key and
// character messages, focus changes, repaints and the close request, delivered to the
// application's window procedure. The desktop's own conveniences (full screen, window scale,
// screenshots) are handled here and never reach the movie.
#pragma once

#include <SDL.h>

#include <bitset>
#include <string>
#include <vector>

#include "shell/device_input.h"

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

 private:
  void handle(const SDL_Event& event);
  void handleWindowEvent(const SDL_WindowEvent& event);
  bool handleDesktopShortcut(const SDL_KeyboardEvent& key);
  void keyDown(const SDL_KeyboardEvent& key);
  void keyUp(const SDL_KeyboardEvent& key);
  void text(const char* utf8);
  void stylus(InputKind kind, int windowX, int windowY);
  void controllerAdded(int joystickIndex);
  void controllerRemoved(SDL_JoystickID instance);
  void saveScreenshot();

  Application& application_;
  MainWindow& window_;
  std::vector<SDL_GameController*> controllers_;
  std::bitset<SDL_NUM_SCANCODES> shortcutKeys_;  // down as a desktop shortcut
  bool swallowText_ = false;  // the key just pressed is a device button: it types nothing
};

}  // namespace qn
