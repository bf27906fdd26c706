#include "shell/program_movie.h"

namespace qn {

// The game's compiled movie is not part of the program yet: without it there is nothing to play
// and the shell says so and ends.
Value makeProgramMovie(DisplayHost&, SoundMixer&) { return Value(); }

}  // namespace qn
