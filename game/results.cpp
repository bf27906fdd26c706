#include "game/results.h"

#include "game/engine_script.h"
#include "game/rules.h"

namespace qn::game {

void showResult(EngineScript& e) { e.setMode(s::waitplayer); }

}  // namespace qn::game
