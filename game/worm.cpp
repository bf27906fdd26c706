#include "game/worm.h"

namespace qn::game {

void resetWorm(EngineScript&) {}
void runWorm(EngineScript&) {}
void wormCheck(EngineScript&, const Object&) {}
void wormTapped() {}

}  // namespace qn::game
