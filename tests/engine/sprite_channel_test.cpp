#include "movie_fixture.h"
#include "script/color_object.h"
#include "script/list_object.h"
#include "script/symbol_object.h"
#include "script/point_object.h"
#include "script/rect_object.h"

namespace qn::testing {
namespace {

TEST_F(MovieTest, ScoreCommandsWaitTheirFrames) {
  load();
  frame();
  SpriteChannel& driven = sprite(9);
  EXPECT_EQ(driven.locH, 10);
  EXPECT_EQ(driven.ink, 8);
  EXPECT_EQ(driven.blendLevel, 255);
  frame();
  EXPECT_EQ(sprite(9).locH, 10);
  frame();  // frame 3: past the wait of 2
  EXPECT_EQ(sprite(9).locH, 20);
  frames(2);
  EXPECT_EQ(sprite(9).blendLevel, 255);
  frame();  // frame 6: past the further wait of 3
  EXPECT_EQ(sprite(9).blendLevel, 100);
  EXPECT_EQ(sprite(9).spriteRect, (IntRect{10, 140, 30, 160}));
}

TEST_F(MovieTest, LocksSurviveARewindWhileUnlockedPropertiesReset) {
  load();
  frames(6);
  sprite(9).setProperty(sym::locH, Value(77));
  EXPECT_TRUE(sprite(9).lockFlags.has(Lock::locH));
  goToFrame(Value(2));  // back before the last applied frame
  EXPECT_EQ(sprite(9).blendLevel, 255) << "unlocked: reset, its command is not due yet";
  EXPECT_EQ(sprite(9).ink, 8) << "reset, then the start commands applied again";
  frame();
  EXPECT_EQ(sprite(9).locH, 77) << "locked: the score no longer moves it";

  // Turning puppet off clears the locks; entering the same frame again re-applies the score.
  sprite(9).setProperty(sym::puppet, Value(0));
  goToFrame(Value(3));
  EXPECT_EQ(sprite(9).locH, 20);
}

TEST_F(MovieTest, PuppetSpritesSkipTheScoreAndOutliveTheirSpan) {
  load();
  frame();
  sprite(9).setProperty(sym::puppet, Value(1));
  frames(2);
  EXPECT_EQ(sprite(9).locH, 10) << "a puppet ignores commands";
  goToFrame(Value(2));
  frame();
  EXPECT_NE(movie->spriteIn(3), nullptr);
  sprite(3).setProperty(sym::puppet, Value(1));
  frames(3);
  EXPECT_NE(movie->spriteIn(3), nullptr) << "beyond its span as a puppet";
  sprite(3).setProperty(sym::puppet, Value(0));
  frame();
  EXPECT_EQ(movie->spriteIn(3), nullptr);
}

TEST_F(MovieTest, MemberTypeChangeReplacesTheSpriteButKeepsItsBehaviours) {
  load();
  frame();
  SpriteChannel* before = &sprite(5);
  Value behaviours = before->scriptInstanceList;
  sprite(5).setProperty(sym::ink, Value(36));
  sprite(5).setProperty(sym::memberNum, Value(2));  // a field: another member type
  EXPECT_EQ(&sprite(5), before) << "between frames the change waits for the next frame";
  frame();
  SpriteChannel* after = &sprite(5);
  EXPECT_NE(after, before);
  EXPECT_TRUE(after->scriptInstanceList.sameObject(behaviours));
  EXPECT_EQ(after->ink, 36);
  EXPECT_TRUE(after->lockFlags.has(Lock::memberNum));
  EXPECT_EQ(after->member->type(), sym::field);
  EXPECT_EQ(std::count(movie->drawOrder().begin(), movie->drawOrder().end(), after), 1);
  takeLog();
  touch(50, 50);
  EXPECT_EQ(takeLog(), std::vector<std::string>{"mouseDown 5"});

  // The same type keeps the object.
  sprite(7).setProperty(sym::memberNum, Value(1));
  SpriteChannel* seven = &sprite(7);
  frame();
  EXPECT_EQ(&sprite(7), seven);
}

TEST_F(MovieTest, PropertyRulesOfTheSprite) {
  load();
  frame();
  SpriteChannel& box = sprite(7);
  EXPECT_EQ(box.property(sym::width).toInteger(), 20) << "the member's width without stretch";
  box.setProperty(sym::width, Value(40));
  EXPECT_TRUE(box.stretch);
  EXPECT_EQ(box.property(sym::width).toInteger(), 40);

  box.setProperty(sym::blend, Value(50));
  EXPECT_EQ(box.blendLevel, 127);
  EXPECT_EQ(box.property(sym::blend).toInteger(), 49);

  box.setProperty(sym::rotation, Value(12.5));
  EXPECT_FLOAT_EQ(box.rotation, 12.5f);
  box.setProperty(sym::rotation, Value("9"));
  EXPECT_FLOAT_EQ(box.rotation, 0.0f) << "a string counts as 0";

  box.setProperty(sym::color, makeRgb(1, 2, 3));
  EXPECT_EQ(box.color, 0x010203u);
  EXPECT_EQ(box.property(sym::color).toString(), "rgb( 1, 2, 3 )");
  EXPECT_TRUE(box.setProperty(sym::loc, makeRect(1, 2, 3, 4))) << "a wrong kind is ignored but handled";
  box.setProperty(sym::loc, makePoint(30, 40));
  EXPECT_EQ(box.property(sym::loc).toString(), "point(30, 40)");
  EXPECT_FALSE(box.setProperty(sym::name, Value(1)));
  EXPECT_TRUE(box.property(sym::name).isVoid());
  EXPECT_EQ(symbolOf(box.property(sym::ilk)), sym::sprite);
  EXPECT_EQ(box.property(sym::channel).toInteger(), 7);

  // Writing a behaviour's property changes the behaviour.
  box.setProperty(s::pClicks, Value(9));
  EXPECT_EQ(box.property(s::pClicks).toInteger(), 9);

  // The rect keeps a bitmap's regPoint in proportion.
  box.setProperty(sym::rect, makeRect(100, 200, 60, 160));
  EXPECT_EQ(box.width, 40);
  EXPECT_EQ(box.locH, 80);  // 60 + 40 * 10 / 20
  EXPECT_EQ(box.locV, 180);
  frame();
  EXPECT_EQ(box.spriteRect, (IntRect{60, 160, 100, 200}));
  // Near the top of the integers the 32-bit float arithmetic reaches 2^31: the location saturates.
  box.setProperty(sym::rect, makeRect(2147483600, 0, 2147483640, 20));
  EXPECT_EQ(box.locH, INT32_MAX);
}

TEST_F(MovieTest, LocZOrdersDrawingAndHitting) {
  load();
  frame();
  EXPECT_EQ(movie->hitSprite({50, 50}, 0, true), 6);
  sprite(5).setProperty(sym::locZ, Value(100));
  frame();
  EXPECT_EQ(movie->drawOrder().back()->channel(), 5);
  EXPECT_EQ(movie->hitSprite({50, 50}, 0, true), 5);
  EXPECT_EQ(movie->hitSprite({60, 60}, 0, true), 5) << "edges are inclusive";
}

TEST_F(MovieTest, ChangesBetweenFramesRecomposeOldAndNewRects) {
  load();
  frames(7);  // from frame 7 to 8 the score changes nothing
  images.calls.clear();
  sprite(7).setProperty(sym::locH, Value(150));
  frame();
  ASSERT_GE(images.calls.size(), 2u);
  EXPECT_EQ(images.calls[0], "clip 90,90,160,110");  // the old rect united with the new one
  EXPECT_EQ(display.shownRects.back(), (IntRect{90, 90, 160, 110}));
  EXPECT_EQ(static_cast<BoxSprite&>(sprite(7)).draws, 2);
}

TEST_F(MovieTest, IntersectsWithinAndSpriteReferences) {
  load();
  frame();
  sprite(5).setProperty(sym::loc, makePoint(10, 10));   // 0..20
  sprite(7).setProperty(sym::loc, makePoint(30, 10));   // 20..40: touching edges
  frame();
  EXPECT_EQ(sprite(5).call(sym::intersects, 7).toInteger(), 1);
  EXPECT_EQ(sprite(5).call(sym::within, movie->spriteRef(7)).toInteger(), 0);
  sprite(7).setProperty(sym::width, Value(100));
  sprite(7).setProperty(sym::height, Value(100));
  sprite(7).setProperty(sym::loc, makePoint(10, 10));
  frame();
  EXPECT_EQ(sprite(5).call(sym::within, 7).toInteger(), 1);

  Value later = movie->spriteRef(15);  // before the channel holds anything
  EXPECT_EQ(later.toString(), "(sprite 15)");
  EXPECT_EQ(later.getProperty(sym::locH).toInteger(), 0);
  EXPECT_EQ(movie->spriteRef(15).compare(later, false), kEqual);
  EXPECT_EQ(&sprite(-1), &sprite(9999)) << "channels outside the score share the dummy sprite";
  sprite(9999).setProperty(sym::locH, Value(5));
  frame();
  EXPECT_EQ(movie->spriteIn(15), nullptr) << "an empty sprite ends at the next frame";
}

TEST_F(MovieTest, QuadsMapBetweenMemberAndStage) {
  load();
  frame();
  SpriteChannel& box = sprite(7);  // 90..110 square
  Value quad = makeList({makeList({Value(0), Value(0)}), makeList({Value(40), Value(0)}),
                         makeList({Value(40), Value(20)}), makeList({Value(0), Value(20)})});
  box.setProperty(sym::quad, quad);
  EXPECT_TRUE(box.quadMode);
  frame();
  EXPECT_TRUE(box.hitTest(39, 10));
  EXPECT_FALSE(box.hitTest(41, 10));
  Value stage = box.call(sym::mapMemberToStage, makePoint(10, 10));
  EXPECT_EQ(stage.toString(), "point(20, 10)");
  EXPECT_EQ(box.call(sym::mapStageToMember, makePoint(20, 10)).toString(), "point(10, 10)");
  EXPECT_TRUE(box.call(sym::mapStageToMember, makePoint(60, 10)).isVoid());
  EXPECT_TRUE(box.call(sym::mapMemberToStage, makePoint(21, 0)).isVoid());
  box.setProperty(sym::locH, Value(110));  // the quad moves with the location
  EXPECT_FLOAT_EQ(box.quad.corners[1].x, 50.0f);
  box.setProperty(sym::locH, Value(INT32_MIN));  // a move of more than 2^31 pixels to the left
  EXPECT_LT(box.quad.corners[1].x, -2e9f);

  // A quad reaching far beyond the integers maps to their limits, not to wrapped values.
  box.setProperty(sym::quad, makeList({makePoint(0, 0), makeFloatPoint(1e10, 0), makeFloatPoint(1e10, -1e10),
                                       makeFloatPoint(0, -1e10)}));
  EXPECT_EQ(box.call(sym::mapMemberToStage, makePoint(20, 20)).toString(), "point(2147483647, -2147483648)");
}

}  // namespace
}  // namespace qn::testing

