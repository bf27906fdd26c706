// The top view a person opens while aiming, and closes again.
#include <gtest/gtest.h>

#include "tests/game/game_harness.h"

namespace qn::game::testing {
namespace {

TEST(TopView, OpensOnlyWhileAimingAndClosesBackToAiming) {
  GameHarness game;
  game.startGameWith({member::human, member::notPlaying});
  ASSERT_TRUE(game.runUntilMode(s::setRot, 600));
  game.tapChannel(ch::topViewButton);
  ASSERT_TRUE(game.mode() == s::showMap);
  EXPECT_EQ(game.spriteProperty(ch::topView, sym::memberNum).toInteger(), member::topViewMap);
  for (int32_t hidden : {ch::ballPool.first, ch::mudSplashes.first, ch::banner, ch::turnText, ch::worm,
                         ch::aimingArrow, ch::leaderMarker, ch::powerButton, ch::powerGlow})
    EXPECT_FALSE(game.movie().channelVisible(hidden)) << hidden;
  EXPECT_EQ(game.spriteProperty(ch::topViewButton, sym::locH).toInteger(), -200);
  EXPECT_EQ(game.spriteProperty(ch::backToMenu, sym::locH).toInteger(), -200);
  EXPECT_EQ(game.spriteProperty(ch::resultNames.first, sym::locH).toInteger(), 18);
  EXPECT_EQ(game.spriteProperty(ch::distances.first, sym::locH).toInteger(), 61);
  game.frames(30);
  EXPECT_TRUE(game.mode() == s::showMap) << "nothing steps under the map";

  game.tapChannel(ch::topView);
  ASSERT_TRUE(game.mode() == s::setRot);
  EXPECT_EQ(game.spriteProperty(ch::topView, sym::memberNum).toInteger(), member::fieldPicture);
  for (int32_t shown : {ch::ballPool.first, ch::banner, ch::aimingArrow, ch::powerButton})
    EXPECT_TRUE(game.movie().channelVisible(shown)) << shown;
  EXPECT_EQ(game.spriteProperty(ch::topViewButton, sym::locH).toInteger(), 22);
  EXPECT_EQ(game.spriteProperty(ch::backToMenu, sym::locH).toInteger(), 20);
  EXPECT_EQ(game.spriteProperty(ch::resultNames.first, sym::locH).toInteger(), 500);

  game.tapChannel(ch::topView);  // a click on the field while aiming is no top view button
  EXPECT_TRUE(game.mode() == s::setRot);
}

}  // namespace
}  // namespace qn::game::testing
