// The recipes of the game's sounds and the table that names them, with the container, sample
// format and rate each one is stored in (chosen so that every decoding and conversion path of
// the mixer is used: 8- and 16-bit, mono and stereo, 11025, 22050 and 44100 Hz, WAVE and Vorbis).
#pragma once

#include <vector>

#include "tools/soundgen/track.h"

namespace qn::soundgen {

enum class Container { wave, vorbis };

struct SoundRecipe {
  int number;  // member number in castLib 1
  const char* name;
  Container container;
  int bitsPerSample;  // WAVE only
  int channels;
  int rate;
  Track (*make)(int rate);
};

const std::vector<SoundRecipe>& soundRecipes();

}  // namespace qn::soundgen
