#include "game/ball_pool.h"

#include "game/field_geometry.h"

namespace qn::game {
namespace {

constexpr int32_t kEllipseLocZ = 2250;
constexpr double kShadowFade = 550.0;  // the height at which a shadow has faded out

struct BallKind {
  Symbol kind;
  int32_t ball, shadow, ellipse;  // members; a player's ball adds the owner's slot
  double brake;
};
constexpr BallKind kTargetBall{s::white, member::whiteBall, member::whiteShadow, member::smallEllipse, 0.067};
constexpr BallKind kPlayerBall{s::metal, member::playerBallBase, member::ballShadow, member::largeEllipse, 0.069};

// Takes the first free channel of the pool and marks it taken. The pool holds 51 channels and an
// end at most 13 balls of three channels each, so it never runs dry; should it, the last channel
// of the pool is shared rather than the frame script's channel 0.
int32_t takePoolChannel() {
  int32_t channel = freeChannelIn(ch::ballPool);
  if (channel == 0) channel = ch::ballPool.last;
  sprite(channel)[sym::locH] = offStage::takenH;
  return channel;
}

Value memberSize(int32_t channel, SymbolNumber dimension) { return sprite(channel)[sym::member][dimension]; }

}  // namespace

int32_t freeChannelIn(ChannelRange range) {
  for (int32_t channel = range.first; channel <= range.last; ++channel)
    if (spriteChannel(channel).locH == offStage::freeH) return channel;
  return 0;
}

void addBall(EngineScript& e, Symbol kind, int32_t player) {
  const BallKind& made = kind == s::white ? kTargetBall : kPlayerBall;
  const int32_t slot = player == 0 ? 0 : Object(e[s::playerList].item(player))[s::player].toInteger();
  const int32_t ball = takePoolChannel(), shadow = takePoolChannel(), ellipse = takePoolChannel();
  sprite(ball)[sym::memberNum] = made.ball + slot;
  sprite(shadow)[sym::memberNum] = made.shadow;
  sprite(ellipse)[sym::memberNum] = made.ellipse;
  sprite(ellipse)[sym::locZ] = kEllipseLocZ;
  sprite(ellipse)[sym::blend] = 0;
  sprite(ball)[sym::blend] = 100;
  sprite(shadow)[sym::blend] = 70;
  sprite(shadow)[sym::locZ] = sprite(ball)[sym::locZ].get() - Value(1);
  append(e[s::pBallList], makeRecord({{s::spr, Value(ball)},
                                      {s::kill, sharedZero},
                                      {s::oldNull, sharedZero},
                                      {s::botsing, sharedZero},
                                      {s::shad, Value(shadow)},
                                      {s::botsy, sharedZero},
                                      {s::botsyspr, Value(ellipse)},
                                      {s::deltaz, Value(80)},
                                      {s::rot, sharedZero},
                                      {s::rotspeed, Value(5)},
                                      {s::zrot, sharedZero},
                                      {s::mode, s::shoot},
                                      {s::oldzspeed, sharedZero},
                                      {s::zspeed, sharedZero},
                                      {s::grav, sharedOne},
                                      {s::kracht, sharedZero},
                                      {s::brake, Value(made.brake)},
                                      {s::perc, sharedOne},
                                      {s::speed, makePoint(0, 0)},
                                      {s::pos, makePoint(offStage::newBallH, 0)},
                                      {s::typ, made.kind},
                                      {s::player, Value(player)}}));
}

void drawBall(const Object& ball) {
  const Value pos = ball[s::pos], deltaz = ball[s::deltaz];
  const Value scale = perspective(Object(pos)[sym::locV]);
  const Value locV = Object(pos)[sym::locV];
  const int32_t spr = ball[s::spr].toInteger(), shad = ball[s::shad].toInteger();
  Object picture = sprite(spr), shadow = sprite(shad), ellipse = sprite(ball[s::botsyspr].toInteger());

  picture[sym::loc] = pos - makePoint(Value(0), deltaz * scale);
  picture[sym::width] = memberSize(spr, sym::width) * scale;
  picture[sym::height] = memberSize(spr, sym::height) * scale;
  shadow[sym::loc] = pos;
  for (SymbolNumber dimension : {sym::width, sym::height}) {
    const Value natural = memberSize(shad, dimension) * scale;
    shadow[dimension] = natural - (deltaz / Value(kShadowFade) * natural) / Value(1.6);
  }
  shadow[sym::blend] = Value(70) - Value(50) * deltaz / Value(kShadowFade);
  picture[sym::locZ] = locV + Value(100);
  shadow[sym::locZ] = locV + Value(50);
  const int32_t ellipseChannel = ball[s::botsyspr].toInteger();
  ellipse[sym::loc] = pos;
  ellipse[sym::width] = memberSize(ellipseChannel, sym::width) * scale;
  ellipse[sym::height] = memberSize(ellipseChannel, sym::height) * scale;
}

}  // namespace qn::game
