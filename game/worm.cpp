#include "game/worm.h"

#include <algorithm>

#include "game/ball_pool.h"
#include "game/engine_script.h"
#include "game/field_geometry.h"
#include "game/stage_places.h"

namespace qn::game {
namespace {

constexpr int32_t kComeOutChance = 400, kTurnChance = 150, kDigInChance = 400;
constexpr int32_t kDigFrameTime = 5;     // frames each picture of digging shows
constexpr int32_t kPushFrom = 175;       // from this picture on the worm pushes forward
constexpr double kTurnStep = 2.0;        // degrees a frame towards the new direction
constexpr int32_t kDepthLocZ = 100;
constexpr const char* kLaughs[] = {"lach1", "lach2", "lach3"};

// The worm's picture. A picture number without a member gives the channel another kind of sprite,
// so the channel's sprite is looked up again after every change.
int32_t picture() { return sprite(ch::worm)[sym::memberNum].toInteger(); }
void showPicture(int32_t number) { sprite(ch::worm)[sym::memberNum] = number; }

// The worm's channel at its position, sized by the perspective of its depth.
void placeWorm(const Object& wurm) {
  const Value y = wurm[s::pos][sym::locV];
  const Value scale = perspective(y);
  Object picture = sprite(ch::worm);
  picture[sym::loc] = wurm[s::pos];
  picture[sym::width] = picture[sym::member][sym::width].get() * scale;
  picture[sym::height] = picture[sym::member][sym::height].get() * scale;
  picture[sym::locZ] = y + Value(kDepthLocZ);
}

// A dug-in worm comes out now and then, somewhere on the field.
void comeOutSometimes(const Object& wurm) {
  if (random(kComeOutChance) != 1) return;
  wurm[s::mode] = s::digOut;
  const int32_t h = random(2 * (kMiddle - 10));
  const int32_t v = random(150);
  wurm[s::pos] = makePoint(h, v);
  showPicture(member::wormFirst);
  sprite(ch::worm)[sym::flipH] = 0;
  sprite(ch::worm)[sym::rotation] = 0;
  placeWorm(wurm);
}

// Digging shows each picture for five frames: out runs them forwards into the walk, in runs them
// backwards down to the dug-in picture.
bool nextDigPicture(const Object& wurm) {
  wurm[s::frm] += 1;
  if (wurm[s::frm].toInteger() < kDigFrameTime) return false;
  wurm[s::frm] = 0;
  return true;
}

void digOut(const Object& wurm) {
  if (nextDigPicture(wurm)) {
    if (picture() + 1 > wurm[s::anim][sym::locH].toInteger()) wurm[s::mode] = s::walk;
    else showPicture(picture() + 1);
  }
  placeWorm(wurm);
}

void digIn(const Object& wurm) {
  if (nextDigPicture(wurm)) {
    showPicture(picture() - 1);
    if (picture() <= member::wormFirst) wurm[s::mode] = s::diggedIn;
  }
  placeWorm(wurm);
}

// A new direction: half the time to the left, otherwise to the right (just above or just below
// straight right).
int32_t newDirection() {
  if (random(2) == 1) return 155 + random(50);
  if (random(2) == 1) return -25 + random(50);
  return 335 + random(50);
}

void animateWalk(const Object& wurm) {
  wurm[s::frm] += 1;
  if (wurm[s::frm].toInteger() < wurm[s::maxfrm].toInteger()) return;
  wurm[s::frm] = 0;
  const int32_t next = picture() + 1;
  showPicture(next > wurm[s::anim][sym::locV].toInteger() ? wurm[s::anim][sym::locH].toInteger() : next);
}

void turnTowardsDirection(const Object& wurm) {
  const double rot = wurm[s::rot].toFloat(), erot = wurm[s::erot].toFloat();
  wurm[s::rot] = Value(rot + std::clamp(erot - rot, -kTurnStep, kTurnStep));
}

// Like an inchworm: it slows while gathering up and speeds up while stretching out.
void inch(const Object& wurm) {
  const Value speed = wurm[s::speed], accel = wurm[s::accel];
  if (picture() < kPushFrom) {
    const Value slower = speed - accel / Value(2);
    wurm[s::speed] = slower < sharedZero ? sharedZero : slower;
  } else {
    const Value faster = speed + accel;
    wurm[s::speed] = faster > wurm[s::maxspeed].get() ? wurm[s::maxspeed].get() : faster;
  }
}

void walk(const Object& wurm) {
  animateWalk(wurm);
  if (random(kTurnChance) == 1) wurm[s::erot] = newDirection();
  turnTowardsDirection(wurm);
  inch(wurm);
  // It only moves sideways.
  const double velocityH = cosDegrees(wurm[s::rot].toFloat()) * wurm[s::speed].toFloat();
  const int32_t wholeH = Value(velocityH).toInteger();
  if (wholeH >= 1) sprite(ch::worm)[sym::flipH] = 1;
  else if (wholeH < 0) sprite(ch::worm)[sym::flipH] = 0;
  const Value scale = perspective(wurm[s::pos][sym::locV]);
  wurm[s::pos] = wurm[s::pos].get() + pointAt(velocityH, 0) * scale;
  placeWorm(wurm);
  if (random(kDigInChance) != 1) return;
  if (velocityH < 0) sprite(ch::worm)[sym::flipH] = 1;
  wurm[s::mode] = s::digIn;
}

struct WormRule {
  Symbol mode;
  void (*run)(const Object& wurm);
};
constexpr WormRule kWormRules[] = {
    {s::diggedIn, comeOutSometimes}, {s::digOut, digOut}, {s::walk, walk}, {s::digIn, digIn}};

}  // namespace

void resetWorm(EngineScript& e) {
  Object wurm(e[s::wurm]);
  sprite(ch::worm)[sym::rotation] = 0;
  const int32_t h = random(2 * kMiddle);
  const int32_t v = random(150);
  wurm[s::pos] = makePoint(h, v);
  showPicture(member::wormFirst);
  wurm[s::mode] = s::diggedIn;
  sprite(ch::worm)[sym::locH] = offStage::fadedH;
}

void runWorm(EngineScript& e) {
  // It rests while the menu or the set-up screen is shown.
  if (e.inMode(s::waitstart) || e.inMode(s::setupPlayers)) return;
  Object wurm(e[s::wurm]);
  const SymbolNumber mode = symbolOf(wurm[s::mode]);
  for (const WormRule& rule : kWormRules)
    if (rule.mode == mode) rule.run(wurm);
}

void wormCheck(EngineScript& e, const Object& ball) {
  if (!spriteChannel(ball[s::botsyspr].toInteger()).intersects(spriteChannel(ch::worm))) return;
  playSound(sound::calls, "buddah");
  int32_t channel = freeChannelIn(ch::mudSplashes);
  if (channel == 0) channel = ch::mudSplashes[random(ch::mudSplashes.last - ch::mudSplashes.first + 1) - 1];
  Object wurm(e[s::wurm]), splash = sprite(channel), worm = sprite(ch::worm);
  const Value scale = perspective(wurm[s::pos][sym::locV]);
  splash[sym::loc] = worm[sym::loc];
  splash[sym::blend] = 40 + random(40);
  splash[sym::flipH] = random(2) - 1;
  splash[sym::width] = splash[sym::member][sym::width].get() * Value(2.4) * scale;
  splash[sym::height] = splash[sym::member][sym::height].get() * Value(1.6) * scale;
  worm[sym::locH] = offStage::fadedH;
  wurm[s::mode] = s::diggedIn;
}

void wormTapped() {
  if (soundBusy(sound::calls)) return;
  playSound(sound::calls, kLaughs[random(3) - 1]);
}

}  // namespace qn::game
