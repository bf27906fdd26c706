// The attract mode: plays the game by itself, game after game, as a person would. On the menu it
// taps START; on the set-up screen it taps each slot's kind button until the wanted slots are
// computers and the rest are not playing, then done; the computers play the end, and once the
// menu is back the next game starts. Line-ups cycle through 2, 3, 4 and 1 computer players.
//
// It follows the game's rule events to know which screen is up, looks at the sprites a person
// sees (the kind buttons, where to tap) and taps as game/play_from_outside.h shows: every tap is a
// stylus down and, on the next frame, up at the centre of a sprite's current rect, sent through
// the same input path as a person's. It never draws a random number or touches the game's state, so a game it starts is
// the game a person starts with the same taps on the same frames.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/movie.h"
#include "game/game_observer.h"
#include "game/play_from_outside.h"
#include "net/device_input.h"

namespace qn {

class DemoDriver final : public game::GameObserver {
 public:
  static constexpr uint32_t kForEver = 0;
  static constexpr uint32_t kLongestGame = 20'000;  // frames from START back to the menu

  explicit DemoDriver(uint32_t games) : games_(games) {}

  // Called before every tick: the input due now, if any.
  std::optional<DeviceInput> inputBeforeTick(Movie& movie);

  uint32_t gamesPlayed() const { return gamesPlayed_; }
  // The games asked for are played and the menu is back.
  bool finished() const { return games_ != kForEver && gamesPlayed_ >= games_; }
  // A game did not come back to the menu within kLongestGame frames; the demo has given up.
  bool stalled() const { return stalled_; }
  // The number of computer players of the game being set up or played.
  int32_t computersInLineUp() const;

  void menuShown() override { shown_ = Screen::menu; }
  void setUpShown() override { shown_ = Screen::setUp; }
  void endStarted() override { shown_ = Screen::play; }

 private:
  enum class Phase { menu, setUp, playing };
  enum class Screen { none, menu, setUp, play };  // what the game shows, as its events told

  void enter(Phase phase);
  DeviceInput tap(Movie& movie, int32_t channel);
  std::optional<DeviceInput> setUpNextSlot(Movie& movie);

  const uint32_t games_;
  uint32_t gamesPlayed_ = 0;
  Phase phase_ = Phase::menu;
  Screen shown_ = Screen::none;
  std::optional<DeviceInput> pendingUp_;
  uint32_t waitFrames_ = 0;
  uint32_t framesInPhase_ = 0;
  std::optional<game::LineUp> lineUp_;  // the line-up being set up
  bool stalled_ = false;
};

}  // namespace qn
