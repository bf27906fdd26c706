// The computer opponent: it walks to its spot, watches an invisible line that turns with the
// aiming arrow until the line crosses the target ball, and releases the power at a width chosen
// from how far away the target ball lies. It uses no other knowledge of the balls.
#pragma once

namespace qn::game {

class EngineScript;

// #setRot, after the arrow's swing: the walk, the line and the choice to start the swing.
void computerWalksAndAims(EngineScript& e);
// #setpower, after the swing's step: the release once bar 200 lies in its window.
void computerReleases(EngineScript& e);

}  // namespace qn::game
