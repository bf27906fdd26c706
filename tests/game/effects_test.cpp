// The running effects: stars from the stylus, the fault label, the leader's floor ring.
#include <gtest/gtest.h>

#include "game/ball_pool.h"
#include "game/effects.h"
#include "game/engine_script.h"
#include "script/list_object.h"
#include "script/point_object.h"
#include "script/symbol_prop_list_object.h"
#include "tests/game/game_harness.h"

namespace qn::game::testing {
namespace {

int32_t locH(GameHarness& game, int32_t channel) { return game.spriteProperty(channel, sym::locH).toInteger(); }
int32_t locV(GameHarness& game, int32_t channel) { return game.spriteProperty(channel, sym::locV).toInteger(); }
int32_t effectCount(GameHarness& game) { return game.engine(s::feffect).count(); }

// A ball record of the running game at rest on the ground at `pos`.
Object ballAt(EngineScript& e, Symbol kind, int32_t player, int32_t h, int32_t v) {
  addBall(e, kind, player);
  Object ball = e.ballAt(countOf(e[s::pBallList]));
  ball[s::pos] = makePoint(h, v);
  ball[s::deltaz] = 0;
  drawBall(ball);
  return ball;
}

TEST(Effects, StylusStarsBurstOnReleaseFadeAndFreeTheirChannels) {
  GameHarness game;
  game.tap(200, 60);
  ASSERT_EQ(effectCount(game), 3);
  const int32_t first = ch::stars.first;
  for (int32_t star = first; star < first + 3; ++star) {
    EXPECT_EQ(game.spriteProperty(star, sym::memberNum).toInteger(), member::star);
    EXPECT_EQ(game.spriteProperty(star, sym::locZ).toInteger(), 200000003);
    EXPECT_EQ(game.spriteProperty(star, sym::ink).toInteger(), 8);
    EXPECT_EQ(game.spriteProperty(star, sym::width).toInteger(), 51);
    const int32_t blend = game.spriteProperty(star, sym::blend).toInteger();
    EXPECT_TRUE(blend >= 39 && blend <= 59) << blend;  // 40 + random(20), as the blend level keeps it
    EXPECT_EQ(locH(game, star), 200);
    EXPECT_EQ(locV(game, star), 60);
  }
  game.frame();
  // 120 degrees apart from 0, at 2.05 to 3 pixels a frame.
  EXPECT_TRUE(locH(game, first) >= 202 && locH(game, first) <= 203);
  EXPECT_EQ(locV(game, first), 60);
  EXPECT_LT(locH(game, first + 1), 200);
  EXPECT_GT(locV(game, first + 1), 60);
  EXPECT_LT(locH(game, first + 2), 200);
  EXPECT_LT(locV(game, first + 2), 60);

  game.frames(40);
  EXPECT_EQ(effectCount(game), 0);
  for (int32_t star = first; star < first + 3; ++star) EXPECT_EQ(locH(game, star), offStage::freeH);

  // More stars than star channels: the ones left over are not drawn anywhere else.
  EngineScript& e = *EngineScript::running();
  burstStars(e, member::star, makePoint(100, 100), 100);
  const int32_t channels = ch::stars.last - ch::stars.first + 1;
  ASSERT_EQ(effectCount(game), channels);
  for (int32_t k = 1; k <= channels; ++k)
    EXPECT_TRUE(ch::stars.contains(Object(e[s::feffect].item(k))[s::spr].toInteger()));
}

TEST(Effects, FaultLabelPulsesAndFadesEvenWhenTheFaultSoundNeverEnds) {
  GameHarness game(true);
  EngineScript& e = *EngineScript::running();
  Object ball = ballAt(e, s::white, 0, 230, 318);
  // A device that never plays a block: the fault sound never ends.
  playSound(sound::buttons, "vault");
  ASSERT_TRUE(soundBusy(sound::buttons));
  startFaultEffect(e, ball);
  ASSERT_EQ(effectCount(game), 1);
  const int32_t copy = ch::effectPool.first, label = ch::effectPool.first + 1;
  EXPECT_EQ(game.spriteProperty(copy, sym::memberNum).toInteger(), member::whiteBall);
  EXPECT_EQ(game.spriteProperty(copy, sym::loc), game.spriteProperty(ball[s::spr].toInteger(), sym::loc));
  EXPECT_EQ(game.spriteProperty(label, sym::memberNum).toInteger(), member::fault);
  EXPECT_EQ(locH(game, label), 205) << "kept 35 from the right edge";
  EXPECT_EQ(locV(game, label), 304) << "kept 16 above the bottom";

  game.frame();  // rot 8: the label is 1 + sin 8 = 1.1392 times "afault1" (64 x 31)
  EXPECT_EQ(game.spriteProperty(label, sym::width).toInteger(), 73);
  EXPECT_EQ(game.spriteProperty(label, sym::height).toInteger(), 35);
  game.frames(50);
  EXPECT_TRUE(Object(game.engine(s::feffect).item(1))[s::mode].get() == s::scalefault);
  int frames = 0;
  while (effectCount(game) > 0 && frames < 60 + 30) {
    game.frame();
    ++frames;
  }
  EXPECT_EQ(effectCount(game), 0) << "2 s after it began the fault fades out";
  EXPECT_EQ(locH(game, copy), offStage::freeH);
  EXPECT_EQ(locH(game, label), offStage::freeH);
}

TEST(Effects, FloorRingWidensWhileTheLeaderMarkerComesDownOntoTheBall) {
  GameHarness game;
  EngineScript& e = *EngineScript::running();
  e[s::playerList] = makeList({makeRecord({{s::player, Value(2)}})});
  // At depth 80 the scale is 0.4: the ball is 23 high of its member's 58.
  Object ball = ballAt(e, s::metal, 1, 100, 80);
  Object marker = sprite(ch::leaderMarker);
  marker[sym::loc] = makePoint(100, 0);
  marker[sym::blend] = 100;
  markLeaderOnFloor(e, countOf(e[s::pBallList]), 1);

  EXPECT_EQ(game.engine(s::l1).toInteger(), 1);
  EXPECT_EQ(game.spriteProperty(ch::floorRing, sym::memberNum).toInteger(), 132);
  EXPECT_EQ(game.spriteProperty(ch::floorRing, sym::loc), makePoint(100, 80));
  EXPECT_EQ(game.spriteProperty(ch::floorRing, sym::locZ).toInteger(), 80 + 50 - 1);
  Object effect(game.engine(s::feffect).item(1));
  EXPECT_EQ(effect[s::basew].toInteger(), 13);  // 99 x 23 / 58 = 39, a third
  EXPECT_EQ(effect[s::baseh].toInteger(), 9);   // 70 x 23 / 58 = 28, a third

  game.frames(19);
  EXPECT_EQ(locV(game, ch::leaderMarker), 76);
  const int32_t widthMeanwhile = game.spriteProperty(ch::floorRing, sym::width).toInteger();
  EXPECT_GT(widthMeanwhile, 13);
  game.frame();
  EXPECT_EQ(locV(game, ch::leaderMarker), 80);
  game.frames(30);
  EXPECT_EQ(effectCount(game), 0);
  EXPECT_EQ(locH(game, ch::floorRing), -700);
  EXPECT_GE(game.spriteProperty(ch::leaderMarker, sym::blend).toInteger(), 87);
}

}  // namespace
}  // namespace qn::game::testing
