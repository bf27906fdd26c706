#include "shell/window_events.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <iterator>
#include <utility>

#include "platform/platform.h"
#include "shell/application.h"
#include "shell/desktop_keys.h"
#include "shell/device_input.h"
#include "shell/key_tables.h"
#include "shell/main_window.h"
#include "sound/sound_mixer.h"

namespace qn {

namespace {

// Characters the device's translation step makes from key-downs that SDL reports as no text.
uint32_t controlCharacterOf(const SDL_Keysym& key) {
  switch (key.scancode) {
    case SDL_SCANCODE_ESCAPE: return 27;
    case SDL_SCANCODE_BACKSPACE: return 8;
    case SDL_SCANCODE_TAB: return 9;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER: return 13;
    default: break;
  }
  // Ctrl+letter types the control characters 1 to 26.
  if ((key.mod & KMOD_CTRL) != 0 && (key.mod & KMOD_ALT) == 0 && key.scancode >= SDL_SCANCODE_A &&
      key.scancode <= SDL_SCANCODE_Z)
    return static_cast<uint32_t>(key.scancode - SDL_SCANCODE_A + 1);
  return 0;
}

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

}  // namespace

WindowEvents::WindowEvents(Application& application, MainWindow& window)
    : application_(application), window_(window) {
  SDL_StartTextInput();
}

WindowEvents::~WindowEvents() {
  for (SDL_GameController* controller : controllers_) SDL_GameControllerClose(controller);
}

void WindowEvents::drain() {
  SDL_Event event;
  while (!application_.loopEnded() && SDL_PollEvent(&event)) handle(event);
}

void WindowEvents::waitUpTo(int32_t milliseconds) {
  SDL_Event event;
  if (SDL_WaitEventTimeout(&event, milliseconds) == 1) handle(event);
}

void WindowEvents::handle(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT: application_.windowDestroyed(); break;
    case SDL_WINDOWEVENT: handleWindowEvent(event.window); break;
    case SDL_KEYDOWN: keyDown(event.key); break;
    case SDL_KEYUP: keyUp(event.key); break;
    case SDL_TEXTINPUT: text(event.text.text); break;
    case SDL_MOUSEMOTION: mouseMoved(event.motion); break;
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button == SDL_BUTTON_LEFT)
        stylus(event.button.clicks == 2 ? InputKind::doubleTap : InputKind::stylusDown,
               event.button.x, event.button.y);
      break;
    case SDL_MOUSEBUTTONUP:
      if (event.button.button == SDL_BUTTON_LEFT)
        stylus(InputKind::stylusUp, event.button.x, event.button.y);
      break;
    case SDL_CONTROLLERDEVICEADDED: controllerAdded(event.cdevice.which); break;
    case SDL_CONTROLLERDEVICEREMOVED: controllerRemoved(event.cdevice.which); break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      controllerButton(static_cast<SDL_GameControllerButton>(event.cbutton.button),
                       event.type == SDL_CONTROLLERBUTTONDOWN);
      break;
    case SDL_APP_LOWMEMORY: application_.releaseMedia(); break;
    default: break;
  }
}

void WindowEvents::handleWindowEvent(const SDL_WindowEvent& event) {
  if (event.windowID != window_.windowId()) return;
  switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED: application_.focusGained(); break;
    case SDL_WINDOWEVENT_FOCUS_LOST: application_.focusLost(); break;
    case SDL_WINDOWEVENT_CLOSE: application_.windowDestroyed(); break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED: window_.repaint(); break;
    default: break;
  }
}

