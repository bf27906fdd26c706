#include "shell/program_movie.h"

namespace qn {

ProgramMovie makeProgramMovie(DisplayHost& display, SoundMixer& mixer) { return game::makeGameProgram(display, mixer); }

}  // namespace qn
