#include "game/event_records.h"

#include "game/engine_script.h"
#include "game/game_flow.h"
#include "game/results.h"

namespace qn::game {

PlayerShown playerShown(EngineScript& e, int32_t index) {
  Object player = e.playerAt(index);
  return {index, player[s::player].toInteger(), stringOf(playerName(index)), player[s::ai].toInteger() != 0};
}

BallPlace placeOf(const Object& ball) { return {ball[s::player].toInteger(), ball[s::pos].get().duplicate()}; }

std::vector<BallPlace> ballsOnField(EngineScript& e) {
  std::vector<BallPlace> balls;
  for (int32_t k = 1; k <= countOf(e[s::pBallList]); ++k) balls.push_back(placeOf(e.ballAt(k)));
  return balls;
}

std::vector<Value> distancesShown(EngineScript& e) {
  std::vector<Value> distances;
  for (int32_t index = 1; index <= countOf(e[s::playerList]); ++index) distances.push_back(distanceShown(index));
  return distances;
}

ThrowReleased releaseOf(const Object& ball, PlayerShown thrower) {
  ThrowReleased release;
  release.thrower = std::move(thrower);
  release.from = ball[s::pos].get().duplicate();
  release.speed = ball[s::speed].get().duplicate();
  release.height = ball[s::deltaz];
  release.zspeed = ball[s::zspeed].toFloat();
  return release;
}

}  // namespace qn::game
