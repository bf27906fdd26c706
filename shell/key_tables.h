// The device's key tables: fixed 256-entry byte maps between the device's virtual key numbers,
// the movie's key codes and characters. 0 means "none" in every table.
#pragma once

#include <array>
#include <cstdint>

#include "platform/virtual_keys.h"

namespace qn::keys {

using KeyTable = std::array<uint8_t, 256>;

// Key codes the shell makes for the device's buttons.
enum SpecialKeyCode : uint8_t {
  codeLeft = 123,
  codeRight = 124,
  codeDown = 125,
  codeUp = 126,
  codeStart = 192,
  codeApplication1 = 193,
  codeGameC = 194,
  codeGameA = 195,
  codeGameB = 196,
  codeApplication5 = 197,
  codeKeypadEnter = 76,
};
inline constexpr uint8_t kKeypadEnterChar = 3;

extern const KeyTable keyCodeByVK;    // key code of a key-down
extern const KeyTable charByVK;       // character that goes with that key-down
extern const KeyTable keyCodeByChar;  // key code of a typed character (US layout)
extern const KeyTable vkByKeyCode;    // virtual key the key-state query checks for a code

}  // namespace qn::keys
