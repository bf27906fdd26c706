// The device's key translation: a virtual key's key-down or a typed character becomes the
// character and key code the movie reads, with the arrows turned with the stage and the
// device's buttons given their own codes. It also answers the key-state query `keyPressed`
// from the keys it has seen go down and up: a key that went down since the last frame counts as
// down for that frame even when it is already up again, so a quick tap of a key is never lost
// between two frames.
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>

#include "engine/key_report.h"

namespace qn {

// The virtual keys of the device's game buttons (only A, B, C and start are used).
struct GameKeys {
  uint8_t up, down, left, right, a, b, c, start;
};

// The desktop port's buttons: the arrows, and the device's game keys on application-button
// virtual keys (the start key on one with no table code, like the device's action key).
inline constexpr GameKeys kDesktopGameKeys{38, 40, 37, 39, 195, 196, 194, 134};

class KeyTranslator {
 public:
  explicit KeyTranslator(GameKeys gameKeys = kDesktopGameKeys) : gameKeys_(gameKeys) {}

  // Key-down of virtual key `vk`: the report for a key-down event, or nothing when the key has
  // no code (it is then remembered as the latest unmapped key).
  std::optional<KeyReport> keyDown(uint32_t vk, int orientation);
  void keyUp(uint32_t vk);

  // A typed character; `extended` is the extended-key flag (the keypad's enter).
  static KeyReport character(uint32_t c, bool extended);

  // Whether the key that produces `code` is down now.
  bool keyPressed(uint32_t code, int orientation) const;

  // Forgets every held key (the keyboard went away, as on focus loss).
  void releaseAll();
  // The movie has ticked: keys released meanwhile stop counting as down.
  void frameSeen() { pressedSinceFrame_.reset(); }

  uint8_t app1Alias() const { return app1Alias_; }
  bool app1Held() const { return app1Held_; }

 private:
  bool isHeld(uint32_t vk) const { return vk < 256 && (held_[vk] || pressedSinceFrame_[vk]); }

  GameKeys gameKeys_;
  std::bitset<256> held_;
  std::bitset<256> pressedSinceFrame_;
  uint8_t lastUnmappedKey_ = 0;
  uint8_t priorUnmappedKey_ = 0;
  uint8_t app1Alias_ = 0;  // a virtual key treated like the first application button
  bool app1Held_ = false;
};

// The arrow keys and arrow codes as the stage sees them when turned by `orientation` degrees.
uint32_t turnArrowKey(uint32_t vk, int orientation);
uint32_t turnArrowCode(uint32_t code, int orientation);

}  // namespace qn