bool WindowEvents::run(KeyCommand command, bool repeat) {
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

void WindowEvents::keyDown(const SDL_KeyboardEvent& key) {
  const SDL_Scancode code = key.keysym.scancode;
  if (code < 0 || code >= SDL_NUM_SCANCODES) return;
  const KeyCommand command = windowCommandOf(key.keysym);
  if (run(command, key.repeat != 0)) {
    heldAs_[code] = 0;
    if (command.command == WindowCommand::tap) tapKey_ = code;
    swallowText_ = true;
    return;
  }
  const uint8_t vk = virtualKeyOf(key.keysym);
  heldAs_[code] = vk;
  swallowText_ = isDeviceButton(vk);
  if (vk == 0) return;
  const bool keypadEnter = code == SDL_SCANCODE_KP_ENTER;
  application_.input({InputKind::keyDown, vk, 0, keypadEnter});
  if (swallowText_) return;
  if (uint32_t c = controlCharacterOf(key.keysym); c != 0) application_.input({InputKind::character, c, 0, keypadEnter});
}

void WindowEvents::keyUp(const SDL_KeyboardEvent& key) {
  const SDL_Scancode code = key.keysym.scancode;
  if (code < 0 || code >= SDL_NUM_SCANCODES) return;
  if (code == tapKey_) {
    tapKey_ = SDL_SCANCODE_UNKNOWN;
    releaseTap();
    return;
  }
  if (uint8_t vk = std::exchange(heldAs_[code], 0); vk != 0) application_.input({InputKind::keyUp, vk});
}

void WindowEvents::controllerButton(SDL_GameControllerButton button, bool down) {
  if (button < 0 || button >= SDL_CONTROLLER_BUTTON_MAX) return;
  controllerHeld_[button] = down;
  if (std::find(std::begin(kControllerQuitChord), std::end(kControllerQuitChord), button) !=
      std::end(kControllerQuitChord)) {
    const bool chordHeld = std::all_of(std::begin(kControllerQuitChord), std::end(kControllerQuitChord),
                                       [this](SDL_GameControllerButton member) { return controllerHeld_[member]; });
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

void WindowEvents::mouseMoved(const SDL_MouseMotionEvent& motion) {
  if ((motion.xrel != 0 || motion.yrel != 0) && focus_.shown()) {
    focus_.clear();
    showFocus();
  }
  stylus(InputKind::stylusMove, motion.x, motion.y);
}

void WindowEvents::followScreen() {
  if (!focus_.shown() || application_.movie() == nullptr) return;
  focus_.follow(*application_.movie());
  showFocus();
}

void WindowEvents::stepFocus(bool forward) {
  if (application_.movie() == nullptr) return;
  focus_.step(*application_.movie(), forward);
  showFocus();
}

void WindowEvents::showFocus() { window_.setFocusRing(focus_.ring()); }

void WindowEvents::pressTap() {
  if (std::optional<ScreenPoint> point = focus_.press())
    application_.input({InputKind::stylusDown, static_cast<uint32_t>(point->x), static_cast<uint32_t>(point->y)});
}

void WindowEvents::releaseTap() {
  if (std::optional<ScreenPoint> point = focus_.release())
    application_.input({InputKind::stylusUp, static_cast<uint32_t>(point->x), static_cast<uint32_t>(point->y)});
}

void WindowEvents::toggleMute() {
  SoundMixer* mixer = application_.mixer();
  if (mixer == nullptr) return;
  mixer->setMuted(!mixer->muted());
  const std::string title = application_.title() + (mixer->muted() ? " (muted)" : "");
  SDL_SetWindowTitle(window_.window(), title.c_str());
}

void WindowEvents::text(const char* utf8) {
  if (swallowText_) {
    swallowText_ = false;
    return;
  }
  for (uint32_t c : codePointsOf(utf8)) application_.input({InputKind::character, c});
}

void WindowEvents::stylus(InputKind kind, int windowX, int windowY) {
  ScreenPoint point = window_.screenPointAt(windowX, windowY);
  application_.input({kind, static_cast<uint32_t>(point.x), static_cast<uint32_t>(point.y)});
}

void WindowEvents::controllerAdded(int joystickIndex) {
  if (SDL_GameController* controller = SDL_GameControllerOpen(joystickIndex)) controllers_.push_back(controller);
}

void WindowEvents::controllerRemoved(SDL_JoystickID instance) {
  auto gone = std::find_if(controllers_.begin(), controllers_.end(), [instance](SDL_GameController* controller) {
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)) == instance;
  });
  if (gone == controllers_.end()) return;
  SDL_GameControllerClose(*gone);
  controllers_.erase(gone);
}

// "<title>-YYYYMMDD-HHMMSS.png" in the working folder, at the screen's own size.
void WindowEvents::saveScreenshot() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  std::string path = application_.title() + "-" + stamp + ".png";
  application_.writeScreenshot(path, "Print Screen:");
}

}  // namespace qn
