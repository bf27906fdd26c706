// Balls in flight and rolling: the height and bounce, the perspective motion with friction, the
// stops, faults and losses.
#pragma once

#include "game/rules.h"

namespace qn::game {

class EngineScript;

void rollTargetBall(EngineScript& e);  // #rollWhite
void rollBalls(EngineScript& e);       // #rollBall
// One frame of a flying ball's height (gravity, touch-down, the bounce with its dust and thump),
// then the worm check when the ball is on the ground: the target ball's roll and the winner's
// hopping balls. A player's rolling ball meets the worm first (#rollBall).
void heightAndBounce(EngineScript& e, const Object& ball);

}  // namespace qn::game
