#include "game/results.h"

#include <array>
#include <cmath>

#include "game/effects.h"
#include "game/event_records.h"
#include "game/engine_script.h"
#include "game/game_flow.h"
#include "game/field_geometry.h"
#include "game/stage_places.h"

namespace qn::game {
namespace {

constexpr int32_t kBallRadii = 7;         // two balls touch when their centres are this close
constexpr int32_t kMiniMapScale = 3;      // mini-map pixels per weighed field pixel

// N = 1 - s(midY): the weight of a gap at the depth halfway between the two balls.
Value depthWeight(const Object& target, const Object& ball) {
  const Value targetV = target[s::pos][sym::locV], ballV = ball[s::pos][sym::locV];
  const Value midY = targetV + (ballV - targetV) / Value(2);
  return Value(1) - perspective(midY);
}

// Where a ball's icon sits on the mini-map: the map's centre, the target ball just below it, and
// the ball at its weighed offset from the target ball.
Value miniMapSpot(const Object& target, const Object& ball, const Value& weight) {
  const Value offset = makePoint(ball[s::pos][sym::locH].get() - target[s::pos][sym::locH].get(),
                                 ball[s::pos][sym::locV].get() - target[s::pos][sym::locV].get());
  return sprite(ch::miniMap)[sym::loc].get() + makePoint(0, 3) + offset * (Value(kMiniMapScale) * weight);
}

// The player index whose distance is strictly smaller than every other index's (indices without a
// player hold 1500), or 0 when two or more share the smallest.
int32_t strictLeader() {
  Object distances(movie().globals().distances);
  for (int32_t index = 1; index <= kPlayerSlots; ++index) {
    const Value own = distances[distanceKey(index)];
    bool leads = true;
    for (int32_t other = 1; other <= kPlayerSlots && leads; ++other)
      if (other != index && !(own < distances[distanceKey(other)].get())) leads = false;
    if (leads) return index;
  }
  return 0;
}

// Today's record improves only: a distance and name when it beats it.
bool improveTodaysRecord(EngineScript& e, const Value& name, const Value& distance) {
  if (!(distance < e[s::ftoday])) return false;
  e[s::ftoday] = distance;
  field("closestName") = joined({name, ": ", distance, " cm"});
  return true;
}

void keepTodaysRecord(EngineScript& e, int32_t leader, const Value& distance) {
  const Value name = playerName(leader);
  if (improveTodaysRecord(e, name, distance))
    observers().tell(&GameObserver::todaysRecordImproved, [&] { return TodaysRecord{stringOf(name), distance.toFloat()}; });
}

// The leader marker over the leader's best ball, at the top edge: the #floorScale effect lowers it.
void placeLeaderMarker(EngineScript& e, int32_t leader, const Object& bestBall) {
  Object marker = sprite(ch::leaderMarker);
  marker[sym::memberNum] = member::leaderMarkerBase + e.playerAt(leader)[s::player].toInteger();
  marker[sym::loc] = makePoint(bestBall[s::pos][sym::locH].get(), sharedZero);
  const Value scale = perspective(bestBall[s::pos][sym::locV]);
  marker[sym::width] = marker[sym::member][sym::width].get() * scale;
  marker[sym::height] = marker[sym::member][sym::height].get() * scale;
  marker[sym::locZ] = sprite(bestBall[s::spr].toInteger())[sym::locZ].get();
  marker[sym::blend] = 100;
}

}  // namespace

void startTodayFrom(EngineScript& e, const TodaysRecord& record) {
  improveTodaysRecord(e, Value(record.name), Value(record.distance));
}

Value distanceShown(int32_t index) {
  if (index < 1 || index > kPlayerSlots) return Value();
  const Value distance = Object(movie().globals().distances)[distanceKey(index)];
  return distance == Value(kNoDistance) ? Value() : distance;
}

Value measureDistance(const Object& target, const Object& ball) {
  const Value dx = target[s::pos][sym::locH].get() - ball[s::pos][sym::locH].get();
  const Value dy = target[s::pos][sym::locV].get() - ball[s::pos][sym::locV].get();
  const Value gap(std::sqrt((dx * dx + dy * dy).toFloat()));
  const Value distance = depthWeight(target, ball) * gap - Value(kBallRadii);
  if (distance > sharedZero) {
    ball[s::oldNull] = sharedZero;
    return distance;
  }
  // A touching ball draws its distance once. "Not drawn yet" is the integer 0 the record starts
  // with: a draw of exactly 0.0 is kept as well, not drawn again at the next measuring.
  const Value kept = ball[s::oldNull];
  if (!(kept.is(sym::integer) && kept.toInteger() == 0)) return kept;
  const Value drawn = Value(random(1000)) * Value(0.001) - Value(0.001);
  ball[s::oldNull] = drawn;
  return drawn;
}

void showResult(EngineScript& e) {
  Object distances(movie().globals().distances);
  for (int32_t index = 1; index <= kPlayerSlots; ++index) distances[distanceKey(index)] = kNoDistance;
  setAll(ch::miniMapIcons, sym::locH, offStage::iconsH);

  const Object target = e.ballAt(1);
  std::array<int32_t, kPlayerSlots + 1> bestBall{};
  const int32_t players = e[s::pmaxplayer].toInteger();
  for (int32_t index = 1; index <= players; ++index) {
    const int32_t slot = e.playerAt(index)[s::player].toInteger();
    int32_t iconsPlaced = 0;
    for (int32_t k = 2; k <= countOf(e[s::pBallList]); ++k) {
      const Object ball = e.ballAt(k);
      if (ball[s::player].toInteger() != index) continue;
      const Value distance = measureDistance(target, ball);
      if (iconsPlaced < ch::miniMapIconsPerSlot) {
        const int32_t icon = ch::miniMapIcons.first + (slot - 1) * ch::miniMapIconsPerSlot + iconsPlaced++;
        sprite(icon)[sym::loc] = miniMapSpot(target, ball, depthWeight(target, ball));
      }
      if (distance < distances[distanceKey(index)].get()) {
        distances[distanceKey(index)] = distance;
        bestBall[index] = k;
      }
    }
  }

  setAll(ch::leaderBanners, sym::blend, 0);
  e.setLeader(0);
  if (const int32_t leader = strictLeader(); leader != 0) {
    const Value distance = distances[distanceKey(leader)];
    sprite(ch::leaderBannersBase + leader)[sym::blend] = 100;
    e.setLeader(leader);
    markLeaderOnFloor(e, bestBall[leader], leader);
    setAll(ch::leaderLights, sym::blend, 100);
    keepTodaysRecord(e, leader, distance);
    placeLeaderMarker(e, leader, e.ballAt(bestBall[leader]));
  }

  for (int32_t index = 1; index <= players && index <= kPlayerSlots; ++index) {
    const Value distance = distanceShown(index);
    field(fields::distances[index - 1]) = distance.isVoid() ? Value("") : joined({distance, " cm"});
  }
  e.setMode(s::waitplayer);
  observers().tell(&GameObserver::throwSettled,
                   [&] { return ThrowSettled{false, ballsOnField(e), distancesShown(e), e.leader()}; });
}

}  // namespace qn::game
