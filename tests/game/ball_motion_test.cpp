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
    ASSERT_TRUE(game.startAloneToFirstTurn());
    Value engine = game.engineObject();
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

// A ball started by hand at `from` with velocity `speed`, on the ground, in a game whose balls roll.
void rollFrom(GameHarness& game, int32_t index, double fromX, double fromY, double speedX, double speedY) {
  game.engine(s::pList).setProperty(s::mode, s::rollBall);
  const Value rolling = ball(game, index);
  rolling.setProperty(s::pos, makeFloatPoint(fromX, fromY));
  rolling.setProperty(s::speed, makeFloatPoint(speedX, speedY));
  rolling.setProperty(s::deltaz, Value(0));
}

struct Edge {
  const char* name;
  double x, y, speedX, speedY;
};
// Just beyond the left and right edges, drifting out and slow enough to stop at once; and just
// under the top edge, moving up, so that the next step takes it past y = -2.
constexpr Edge kEdges[] = {{"left", -5, 100, -0.1, 0}, {"right", 245, 100, 0.1, 0}, {"top", 120, -1.9, 0, -1}};

// A player's ball that stops beyond an edge is lost: taken off with a splash on sound channel 4.
TEST(BallMotion, APlayersBallThatStopsBeyondAnEdgeIsLost) {
  for (const Edge& edge : kEdges) {
    SCOPED_TRACE(edge.name);
    GameHarness game;
    ASSERT_TRUE(game.startAloneToFirstTurn());
    ASSERT_EQ(game.engine(s::pBallList).count(), 2);
    rollFrom(game, 2, edge.x, edge.y, edge.speedX, edge.speedY);
    game.frame();
    EXPECT_EQ(game.engine(s::pBallList).count(), 1) << "only the target ball is left";
    EXPECT_TRUE(game.movie().soundBusy(sound::buttons));
    ASSERT_EQ(game.told().removed.size(), 1u);
    EXPECT_EQ(game.told().removed[0].why, Removal::lost);
    EXPECT_EQ(game.told().removed[0].ball.player, 1);
  }
}

// The target ball is never lost: stopping beyond an edge, it is pushed back in at 1 to 3.5 pixels
// a frame (random(10) * 0.1 + random(3) - 0.5, at least 1) and comes to rest on the field.
TEST(BallMotion, TheTargetBallThatStopsBeyondAnEdgeIsPushedBackIn) {
  for (const Edge& edge : kEdges) {
    SCOPED_TRACE(edge.name);
    GameHarness game;
    ASSERT_TRUE(game.startAloneToFirstTurn());
    rollFrom(game, 1, edge.x, edge.y, edge.speedX, edge.speedY);
    game.frame();
    const Value push = ball(game, 1).getProperty(s::speed);
    const double inwards = edge.speedY != 0 ? y(push) : edge.speedX < 0 ? x(push) : -x(push);
    EXPECT_GE(inwards, 1.0);
    EXPECT_LE(inwards, 3.5);
    EXPECT_EQ(edge.speedY != 0 ? x(push) : y(push), 0.0);
    EXPECT_EQ(game.engine(s::lAllBallStill).toInteger(), 0) << "the balls do not rest yet";
    for (int frame = 0; frame < 200 && !(x(ball(game, 1).getProperty(s::speed)) == 0 && y(ball(game, 1).getProperty(s::speed)) == 0); ++frame)
      game.frame();
    const Value rest = ball(game, 1).getProperty(s::pos);
    EXPECT_TRUE(x(rest) >= 0 && x(rest) <= 240 && y(rest) >= 0) << rest.toString();
    EXPECT_TRUE(ball(game, 1).getProperty(s::typ) == s::white);
  }
}

}  // namespace
}  // namespace qn::game::testing
