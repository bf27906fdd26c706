#include "shell/desktop_keys.h"

#include <array>
#include <utility>

#include "shell/key_tables.h"
#include "shell/key_translator.h"

namespace qn {

namespace {

using namespace keys;

constexpr std::pair<SDL_Scancode, uint8_t> kKeyPairs[] = {
    // The device's buttons (see README: "Desktop keys").
    {SDL_SCANCODE_UP, vkUp},
    {SDL_SCANCODE_DOWN, vkDown},
    {SDL_SCANCODE_LEFT, vkLeft},
    {SDL_SCANCODE_RIGHT, vkRight},
    {SDL_SCANCODE_Z, kDesktopGameKeys.a},
    {SDL_SCANCODE_X, kDesktopGameKeys.b},
    {SDL_SCANCODE_C, kDesktopGameKeys.c},
    {SDL_SCANCODE_V, kDesktopGameKeys.start},
    {SDL_SCANCODE_Q, vkApplication1},
    {SDL_SCANCODE_W, vkApplication5},
    // The rest of a keyboard, as the device's keyboard numbers its keys.
    {SDL_SCANCODE_BACKSPACE, vkBackspace},
    {SDL_SCANCODE_TAB, vkTab},
    {SDL_SCANCODE_RETURN, vkReturn},
    {SDL_SCANCODE_KP_ENTER, vkReturn},
    {SDL_SCANCODE_LSHIFT, vkShift},
    {SDL_SCANCODE_RSHIFT, vkShift},
    {SDL_SCANCODE_LCTRL, vkControl},
    {SDL_SCANCODE_RCTRL, vkControl},
    {SDL_SCANCODE_LALT, 18},
    {SDL_SCANCODE_RALT, 18},
    {SDL_SCANCODE_PAUSE, vkPause},
    {SDL_SCANCODE_CAPSLOCK, 20},
    {SDL_SCANCODE_ESCAPE, vkEscape},
    {SDL_SCANCODE_SPACE, vkSpace},
    {SDL_SCANCODE_PAGEUP, 33},
    {SDL_SCANCODE_PAGEDOWN, 34},
    {SDL_SCANCODE_END, 35},
    {SDL_SCANCODE_HOME, 36},
    {SDL_SCANCODE_INSERT, 45},
    {SDL_SCANCODE_DELETE, 46},
    {SDL_SCANCODE_KP_MULTIPLY, 106},
    {SDL_SCANCODE_KP_PLUS, 107},
    {SDL_SCANCODE_KP_MINUS, 109},
    {SDL_SCANCODE_KP_PERIOD, 110},
    {SDL_SCANCODE_KP_DIVIDE, 111},
    {SDL_SCANCODE_NUMLOCKCLEAR, 144},
    {SDL_SCANCODE_SCROLLLOCK, 145},
    {SDL_SCANCODE_SEMICOLON, 186},
    {SDL_SCANCODE_EQUALS, 187},
    {SDL_SCANCODE_COMMA, 188},
    {SDL_SCANCODE_MINUS, 189},
    {SDL_SCANCODE_PERIOD, 190},
    {SDL_SCANCODE_SLASH, 191},
    {SDL_SCANCODE_GRAVE, 192},
    {SDL_SCANCODE_LEFTBRACKET, 219},
    {SDL_SCANCODE_BACKSLASH, 220},
    {SDL_SCANCODE_RIGHTBRACKET, 221},
    {SDL_SCANCODE_APOSTROPHE, 222},
};

constexpr std::array<uint8_t, SDL_NUM_SCANCODES> buildKeyTable() {
  std::array<uint8_t, SDL_NUM_SCANCODES> table{};
  // Letters, digits, function keys and the keypad's digits run in blocks on both sides.
  for (int i = 0; i < 26; ++i) table[SDL_SCANCODE_A + i] = static_cast<uint8_t>('A' + i);
  for (int i = 0; i < 9; ++i) table[SDL_SCANCODE_1 + i] = static_cast<uint8_t>('1' + i);
  table[SDL_SCANCODE_0] = '0';
  for (int i = 0; i < 12; ++i) table[SDL_SCANCODE_F1 + i] = static_cast<uint8_t>(112 + i);
  for (int i = 0; i < 9; ++i) table[SDL_SCANCODE_KP_1 + i] = static_cast<uint8_t>(97 + i);
  table[SDL_SCANCODE_KP_0] = 96;
  for (auto [scancode, vk] : kKeyPairs) table[scancode] = vk;
  return table;
}

constexpr auto kKeyTable = buildKeyTable();

constexpr std::array<uint8_t, SDL_CONTROLLER_BUTTON_MAX> buildButtonTable() {
  std::array<uint8_t, SDL_CONTROLLER_BUTTON_MAX> table{};
  table[SDL_CONTROLLER_BUTTON_DPAD_UP] = vkUp;
  table[SDL_CONTROLLER_BUTTON_DPAD_DOWN] = vkDown;
  table[SDL_CONTROLLER_BUTTON_DPAD_LEFT] = vkLeft;
  table[SDL_CONTROLLER_BUTTON_DPAD_RIGHT] = vkRight;
  table[SDL_CONTROLLER_BUTTON_A] = kDesktopGameKeys.a;
  table[SDL_CONTROLLER_BUTTON_B] = kDesktopGameKeys.b;
  table[SDL_CONTROLLER_BUTTON_X] = kDesktopGameKeys.c;
  table[SDL_CONTROLLER_BUTTON_START] = kDesktopGameKeys.start;
  table[SDL_CONTROLLER_BUTTON_BACK] = vkApplication1;
  return table;
}

constexpr auto kButtonTable = buildButtonTable();

}  // namespace

uint8_t virtualKeyOf(SDL_Scancode scancode) {
  return scancode >= 0 && scancode < SDL_NUM_SCANCODES ? kKeyTable[scancode] : 0;
}

uint8_t virtualKeyOf(SDL_GameControllerButton button) {
  return button >= 0 && button < SDL_CONTROLLER_BUTTON_MAX ? kButtonTable[button] : 0;
}

bool isDeviceButton(uint8_t virtualKey) {
  const GameKeys& g = kDesktopGameKeys;
  return virtualKey == g.a || virtualKey == g.b || virtualKey == g.c || virtualKey == g.start ||
         virtualKey == vkApplication1 || virtualKey == vkApplication5;
}

}  // namespace qn
