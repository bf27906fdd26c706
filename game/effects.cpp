#include "game/effects.h"

#include <algorithm>
#include <cmath>

#include "game/ball_pool.h"
#include "game/engine_script.h"
#include "game/field_geometry.h"
#include "gfx/ink.h"

namespace qn::game {
namespace {

constexpr int32_t kEffectMaxTime = 2000;     // ms an effect may wait on something outside it
constexpr int32_t kFadedOut = 3;              // a star or cloud below this blend has gone
constexpr int32_t kStarFade = 2, kCloudFade = 2, kRingFade = 2, kFaultFade = 5;
constexpr int32_t kStylusStarLocZ = 200000003;  // above everything, the menu included
constexpr int32_t kCloudLocZ = 23;
constexpr int32_t kMarkerStep = 4;            // the leader marker comes down this far a frame
constexpr int32_t kFaultPulseStep = 8;        // degrees a frame
constexpr int32_t kFaultLabelMargin = 35, kFaultLabelLift = 9, kFaultLabelFloor = 16;

Value memberWidth(const Value& designator) { return castMember(designator)[sym::width]; }
Value memberHeight(const Value& designator) { return castMember(designator)[sym::height]; }

// A velocity of `pace` along `degrees`.
Value alongAngle(const Value& degrees, const Value& pace) {
  const double angle = degrees.toFloat();
  return pointAt(cosDegrees(angle) * pace.toFloat(), sinDegrees(angle) * pace.toFloat());
}

// The record of a star or a cloud in its channel.
Value movingEffect(int32_t channel, Symbol mode, const Value& speed, const Value& pos, const Value& rot) {
  return makeRecord({{s::spr, Value(channel)},
                     {s::mode, mode},
                     {s::kill, sharedZero},
                     {s::speed, speed},
                     {s::pos, pos},
                     {s::telly, sharedZero},
                     {s::rot, rot},
                     {s::maxtime, Value(kEffectMaxTime)},
                     {s::thetime, Value(now())}});
}

// A star or cloud fades by `step` while its blend is 3 or more; after that its channel is free
// again and the effect ends.
void fadeOrEnd(const Object& effect, const Object& picture, int32_t step) {
  if (picture[sym::blend].toInteger() >= kFadedOut) {
    picture[sym::blend] -= step;
    return;
  }
  picture[sym::locH] = offStage::freeH;
  effect[s::kill] = 1;
}

void moveStar(const Object& star) {
  Object picture = sprite(star[s::spr].toInteger());
  star[s::pos] = star[s::pos].get() + star[s::speed].get();
  picture[sym::loc] = star[s::pos];
  fadeOrEnd(star, picture, kStarFade);
}

void driftCloud(const Object& cloud) {
  Object picture = sprite(cloud[s::spr].toInteger());
  const Value scale = perspective(cloud[s::pos][sym::locV]);
  cloud[s::pos] = cloud[s::pos].get() + cloud[s::speed].get() * scale;
  picture[sym::loc] = cloud[s::pos];
  picture[sym::width] = memberWidth(Value(member::cloud)) * scale;
  picture[sym::height] = memberHeight(Value(member::cloud)) * scale;
  fadeOrEnd(cloud, picture, kCloudFade);
}

// The leader marker comes down onto the best ball while the floor ring under it fades and widens.
void scaleFloorRing(const Object& effect) {
  Object marker = sprite(ch::leaderMarker), ring = sprite(ch::floorRing);
  const Value ballV = effect[s::ball][s::pos][sym::locV];
  bool markerArrived = false;
  if (marker[sym::locV].get() + Value(kMarkerStep) < ballV) {
    marker[sym::locV] += kMarkerStep;
  } else {
    marker[sym::locV] = ballV.toInteger();
    markerArrived = true;
  }
  fade(ch::floorRing, kRingFade);
  const Value growth = Value(80) - ring[sym::blend].get();
  ring[sym::width] = effect[s::basew].get() * Value(8) * growth / Value(80);
  ring[sym::height] = effect[s::baseh].get() * Value(8) * growth / Value(80);
  marker[sym::blend] = Value(90) - ring[sym::blend].get();
  if (ring[sym::blend].toInteger() < kFadedOut) {
    ring[sym::locH] = offStage::floorRingH;
    if (markerArrived) effect[s::kill] = 1;
  }
}

// The fault label pulses: rot goes on by 8 degrees, the size follows |sin rot|. Answers |sin rot|.
double pulseFaultLabel(const Object& effect) {
  Value rot = effect[s::rot].get() + Value(kFaultPulseStep);
  if (rot > Value(360)) rot = rot - Value(360);
  effect[s::rot] = rot;
  const double pulse = std::abs(sinDegrees(rot.toFloat()));
  Object label = sprite(effect[s::fault].toInteger());
  label[sym::width] = memberWidth(Value(member::fault)) * Value(1 + pulse);
  label[sym::height] = memberHeight(Value(member::fault)) * Value(1 + pulse);
  return pulse;
}

// The label pulses while the fault sound plays. Without an audio device, or with a sound that
// never ends, the channel may stay busy for good, so the effect also moves on after maxtime.
void pulseFault(const Object& effect) {
  const double pulse = pulseFaultLabel(effect);
  sprite(effect[s::fault].toInteger())[sym::blend] = Value(100 - 80 * pulse);
  const bool waitedLongEnough = now() >= effect[s::thetime].toInteger() + effect[s::maxtime].toInteger();
  if (!soundBusy(sound::buttons) || waitedLongEnough) effect[s::mode] = s::blendout;
}

void fadeFault(const Object& effect) {
  pulseFaultLabel(effect);
  const int32_t copyChannel = effect[s::ball].toInteger(), labelChannel = effect[s::fault].toInteger();
  fade(copyChannel, kFaultFade);
  fade(labelChannel, kFaultFade);
  Object still = sprite(copyChannel), label = sprite(labelChannel);
  if (still[sym::blend].toInteger() != 0) return;
  still[sym::locH] = offStage::freeH;
  label[sym::locH] = offStage::freeH;
  effect[s::kill] = 1;
}

struct EffectRule {
  Symbol mode;
  void (*run)(const Object& effect);
};
constexpr EffectRule kEffectRules[] = {
    {s::mouse, moveStar},     {s::wolkje, driftCloud}, {s::floorScale, scaleFloorRing},
    {s::scalefault, pulseFault}, {s::blendout, fadeFault},
};

void runEffect(const Object& effect) {
  const SymbolNumber mode = symbolOf(effect[s::mode]);
  for (const EffectRule& rule : kEffectRules)
    if (rule.mode == mode) rule.run(effect);
}

// A star's look: the stylus's own stars are bright and full size, the others take the speed of
// the ball being handled.
void styleStylusStar(const Object& picture, int32_t starMember) {
  picture[sym::width] = memberWidth(Value(starMember));
  picture[sym::height] = memberHeight(Value(starMember));
  picture[sym::locZ] = kStylusStarLocZ;
  picture[sym::blend] = 40 + random(20);
  picture[sym::ink] = ink::matte;
}

void styleBallStar(const Object& picture, int32_t starMember, const Object& ball) {
  const Value ballSpeed = ball[s::speed];
  const Value v = Value(std::abs(xOf(ballSpeed)) + std::abs(yOf(ballSpeed)));
  const Value scale = perspective(ball[s::pos][sym::locV]);
  picture[sym::locZ] = sprite(ball[s::spr].toInteger())[sym::locZ].get() + Value(1);
  picture[sym::blend] = Value(10) + Value(70) * v / Value(8);
  const Value growth = (Value(0.1) + v / Value(8)) * scale;
  picture[sym::width] = memberWidth(Value(starMember)) * growth;
  picture[sym::height] = memberHeight(Value(starMember)) * growth;
}

}  // namespace

void runEffects(EngineScript& e) {
  const Value effects = e[s::feffect];
  for (int32_t k = 1; k <= countOf(effects); ++k) runEffect(Object(itemAt(effects, k)));
  for (int32_t k = countOf(effects); k >= 1; --k)
    if (Object(itemAt(effects, k))[s::kill].toInteger() != 0) deleteAt(effects, k);
}

void burstStars(EngineScript& e, int32_t starMember, const Value& position, int32_t count) {
  count = std::max(count, 2);
  const bool stylusStar = starMember == member::star;
  const int32_t handled = e[s::pball].toInteger();
  if (!stylusStar && (handled < 1 || handled > countOf(e[s::pBallList]))) return;
  const Value firstAngle = stylusStar ? sharedZero : Value(random(360));
  const Value apart = Value(360) / Value(count);
  for (int32_t k = 0; k < count; ++k) {
    // With every star channel in use this star is left out; channel 0 is the frame script's.
    const int32_t channel = freeChannelIn(ch::stars);
    if (channel == 0) continue;
    const Value angle = firstAngle + Value(k) * apart;
    Object picture = sprite(channel);
    picture[sym::memberNum] = starMember;
    picture[sym::loc] = position;
    Value speed;
    if (stylusStar) {
      speed = alongAngle(angle, Value(2) + Value(random(20)) * Value(0.05));
      styleStylusStar(picture, starMember);
    } else {
      speed = alongAngle(angle, Value(random(20)) * Value(0.05));
      styleBallStar(picture, starMember, e.ballAt(handled));
    }
    picture[sym::rotation] = random(360);
    append(e[s::feffect], movingEffect(channel, s::mouse, speed, position, angle));
  }
}

void raiseDust(EngineScript& e, const Object& ball) {
  const int32_t n = ball[s::oldzspeed].toInteger();
  // One cloud alone has no neighbour to be spread from.
  const Value step = n > 1 ? Value(360) / Value(n - 1) : sharedZero;
  const Value scale = perspective(ball[s::pos][sym::locV]);
  const Value spread = Value(0.2) + Value(0.1) * Value(n);
  for (int32_t k = 0; k < n; ++k) {
    const int32_t channel = freeChannelIn(ch::dustClouds);
    if (channel == 0) continue;
    const Value rot = Value(k) * step;
    const Value pos = sprite(ball[s::spr].toInteger())[sym::loc];
    Object picture = sprite(channel);
    picture[sym::loc] = pos;
    picture[sym::rotation] = random(360);
    picture[sym::locZ] = kCloudLocZ;
    picture[sym::blend] = 60 + random(40);
    const double degrees = rot.toFloat();
    const double paceH = (spread + Value(0.05) * Value(random(20))).toFloat();
    const double paceV = (spread + Value(0.05) * Value(random(20))).toFloat();
    const Value speed = pointAt(cosDegrees(degrees) * paceH, sinDegrees(degrees) * paceV);
    picture[sym::width] = memberWidth(Value(member::cloud)) * scale;
    picture[sym::height] = memberHeight(Value(member::cloud)) * scale;
    append(e[s::feffect], movingEffect(channel, s::wolkje, speed, pos, rot));
  }
}

void markLeaderOnFloor(EngineScript& e, int32_t ballIndex, int32_t playerIndex) {
  e.setLeader(playerIndex);
  Object ball = e.ballAt(ballIndex);
  Object picture = sprite(ball[s::spr].toInteger()), ring = sprite(ch::floorRing);
  ring[sym::memberNum] = member::floorRingBase + e.playerAt(playerIndex)[s::player].toInteger();
  // The ball's current scale; a member without height shows nothing and gives no ring.
  const double naturalHeight = picture[sym::member][sym::height].toFloat();
  const Value k = Value(naturalHeight > 0 ? picture[sym::height].toFloat() / naturalHeight : 0.0);
  ring[sym::width] = ring[sym::member][sym::width].get() * k;
  ring[sym::height] = ring[sym::member][sym::height].get() * k;
  ring[sym::width] = ring[sym::width].get() / Value(3);
  ring[sym::height] = ring[sym::height].get() / Value(3);
  ring[sym::loc] = picture[sym::loc];
  ring[sym::locZ] = sprite(ball[s::shad].toInteger())[sym::locZ].get() - Value(1);
  ring[sym::ink] = ink::matte;
  ring[sym::blend] = 80;
  playSound(sound::jingles, "bloop1");
  append(e[s::feffect], makeRecord({{s::mode, s::floorScale},
                                    {s::kill, sharedZero},
                                    {s::ball, ball.value()},
                                    {s::basew, ring[sym::width]},
                                    {s::baseh, ring[sym::height]},
                                    {s::telly, sharedZero},
                                    {s::rot, sharedZero},
                                    {s::maxtime, Value(kEffectMaxTime)},
                                    {s::thetime, Value(now())}}));
}

void startFaultEffect(EngineScript& e, const Object& ball) {
  Object picture = sprite(ball[s::spr].toInteger());
  // Both channels are found before either is used: with the pool full there is no effect.
  const int32_t copyChannel = freeChannelIn(ch::effectPool);
  if (copyChannel == 0) return;
  const int32_t labelChannel = freeChannelIn({copyChannel + 1, ch::effectPool.last});
  if (labelChannel == 0) return;

  Object still = sprite(copyChannel);
  still[sym::member] = picture[sym::member];
  still[sym::width] = picture[sym::width];
  still[sym::height] = picture[sym::height];
  still[sym::loc] = picture[sym::loc];
  still[sym::ink] = ink::matte;
  still[sym::blend] = 100;

  Object label = sprite(labelChannel);
  label[sym::memberNum] = member::fault;
  const Value at = picture[sym::loc].get() + makePoint(0, -kFaultLabelLift);
  label[sym::locH] = std::clamp(Object(at)[sym::locH].toInteger(), kFaultLabelMargin, 2 * kMiddle - kFaultLabelMargin);
  label[sym::locV] = std::min(Object(at)[sym::locV].toInteger(), static_cast<int32_t>(kFieldDepth) - kFaultLabelFloor);
  label[sym::ink] = ink::backgroundTransparent;
  label[sym::blend] = 50;

  append(e[s::feffect], makeRecord({{s::mode, s::scalefault},
                                    {s::kill, sharedZero},
                                    {s::ball, Value(copyChannel)},
                                    {s::telly, sharedZero},
                                    {s::rot, sharedZero},
                                    {s::fault, Value(labelChannel)},
                                    {s::maxtime, Value(kEffectMaxTime)},
                                    {s::thetime, Value(now())}}));
}

}  // namespace qn::game
