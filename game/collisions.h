// Balls knocking balls: a moving ball passes its velocity on to the ball it meets and the two
// are pushed apart.
#pragma once

#include "game/rules.h"

namespace qn::game {

class EngineScript;

// checkbotsje(r, l): the moving ball r against ball l (indices of pBallList).
void collideBalls(EngineScript& e, int32_t r, int32_t l);
// The ratio of the smaller to the larger speed component (0 for a ball at rest).
double componentRatio(const Value& speed);

}  // namespace qn::game
