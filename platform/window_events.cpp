#include "platform/window_events.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/main_window.h"
#include "platform/platform.h"
#include "platform/sdl_keyboard.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace qn::platform {

namespace {

// The SDL event type host commands arrive as while a window takes events; 0 before.
uint32_t hostCommandType = 0;
// Who hears of the page's visibility while a window takes events.
WindowEventHandler* visibilityHandler = nullptr;

// Code points of UTF-8 text; malformed bytes are skipped.
std::vector<uint32_t> codePointsOf(const char* utf8) {
  std::vector<uint32_t> points;
  for (const auto* p = reinterpret_cast<const unsigned char*>(utf8); *p != 0;) {
    int length = *p < 0x80 ? 1 : (*p >> 5) == 6 ? 2 : (*p >> 4) == 14 ? 3 : (*p >> 3) == 30 ? 4 : 0;
    if (length == 0) {
      ++p;
      continue;
    }
    uint32_t point = length == 1 ? *p : *p & (0x7F >> length);
    int i = 1;
    for (; i < length && (p[i] & 0xC0) == 0x80; ++i) point = point << 6 | (p[i] & 0x3F);
    if (i == length) points.push_back(point);
    p += i;
  }
  return points;
}

// A double tap keeps to SDL's double click: its time and its distance in window points.
uint32_t hintOr(const char* hint, uint32_t fallback) {
  const char* value = SDL_GetHint(hint);
  return value != nullptr && *value != 0 ? static_cast<uint32_t>(std::strtoul(value, nullptr, 10)) : fallback;
}

}  // namespace

#ifdef __EMSCRIPTEN__
// The page's buttons call this with the command's name; the command waits in the queue like any
// other event. A name the program does not know is the page's mistake: it says so in the console.
extern "C" EMSCRIPTEN_KEEPALIVE void boules_host_command(const char* name, int value) {
  const auto* known = std::find(std::begin(kHostCommandNames), std::end(kHostCommandNames), std::string_view(name));
  if (known == std::end(kHostCommandNames)) {
    debugOutput("boules: the page asked for an unknown command '" + std::string(name) + "'\n");
    return;
  }
  if (hostCommandType == 0) return;
  SDL_Event event{};
  event.type = hostCommandType;
  event.user.code = static_cast<int>(known - std::begin(kHostCommandNames));
  event.user.data1 = reinterpret_cast<void*>(static_cast<intptr_t>(value));
  SDL_PushEvent(&event);
}

// The page was hidden (another tab, a locked phone) or shown again: the game pauses as on losing
// the focus. Told at once, not through the queue: the browser runs no frames while the page is
// hidden, and the sound must stop before the page lets it sleep.
extern "C" EMSCRIPTEN_KEEPALIVE void boules_page_visible(int visible) {
  if (visibilityHandler != nullptr) visibilityHandler->focusChanged(visible != 0);
}
#endif

WindowEvents::WindowEvents(MainWindow& window, WindowEventHandler& handler)
    : window_(window),
      handler_(handler),
      stylus_(hintOr(SDL_HINT_MOUSE_DOUBLE_CLICK_TIME, 500),
              static_cast<int>(hintOr(SDL_HINT_MOUSE_DOUBLE_CLICK_RADIUS, 32))) {
  SDL_StartTextInput();
  hostCommandEvent_ = SDL_RegisterEvents(1);
  if (hostCommandEvent_ == static_cast<uint32_t>(-1)) hostCommandEvent_ = 0;
  hostCommandType = hostCommandEvent_;
  visibilityHandler = &handler_;
}

WindowEvents::~WindowEvents() {
  hostCommandType = 0;
  visibilityHandler = nullptr;
  for (SDL_GameController* controller : controllers_) SDL_GameControllerClose(controller);
}

void WindowEvents::drain() {
  SDL_Event event;
  while (handler_.takingEvents() && SDL_PollEvent(&event)) handle(event);
}

void WindowEvents::waitUpTo(int32_t milliseconds) {
  SDL_Event event;
  if (SDL_WaitEventTimeout(&event, milliseconds) == 1) handle(event);
}

