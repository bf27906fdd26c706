#include "game/ball_motion.h"

#include <cmath>
#include <optional>

#include "game/ball_pool.h"
#include "game/collisions.h"
#include "game/effects.h"
#include "game/engine_script.h"
#include "game/event_records.h"
#include "game/field_geometry.h"
#include "game/thrower.h"
#include "game/worm.h"

namespace qn::game {
namespace {

constexpr double kRestingSpeed = 0.3;
constexpr double kFaultLine = 133;      // a ball must pass this line (y) to count
constexpr const char* kThumps[] = {"bam3", "bam2", "bam"};


// pos = pos + speed * s(pos.locV); answers the scale the move used.
double moveInPerspective(const Object& ball) {
  const Value pos = ball[s::pos], speed = ball[s::speed];
  const double scale = perspectiveAt(yOf(pos));
  ball[s::pos] = pointAt(xOf(pos) + xOf(speed) * scale, yOf(pos) + yOf(speed) * scale);
  return scale;
}

// One speed component brought towards 0 by `amount`.
double braked(double component, double amount) { return component > 0 ? component - amount : component + amount; }

// Friction keeps the direction: the larger component loses brake * s, the smaller brake * perc * s.
void rollingFriction(const Object& ball, double scale) {
  const Value speed = ball[s::speed];
  const double brake = ball[s::brake].toFloat() * scale, perc = ball[s::perc].toFloat();
  const double h = xOf(speed), v = yOf(speed);
  if (std::abs(h) < std::abs(v)) ball[s::speed] = pointAt(braked(h, brake * perc), braked(v, brake));
  else ball[s::speed] = pointAt(braked(h, brake), braked(v, brake * perc));
}

// A value from 0.5 to 3.4 by which the resting target ball is pushed back in, at least 1.
double pushBack() {
  const int32_t tenths = random(10);
  return std::max(1.0, tenths * 0.1 + random(3) - 0.5);
}

// A ball has come to rest: the target ball rolls back in from beyond an edge, a player's ball
// beyond an edge is lost, one short of the line is a fault (that rule comes last: a ball both
// beyond a side and short of the line is a fault).
void cameToRest(EngineScript& e, const Object& ball) {
  ball[s::speed] = makePoint(0, 0);
  ball[s::botsy] = sharedZero;
  const Value pos = ball[s::pos];
  const double x = xOf(pos), y = yOf(pos);
  std::optional<Removal> removed;
  if (isTargetBall(ball)) {
    if (y < 0) ball[s::speed] = pointAt(0, pushBack());
    if (x < 0) ball[s::speed] = pointAt(pushBack(), 0);
    if (x > kFieldWidth) ball[s::speed] = pointAt(-pushBack(), 0);
    if (y < 0 || x < 0 || x > kFieldWidth) e[s::lAllBallStill] = sharedZero;
  } else if (y < 0 || x < 0 || x > kFieldWidth) {
    ball[s::kill] = 1;
    playSound(sound::buttons, "plons");
    removed = Removal::lost;
  }
  if (y > kFaultLine && !(ball[s::mode].get() == s::laying)) {
    ball[s::kill] = 1;
    playSound(sound::buttons, "vault");
    sprite(ch::aimingArrow)[sym::blend] = 0;
    setAll(ch::powerMeterAll, sym::blend, 0);
    startFaultEffect(e, ball);
    removed = Removal::fault;
  }
  ball[s::mode] = s::laying;
  if (removed) observers().tell(&GameObserver::ballRemoved, [&] { return BallRemoved{placeOf(ball), *removed}; });
}

bool atRest(const Value& speed) { return xOf(speed) == 0 && yOf(speed) == 0; }

// A ball on the ground meets the worm where they touch.
void meetWormOnTheGround(EngineScript& e, const Object& ball) {
  if (ball[s::deltaz].toFloat() == 0) wormCheck(e, ball);
}

// Gravity, touch-down, and the bounce with its dust and thump.
void heightPhysics(EngineScript& e, const Object& ball) {
  const double zspeed = ball[s::zspeed].toFloat() - ball[s::grav].toFloat();
  ball[s::zspeed] = Value(zspeed);
  const double deltaz = ball[s::deltaz].toFloat();
  if (deltaz + zspeed > 0) {
    ball[s::deltaz] = Value(deltaz + zspeed);
  } else {
    const double oldzspeed = ball[s::oldzspeed].toFloat() / (isTargetBall(ball) ? 2 : 3);
    ball[s::oldzspeed] = Value(oldzspeed);
    ball[s::deltaz] = sharedZero;
    if (oldzspeed > 2) {
      raiseDust(e, ball);
      playSound(sound::landing, kThumps[random(3) - 1]);
    }
    ball[s::zspeed] = Value(oldzspeed);
  }
}

}  // namespace

void heightAndBounce(EngineScript& e, const Object& ball) {
  heightPhysics(e, ball);
  meetWormOnTheGround(e, ball);
}

void rollTargetBall(EngineScript& e) {
  Object target = e.ballAt(1);
  const double scale = moveInPerspective(target);
  const Value speed = target[s::speed];
  const double brake = target[s::brake].toFloat();
  const double h = braked(xOf(speed), brake * target[s::perc].toFloat() * scale);
  if (yOf(speed) + brake < -kRestingSpeed) {
    target[s::speed] = pointAt(h, yOf(speed) + brake * scale);
  } else {
    target[s::speed] = makePoint(0, 0);
    show(ch::turnButtons);
    show(ch::aimingArrow);
    target[s::mode] = s::laying;
    e.setMode(s::initPlayer);
    observers().tell(&GameObserver::throwSettled, [&] { return ThrowSettled{true, ballsOnField(e), {}, 0}; });
  }
  heightAndBounce(e, target);
  drawBall(target);
  fadeTurnTextsAfterAWhile(e, 2);
}

void rollBalls(EngineScript& e) {
  e[s::lAllBallStill] = sharedOne;
  fade(ch::leaderMarker, 5);
  fade(ch::aimingArrow, 8);
  if (sprite(ch::aimingArrow)[sym::blend].toInteger() == 0) sprite(ch::aimingArrow)[sym::locH] = offStage::fadedH;

  for (int32_t i = 1; i <= countOf(e[s::pBallList]); ++i) {
    Object ball = e.ballAt(i);
    if (atRest(ball[s::speed])) continue;
    e[s::lAllBallStill] = sharedZero;
    for (int32_t j = 1; j <= countOf(e[s::pBallList]); ++j) collideBalls(e, i, j);
    const double scale = moveInPerspective(ball);
    rollingFriction(ball, scale);
    const Value speed = ball[s::speed];
    const bool stopped = std::abs(yOf(speed)) < kRestingSpeed && std::abs(xOf(speed)) < kRestingSpeed &&
                         ball[s::deltaz].toFloat() == 0;
    if (stopped || yOf(ball[s::pos]) < -2) cameToRest(e, ball);
    // Drawn where it is, a ball on the ground meets the worm before its height moves on.
    drawBall(ball);
    meetWormOnTheGround(e, ball);
    heightPhysics(e, ball);
    for (int32_t channel = ch::powerMeterAll.first; channel <= ch::powerMeterAll.last; ++channel) fade(channel, 20);
  }
  if (e[s::lAllBallStill].toInteger() == 1 && countOf(e[s::feffect]) == 0) e.setMode(s::showResult);
}

}  // namespace qn::game
