#include "shell/desktop_keys.h"

#include <array>
#include <utility>

#include "shell/key_tables.h"
#include "shell/key_translator.h"

namespace qn {

namespace {

using namespace keys;

// The modifiers a chord names; caps lock, num lock and the system keys do not count.
enum Modifiers : uint8_t { plain = 0, ctrl = 1, shift = 2, alt = 4 };

uint8_t modifiersOf(uint16_t mod) {
  return static_cast<uint8_t>(((mod & KMOD_CTRL) != 0 ? ctrl : 0) | ((mod & KMOD_SHIFT) != 0 ? shift : 0) |
                              ((mod & KMOD_ALT) != 0 ? alt : 0));
}

template <typename Result>
struct Chord {
  SDL_Scancode scancode;
  uint8_t modifiers;
  Result result;
};

template <typename Result, size_t N>
const Result* chordOf(const Chord<Result> (&chords)[N], const SDL_Keysym& key) {
  const uint8_t held = modifiersOf(key.mod);
  for (const Chord<Result>& chord : chords)
    if (chord.scancode == key.scancode && chord.modifiers == held) return &chord.result;
  return nullptr;
}

constexpr Chord<KeyCommand> kWindowChords[] = {
    {SDL_SCANCODE_RETURN, alt, {WindowCommand::toggleFullscreen}},
    {SDL_SCANCODE_KP_ENTER, alt, {WindowCommand::toggleFullscreen}},
    {SDL_SCANCODE_1, ctrl, {WindowCommand::setScale, 1}},
    {SDL_SCANCODE_2, ctrl, {WindowCommand::setScale, 2}},
    {SDL_SCANCODE_3, ctrl, {WindowCommand::setScale, 3}},
    {SDL_SCANCODE_4, ctrl, {WindowCommand::setScale, 4}},
    {SDL_SCANCODE_PRINTSCREEN, plain, {WindowCommand::saveScreenshot}},
    {SDL_SCANCODE_TAB, plain, {WindowCommand::focusNext}},
    {SDL_SCANCODE_TAB, shift, {WindowCommand::focusPrevious}},
    {SDL_SCANCODE_RETURN, plain, {WindowCommand::tap}},
    {SDL_SCANCODE_KP_ENTER, plain, {WindowCommand::tap}},
    {SDL_SCANCODE_SPACE, plain, {WindowCommand::tap}},
    {SDL_SCANCODE_M, ctrl, {WindowCommand::toggleMute}},
};

// The device's buttons (see README: "Desktop keys"); the arrows are in the plain table below.
constexpr Chord<uint8_t> kButtonChords[] = {
    {SDL_SCANCODE_Q, ctrl, vkApplication1},
    {SDL_SCANCODE_A, ctrl | shift, kDesktopGameKeys.a},
    {SDL_SCANCODE_B, ctrl | shift, kDesktopGameKeys.b},
    {SDL_SCANCODE_C, ctrl | shift, kDesktopGameKeys.c},
    {SDL_SCANCODE_S, ctrl | shift, kDesktopGameKeys.start},
    {SDL_SCANCODE_5, ctrl | shift, vkApplication5},
};

constexpr std::pair<SDL_Scancode, uint8_t> kKeyPairs[] = {
    {SDL_SCANCODE_UP, vkUp},
    {SDL_SCANCODE_DOWN, vkDown},
    {SDL_SCANCODE_LEFT, vkLeft},
    {SDL_SCANCODE_RIGHT, vkRight},
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
  table[SDL_CONTROLLER_BUTTON_B] = kDesktopGameKeys.b;
  table[SDL_CONTROLLER_BUTTON_X] = kDesktopGameKeys.c;
  table[SDL_CONTROLLER_BUTTON_START] = kDesktopGameKeys.start;
  return table;
}

constexpr auto kButtonTable = buildButtonTable();

constexpr std::array<WindowCommand, SDL_CONTROLLER_BUTTON_MAX> buildButtonCommands() {
  std::array<WindowCommand, SDL_CONTROLLER_BUTTON_MAX> table{};
  table[SDL_CONTROLLER_BUTTON_A] = WindowCommand::tap;
  table[SDL_CONTROLLER_BUTTON_Y] = WindowCommand::toggleMute;
  table[SDL_CONTROLLER_BUTTON_LEFTSHOULDER] = WindowCommand::focusPrevious;
  table[SDL_CONTROLLER_BUTTON_RIGHTSHOULDER] = WindowCommand::focusNext;
  return table;
}

constexpr auto kButtonCommands = buildButtonCommands();

}  // namespace

KeyCommand windowCommandOf(const SDL_Keysym& key) {
  const KeyCommand* command = chordOf(kWindowChords, key);
  return command ? *command : KeyCommand{};
}

WindowCommand windowCommandOf(SDL_GameControllerButton button) {
  return button >= 0 && button < SDL_CONTROLLER_BUTTON_MAX ? kButtonCommands[button] : WindowCommand::none;
}

uint8_t virtualKeyOf(const SDL_Keysym& key) {
  if (const uint8_t* button = chordOf(kButtonChords, key)) return *button;
  return key.scancode >= 0 && key.scancode < SDL_NUM_SCANCODES ? kKeyTable[key.scancode] : 0;
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
