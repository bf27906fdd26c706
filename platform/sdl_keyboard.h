// SDL's keyboard and game controllers in the device's terms: a physical key (SDL's scancode) as
// the device's virtual key, the modifiers held, the control character a key types without a text
// event, and a controller button as the common pad's.
#pragma once

#include <SDL.h>

#include <optional>

#include "platform/window_event_handler.h"

namespace qn::platform {

KeyPress keyPressOf(const SDL_KeyboardEvent& key);
std::optional<ControllerButton> controllerButtonOf(uint8_t sdlButton);

}  // namespace qn::platform
