// The device's key tables: fixed 256-entry byte maps between the device's virtual key numbers,
// the movie's key codes and characters. 0 means "none" in every table.
#pragma once

#include <array>
#include <cstdint>

namespace qn::keys {

using KeyTable = std::array<uint8_t, 256>;

// Virtual keys the translation refers to by number.
enum VirtualKey : uint8_t {
  vkBackspace = 8,
  vkTab = 9,
  vkReturn = 13,
  vkShift = 16,
  vkControl = 17,
  vkPause = 19,
  vkEscape = 27,
  vkSpace = 32,
  vkLeft = 37,
  vkUp = 38,
  vkRight = 39,
  vkDown = 40,
  vkApplication1 = 193,
  vkApplication5 = 197,
  vkApplication5State = 214,  // what the key-state query checks for code 197
};

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
