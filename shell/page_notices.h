// The game's events the page around the browser edition hears of: the end of a game with the
// frame it ended in, so that the page can offer to share the game up to there.
#pragma once

#include <cstdint>
#include <functional>

#include "game/game_observer.h"

namespace qn {

class PageNotices final : public game::GameObserver {
 public:
  // `frame` answers the frame being played.
  explicit PageNotices(std::function<uint32_t()> frame) : frame_(std::move(frame)) {}

  void endFinished(const game::EndFinished&) override;

 private:
  std::function<uint32_t()> frame_;
};

}  // namespace qn
