#include "platform/video_system.h"

#include <SDL.h>

#include <string>

#include "platform/platform.h"

namespace qn::platform {

VideoSystem::VideoSystem() {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    debugOutput(std::string("no display: ") + SDL_GetError() + "\n");
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
