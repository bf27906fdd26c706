// Aiming and throwing as a person does it, checked against the rules worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/game/game_harness.h"

namespace qn::game::testing {
namespace {

constexpr int32_t kUp = 126, kRight = 124;

double number(const Value& value) { return value.toFloat(); }
Value thrownBall(GameHarness& game) {
  const Value balls = game.engine(s::pBallList);
  return balls.item(balls.count());
}

void press(GameHarness& game, int32_t key) {
  game.holdKey(key);
  game.frame();
  game.releaseKey(key);
  game.frame();
}

// A single person's game up to the first turn in #setRot.
void firstTurn(GameHarness& game) {
  ASSERT_TRUE(game.startGameWith({member::human, member::notPlaying}));
  ASSERT_TRUE(game.runUntilMode(s::setRot, 400));
}

TEST(Throwing, TheThrowerWalksFasterWhileTheKeyIsHeldAndSlowsToAStop) {
  GameHarness game;
  firstTurn(game);
  game.holdKey(kRight);
  game.frames(5);  // xSpeed 0.4, 0.8, 1.2, 1.6, 2.0
  EXPECT_NEAR(number(game.pList(s::xSpeed)), 2.0, 1e-9);
  EXPECT_NEAR(number(game.pList(s::manPos).getProperty(sym::locH)), 126.0, 1e-4);
  EXPECT_NEAR(number(game.pList(s::extraRot)), -24.0 * 6 / 216, 1e-4);
  game.releaseKey(kRight);
  game.frames(3);  // slows by 0.68: 1.32, 0.64, then stops
  EXPECT_EQ(number(game.pList(s::xSpeed)), 0.0);
  EXPECT_NEAR(number(game.pList(s::manPos).getProperty(sym::locH)), 127.96, 1e-4);

  game.holdKey(kRight);
  game.frames(40);
  EXPECT_EQ(number(game.pList(s::manPos).getProperty(sym::locH)), 230.0) << "the right edge of the walk";
}

TEST(Throwing, AReleaseOnTheWayBackIsFeebleFallsShortAndEveryBallLostMeansNoBalls) {
  GameHarness game;
  firstTurn(game);
  for (int ball = 1; ball <= 3; ++ball) {
    ASSERT_TRUE(game.runUntilMode(s::setRot, 600)) << ball;
    press(game, kUp);
    ASSERT_TRUE(game.mode() == s::setpower) << game.mode().toString() << " ball " << ball;
    while (number(thrownBall(game).getProperty(s::rotspeed)) > 0) game.frame();
    game.frames(3);
    press(game, kUp);
    ASSERT_TRUE(game.mode() == s::rollBall);
    const Value thrown = thrownBall(game);
    // E = 10: kracht 10 or, four times in five, 10 * 460 / 480; zspeed 36 * 10 / 70.
    const double kracht = number(thrown.getProperty(s::kracht));
    EXPECT_TRUE(kracht == 10.0 || std::abs(kracht - 10.0 * 460 / 480) < 1e-9) << kracht;
    EXPECT_NEAR(number(thrown.getProperty(s::zspeed)) + 1, 36.0 * 10 / 70, 1.0 + 1e-9);
    EXPECT_EQ(number(thrown.getProperty(s::speed).getProperty(sym::locV)), -2.0) << "raised to 2 towards the top";
    ASSERT_TRUE(game.runUntilMode(s::showResult, 600));
    EXPECT_EQ(game.engine(s::pBallList).count(), 1) << "short of the line: a fault, removed";
  }
  ASSERT_TRUE(game.runUntilMode(s::waitMenu, 600));
  EXPECT_EQ(game.fieldText("gameTxt"), "No balls!");
  // The menu comes back by itself 5.7 s after the end.
  const int ended = game.framesRun();
  ASSERT_TRUE(game.runUntilMode(s::waitstart, 400));
  EXPECT_NEAR((game.framesRun() - ended) * GameHarness::kFrameMs, 5700, GameHarness::kFrameMs + 1);
  EXPECT_TRUE(game.movie().channelVisible(ch::startHotSpot));
}

}  // namespace
}  // namespace qn::game::testing
