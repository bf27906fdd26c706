// The words of one input message, as a recording and a room's log both spell it:
//
//   down|up|move|doubletap <x> <y>    stylus, device-screen pixels 0..65535
//   keydown|keyup <vk> [extended]     device virtual key 0..65535
//   char <code> [extended]            typed character 0..65535
//   focuslost|focusgained             the window lost or regained the focus
//
// One spelling for both, so that the input of a room's log reads as a recording does.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "net/device_input.h"

namespace qn {

// Reads an input from `words`, the kind first; empty when they are good, else what is wrong.
std::string parseInputWords(std::span<const std::string_view> words, DeviceInput& input);
// The words of `input`, separated by single spaces.
std::string formatInputWords(const DeviceInput& input);

}  // namespace qn
