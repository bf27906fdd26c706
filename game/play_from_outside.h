// Playing the game from outside, as a person does: how the demo, the gallery's tour, the tests,
// the play fuzzer and the benchmarks find their way in the game. It reads the game (the engine
// object, its mode, the sprites a person sees) and answers where to tap and how long a person
// leaves between taps; the taps themselves go through the caller's input path, and nothing here
// changes the game.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "game/channels.h"
#include "game/game_movie.h"
#include "game/game_symbols.h"
#include "script/int_rect.h"

namespace qn::game {

// How a person paces taps, in frames.
inline constexpr uint32_t kTapGap = 4;      // between two taps on the set-up screen
inline constexpr uint32_t kMenuPause = 30;  // on the menu before tapping it

// The engine object of the game `movie` plays: void before startMovie made it, and for a movie
// that is not the game.
Value engineObjectOf(const Movie& movie);
// The game's mode, pList.mode; void without the engine object.
Value modeOf(const Movie& movie);
bool inMode(const Movie& movie, Symbol mode);

// Where a tap reaches the sprite in `channel`: the centre of the rect it covers now.
IntPoint tapPointOn(const Movie& movie, int32_t channel);
// The member the sprite in `channel` shows: a slot's kind is member::human, ::computer or
// ::notPlaying on its kind button.
int32_t memberShownIn(const Movie& movie, int32_t channel);

// A line-up of the player slots, set as a person sets it on the set-up screen: by tapping each
// slot's kind button until it shows the wanted kind. Slots that play are set first, so that turning
// the others off never meets the rule that keeps the last playing slot in play; a slot whose button
// comes back to a kind it showed before has gone round its kinds and is left as it is.
class LineUp {
 public:
  // The kinds of slots 1, 2, ... (member::human, ::computer, ::notPlaying); slots beyond them are
  // left as they are.
  explicit LineUp(std::vector<int32_t> kinds);

  // The slots (from 0) in the order they are set.
  std::vector<int32_t> settingOrder() const;
  // The kind button to tap next; none once every slot shows its kind or has gone round.
  std::optional<int32_t> nextTap(const Movie& movie);

 private:
  std::vector<int32_t> kinds_;
  std::array<std::vector<int32_t>, kPlayerSlots> seen_;  // per slot, the kinds its button showed when tapped
};

}  // namespace qn::game
