// The game as the program plays it: the game movie over the real media file, cast, stage images
// and mixer, all owned by the movie object so that they live exactly as long as it does.
#pragma once

#include "engine/display_host.h"
#include "script/value.h"

namespace qn {
class SoundMixer;
}

namespace qn::game {

class GameMovie;

// The program's movie, not yet defined (the shell runs `defineMovie`): `movie` holds it, `game` is
// the same object as the game, whose rule events can be followed (game_observer.h).
struct GameProgram {
  Value movie;
  GameMovie* game;
};
GameProgram makeGameProgram(DisplayHost& display, SoundMixer& mixer);

}  // namespace qn::game
