#include "game/event_records.h"

#include "game/engine_script.h"
#include "game/game_flow.h"
#include "game/results.h"
#include "script/point_object.h"

namespace qn::game {

RuleNumber ruleNumberOf(const Value& number) { return {number.toFloat(), number.is(sym::integer)}; }

FieldPoint fieldPointOf(const Value& point) {
  const PointObject* place = pointOf(point);
  if (place == nullptr) return {};
  return {static_cast<double>(place->floatX()), static_cast<double>(place->floatY())};
}

PlayerShown playerShown(EngineScript& e, int32_t index) {
  Object player = e.playerAt(index);
  return {index, player[s::player].toInteger(), stringOf(playerName(index)), player[s::ai].toInteger() != 0};
}

BallPlace placeOf(const Object& ball) { return {ball[s::player].toInteger(), fieldPointOf(ball[s::pos])}; }

std::vector<BallPlace> ballsOnField(EngineScript& e) {
  std::vector<BallPlace> balls;
  for (int32_t k = 1; k <= countOf(e[s::pBallList]); ++k) balls.push_back(placeOf(e.ballAt(k)));
  return balls;
}

DistancesShown distancesShown(EngineScript& e) {
  DistancesShown distances;
  for (int32_t index = 1; index <= countOf(e[s::playerList]); ++index) {
    const Value distance = distanceShown(index);
    distances.byPlayer.push_back(distance.isVoid() ? std::nullopt : std::optional<double>(distance.toFloat()));
  }
  return distances;
}

ThrowReleased releaseOf(const Object& ball, PlayerShown thrower) {
  ThrowReleased release;
  release.thrower = std::move(thrower);
  release.from = fieldPointOf(ball[s::pos]);
  release.velocity = fieldPointOf(ball[s::speed]);
  release.height = ruleNumberOf(ball[s::deltaz]);
  release.verticalSpeed = ball[s::zspeed].toFloat();
  return release;
}

}  // namespace qn::game
