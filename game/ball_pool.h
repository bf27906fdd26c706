// Ball records and the channels that show them: a ball, its shadow and its collision ellipse take
// three free channels of the pool (a free channel waits off stage, stage_places.h).
#pragma once

#include "game/engine_script.h"
#include "game/rules.h"
#include "game/stage_places.h"

namespace qn::game {

// addBall(kind, player): a new ball record of kind #white or #metal for player index `player`
// (0 for the target ball), appended to pBallList.
void addBall(EngineScript& e, Symbol kind, int32_t player);
// Draws a ball at its position and height: ball, shadow and collision ellipse.
void drawBall(const Object& ball);
// The target ball, as against a player's ball.
inline bool isTargetBall(const Object& ball) { return ball[s::typ].get() == s::white; }
// The first free channel of a range, or 0 when every one is in use.
int32_t freeChannelIn(ChannelRange range);

}  // namespace qn::game
