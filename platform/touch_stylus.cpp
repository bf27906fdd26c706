#include "platform/touch_stylus.h"

#include <cstdlib>

namespace qn::platform {

std::optional<PointerAction> TouchStylus::down(Finger finger, uint32_t time, int x, int y) {
  if (stylus_) return std::nullopt;
  stylus_ = finger;
  // A double tap ends the pair: a third quick tap is a tap again, as with a mouse's clicks.
  const bool doubleTap = lastTapTime_ && time - *lastTapTime_ <= doubleTapMilliseconds_ &&
                         std::abs(x - lastTapX_) <= doubleTapRadius_ && std::abs(y - lastTapY_) <= doubleTapRadius_;
  if (doubleTap) lastTapTime_.reset();
  else lastTapTime_ = time;
  lastTapX_ = x;
  lastTapY_ = y;
  return doubleTap ? PointerAction::doubleDown : PointerAction::down;
}

std::optional<PointerAction> TouchStylus::move(Finger finger) {
  if (stylus_ != finger) return std::nullopt;
  return PointerAction::move;
}

std::optional<PointerAction> TouchStylus::up(Finger finger) {
  if (stylus_ != finger) return std::nullopt;
  stylus_.reset();
  return PointerAction::up;
}

}  // namespace qn::platform
