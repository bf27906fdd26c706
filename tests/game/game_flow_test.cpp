// The game's flow as a person meets it: the menu's buttons, the set-up screen, the start of an
// end, the turns and the way back to the menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "script/list_object.h"
#include "tests/game/game_harness.h"

namespace qn::game::testing {
namespace {

int32_t locH(GameHarness& game, int32_t channel) { return game.spriteProperty(channel, sym::locH).toInteger(); }
int32_t memberIn(GameHarness& game, int32_t channel) {
  return game.spriteProperty(channel, sym::memberNum).toInteger();
}

TEST(GameFlow, MenuHelpAndStart) {
  GameHarness game;
  EXPECT_TRUE(game.mode() == s::waitstart);
  game.tapChannel(ch::helpHotSpot);
  EXPECT_EQ(locH(game, ch::helpPage), 120);
  game.tapChannel(ch::helpPage);
  EXPECT_EQ(locH(game, ch::helpPage), -800);
  EXPECT_TRUE(game.mode() == s::waitstart);

  game.tapChannel(ch::startHotSpot);
  EXPECT_TRUE(game.mode() == s::setupPlayers);
  EXPECT_TRUE(game.movie().channelVisible(ch::setupDone));
  EXPECT_EQ(game.fieldText("gameTxt"), "GAME START");
  game.tapChannel(ch::helpHotSpot);  // help answers only on the menu
  EXPECT_EQ(locH(game, ch::helpPage), -800);
}

TEST(GameFlow, SlotKindsCycleAndTheLastActiveSlotStaysIn) {
  GameHarness game;
  game.tapChannel(ch::startHotSpot);
  const int32_t slot1 = ch::slotKinds[0], slot2 = ch::slotKinds[1], slot4 = ch::slotKinds[3];
  game.tapChannel(slot1);
  EXPECT_EQ(memberIn(game, slot1), member::computer);
  EXPECT_EQ(game.fieldText("naam1"), "Orvando");
  game.tapChannel(slot1);
  EXPECT_EQ(memberIn(game, slot1), member::notPlaying);
  EXPECT_EQ(game.fieldText("naam1"), "");
  // Slot 2 (the computer "Dael") is now the only active slot: it comes back as a person.
  game.tapChannel(slot2);
  EXPECT_EQ(memberIn(game, slot2), member::human);
  EXPECT_EQ(game.fieldText("naam2"), "Player Two");
  game.tapChannel(slot4);
  EXPECT_EQ(memberIn(game, slot4), member::human);
  EXPECT_EQ(game.fieldText("naam4"), "Player Four");
  game.tapChannel(slot4);
  EXPECT_EQ(game.fieldText("naam4"), "Vessa");
}

TEST(GameFlow, DoneMakesPlayerRecordsInSlotOrderAndARandomStartOrder) {
  for (std::vector<int32_t> kinds : {std::vector<int32_t>{member::human, member::notPlaying},
                                     std::vector<int32_t>{member::human, member::computer},
                                     std::vector<int32_t>{member::computer, member::computer, member::human,
                                                          member::computer},
                                     // the slot that plays is set first, or the last playing slot
                                     // could not be turned off
                                     std::vector<int32_t>{member::notPlaying, member::notPlaying, member::human}}) {
    GameHarness game;
    ASSERT_TRUE(game.startGameWith(kinds));
    ASSERT_TRUE(game.mode() == s::Init || game.mode() == s::init2 || game.mode() == s::setWhiteRot);
    std::vector<int32_t> active;
    for (size_t slot = 0; slot < kinds.size(); ++slot)
      if (kinds[slot] != member::notPlaying) active.push_back(static_cast<int32_t>(slot) + 1);
    const Value players = game.engine(s::playerList);
    ASSERT_EQ(players.count(), static_cast<int32_t>(active.size()));
    EXPECT_EQ(game.engine(s::pmaxplayer).toInteger(), players.count());
    std::vector<int32_t> order;
    for (int32_t index = 1; index <= players.count(); ++index) {
      const Value player = players.item(index);
      const int32_t slot = active[index - 1];
      EXPECT_EQ(player.getProperty(s::player).toInteger(), slot);
      EXPECT_EQ(player.getProperty(s::ai).toInteger(), kinds[slot - 1] == member::computer ? 1 : 0);
      EXPECT_EQ(player.getProperty(s::ball).toInteger(), 3);
      EXPECT_EQ(player.getProperty(s::namespr).toInteger(), ch::resultNamesBase + index);
      EXPECT_EQ(player.getProperty(s::turn).toInteger(), ch::turnMarkersBase + index);
      order.push_back(game.engine(s::startPlayers).item(index).toInteger());
    }
    std::sort(order.begin(), order.end());
    for (int32_t index = 1; index <= players.count(); ++index) EXPECT_EQ(order[index - 1], index);
    EXPECT_EQ(game.spriteProperty(ch::backToMenu, sym::locV).toInteger(), 307);
  }
}

TEST(GameFlow, BackToMenuDuringPlayAndQuitFromTheMenu) {
  GameHarness game;
  ASSERT_TRUE(game.startGameWith({member::human, member::computer}));
  game.frames(5);
  game.tapChannel(ch::backToMenu);
  ASSERT_TRUE(game.runUntilMode(s::waitstart, 3));
  EXPECT_TRUE(game.movie().channelVisible(ch::startHotSpot));
  EXPECT_EQ(game.engine(s::pBallList).count(), 0) << "every ball was removed";
  EXPECT_FALSE(game.movie().stopped());
  game.tapChannel(ch::backToMenu);
  EXPECT_TRUE(game.movie().stopped()) << "the program closes";
}

// After the start order, the player lying farthest from the target ball throws next; on equal
// distances the later one in the player list.
TEST(GameFlow, TheFarthestPlayerThrowsNextAndTheLaterOneOnEqualDistances) {
  GameHarness game;
  ASSERT_TRUE(game.startGameWith({member::human, member::human, member::human}));
  const Value firstOrder = game.engine(s::startPlayers).duplicate();
  int turns = 0;
  const Symbol distanceKeys[] = {s::Dist1, s::Dist2, s::Dist3};
  while (turns < 9) {
    ASSERT_TRUE(game.runUntilMode(s::initPlayer, 800)) << "turn " << turns;
    std::vector<double> farness;
    std::vector<int32_t> ballsLeft;
    for (int32_t index = 1; index <= 3; ++index) {
      farness.push_back(game.globalDistance(distanceKeys[index - 1]));
      ballsLeft.push_back(game.engine(s::playerList).item(index).getProperty(s::ball).toInteger());
    }
    game.frame();
    const int32_t chosen = game.engine(s::pPlayer).toInteger();
    if (turns < 3) {
      EXPECT_EQ(chosen, firstOrder.item(turns + 1).toInteger()) << "the start order first";
    } else {
      for (int32_t index = 1; index <= 3; ++index) {
        if (ballsLeft[index - 1] < 1 || index == chosen) continue;
        if (index < chosen) EXPECT_LE(farness[index - 1], farness[chosen - 1]) << "turn " << turns;
        else EXPECT_LT(farness[index - 1], farness[chosen - 1]) << "turn " << turns;
      }
    }
    ++turns;
    // A middling throw: the swing is released at a third of its way up.
    ASSERT_TRUE(game.runUntilMode(s::setRot, 10));
    game.holdKey(126);
    game.frame();
    game.releaseKey(126);
    game.frames(12);
    game.holdKey(126);
    game.frame();
    game.releaseKey(126);
  }
  ASSERT_TRUE(game.runUntilMode(s::waitMenu, 800));
}

TEST(GameFlow, ADrawCountsNoWinAndStandsOnTheFirstPlayersBanner) {
  GameHarness game;
  ASSERT_TRUE(game.startGameWith({member::human, member::computer}));
  ASSERT_TRUE(game.runUntilMode(s::setRot, 400));
  Value engine = game.engineObject();
  engine.call(s::finish, 0);
  EXPECT_TRUE(game.mode() == s::waitMenu);
  EXPECT_EQ(game.fieldText("gameTxt"), "Draw!");
  EXPECT_EQ(game.spriteProperty(ch::banner, sym::blend).toInteger(), 100);
  EXPECT_EQ(game.spriteProperty(ch::banner, sym::memberNum).toInteger(), member::resultBannerBase + 1);
  EXPECT_EQ(game.fieldText("win1"), "0");
  EXPECT_EQ(game.fieldText("win2"), "0");
  engine.call(s::finish, 2);
  EXPECT_EQ(game.fieldText("gameTxt"), "Dael wins!!!");
  EXPECT_EQ(game.fieldText("win2"), "1");
}

}  // namespace
}  // namespace qn::game::testing
