// Read-only access from the shell to the running game: the engine object (the first item of the
// movie's actorList), its game mode and the sprites a person sees. Nothing here changes the game.
#pragma once

#include "engine/movie.h"
#include "script/stage_rect.h"
#include "script/value.h"

namespace qn {

Value engineObjectOf(Movie& movie);
// The engine's pList.mode as a symbol number; 0 before the engine exists.
SymbolNumber gameModeOf(Movie& movie);
// The centre of the rect the sprite in `channel` covers now, in stage pixels.
IntPoint centreOfSprite(Movie& movie, int32_t channel);
int32_t memberInChannel(Movie& movie, int32_t channel);

}  // namespace qn
