// The computer opponent: it walks to its spot, watches an invisible line that turns with the
// aiming arrow until the line crosses the target ball, and releases the power at a width chosen
// from how far away the target ball lies. It uses no other knowledge of the balls.
#pragma once

#include "script/value.h"

namespace qn::game {

class EngineScript;

// endwidth, the power-bar width at which the computer releases, from the target ball's height on
// the screen: the farther up the field it lies, the wider the bar and the stronger the throw. A
// real number, though the sprite's locV is an integer.
Value releaseWidthFor(const Value& targetLocV);

// #setRot, after the arrow's swing: the walk, the line and the choice to start the swing.
void computerWalksAndAims(EngineScript& e);
// #setpower, after the swing's step: the release once bar 200 lies in its window.
void computerReleases(EngineScript& e);

}  // namespace qn::game
