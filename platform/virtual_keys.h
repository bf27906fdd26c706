// The device's virtual key numbers that the keyboard's translation and the device's tables refer
// to by name (the rest are letters and digits as their characters, and plain numbers).
#pragma once

#include <cstdint>

namespace qn::keys {

enum VirtualKey : uint8_t {
  vkBackspace = 8,
  vkTab = 9,
  vkReturn = 13,
  vkShift = 16,
  vkControl = 17,
  vkAlt = 18,
  vkPause = 19,
  vkCapsLock = 20,
  vkEscape = 27,
  vkSpace = 32,
  vkPageUp = 33,
  vkPageDown = 34,
  vkEnd = 35,
  vkHome = 36,
  vkLeft = 37,
  vkUp = 38,
  vkRight = 39,
  vkDown = 40,
  vkPrintScreen = 44,
  vkInsert = 45,
  vkDelete = 46,
  vkKeypad0 = 96,
  vkF1 = 112,
  vkApplication1 = 193,
  vkApplication5 = 197,
  vkApplication5State = 214,  // what the key-state query checks for code 197
};

}  // namespace qn::keys
