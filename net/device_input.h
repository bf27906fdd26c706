// One input message as the device delivers it to the window: a stylus action at a screen
// point, a key going down or up, a typed character, or the window losing or regaining the focus
// (in the browser: the page hidden or shown again). Window events, game controllers, replayed
// recordings and a room's log all arrive as these; net/input_words.h spells them as text.
#pragma once

#include <cstdint>

namespace qn {

enum class InputKind : uint8_t {
  stylusDown, stylusUp, stylusMove, doubleTap, keyDown, keyUp, character, focusLost, focusGained
};
inline constexpr int kInputKindCount = 9;

struct DeviceInput {
  InputKind kind = InputKind::stylusMove;
  uint32_t value = 0;     // stylus: x; keys: the virtual key; character: its code
  uint32_t y = 0;         // stylus: y
  bool extended = false;  // keys and characters: the extended-key flag (the keypad's enter)
  bool operator==(const DeviceInput&) const = default;

  bool isStylus() const { return kind <= InputKind::doubleTap; }
  bool isFocus() const { return kind >= InputKind::focusLost; }  // no values
};

}  // namespace qn
