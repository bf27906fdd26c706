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

TEST(Throwing, TheThrowerWalksFasterWhileTheKeyIsHeldAndSlowsToAStop) {
  GameHarness game;
  ASSERT_TRUE(game.startAloneToFirstTurn());
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
  ASSERT_TRUE(game.startAloneToFirstTurn());
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

// The on-screen buttons as a person's stylus works them: walk right held for five frames, walk
// left for two, then the power button tapped to start the swing and tapped again to release.
TEST(Throwing, TheOnScreenButtonsWalkTheThrowerAndStartAndReleaseThePower) {
  GameHarness game;
  ASSERT_TRUE(game.startAloneToFirstTurn());
  game.touchChannel(ch::walkButtons.last);
  game.frames(5);  // as with the key: xSpeed 0.4 to 2.0, 6 pixels to the right
  EXPECT_NEAR(number(game.pList(s::manPos).getProperty(sym::locH)), 126.0, 1e-4);
  game.lift();
  game.frames(3);  // slows to a stop at 127.96
  game.touchChannel(ch::walkButtons.first);
  game.frames(2);  // -0.4, -0.8: 126.76
  game.lift();
  game.frame();  // -0.8 + 0.68 is no walk: it stops there
  EXPECT_EQ(number(game.pList(s::xSpeed)), 0.0);
  EXPECT_NEAR(number(game.pList(s::manPos).getProperty(sym::locH)), 126.76, 1e-4);

  game.tapChannel(ch::powerButton);  // the swing starts on the release and takes its first step
  ASSERT_TRUE(game.mode() == s::setpower);
  game.frames(16);  // zrot 85
  game.tapChannel(ch::powerButton);  // one more step to 90, then the release
  ASSERT_TRUE(game.mode() == s::rollBall);
  ASSERT_EQ(game.told().throws.size(), 2u) << "the target ball and this one";
  const ThrowReleased& release = game.told().throws.back();
  // strength E = 40 + 15 * 90 / 180 + |extraRot| / 4.5 with extraRot = -24 * 6.76 / 216 = -0.751111.
  EXPECT_NEAR(release.strength, 47.666914, 1e-4);
  EXPECT_TRUE(release.upswing);
  EXPECT_EQ(release.thrower.index, 1);
  EXPECT_EQ(release.thrower.name, "Player One");
  EXPECT_FALSE(release.thrower.computer);
}

}  // namespace
}  // namespace qn::game::testing
