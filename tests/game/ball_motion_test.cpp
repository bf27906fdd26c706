// Balls in flight and rolling, and two balls meeting, against numbers worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "script/point_object.h"
#include "tests/game/game_harness.h"

namespace qn::game::testing {
namespace {

double number(const Value& value) { return value.toFloat(); }
double x(const Value& point) { return number(point.getProperty(sym::locH)); }
double y(const Value& point) { return number(point.getProperty(sym::locV)); }
Value ball(GameHarness& game, int32_t index) { return game.engine(s::pBallList).item(index); }

// Each landing keeps half of the target ball's bounce and a third of a player's ball's; a
// rolling ball keeps its direction while friction slows it.
TEST(BallMotion, BouncesLoseHalfOrTwoThirdsAndFrictionKeepsTheDirection) {
  GameHarness game;
  ASSERT_TRUE(game.startGameWith({member::human, member::notPlaying}));
  ASSERT_TRUE(game.runUntilMode(s::rollWhite, 200));
  auto watchBounces = [&](int32_t index, double share, Symbol untilMode) {
    int landings = 0;
    double before = number(ball(game, index).getProperty(s::oldzspeed));
    while (!(game.mode() == untilMode) && game.framesRun() < 4000) {
      game.frame();
      const double after = number(ball(game, index).getProperty(s::oldzspeed));
      if (after != before) {
        EXPECT_NEAR(after, before * share, 1e-9);
        ++landings;
      }
      before = after;
    }
    EXPECT_GE(landings, 2);
  };
  watchBounces(1, 0.5, s::initPlayer);

  ASSERT_TRUE(game.runUntilMode(s::setRot, 10));
  game.holdKey(126);
  game.frame();
  game.releaseKey(126);
  game.frames(20);
  game.holdKey(126);
  game.frame();
  game.releaseKey(126);
  game.frame();
  ASSERT_TRUE(game.mode() == s::rollBall);
  double direction = NAN;
  int rollingFrames = 0;
  while (!(game.mode() == s::showResult) && game.framesRun() < 4000) {
    game.frame();
    const Value thrown = ball(game, 2);
    const Value speed = thrown.getProperty(s::speed);
    const bool knocked = thrown.getProperty(s::botsy).toInteger() != 0;
    if (knocked || number(thrown.getProperty(s::deltaz)) != 0 || (x(speed) == 0 && y(speed) == 0)) continue;
    const double now = std::atan2(y(speed), x(speed));
    if (!std::isnan(direction)) {
      EXPECT_NEAR(now, direction, 1e-4) << speed.toString();
    }
    direction = now;
    ++rollingFrames;
  }
  EXPECT_GT(rollingFrames, 5);
}

// r rolls straight up at 4 px a frame into l lying 10 px above it: l takes the whole velocity,
// both are pushed apart by it at their own scale, r keeps 60 % (hitting a ball) or 99 % (hitting
// the target ball), and the pair does not collide again at once.
TEST(BallMotion, ACollisionPassesTheVelocityOnAndPushesTheBallsApart) {
  for (bool targetBall : {false, true}) {
    GameHarness game;
    ASSERT_TRUE(game.startGameWith({member::human, member::notPlaying}));
    ASSERT_TRUE(game.runUntilMode(s::setRot, 400));
    Value engine = game.movie().property(sym::actorList).item(1);
    engine.call(s::addBall, s::metal, 1);
    engine.getProperty(s::pList).setProperty(s::mode, s::showMap);  // nothing but the effects steps
    const int32_t r = 3, l = targetBall ? 1 : 2;
    const Value striker = ball(game, r), struck = ball(game, l);
    striker.setProperty(s::pos, makeFloatPoint(120, 200));
    striker.setProperty(s::speed, makeFloatPoint(0, -4));
    striker.setProperty(s::deltaz, Value(0));
    struck.setProperty(s::pos, makeFloatPoint(120, 190));
    struck.setProperty(s::deltaz, Value(0));
    for (const Value& placed : {striker, struck}) {
      for (Symbol part : {s::spr, s::botsyspr}) {
        game.movie().sprite(placed.getProperty(part).toInteger()).setProperty(sym::loc, makePoint(120, static_cast<int32_t>(y(placed.getProperty(s::pos)))));
        game.movie().sprite(placed.getProperty(part).toInteger()).setProperty(sym::visible, Value(1));
      }
    }
    game.frame();  // the stage files the sprites' new rects

    engine.call(s::checkbotsje, r, l);
    EXPECT_NEAR(y(struck.getProperty(s::speed)), -4, 1e-6);
    EXPECT_NEAR(y(struck.getProperty(s::pos)), 190 - 4 * 0.675, 1e-4);  // s(190) = 0.675
    EXPECT_NEAR(y(striker.getProperty(s::pos)), 200 + 4 * 0.7, 1e-4);   // s(200) = 0.7
    EXPECT_NEAR(y(striker.getProperty(s::speed)), targetBall ? -3.96 : -2.4, 1e-6);
    EXPECT_EQ(x(striker.getProperty(s::speed)), 0);

    engine.call(s::checkbotsje, r, l);  // touching again on the next frame: no collision
    EXPECT_NEAR(y(striker.getProperty(s::speed)), targetBall ? -3.96 : -2.4, 1e-6);
    EXPECT_EQ(striker.getProperty(s::botsing).toInteger(), 0);
  }
}

}  // namespace
}  // namespace qn::game::testing
