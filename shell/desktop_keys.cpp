#include "shell/desktop_keys.h"

#include <array>

#include "shell/key_tables.h"
#include "shell/key_translator.h"

namespace qn {

namespace {

using namespace keys;
using platform::altHeld;
using platform::ControllerButton;
using platform::ctrlHeld;
using platform::noModifiers;
using platform::shiftHeld;

template <typename Result>
struct Chord {
  uint8_t virtualKey;  // the key as the keyboard numbers it
  uint8_t modifiers;
  Result result;
};

template <typename Result, size_t N>
const Result* chordOf(const Chord<Result> (&chords)[N], const platform::KeyPress& key) {
  for (const Chord<Result>& chord : chords)
    if (chord.virtualKey == key.virtualKey && chord.modifiers == key.modifiers) return &chord.result;
  return nullptr;
}

// Return and the keypad's enter are one key to these chords.
constexpr Chord<KeyCommand> kWindowChords[] = {
    {vkReturn, altHeld, {WindowCommand::toggleFullscreen}},
    {'1', ctrlHeld, {WindowCommand::setScale, 1}},
    {'2', ctrlHeld, {WindowCommand::setScale, 2}},
    {'3', ctrlHeld, {WindowCommand::setScale, 3}},
    {'4', ctrlHeld, {WindowCommand::setScale, 4}},
    {vkPrintScreen, noModifiers, {WindowCommand::saveScreenshot}},
    {vkTab, noModifiers, {WindowCommand::focusNext}},
    {vkTab, shiftHeld, {WindowCommand::focusPrevious}},
    {vkReturn, noModifiers, {WindowCommand::tap}},
    {vkSpace, noModifiers, {WindowCommand::tap}},
    {'M', ctrlHeld, {WindowCommand::toggleMute}},
};

// The device's buttons (see README: "Desktop keys"); every other key is the device's own.
constexpr Chord<uint8_t> kButtonChords[] = {
    {'Q', ctrlHeld, vkApplication1},
    {'A', ctrlHeld | shiftHeld, kDesktopGameKeys.a},
    {'B', ctrlHeld | shiftHeld, kDesktopGameKeys.b},
    {'C', ctrlHeld | shiftHeld, kDesktopGameKeys.c},
    {'S', ctrlHeld | shiftHeld, kDesktopGameKeys.start},
    {'5', ctrlHeld | shiftHeld, vkApplication5},
};

constexpr std::array<uint8_t, platform::kControllerButtonCount> buildButtonTable() {
  std::array<uint8_t, platform::kControllerButtonCount> table{};
  table[static_cast<int>(ControllerButton::dpadUp)] = vkUp;
  table[static_cast<int>(ControllerButton::dpadDown)] = vkDown;
  table[static_cast<int>(ControllerButton::dpadLeft)] = vkLeft;
  table[static_cast<int>(ControllerButton::dpadRight)] = vkRight;
  table[static_cast<int>(ControllerButton::b)] = kDesktopGameKeys.b;
  table[static_cast<int>(ControllerButton::x)] = kDesktopGameKeys.c;
  table[static_cast<int>(ControllerButton::start)] = kDesktopGameKeys.start;
  return table;
}

constexpr auto kButtonTable = buildButtonTable();

constexpr std::array<WindowCommand, platform::kControllerButtonCount> buildButtonCommands() {
  std::array<WindowCommand, platform::kControllerButtonCount> table{};
  table[static_cast<int>(ControllerButton::a)] = WindowCommand::tap;
  table[static_cast<int>(ControllerButton::y)] = WindowCommand::toggleMute;
  table[static_cast<int>(ControllerButton::leftShoulder)] = WindowCommand::focusPrevious;
  table[static_cast<int>(ControllerButton::rightShoulder)] = WindowCommand::focusNext;
  return table;
}

constexpr auto kButtonCommands = buildButtonCommands();

}  // namespace

KeyCommand windowCommandOf(const platform::KeyPress& key) {
  const KeyCommand* command = chordOf(kWindowChords, key);
  return command ? *command : KeyCommand{};
}

WindowCommand windowCommandOf(ControllerButton button) { return kButtonCommands[static_cast<size_t>(button)]; }

uint8_t virtualKeyOf(const platform::KeyPress& key) {
  if (const uint8_t* button = chordOf(kButtonChords, key)) return *button;
  return key.virtualKey;
}

uint8_t virtualKeyOf(ControllerButton button) { return kButtonTable[static_cast<size_t>(button)]; }

bool isDeviceButton(uint8_t virtualKey) {
  const GameKeys& g = kDesktopGameKeys;
  return virtualKey == g.a || virtualKey == g.b || virtualKey == g.c || virtualKey == g.start ||
         virtualKey == vkApplication1 || virtualKey == vkApplication5;
}

}  // namespace qn
