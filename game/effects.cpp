#include "game/effects.h"

namespace qn::game {

void runEffects(EngineScript&) {}
void addStar(EngineScript&, int32_t, const Value&, int32_t) {}
void makecloud(EngineScript&, const Object&) {}
void makeFloorFX(EngineScript&, int32_t, int32_t) {}
void startFaultEffect(EngineScript&, const Object&) {}

}  // namespace qn::game
