// Play without a pointer: a focus that steps between the sprites a person could tap on the
// current screen, and taps the focused one at a point where the movie's own hit test finds it.
// The tap is the stylus down and up a person's tap makes, so the movie cannot tell them apart.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/screen_point.h"
#include "script/stage_rect.h"

namespace qn {

class Movie;
using platform::ScreenPoint;

// A sprite a tap can reach: its channel, where it shows on the screen and a screen point at
// which a tap lands on it.
struct TapTarget {
  int32_t channel = 0;
  IntRect screenRect;
  ScreenPoint point;
};

// The sprites of the screen whose behaviours answer the stylus and that lie (at least partly) on
// the stage, invisible hot spots included, in reading order: top to bottom, then left to right.
std::vector<TapTarget> tapTargets(const Movie& movie);

class TapFocus {
 public:
  // Moves to the next (or previous) target of the screen, round the end; the first (or last)
  // when nothing is focused. Nothing is focused when the screen has no target.
  void step(const Movie& movie, bool forward);
  // The screen changed: the ring follows its sprite, and goes when the sprite cannot be tapped.
  void follow(const Movie& movie);
  void clear() { focused_.reset(); }

  bool shown() const { return focused_.has_value(); }
  int32_t channel() const { return focused_ ? focused_->channel : 0; }
  std::optional<IntRect> ring() const;

  // The point a tap on the focused sprite goes down at; nothing when no sprite is focused or a
  // tap is already down. `release` answers where the tap that is down comes up.
  std::optional<ScreenPoint> press();
  std::optional<ScreenPoint> release();

 private:
  std::optional<TapTarget> focused_;
  std::optional<ScreenPoint> pressedAt_;
};

}  // namespace qn
