#include "game/effects.h"

namespace qn::game {

void runEffects(EngineScript&) {}
void addStar(EngineScript&, int32_t, const Value&, int32_t) {}

}  // namespace qn::game
