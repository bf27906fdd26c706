// The worm that digs through the field, comes out, inches sideways and digs in again.
#pragma once

#include "game/rules.h"

namespace qn::game {

class EngineScript;

// #Init: the worm dug in at a new random place.
void resetWorm(EngineScript& e);
// One frame of the worm.
void runWorm(EngineScript& e);
// A ball on the ground whose collision ellipse meets the worm hits it.
void wormCheck(EngineScript& e, const Object& ball);
// The worm tapped: it laughs.
void wormTapped();

}  // namespace qn::game
