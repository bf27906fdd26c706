// What a person sees of a sprite on the stage: where to tap it and which member it shows. The
// demo taps through these, as the gallery's tour does; nothing here reads or changes the game.
#pragma once

#include "engine/movie.h"
#include "script/stage_rect.h"

namespace qn {

// The centre of the rect the sprite in `channel` covers now, in stage pixels.
IntPoint centreOfSprite(Movie& movie, int32_t channel);
int32_t memberInChannel(Movie& movie, int32_t channel);

}  // namespace qn