void WindowEvents::handle(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT: handler_.closeRequested(); break;
    case SDL_WINDOWEVENT: windowEvent(event); break;
    case SDL_KEYDOWN: handler_.keyDown(keyPressOf(event.key)); break;
    case SDL_KEYUP: handler_.keyUp(keyPressOf(event.key)); break;
    case SDL_TEXTINPUT:
      for (uint32_t c : codePointsOf(event.text.text)) handler_.typed(c);
      break;
    // A finger arrives as a finger event; the mouse events SDL also makes of it are left alone.
    case SDL_MOUSEMOTION:
      if (event.motion.which == SDL_TOUCH_MOUSEID) break;
      handler_.pointer(PointerAction::move, window_.screenPointAt(event.motion.x, event.motion.y),
                       event.motion.xrel != 0 || event.motion.yrel != 0);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      if (event.button.button != SDL_BUTTON_LEFT || event.button.which == SDL_TOUCH_MOUSEID) break;
      const PointerAction action = event.type == SDL_MOUSEBUTTONUP ? PointerAction::up
                                   : event.button.clicks == 2      ? PointerAction::doubleDown
                                                                   : PointerAction::down;
      handler_.pointer(action, window_.screenPointAt(event.button.x, event.button.y), false);
      break;
    }
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP: finger(event.tfinger); break;
    case SDL_CONTROLLERDEVICEADDED: controllerAdded(event.cdevice.which); break;
    case SDL_CONTROLLERDEVICEREMOVED: controllerRemoved(event.cdevice.which); break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      if (std::optional<ControllerButton> button = controllerButtonOf(event.cbutton.button))
        handler_.controllerButton(*button, event.type == SDL_CONTROLLERBUTTONDOWN);
      break;
    case SDL_APP_LOWMEMORY: handler_.lowMemory(); break;
    default:
      if (hostCommandEvent_ != 0 && event.type == hostCommandEvent_)
        handler_.hostCommand(static_cast<HostCommand>(event.user.code),
                             static_cast<int32_t>(reinterpret_cast<intptr_t>(event.user.data1)));
      break;
  }
}

void WindowEvents::windowEvent(const SDL_Event& event) {
  if (event.window.windowID != window_.windowId()) return;
  switch (event.window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED: handler_.focusChanged(true); break;
    case SDL_WINDOWEVENT_FOCUS_LOST: handler_.focusChanged(false); break;
    case SDL_WINDOWEVENT_CLOSE: handler_.closeRequested(); break;
    case SDL_WINDOWEVENT_EXPOSED: window_.repaint(); break;
    case SDL_WINDOWEVENT_SIZE_CHANGED: window_.sizeChanged(); break;
    default: break;
  }
}

// A finger's position is a fraction of the window's size; the window maps the point it touches
// to the screen as it maps the mouse's.
void WindowEvents::finger(const SDL_TouchFingerEvent& touch) {
  int width = 0, height = 0;
  SDL_GetWindowSize(window_.window(), &width, &height);
  const int x = static_cast<int>(touch.x * static_cast<float>(width));
  const int y = static_cast<int>(touch.y * static_cast<float>(height));
  const Finger which{touch.touchId, touch.fingerId};
  std::optional<PointerAction> action;
  switch (touch.type) {
    case SDL_FINGERDOWN: action = stylus_.down(which, touch.timestamp, x, y); break;
    case SDL_FINGERMOTION: action = stylus_.move(which); break;
    default: action = stylus_.up(which); break;
  }
  if (action) handler_.pointer(*action, window_.screenPointAt(x, y), *action == PointerAction::move);
}

void WindowEvents::controllerAdded(int joystickIndex) {
  if (SDL_GameController* controller = SDL_GameControllerOpen(joystickIndex)) controllers_.push_back(controller);
}

void WindowEvents::controllerRemoved(int32_t instance) {
  auto gone = std::find_if(controllers_.begin(), controllers_.end(), [instance](SDL_GameController* controller) {
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)) == instance;
  });
  if (gone == controllers_.end()) return;
  SDL_GameControllerClose(*gone);
  controllers_.erase(gone);
}

}  // namespace qn::platform
