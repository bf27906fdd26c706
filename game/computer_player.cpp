#include "game/computer_player.h"

#include "game/engine_script.h"
#include "game/thrower.h"

namespace qn::game {

void computerWalksAndAims(EngineScript& e) { startSwing(e); }
void computerReleases(EngineScript& e) { releasePower(e); }

}  // namespace qn::game
