#include "shell/key_translator.h"

#include <array>

#include "shell/key_tables.h"

namespace qn {

using namespace keys;

namespace {

// Four values in the order left, up, right, down; turning 90 degrees moves each one place on.
template <typename T>
T turnArrow(T value, const std::array<T, 4>& arrows, int orientation) {
  int steps = orientation == 90 ? 1 : orientation == -90 ? 3 : 0;
  for (int i = 0; i < 4; ++i)
    if (arrows[i] == value) return arrows[(i + steps) % 4];
  return value;
}

}  // namespace

uint32_t turnArrowKey(uint32_t vk, int orientation) {
  return turnArrow<uint32_t>(vk, {vkLeft, vkUp, vkRight, vkDown}, orientation);
}

// Codes turn the opposite way: the stage's left is the key the device sees as down under 90.
uint32_t turnArrowCode(uint32_t code, int orientation) {
  return turnArrow<uint32_t>(code, {codeLeft, codeDown, codeRight, codeUp}, orientation);
}

std::optional<KeyReport> KeyTranslator::keyDown(uint32_t vk, int orientation) {
  if (vk > 255) return std::nullopt;
  held_[vk] = true;
  pressedSinceFrame_[vk] = true;
  vk = turnArrowKey(vk, orientation);
  KeyReport report{charByVK[vk], keyCodeByVK[vk]};
  if (vk != gameKeys_.start) {
    if (vk == gameKeys_.a) {
      report.code = codeGameA;
    } else if (vk == gameKeys_.b) {
      report.code = codeGameB;
    } else if (vk == gameKeys_.c) {
      report.code = codeGameC;
    } else if (vk == vkApplication1) {
      app1Held_ = true;
      if (app1Alias_ == 0) app1Alias_ = priorUnmappedKey_;
      report.code = codeApplication1;
    } else if (vk == vkApplication5) {
      report.code = codeApplication5;
    } else if (app1Alias_ != 0 && vk == app1Alias_) {
      app1Held_ = true;
      report.code = codeApplication1;
    }
  }
  if (report.code != 0) return report;
  priorUnmappedKey_ = lastUnmappedKey_;
  lastUnmappedKey_ = static_cast<uint8_t>(vk);
  return std::nullopt;
}

void KeyTranslator::keyUp(uint32_t vk) {
  if (vk > 255) return;
  held_[vk] = false;
  // The alias stands for the first application button, so its release ends the hold as well.
  if (vk == vkApplication1 || (app1Alias_ != 0 && vk == app1Alias_)) app1Held_ = false;
}

KeyReport KeyTranslator::character(uint32_t c, bool extended) {
  if (extended && c == 13) return {kKeypadEnterChar, codeKeypadEnter};
  return {static_cast<uint8_t>(c & 0xFF), c > 255 ? uint8_t{0} : keyCodeByChar[c]};
}

bool KeyTranslator::keyPressed(uint32_t code, int orientation) const {
  switch (code) {
    case codeStart: return isHeld(gameKeys_.start);
    case codeGameC: return isHeld(gameKeys_.c);
    case codeGameA: return isHeld(gameKeys_.a);
    case codeGameB: return isHeld(gameKeys_.b);
    case codeApplication5: return isHeld(vkApplication5State);
    case codeApplication1: return app1Held_ || (app1Alias_ != 0 && isHeld(app1Alias_));
    default: break;
  }
  if (code > 255) code = 255;
  code = turnArrowCode(code, orientation);
  return isHeld(vkByKeyCode[code]);
}

void KeyTranslator::releaseAll() {
  held_.reset();
  pressedSinceFrame_.reset();
  app1Held_ = false;
}

}  // namespace qn
