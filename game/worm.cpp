#include "game/worm.h"

namespace qn::game {

void resetWorm(EngineScript&) {}
void runWorm(EngineScript&) {}
void wormTapped() {}

}  // namespace qn::game
