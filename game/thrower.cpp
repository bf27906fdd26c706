#include "game/thrower.h"

#include "game/rules.h"

namespace qn::game {
void placeThrowerAndBall(EngineScript&) {}
void placeArrow(EngineScript&) {}
void walkToTargetSpot(EngineScript& e) { e.setMode(s::throwWhiteRot); }
void throwTargetBall(EngineScript& e) { e.setMode(s::rollWhite); }
void aim(EngineScript& e) { e.setMode(s::setpower); }
void swingPower(EngineScript& e) { e.setMode(s::initThrow); }
void releaseBall(EngineScript& e) { e.setMode(s::rollBall); }
void pressPower(EngineScript&) {}
void startSwing(EngineScript& e) { e.setMode(s::setpower); }
void releasePower(EngineScript& e) { e.setMode(s::initThrow); }

}  // namespace qn::game
