// Whose turn a frame is, for a game that several devices play together: the set-up seat (player
// slot 1 to 4) of the person whose turn it is, or 0 for the host's turns: the menu, help, the
// set-up screen, the target ball, the computers' turns, the moment between two turns and the end
// screens. A person's turn runs from the frame their aiming begins through the top view, the
// swing, the release, the balls rolling and the measuring of their throw, so that what a person
// does with their ball (a finger lifted after the release) stays in their turn.
//
// Asked after a tick, it answers for the next frame: its input arrives before that frame's tick
// and is judged by the game as the last tick left it. It only reads the game.
#pragma once

#include <cstdint>

#include "engine/movie.h"

namespace qn::game {

int32_t seatWithTheSay(const Movie& movie);

}  // namespace qn::game
