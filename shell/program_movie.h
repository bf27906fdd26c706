// The compiled movie this program plays.
#pragma once

#include "engine/display_host.h"
#include "script/value.h"

namespace qn {

class SoundMixer;

// Makes the program's movie over the shell's display host and mixer; void when there is none.
Value makeProgramMovie(DisplayHost& display, SoundMixer& mixer);

}  // namespace qn
