// The window's event queue: SDL's events turned into the handler's calls in the device's terms
// (see window_event_handler.h). Exposing and resizing only lay the window out again; game
// controllers are opened as they arrive; a touch screen's fingers are the stylus (see
// touch_stylus.h). In the browser a hidden page counts as lost focus, and the page's own buttons
// arrive as host commands.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/touch_stylus.h"
#include "platform/window_event_handler.h"

struct _SDL_GameController;
struct SDL_TouchFingerEvent;
union SDL_Event;

namespace qn::platform {

class MainWindow;

class WindowEvents {
 public:
  WindowEvents(MainWindow& window, WindowEventHandler& handler);
  ~WindowEvents();
  WindowEvents(const WindowEvents&) = delete;
  WindowEvents& operator=(const WindowEvents&) = delete;

  // Takes every pending event; stops early once the handler takes no more.
  void drain();
  // Sleeps until an event arrives (and handles it) or `milliseconds` have passed.
  void waitUpTo(int32_t milliseconds);

 private:
  void handle(const SDL_Event& event);
  void windowEvent(const SDL_Event& event);
  void finger(const SDL_TouchFingerEvent& touch);
  void controllerAdded(int joystickIndex);
  void controllerRemoved(int32_t instance);

  MainWindow& window_;
  WindowEventHandler& handler_;
  std::vector<_SDL_GameController*> controllers_;
  TouchStylus stylus_;
  uint32_t hostCommandEvent_ = 0;  // the SDL event type the page's commands arrive as
};

}  // namespace qn::platform
