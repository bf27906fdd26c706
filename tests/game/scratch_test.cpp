#include <gtest/gtest.h>
#include <cstdio>
#include "script/symbol_object.h"
#include "tests/game/game_harness.h"
namespace qn::game::testing {
TEST(Scratch, Explore) {
  GameHarness game;
  game.tapChannel(ch::startHotSpot);
  game.frames(3);
  for (SpriteChannel* s : game.movie().drawOrder()) {
    if (!game.movie().channelVisible(s->channel())) continue;
    IntRect r = s->spriteRect;
    if (r.bottom < 200 || r.top > 260) continue;
    std::printf("ch %d locZ %d committed %d rect %d,%d,%d,%d member %d blend %d\n", s->channel(), s->locZ, s->committedLocZ, r.left, r.top, r.right, r.bottom, s->memberNum, s->blendLevel);
  }
}
}
