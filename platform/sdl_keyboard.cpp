#include "platform/sdl_keyboard.h"

#include <array>
#include <utility>

#include "platform/virtual_keys.h"

namespace qn::platform {

namespace {

using namespace keys;

static_assert(SDL_NUM_SCANCODES <= kPhysicalKeyCount);

// The keyboard's keys as the device's keyboard numbers them; letters, digits, function keys and
// the keypad's digits run in blocks on both sides.
constexpr std::pair<SDL_Scancode, uint8_t> kKeyPairs[] = {
    {SDL_SCANCODE_UP, vkUp},
    {SDL_SCANCODE_DOWN, vkDown},
    {SDL_SCANCODE_LEFT, vkLeft},
    {SDL_SCANCODE_RIGHT, vkRight},
    {SDL_SCANCODE_BACKSPACE, vkBackspace},
    {SDL_SCANCODE_TAB, vkTab},
    {SDL_SCANCODE_RETURN, vkReturn},
    {SDL_SCANCODE_KP_ENTER, vkReturn},
    {SDL_SCANCODE_LSHIFT, vkShift},
    {SDL_SCANCODE_RSHIFT, vkShift},
    {SDL_SCANCODE_LCTRL, vkControl},
    {SDL_SCANCODE_RCTRL, vkControl},
    {SDL_SCANCODE_LALT, vkAlt},
    {SDL_SCANCODE_RALT, vkAlt},
    {SDL_SCANCODE_PAUSE, vkPause},
    {SDL_SCANCODE_CAPSLOCK, vkCapsLock},
    {SDL_SCANCODE_ESCAPE, vkEscape},
    {SDL_SCANCODE_SPACE, vkSpace},
    {SDL_SCANCODE_PAGEUP, vkPageUp},
    {SDL_SCANCODE_PAGEDOWN, vkPageDown},
    {SDL_SCANCODE_END, vkEnd},
    {SDL_SCANCODE_HOME, vkHome},
    {SDL_SCANCODE_PRINTSCREEN, vkPrintScreen},
    {SDL_SCANCODE_INSERT, vkInsert},
    {SDL_SCANCODE_DELETE, vkDelete},
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
  for (int i = 0; i < 26; ++i) table[SDL_SCANCODE_A + i] = static_cast<uint8_t>('A' + i);
  for (int i = 0; i < 9; ++i) table[SDL_SCANCODE_1 + i] = static_cast<uint8_t>('1' + i);
  table[SDL_SCANCODE_0] = '0';
  for (int i = 0; i < 12; ++i) table[SDL_SCANCODE_F1 + i] = static_cast<uint8_t>(vkF1 + i);
  for (int i = 0; i < 9; ++i) table[SDL_SCANCODE_KP_1 + i] = static_cast<uint8_t>(vkKeypad0 + 1 + i);
  table[SDL_SCANCODE_KP_0] = vkKeypad0;
  for (auto [scancode, vk] : kKeyPairs) table[scancode] = vk;
  return table;
}

constexpr auto kKeyTable = buildKeyTable();

// SDL's controller buttons in the order of ControllerButton.
constexpr SDL_GameControllerButton kControllerButtons[] = {
    SDL_CONTROLLER_BUTTON_A,          SDL_CONTROLLER_BUTTON_B,         SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,          SDL_CONTROLLER_BUTTON_BACK,      SDL_CONTROLLER_BUTTON_GUIDE,
    SDL_CONTROLLER_BUTTON_START,      SDL_CONTROLLER_BUTTON_LEFTSTICK, SDL_CONTROLLER_BUTTON_RIGHTSTICK,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, SDL_CONTROLLER_BUTTON_DPAD_UP,
    SDL_CONTROLLER_BUTTON_DPAD_DOWN,  SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
};
static_assert(std::size(kControllerButtons) == kControllerButtonCount);
static_assert(kControllerButtons[static_cast<int>(ControllerButton::dpadRight)] == SDL_CONTROLLER_BUTTON_DPAD_RIGHT);

uint8_t modifiersOf(uint16_t mod) {
  return static_cast<uint8_t>(((mod & KMOD_CTRL) != 0 ? ctrlHeld : 0) | ((mod & KMOD_SHIFT) != 0 ? shiftHeld : 0) |
                              ((mod & KMOD_ALT) != 0 ? altHeld : 0));
}

// Characters the device's translation step makes from key-downs that SDL reports as no text.
uint32_t controlCharacterOf(const SDL_Keysym& key) {
  switch (key.scancode) {
    case SDL_SCANCODE_ESCAPE: return 27;
    case SDL_SCANCODE_BACKSPACE: return 8;
    case SDL_SCANCODE_TAB: return 9;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER: return 13;
    default: break;
  }
  // Ctrl+letter types the control characters 1 to 26.
  if ((key.mod & KMOD_CTRL) != 0 && (key.mod & KMOD_ALT) == 0 && key.scancode >= SDL_SCANCODE_A &&
      key.scancode <= SDL_SCANCODE_Z)
    return static_cast<uint32_t>(key.scancode - SDL_SCANCODE_A + 1);
  return 0;
}

}  // namespace

KeyPress keyPressOf(const SDL_KeyboardEvent& key) {
  const SDL_Scancode code = key.keysym.scancode;
  const bool known = code >= 0 && code < SDL_NUM_SCANCODES;
  return {static_cast<uint16_t>(known ? code : 0), known ? kKeyTable[code] : uint8_t{0},
          modifiersOf(key.keysym.mod),           code == SDL_SCANCODE_KP_ENTER,
          key.repeat != 0,                       controlCharacterOf(key.keysym)};
}

std::optional<ControllerButton> controllerButtonOf(uint8_t sdlButton) {
  for (int i = 0; i < kControllerButtonCount; ++i)
    if (kControllerButtons[i] == sdlButton) return static_cast<ControllerButton>(i);
  return std::nullopt;
}

}  // namespace qn::platform