namespace qn::testing {
namespace {

TEST_F(MovieTest, EveryScoreOpcode) {
  load();
  static constexpr int32_t kCommands[] = {
      9, 1, 10, 1,            // member 1.1
      12, 90 << 16, 13, -(1 << 15),  // rotation 90.0, skew -0.5 (16.16)
      14, 1, 15, 0, 16, 3,    // flips, lineSize
      2, 2,                   // stretch only for the value 1
      40, 12345,              // an unknown opcode skips its value
      7, 0x102030, 8, 0x405060, 4, 33, 5, 44,
      11, 1,                  // wait one frame
      2, 1, 3, 36};
  auto span = std::make_shared<const SpriteSpan>(SpriteSpan{50, 1, 5, 11, kCommands});
  Value held = Value::adopt(new SpriteChannel(*movie, span));
  auto& sprite = *static_cast<SpriteChannel*>(held.object());
  sprite.lockFlags.set(Lock::height);

  sprite.applyCommands(1);
  EXPECT_FLOAT_EQ(sprite.rotation, 90.0f);
  EXPECT_FLOAT_EQ(sprite.skew, -0.5f);
  EXPECT_TRUE(sprite.flipH);
  EXPECT_FALSE(sprite.flipV);
  EXPECT_EQ(sprite.lineSize, 3);
  EXPECT_FALSE(sprite.stretch);
  EXPECT_EQ(sprite.color, 0x102030u);
  EXPECT_EQ(sprite.bgColor, 0x405060u);
  EXPECT_EQ(sprite.width, 33);
  EXPECT_EQ(sprite.height, 0) << "locked";
  EXPECT_EQ(sprite.ink, 0) << "after the wait";
  sprite.changeFlags = 0;
  EXPECT_EQ(sprite.applyCommands(1), 0) << "entering the same frame again applies nothing";
  EXPECT_EQ(sprite.applyCommands(2) & change::redraw, change::redraw);
  EXPECT_TRUE(sprite.stretch);
  EXPECT_EQ(sprite.ink, 36);
  EXPECT_EQ(sprite.cursorFrame, 5) << "the stream ran out: nothing more until the span ends";
}

}  // namespace
}  // namespace qn::testing
