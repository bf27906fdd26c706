// Measuring after every throw: each player's best distance to the target ball, the leader, the
// mini-map, today's record and the distance lines.
#pragma once

namespace qn::game {

class EngineScript;

void showResult(EngineScript& e);  // #showResult

}  // namespace qn::game
