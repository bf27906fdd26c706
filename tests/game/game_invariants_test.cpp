// The game's invariants: silent through real play, and each one fires on the state it forbids.
#include "game/game_invariants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "script/point_object.h"
#include "script/small_block_pool.h"
#include "tests/game/game_harness.h"

namespace qn::game::testing {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::optional<BrokenInvariant> wayBack(GameHarness& game) {
  return returnToMenu(game.movie(), [&](int32_t channel) { game.tapChannel(channel); }, [&] { game.frame(); });
}

// One person aiming: the target ball at rest, a ball in the hand.
class InvariantsInPlay : public ::testing::Test {
 protected:
  void SetUp() override {
    game.startGameWith({member::human, member::notPlaying});
    ASSERT_TRUE(game.runUntilMode(s::setRot, 600));
    ASSERT_EQ(game.engine(s::pBallList).count(), 2);
    ASSERT_FALSE(brokenInvariant(game.movie()));
  }
  Value ball(int32_t k) { return game.engine(s::pBallList).item(k); }
  std::string brokenRule() {
    std::optional<BrokenInvariant> broken = brokenInvariant(game.movie());
    return broken ? broken->rule : "";
  }

  GameHarness game;
};

TEST(GameInvariants, HoldThroughAThrowAndThePersonsWayBackToTheMenu) {
  GameHarness game;
  ASSERT_EQ(nextTapTowardsMenu(game.movie()), 0);
  game.tapChannel(ch::startHotSpot);
  game.tapChannel(ch::slotKinds[1]);  // the computer leaves: one person plays
  EXPECT_EQ(nextTapTowardsMenu(game.movie()), ch::setupDone);
  game.tapChannel(ch::setupDone);
  ASSERT_TRUE(game.runUntilMode(s::setRot, 600));
  game.tapChannel(ch::topViewButton);
  EXPECT_EQ(nextTapTowardsMenu(game.movie()), ch::topView);
  game.tapChannel(ch::topView);
  EXPECT_EQ(nextTapTowardsMenu(game.movie()), ch::backToMenu);

  game.holdKey(key::up);  // the swing starts, and is let go on the way up
  game.frames(10);
  game.releaseKey(key::up);
  game.frames(5);
  game.holdKey(key::up);
  game.frame();
  game.releaseKey(key::up);
  for (int frame = 0; frame < 400 && !(game.mode() == s::initPlayer); ++frame) {
    game.frame();
    std::optional<BrokenInvariant> broken = brokenInvariant(game.movie());
    ASSERT_FALSE(broken) << broken->rule << ": " << broken->seen;
  }
  game.tapChannel(ch::topViewButton);  // the way back starts in the top view
  ASSERT_TRUE(game.mode() == s::showMap);
  EXPECT_FALSE(wayBack(game));
  EXPECT_TRUE(game.mode() == s::waitstart);
}

TEST_F(InvariantsInPlay, ABallThatIsNotAFiniteNumberBreaksTheFirst) {
  ball(1).setProperty(s::pos, makeFloatPoint(kNaN, 100));
  EXPECT_EQ(brokenRule(), "every ball's position, speed and height are finite numbers");
  ball(1).setProperty(s::pos, makeFloatPoint(100, 100));
  ball(2).setProperty(s::deltaz, Value(std::numeric_limits<double>::infinity()));
  EXPECT_EQ(brokenRule(), "every ball's position, speed and height are finite numbers");
}

TEST_F(InvariantsInPlay, ABallFarBeyondTheStageBreaksTheReach) {
  ball(2).setProperty(s::pos, makeFloatPoint(100, 1000));
  EXPECT_EQ(brokenRule(), "every ball in play lies within the stage's reach");
}

TEST_F(InvariantsInPlay, ABallRestingBeyondAnEdgeMustHaveBeenRemoved) {
  ball(1).setProperty(s::pos, makeFloatPoint(-5, 60));  // the target ball, at rest
  EXPECT_EQ(brokenRule(), "a ball at rest lies on the field or has been removed");
  ball(1).setProperty(s::speed, makeFloatPoint(1, 0));  // on its way back in
  EXPECT_EQ(brokenRule(), "");
}

TEST_F(InvariantsInPlay, AModeNoRuleRunsBreaksTheModes) {
  game.engine(s::pList).setProperty(s::mode, Value(s::ball));
  EXPECT_EQ(brokenRule(), "the mode is one of the game's modes");
  game.engine(s::pList).setProperty(s::mode, Value(3));
  EXPECT_EQ(brokenRule(), "the mode is one of the game's modes");
}

TEST_F(InvariantsInPlay, ThePoolsCellsBeyondTheirBoundBreakIt) {
  std::vector<Value> held;
  while (SmallBlockPool::shared().cellsInUse() <= kMostPoolCells) held.emplace_back(1.5);
  EXPECT_EQ(brokenRule(), "the script pool's cells in use stay bounded");
}

TEST_F(InvariantsInPlay, APoolChannelTwiceOrOutsideThePoolBreaksTheHandOut) {
  ball(2).setProperty(s::shad, ball(1).getProperty(s::spr));
  EXPECT_EQ(brokenRule(), "no channel of the ball pool is handed out twice");
  ball(2).setProperty(s::shad, Value(ch::miniMap));
  EXPECT_EQ(brokenRule(), "no channel of the ball pool is handed out twice");
}

TEST_F(InvariantsInPlay, AHiddenBackToMenuButtonBreaksTheWayBack) {
  game.movie().sprite(ch::backToMenu).setProperty(sym::visible, sharedZero);
  std::optional<BrokenInvariant> broken = wayBack(game);
  ASSERT_TRUE(broken);
  EXPECT_EQ(broken->rule, "a person can always go back to the menu");
  EXPECT_TRUE(game.mode() == s::setRot);
}

}  // namespace
}  // namespace qn::game::testing
