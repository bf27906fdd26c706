// The worm during a person's turn: out of the ground, inching sideways, in again, and hit.
#include <gtest/gtest.h>

#include <cmath>

#include "game/ball_pool.h"
#include "game/engine_script.h"
#include "game/worm.h"
#include "script/point_object.h"
#include "tests/game/game_harness.h"

namespace qn::game::testing {
namespace {

Value wormMode(GameHarness& game) { return game.engine(s::wurm).getProperty(s::mode); }
int32_t wormPicture(GameHarness& game) { return game.spriteProperty(ch::worm, sym::memberNum).toInteger(); }

// Runs frames until the worm is in `mode`; false when `limit` frames passed first.
bool runUntilWorm(GameHarness& game, Symbol mode, int limit) {
  for (int i = 0; i < limit && !(wormMode(game) == mode); ++i) game.frame();
  return wormMode(game) == mode;
}

TEST(Worm, ComesOutInchesSidewaysAndIsHitByABallOnTheGround) {
  GameHarness game;
  game.startGameWith({member::human, member::notPlaying});
  ASSERT_TRUE(game.runUntilMode(s::setRot, 600));
  // One chance in 400 a frame: from randomSeed 100 it comes out within a few thousand frames.
  ASSERT_TRUE(runUntilWorm(game, s::digOut, 6000));
  const Value out = game.engine(s::wurm).getProperty(s::pos);
  const int32_t y = out.getProperty(sym::locV).toInteger();
  EXPECT_TRUE(y >= 1 && y <= 150);
  // Five frames for each picture of digging, 165 (nothing) up to 170, then it walks.
  for (int k = 0; k < 30; ++k) {
    EXPECT_EQ(wormPicture(game), 165 + k / 5) << "frame " << k;
    EXPECT_TRUE(wormMode(game) == s::digOut);
    game.frame();
  }
  EXPECT_TRUE(wormMode(game) == s::walk);

  // Walking: only sideways, pictures 170 to 177, stacked by depth.
  for (int k = 0; k < 200 && wormMode(game) == s::walk; ++k) {
    const double before = game.engine(s::wurm).getProperty(s::pos).getProperty(sym::locH).toFloat();
    game.frame();
    const double moved = game.engine(s::wurm).getProperty(s::pos).getProperty(sym::locH).toFloat() - before;
    if (!(wormMode(game) == s::walk)) break;
    EXPECT_TRUE(wormPicture(game) >= 170 && wormPicture(game) <= 177) << wormPicture(game);
    EXPECT_EQ(game.spriteProperty(ch::worm, sym::locV).toInteger(), y);
    EXPECT_EQ(game.spriteProperty(ch::worm, sym::locZ).toInteger(), y + 100);
    const double scale = (1 + 4 * y / 320.0) / 5;
    const int32_t flipH = game.spriteProperty(ch::worm, sym::flipH).toInteger();
    if (moved >= 1 * scale) {
      EXPECT_EQ(flipH, 1) << "facing right";
    } else if (moved <= -0.5 * scale) {
      EXPECT_EQ(flipH, 0) << "facing left";
    }
  }

  // The worm, out in the middle of the field, and the resting target ball put down on it.
  EngineScript& e = *EngineScript::running();
  Object wurm(e[s::wurm]);
  wurm[s::mode] = s::walk;
  wurm[s::pos] = makePoint(120, 100);
  game.frame();
  Object target = e.ballAt(1);
  target[s::deltaz] = 0;
  sprite(target[s::botsyspr].toInteger())[sym::loc] = sprite(ch::worm)[sym::loc];
  game.frame();
  ASSERT_TRUE(spriteChannel(target[s::botsyspr].toInteger()).intersects(spriteChannel(ch::worm)));
  const int32_t wormV = game.spriteProperty(ch::worm, sym::locV).toInteger();
  wormCheck(e, target);
  const int32_t splash = ch::mudSplashes.first;
  EXPECT_EQ(game.spriteProperty(splash, sym::locV).toInteger(), wormV);
  const double scale = (1 + 4 * wormV / 320.0) / 5;  // "splud" is 22 x 16
  EXPECT_EQ(game.spriteProperty(splash, sym::width).toInteger(), std::lround(22 * 2.4 * scale));
  EXPECT_EQ(game.spriteProperty(splash, sym::height).toInteger(), std::lround(16 * 1.6 * scale));
  const int32_t blend = game.spriteProperty(splash, sym::blend).toInteger();
  EXPECT_TRUE(blend >= 40 && blend <= 79) << blend;
  EXPECT_EQ(game.spriteProperty(ch::worm, sym::locH).toInteger(), -400);
  EXPECT_TRUE(wormMode(game) == s::diggedIn);
}

// A rolling player's ball lands on the walking worm: in #rollBall a ball is drawn, meets the worm
// when it is on the ground, and only then moves in height; so the touch-down frame does not hit
// the worm, the frame after it does.
TEST(Worm, ABallLandingOnTheWormHitsItOnTheFrameAfterItTouchesDown) {
  GameHarness game;
  ASSERT_TRUE(game.startAloneToFirstTurn());
  EngineScript& e = *EngineScript::running();
  Object wurm(e[s::wurm]);
  wurm[s::mode] = s::walk;
  wurm[s::pos] = makePoint(120, 100);
  game.frame();  // the worm stands at (120, 100)

  // The ball in the hand, put one pixel above the worm, falling, drifting slowly up the field.
  Object ball = e.ballAt(2);
  e.setMode(s::showMap);  // a frame in which only the effects run, to show the ball there
  ball[s::pos] = pointAt(120, 100);
  ball[s::deltaz] = 1;
  ball[s::zspeed] = 0;
  drawBall(ball);
  game.frame();
  ASSERT_TRUE(spriteChannel(ball[s::botsyspr].toInteger()).intersects(spriteChannel(ch::worm)));
  e.setMode(s::rollBall);
  ball[s::speed] = pointAt(0, -0.5);
  auto wormHit = [&] { return wormMode(game) == s::diggedIn && game.spriteProperty(ch::worm, sym::locH).toInteger() == -400; };

  game.frame();  // zspeed -1 takes the ball down from 1: it touches down
  EXPECT_EQ(ball[s::deltaz].toFloat(), 0.0);
  EXPECT_FALSE(wormHit()) << "a ball in the air as it was drawn does not meet the worm";
  game.frame();
  EXPECT_TRUE(wormHit()) << "on the ground, it does";
}

}  // namespace
}  // namespace qn::game::testing
