#include "shell/program_movie.h"

#include "game/game_program.h"

namespace qn {

Value makeProgramMovie(DisplayHost& display, SoundMixer& mixer) { return game::makeGameProgram(display, mixer); }

}  // namespace qn
