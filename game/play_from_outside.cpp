#include "game/play_from_outside.h"

#include <algorithm>

#include "engine/sprite_channel.h"

namespace qn::game {

Value engineObjectOf(const Movie& movie) {
  const auto* game = dynamic_cast<const GameMovie*>(&movie);
  return game != nullptr ? game->globals().engineObject : Value();
}

Value modeOf(const Movie& movie) { return engineObjectOf(movie).getProperty(s::pList).getProperty(s::mode); }

bool inMode(const Movie& movie, Symbol mode) { return modeOf(movie) == mode; }

IntPoint tapPointOn(const Movie& movie, int32_t channel) {
  const SpriteChannel* sprite = movie.spriteIn(channel);
  const IntRect rect = sprite != nullptr ? sprite->spriteRect : IntRect{};
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

int32_t memberShownIn(const Movie& movie, int32_t channel) {
  const SpriteChannel* sprite = movie.spriteIn(channel);
  return sprite != nullptr ? sprite->memberNum : 0;
}

LineUp::LineUp(std::vector<int32_t> kinds) : kinds_(std::move(kinds)) {
  if (kinds_.size() > static_cast<size_t>(kPlayerSlots)) kinds_.resize(kPlayerSlots);
}

std::vector<int32_t> LineUp::settingOrder() const {
  std::vector<int32_t> order;
  for (bool playing : {true, false})
    for (size_t slot = 0; slot < kinds_.size(); ++slot)
      if ((kinds_[slot] != member::notPlaying) == playing) order.push_back(static_cast<int32_t>(slot));
  return order;
}

std::optional<int32_t> LineUp::nextTap(const Movie& movie) {
  for (int32_t slot : settingOrder()) {
    const int32_t channel = ch::slotKinds[slot];
    const int32_t shown = memberShownIn(movie, channel);
    std::vector<int32_t>& seen = seen_[static_cast<size_t>(slot)];
    if (shown == kinds_[static_cast<size_t>(slot)] || std::find(seen.begin(), seen.end(), shown) != seen.end()) continue;
    seen.push_back(shown);
    return channel;
  }
  return std::nullopt;
}

}  // namespace qn::game
