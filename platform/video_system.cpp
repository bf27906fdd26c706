#include "platform/video_system.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>
#include <string>

#include "platform/platform.h"

namespace qn::platform {

namespace {

// SDL's drivers that show nothing: it falls back to "offscreen" when it finds no display.
bool showsNothing(const std::string& driver) { return driver == "offscreen" || driver == "dummy"; }

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// Whether SDL_VIDEODRIVER (one name, or several separated by commas) names the driver.
bool askedFor(const std::string& driver) {
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  if (asked == nullptr) return false;
  std::istringstream names(lowerCase(asked));
  std::string name;
  while (std::getline(names, name, ','))
    if (name == driver) return true;
  return false;
}

// What the desktop's display would have been found by, as the person's environment has it.
std::string missingDisplay() {
  const bool x = std::getenv("DISPLAY") != nullptr, wayland = std::getenv("WAYLAND_DISPLAY") != nullptr;
  if (!x && !wayland) return "neither DISPLAY nor WAYLAND_DISPLAY is set";
  return "no display could be opened (DISPLAY or WAYLAND_DISPLAY names one that did not answer)";
}

}  // namespace

VideoSystem::VideoSystem() {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    debugOutput(std::string("no display: ") + SDL_GetError() + "; --headless runs without a screen\n");
    return;
  }
  const char* current = SDL_GetCurrentVideoDriver();
  const std::string driver = lowerCase(current != nullptr ? current : "");
  if (showsNothing(driver) && !askedFor(driver)) {
    debugOutput("no screen to show the game on: " + missingDisplay() + ", and SDL's \"" + driver +
                "\" video driver shows nothing; --headless runs without a screen\n");
    SDL_Quit();
    return;
  }
  started_ = true;
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
    debugOutput(std::string("no game controllers: ") + SDL_GetError() + "\n");
}

VideoSystem::~VideoSystem() {
  if (started_) SDL_Quit();
}

}  // namespace qn::platform
