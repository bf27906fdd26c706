// The desktop's keys and game-controller buttons: the commands the window keeps for itself
// (full screen, scale, screenshot, the tap focus, mute) and the device's virtual keys the rest
// stand for. One table each; everything after this (codes, characters, the key-state query) is
// the device's translation.
//
// The device's buttons that end the program (game key A and the first application button) sit
// only on chords nobody presses by chance: Ctrl+Q, Ctrl+Shift+A, and a controller's Back and
// Start together. Every plain letter types itself.
#pragma once

#include <cstdint>

#include "platform/window_event_handler.h"

namespace qn {

enum class WindowCommand : uint8_t {
  none,
  toggleFullscreen,
  setScale,
  saveScreenshot,
  focusNext,
  focusPrevious,
  tap,  // taps the focused sprite; with no focus shown the key is the device's as usual
  toggleMute,
};

struct KeyCommand {
  WindowCommand command = WindowCommand::none;
  int scale = 0;  // setScale: the window's new scale
};

// The window's own command for a key with the modifiers held; none for keys the device gets.
KeyCommand windowCommandOf(const platform::KeyPress& key);
WindowCommand windowCommandOf(platform::ControllerButton button);

// The device virtual key a key with the modifiers held stands for, 0 when the key has none.
uint8_t virtualKeyOf(const platform::KeyPress& key);
// The device virtual key a game-controller button stands for alone, 0 when none.
uint8_t virtualKeyOf(platform::ControllerButton button);

// Controller buttons that together stand for the first application button.
inline constexpr platform::ControllerButton kControllerQuitChord[] = {platform::ControllerButton::back,
                                                                      platform::ControllerButton::start};

// Keys that are the device's own buttons: they type no character.
bool isDeviceButton(uint8_t virtualKey);

}  // namespace qn
