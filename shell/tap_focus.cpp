#include "shell/tap_focus.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "engine/event_mask.h"
#include "engine/movie.h"
#include "engine/sprite_channel.h"

namespace qn {

namespace {

// Where a tap is tried, in quarters of the sprite's width and height: the middle first, then
// round it, for sprites that another one's hit area or their own mask partly covers.
constexpr std::pair<int32_t, int32_t> kProbes[] = {{2, 2}, {1, 1}, {3, 1}, {1, 3}, {3, 3},
                                                   {2, 1}, {1, 2}, {3, 2}, {2, 3}};

// The screen point the movie reads as `stage` (the inverse of its stylus location).
ScreenPoint screenPointOf(const Movie& movie, IntPoint stage) {
  const DisplayHost& display = movie.services().display;
  switch (movie.orientation()) {
    case 90: return {stage.y, display.screenHeight() - stage.x};
    case -90: return {display.screenWidth() - stage.y, stage.x};
    default: return {stage.x, stage.y};
  }
}

std::optional<TapTarget> targetOf(const Movie& movie, const SpriteChannel& sprite) {
  const int32_t channel = sprite.channel();
  if ((sprite.eventMask & event::clickable) == 0 || !movie.channelVisible(channel)) return std::nullopt;
  const IntRect shown = clippedRect(sprite.spriteRect, movie.stageRect());
  if (isEmptyRect(shown)) return std::nullopt;
  for (auto [across, down] : kProbes) {
    IntPoint probe{shown.left + (shown.width() - 1) * across / 4, shown.top + (shown.height() - 1) * down / 4};
    if (movie.hitSprite(probe, event::clickable, true) == channel)
      return TapTarget{channel, movie.toWindow(shown), screenPointOf(movie, probe)};
  }
  return std::nullopt;
}

}  // namespace

std::vector<TapTarget> tapTargets(const Movie& movie) {
  std::vector<TapTarget> targets;
  for (const SpriteChannel* sprite : movie.drawOrder())
    if (std::optional<TapTarget> target = targetOf(movie, *sprite)) targets.push_back(*target);
  std::sort(targets.begin(), targets.end(), [](const TapTarget& a, const TapTarget& b) {
    return std::tie(a.screenRect.top, a.screenRect.left, a.channel) <
           std::tie(b.screenRect.top, b.screenRect.left, b.channel);
  });
  return targets;
}

void TapFocus::step(const Movie& movie, bool forward) {
  const std::vector<TapTarget> targets = tapTargets(movie);
  if (targets.empty()) {
    focused_.reset();
    return;
  }
  const size_t count = targets.size();
  auto current = std::find_if(targets.begin(), targets.end(),
                              [this](const TapTarget& target) { return focused_ && target.channel == focused_->channel; });
  size_t next = forward ? 0 : count - 1;
  if (current != targets.end()) {
    const size_t at = static_cast<size_t>(current - targets.begin());
    next = forward ? (at + 1) % count : (at + count - 1) % count;
  }
  focused_ = targets[next];
}

void TapFocus::follow(const Movie& movie) {
  if (!focused_) return;
  const SpriteChannel* sprite = movie.spriteIn(focused_->channel);
  focused_ = sprite ? targetOf(movie, *sprite) : std::nullopt;
}

std::optional<IntRect> TapFocus::ring() const {
  if (!focused_) return std::nullopt;
  return focused_->screenRect;
}

std::optional<ScreenPoint> TapFocus::press() {
  if (!focused_ || pressedAt_) return std::nullopt;
  pressedAt_ = focused_->point;
  return pressedAt_;
}

std::optional<ScreenPoint> TapFocus::release() { return std::exchange(pressedAt_, std::nullopt); }

}  // namespace qn
