// The small living things on the field: stars, dust clouds, the leader's floor ring and marker,
// the fault label. Each runs as an effect record in feffect until it ends.
#pragma once

#include "game/rules.h"

namespace qn::game {

class EngineScript;

// One frame of every running effect, in list order; ended effects are removed.
void runEffects(EngineScript& e);
// addStar(member, position, count): stars burst from a position.
void burstStars(EngineScript& e, int32_t starMember, const Value& position, int32_t count);
// makecloud: dust clouds from a ball that landed hard.
void raiseDust(EngineScript& e, const Object& ball);
// makeFloorFX(ball index, player index): player index `playerIndex` leads; the leader's floor
// ring under that ball, and its effect.
void markLeaderOnFloor(EngineScript& e, int32_t ballIndex, int32_t playerIndex);
// A ball that came to rest short of the line: its still copy and the pulsing "afault1" label.
void startFaultEffect(EngineScript& e, const Object& ball);

}  // namespace qn::game
