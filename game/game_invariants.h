// The game's invariants: what holds after every frame, whatever a person taps or presses. They
// read the game as its rules leave it (the engine object's pList and ball records, the sprite
// channels, the script pool), so they judge the rules without re-running them. The play fuzzer
// checks them after each frame it plays, and at the end walks back to the menu.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "script/value.h"

namespace qn {
class Movie;
}

namespace qn::game {

// An invariant that does not hold: the rule, and what was seen.
struct BrokenInvariant {
  std::string rule;
  std::string seen;
};

// The script pool's cells in use that no state of the game comes near: the menu holds about 450,
// the busiest play the play fuzzer found about 710, and every effect channel in use at once would
// add some 2,000. A leak of two cells a frame passes it within the fuzzer's 2,400 frames.
inline constexpr size_t kMostPoolCells = 5000;

// The first invariant the movie's state breaks, in the order they are listed; none when all hold.
std::optional<BrokenInvariant> brokenInvariant(const Movie& movie);

// The channel a person taps next on the way back to the menu: done on the set-up screen, the map
// in the top view, the back-to-menu button anywhere else; 0 on the menu.
int32_t nextTapTowardsMenu(const Movie& movie);

// Goes back to the menu as a person would: taps the way nextTapTowardsMenu shows (`tap` taps a
// channel's sprite, running the frames a tap takes) and lets a few frames pass after each.
// Broken when the menu is not back after a few taps.
std::optional<BrokenInvariant> returnToMenu(const Movie& movie, const std::function<void(int32_t channel)>& tap,
                                            const std::function<void()>& frame);

}  // namespace qn::game
