// The movie a program plays, and the one this program plays: the game.
#pragma once

#include <utility>

#include "engine/display_host.h"
#include "game/game_program.h"
#include "script/value.h"

namespace qn {

class SoundMixer;

// A program's movie (void when there is none) and, when it is the game, the game itself, whose
// rule events the demo and the report follow. Made from either on purpose, so that a factory
// returns whichever it makes.
struct ProgramMovie {
  ProgramMovie(Value movieValue) : movie(std::move(movieValue)) {}
  ProgramMovie(game::GameProgram program) : movie(std::move(program.movie)), game(program.game) {}

  Value movie;
  game::GameMovie* game = nullptr;
};

// Makes the program's movie over the shell's display host and mixer.
ProgramMovie makeProgramMovie(DisplayHost& display, SoundMixer& mixer);

}  // namespace qn
