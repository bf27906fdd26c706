// The records of the game's events (game_observer.h), made from the engine's state the moment a
// rule tells them: plain values, so that an observer holds nothing of the game.
#pragma once

#include <vector>

#include "game/game_observer.h"
#include "game/rules.h"

namespace qn::game {

class EngineScript;

// A number as the rule holds it; a point's coordinates as doubles.
RuleNumber ruleNumberOf(const Value& number);
FieldPoint fieldPointOf(const Value& point);

// Player index `index` as the result list shows them.
PlayerShown playerShown(EngineScript& e, int32_t index);
// A ball record's owner and position.
BallPlace placeOf(const Object& ball);
// Every ball on the field, the target ball first.
std::vector<BallPlace> ballsOnField(EngineScript& e);
// The distance shown for each player of playerList, in its order.
DistancesShown distancesShown(EngineScript& e);
// A ball as its release left it; the caller adds what the release computed.
ThrowReleased releaseOf(const Object& ball, PlayerShown thrower);

}  // namespace qn::game
