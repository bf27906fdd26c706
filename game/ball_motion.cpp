#include "game/ball_motion.h"

#include "game/engine_script.h"

namespace qn::game {

void rollTargetBall(EngineScript& e) { e.setMode(s::initPlayer); }
void rollBalls(EngineScript& e) { e.setMode(s::showResult); }
void heightAndBounce(EngineScript&, const Object&) {}

}  // namespace qn::game
