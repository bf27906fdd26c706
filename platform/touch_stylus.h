// A touch screen as the stylus. The stylus is one point: the first finger down is it, and any
// other finger that touches while it is down is ignored, with its moves and its lifting, so a
// palm or a second finger never moves or lifts the stylus. A touch that comes down soon after the
// last one and near it is a double tap, as a second click is a double click for the mouse.
// Positions are window points; times are milliseconds.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/window_event_handler.h"

namespace qn::platform {

struct Finger {
  int64_t device = 0;  // the touch screen
  int64_t id = 0;      // the finger on it
  friend bool operator==(const Finger&, const Finger&) = default;
};

class TouchStylus {
 public:
  TouchStylus(uint32_t doubleTapMilliseconds, int doubleTapRadius)
      : doubleTapMilliseconds_(doubleTapMilliseconds), doubleTapRadius_(doubleTapRadius) {}

  // What each finger event does to the stylus; nothing for a finger that is not the stylus.
  std::optional<PointerAction> down(Finger finger, uint32_t time, int x, int y);
  std::optional<PointerAction> move(Finger finger);
  std::optional<PointerAction> up(Finger finger);

 private:
  uint32_t doubleTapMilliseconds_;
  int doubleTapRadius_;
  std::optional<Finger> stylus_;  // the finger that is down as the stylus
  std::optional<uint32_t> lastTapTime_;
  int lastTapX_ = 0, lastTapY_ = 0;
};

}  // namespace qn::platform
