#include "game/thrower.h"

#include <cmath>
#include <limits>
#include <utility>

#include "game/ball_pool.h"
#include "game/collisions.h"
#include "game/computer_player.h"
#include "game/event_records.h"
#include "game/field_geometry.h"

namespace qn::game {
namespace {

constexpr int32_t kWalkStep = 2;            // the thrower's walk to the target ball's spot
constexpr int32_t kLeftLimit = 10, kRightLimit = 2 * (kMiddle - 5);
constexpr std::pair kNoLimit{std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
constexpr double kSlowing = 1.7;            // xaccel times this when nothing pushes
constexpr int32_t kFadeAfterMs = 2000;      // banner and turn text stay this long
constexpr int32_t kHintAfterMs = 3000;      // the glows hint at the buttons after this idle time
constexpr double kHintBlend = 80 * 0.46875;
constexpr int32_t kBarTurned = 150;          // the returning bar's width as the swing turns
constexpr int32_t kHandReach = 50;           // how far the swing carries the ball from the hand
constexpr double kSwingLift = 40;            // how high the swing lifts the ball at its middle

// The release formulas. The target ball: strength E = random(10) * 0.1 + (random(4) + 2) scaled
// by 350 / 400; force kracht = 42 + E + the side correction; it rises at 4 E. A player's ball:
// E = 40 + 15 * zrot / 180 + the side correction when released on the upswing, 10 on the way
// back; kracht = E one throw in five, else E * 460 / 480; it rises at 36 E / 70. Both leave the
// hand at kracht percent of 12 pixels a frame.
//
// x * numerator / denominator, rounded in that order as the rules compute it.
struct Share {
  double numerator, denominator;
  double of(double x) const { return x * numerator / denominator; }
};
constexpr Share kTargetBallStrength{350, 400};
constexpr double kTargetBallBaseForce = 42, kTargetBallRise = 4.0;
constexpr double kSwingBaseStrength = 40, kSwingStrengthGain = 15, kFeebleStrength = 10;
constexpr int32_t kFullForceChance = 5;
constexpr Share kReducedForce{460, 480};
constexpr double kRiseAtFullStrength = 36.0, kFullStrength = 70;
constexpr double kSideCorrection = 4.5;     // degrees of lean for one more point of strength
constexpr double kSlowestClimb = 2;         // a ball thrown flatter climbs at least this fast
constexpr double kFullForceSpeed = 12;      // pixels a frame at kracht 100

// Leaning out to the side takes more strength: |extraRot| / 4.5.
double sideCorrection(double extraRot) { return std::abs(extraRot) / kSideCorrection; }

// A throw's velocity: kracht percent of the full-force speed along `direction`.
std::pair<double, double> throwVelocity(double direction, double kracht) {
  return {cosDegrees(direction) * kracht / 100 * kFullForceSpeed, sinDegrees(direction) * kracht / 100 * kFullForceSpeed};
}

// Where the swing carries the ball from the point `at`: zrot / 180 of the hand's reach along
// the aiming direction.
std::pair<double, double> swungFrom(const Value& at, double zrot, double direction) {
  const double reach = zrot / 180 * kHandReach;
  return {xOf(at) + reach * cosDegrees(direction), yOf(at) + reach * sinDegrees(direction)};
}

// The ball's height in the hand: deltaz less the swing's lift, at the thrower's scale.
double heightInHand(const Object& ball, const Object& pList) {
  return (ball[s::deltaz].toFloat() - kSwingLift * sinDegrees(ball[s::zrot].toFloat())) *
         perspectiveAt(yOf(pList[s::manPos]));
}

// The direction the arrow points: rot + extraRot + wobble.
double aimDirection(Object pList) {
  return pList[s::rot].toFloat() + pList[s::extraRot].toFloat() + pList[s::wobble].toFloat();
}

// extraRot follows the thrower's place: the arrow leans towards the middle.
void leanTowardsMiddle(Object pList) {
  pList[s::extraRot] = Value((-24 * (pList[s::manPos][sym::locH].toFloat() - kMiddle)) / 216);
}

}  // namespace

void walkThrower(Object pList, int32_t lowLimit, int32_t highLimit) {
  const double to = pList[s::manPos][sym::locH].toFloat() + pList[s::xSpeed].toFloat();
  if (to > lowLimit && to < highLimit) {
    pList[s::manPos][sym::locH] = Value(to);
    leanTowardsMiddle(pList);
  } else {
    pList[s::xSpeed] = sharedZero;
    pList[s::manPos][sym::locH] = to <= lowLimit ? lowLimit : highLimit;
  }
}

namespace {

// #manLeft and #manRight: xSpeed grows towards the side, at most maxXspeed.
void pushThrower(Object pList, int32_t side) {
  const double limit = pList[s::maxXspeed].toFloat();
  const double speed = std::clamp(pList[s::xSpeed].toFloat() + side * pList[s::xaccel].toFloat(), -limit, limit);
  pList[s::xSpeed] = Value(speed);
  walkThrower(pList, side < 0 ? kLeftLimit : kNoLimit.first, side > 0 ? kRightLimit : kNoLimit.second);
}

// Nobody pushes: the thrower slows down and stops.
void slowDown(Object pList) {
  const double speed = pList[s::xSpeed].toFloat(), braking = pList[s::xaccel].toFloat() * kSlowing;
  if (speed - braking > 0.5) {
    pList[s::xSpeed] = Value(speed - braking);
    walkThrower(pList, kNoLimit.first, kRightLimit);
  } else if (speed + braking < -0.5) {
    pList[s::xSpeed] = Value(speed + braking);
    walkThrower(pList, kLeftLimit, kNoLimit.second);
  } else {
    pList[s::xSpeed] = sharedZero;
  }
}

// A person moves the thrower with the on-screen buttons (buttoncheck) and the arrow keys
// (keycheck); the up arrow acts once per press.
void personMoves(EngineScript& e) {
  Object pList = e.pList();
  bool pushed = false;
  if (stylusDown()) {
    for (int32_t channel = ch::buttons.first; channel <= ch::buttons.last; ++channel) {
      if (!movie().rollover(channel)) continue;
      const Value action = e[s::pButton].item(channel - ch::buttons.first + 1);
      if (action == s::manLeft || action == s::manRight) {
        pushThrower(pList, action == s::manLeft ? -1 : 1);
        pushed = true;
      }
    }
  }
  for (auto [code, side] : {std::pair{key::left, -1}, std::pair{key::right, 1}}) {
    if (!keyHeld(code)) continue;
    pushThrower(pList, side);
    pushed = true;
  }
  if (!pushed) slowDown(pList);
}

// The up arrow acts once per press: it starts the swing in #setRot and releases in #setpower.
void upKeyCheck(EngineScript& e) {
  Object pList = e.pList();
  if (!keyHeld(key::up)) {
    pList[s::clicky2] = sharedZero;
    return;
  }
  if (pList[s::clicky2].toInteger() != 0) return;
  pList[s::clicky2] = sharedOne;
  if (e.inMode(s::setRot)) startSwing(e);
  else if (e.inMode(s::setpower)) releasePower(e);
}

// The ball waiting in the hand, lifted by the swing: zrot carries it round the hand.
void holdBallInHand(EngineScript& e) {
  Object pList = e.pList();
  const int32_t index = countOf(e[s::pBallList]);
  Object ball = e.ballAt(index);
  if (!(ball[s::mode].get() == s::shoot)) return;
  const Value hand = throwerOnScreen(pList[s::manPos]);
  ball[s::pos] = hand;
  const auto [x, y] = swungFrom(hand, ball[s::zrot].toFloat(), aimDirection(pList));
  const int32_t spr = ball[s::spr].toInteger(), shad = ball[s::shad].toInteger();
  sprite(spr)[sym::loc] = pointAt(x, y - heightInHand(ball, pList));
  sprite(shad)[sym::loc] = pointAt(x, y);
  const double scale = perspectiveAt(sprite(shad)[sym::locV].toFloat());
  for (int32_t channel : {spr, shad}) {
    const int32_t width = static_cast<int32_t>(std::lround(sprite(channel)[sym::member][sym::width].toFloat() * scale));
    if (sprite(channel)[sym::width].toInteger() == width) continue;
    sprite(channel)[sym::width] = width;
    sprite(channel)[sym::height] = sprite(channel)[sym::member][sym::height].toFloat() * scale;
  }
  e[s::pball] = Value(index);
}

// Banner and turn text fade away once the turn has been shown long enough.
void fadeTurnTexts(int32_t step) {
  for (int32_t channel : {ch::banner, ch::turnText}) fade(channel, step);
}


// The glows hint at the buttons when a person has done nothing for a while.
void hintGlow(EngineScript& e, ChannelRange glowing) {
  Object pList = e.pList();
  const bool idle = now() > e[s::blinktime].toInteger() + kHintAfterMs && !stylusDown() &&
                    !keyHeld(key::left) && !keyHeld(key::right) &&
                    !keyHeld(key::up);
  if (!idle) {
    for (int32_t glow = glowing.first; glow <= glowing.last; ++glow) fade(glow, 2);
    return;
  }
  e[s::graden] = e[s::graden] + Value(10);
  for (int32_t glow = glowing.first; glow <= glowing.last; ++glow) {
    const double phase = e[s::graden].toFloat() + 60 * (glow - ch::powerGlow);
    sprite(glow)[sym::blend] = Value((sinDegrees(phase) + 1) * kHintBlend);
  }
  if (e[s::graden].toInteger() > 800) {
    e[s::blinktime] = now();
    e[s::graden] = sharedZero;
  }
}

bool isComputer(EngineScript& e) {
  return e.playerAt(e[s::pPlayer].toInteger())[s::ai].toInteger() != 0;
}

}  // namespace

void fadeTurnTextsAfterAWhile(EngineScript& e, int32_t step) {
  if (now() > e.pList()[s::waity].toInteger() + kFadeAfterMs) fadeTurnTexts(step);
}

void placeArrow(EngineScript& e) {
  Object pList = e.pList();
  Object arrow = sprite(pList[s::man].toInteger());
  arrow[sym::rotation] = Value(aimDirection(pList));
  arrow[sym::loc] = throwerOnScreen(pList[s::manPos]);
}

void placeThrowerAndBall(EngineScript& e) {
  Object pList = e.pList();
  sprite(pList[s::man].toInteger())[sym::loc] = throwerOnScreen(pList[s::manPos]);
  Object target = e.ballAt(1);
  target[s::pos] = throwerOnScreen(pList[s::manPos]);
  drawBall(target);
}

void walkToTargetSpot(EngineScript& e) {
  Object pList = e.pList();
  const double at = pList[s::manPos][sym::locH].toFloat(), spot = pList[s::endWhite].toFloat();
  if (at - kWalkStep > spot || at + kWalkStep < spot) {
    pList[s::manPos][sym::locH] = Value(at + (at - kWalkStep > spot ? -kWalkStep : kWalkStep));
    leanTowardsMiddle(pList);
  } else {
    playSound(sound::buttons, "jumpy");
    e.setMode(s::throwWhiteRot);
  }
  Object arrow = sprite(pList[s::man].toInteger());
  arrow[sym::rotation] = Value(pList[s::rot].toFloat() + pList[s::extraRot].toFloat());
  arrow[sym::loc] = throwerOnScreen(pList[s::manPos]);
  placeThrowerAndBall(e);
  fadeTurnTextsAfterAWhile(e, 2);
}

void throwTargetBall(EngineScript& e) {
  Object pList = e.pList(), target = e.ballAt(1);
  const int32_t tenths = random(10);
  const double strength = kTargetBallStrength.of(tenths * 0.1 + (random(4) + 2));
  const double kracht = kTargetBallBaseForce + strength + sideCorrection(pList[s::extraRot].toFloat());
  const double direction = pList[s::rot].toFloat() + pList[s::extraRot].toFloat();
  const auto [vx, vy] = throwVelocity(direction, kracht);
  target[s::kracht] = Value(kracht);
  target[s::speed] = pointAt(vx, vy);
  target[s::zspeed] = Value(strength * kTargetBallRise);
  target[s::oldzspeed] = target[s::zspeed].get();
  target[s::perc] = Value(std::abs(vx) / std::abs(vy));
  e.setMode(s::rollWhite);
  fadeTurnTextsAfterAWhile(e, 2);
  observers().tell(&GameObserver::throwReleased, [&] {
    ThrowReleased release = releaseOf(target, PlayerShown{});
    release.targetBall = true;
    release.strength = strength;
    release.force = kracht;
    release.direction = direction;
    return release;
  });
}

void aim(EngineScript& e) {
  Object pList = e.pList();
  double aimrot = pList[s::aimrot].toFloat() + 5;
  if (aimrot > 360) aimrot -= 360;
  pList[s::aimrot] = Value(aimrot);
  pList[s::wobble] = Value(30 * sinDegrees(aimrot));
  placeArrow(e);

  const bool computer = isComputer(e);
  if (computer) {
    computerWalksAndAims(e);
  } else {
    personMoves(e);
    upKeyCheck(e);
  }
  if (pList[s::xSpeed].toFloat() != 0) {
    if (!soundBusy(sound::footsteps)) playSound(sound::footsteps, "footstep");
  } else {
    stopSound(sound::footsteps);
  }
  holdBallInHand(e);
  fadeTurnTextsAfterAWhile(e, 2);
  if (!computer) hintGlow(e, ch::glows);
}


void startSwing(EngineScript& e) {
  e.setMode(s::setpower);
  show(ch::powerMeterAll);
  hide(ch::walkButtons);
  setAll(ch::walkGlows, sym::blend, 0);
  playSound(sound::buttons, "rotate");
  sprite(e.pList()[s::man].toInteger())[sym::blend] = 50;
}

void releasePower(EngineScript& e) {
  e.setMode(s::initThrow);
  hide(ch::powerButton);
  setAll(ch::glows, sym::blend, 0);
}

void pressPower(EngineScript& e) {
  Object pList = e.pList();
  if (pList[s::clicky].toInteger() != 0) return;
  if (e.inMode(s::setRot)) {
    pList[s::clicky] = sharedOne;
    startSwing(e);
    sprite(ch::topViewButton)[sym::locH] = offStage::buttonsH;
  } else if (e.inMode(s::setpower)) {
    pList[s::clicky] = sharedOne;
    releasePower(e);
  }
}

void swingPower(EngineScript& e) {
  Object pList = e.pList();
  if (soundBusy(sound::footsteps)) stopSound(sound::footsteps);
  sprite(pList[s::man].toInteger())[sym::loc] = throwerOnScreen(pList[s::manPos]);
  for (int32_t glow = ch::walkGlows.first; glow <= ch::walkGlows.last; ++glow) fade(glow, 2);
  const bool computer = isComputer(e);
  if (!computer) hintGlow(e, {ch::powerGlow, ch::powerGlow});

  Object ball = e.ballAt(countOf(e[s::pBallList]));
  const double zrot = ball[s::zrot].toFloat(), rotspeed = ball[s::rotspeed].toFloat();
  if (rotspeed > 0) {
    if (zrot + rotspeed <= 180) {
      ball[s::zrot] = Value(zrot + rotspeed);
      sprite(ch::powerBarUp)[sym::width] = Value((zrot + rotspeed) / 180 * kFullBarWidth);
    } else {
      sprite(ch::powerBarUp)[sym::width] = 0;
      sprite(ch::powerBarDown)[sym::width] = kBarTurned;
      ball[s::rotspeed] = Value(-rotspeed);
    }
  } else if (zrot + rotspeed >= 0) {
    sprite(ch::powerBarDown)[sym::width] = Value(zrot / 180 * kFullBarWidth);
    ball[s::zrot] = Value(zrot + rotspeed);
  } else {
    sprite(ch::powerBarDown)[sym::width] = 0;
    playSound(sound::buttons, "rotate");
    ball[s::rotspeed] = Value(-rotspeed);
  }
  holdBallInHand(e);
  fadeTurnTexts(4);
  if (computer) computerReleases(e);
  else upKeyCheck(e);
}

void releaseBall(EngineScript& e) {
  Object pList = e.pList();
  Object ball = e.ballAt(e[s::pball].toInteger());
  const double zrot = ball[s::zrot].toFloat();
  const bool upswing = ball[s::rotspeed].toFloat() > 0;
  const double strength = upswing ? kSwingBaseStrength + kSwingStrengthGain * zrot / 180 +
                                        sideCorrection(pList[s::extraRot].toFloat())
                                  : kFeebleStrength;
  const double kracht = random(kFullForceChance) == 1 ? strength : kReducedForce.of(strength);
  const double direction = aimDirection(pList);
  auto [vx, vy] = throwVelocity(direction, kracht);
  playSound(sound::throwing, "jumpy");
  ball[s::kracht] = Value(kracht);
  ball[s::zspeed] = Value(kRiseAtFullStrength * (strength / kFullStrength));
  ball[s::oldzspeed] = ball[s::zspeed].get();
  if (std::abs(vy) < kSlowestClimb) vy = -kSlowestClimb;
  ball[s::speed] = pointAt(vx, vy);
  ball[s::perc] = Value(componentRatio(ball[s::speed]));
  const auto [x, y] = swungFrom(ball[s::pos], zrot, direction);
  ball[s::pos] = pointAt(x, y);
  ball[s::deltaz] = Value(heightInHand(ball, pList));
  ball[s::rot] = Value(direction);
  e.setMode(s::rollBall);
  observers().tell(&GameObserver::throwReleased, [&] {
    ThrowReleased release = releaseOf(ball, playerShown(e, ball[s::player].toInteger()));
    release.strength = strength;
    release.force = kracht;
    release.direction = direction;
    release.upswing = upswing;
    return release;
  });
}

}  // namespace qn::game
