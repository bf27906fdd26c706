// The desktop's keys and game-controller buttons as the device's virtual keys. One table each;
// everything after this (codes, characters, the key-state query) is the device's translation.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace qn {

// The device virtual key of a desktop key, 0 when the key has none.
uint8_t virtualKeyOf(SDL_Scancode scancode);
// The device virtual key a game-controller button stands for, 0 when none.
uint8_t virtualKeyOf(SDL_GameControllerButton button);

// Keys that are the device's own buttons: they type no character.
bool isDeviceButton(uint8_t virtualKey);

}  // namespace qn
