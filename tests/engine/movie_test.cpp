#include <algorithm>

#include "movie_fixture.h"
#include "script/color_object.h"
#include "script/list_object.h"
#include "script/symbol_object.h"
#include "tests/script/listed_methods.h"

namespace qn::testing {
namespace {

using Lines = std::vector<std::string>;

bool contains(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}
long countOf(const Lines& lines, const std::string& line) { return std::count(lines.begin(), lines.end(), line); }

// The global functions the movie answers itself, and the sprite's own methods; any other symbol
// goes to a movie handler or to the behaviours.
TEST(MethodTables, TheMovieAndTheSpriteBindTheirListedMethods) {
  using testing::one, testing::unchecked;
  const Arity chunk = Arity::atLeast(4);
  testing::expectBindsExactly("movie", Movie::globalFunctions(),
                              {{sym::put, unchecked},          {sym::new_, unchecked},       {sym::min_, unchecked},
                               {sym::max_, unchecked},         {sym::sendAllSprites, unchecked},
                               {sym::sendSprite, unchecked},   {sym::call, unchecked},       {sym::getChunk, chunk},
                               {sym::setChunk, chunk},         {sym::delChunk, chunk},       {sym::putAfterChunk, chunk},
                               {sym::putBeforeChunk, chunk}});
  testing::expectBindsExactly("sprite", SpriteChannel::methods(),
                              {{sym::intersects, one}, {sym::within, one}, {sym::ilk, unchecked},
                               {sym::mapStageToMember, one}, {sym::mapMemberToStage, one}, {sym::sendSprite, unchecked}});
}

TEST_F(MovieTest, LoadStepSizesTheStageAndBindsTheMedia) {
  load();
  EXPECT_EQ(movie->stageRect(), (IntRect{0, 0, 240, 320}));
  EXPECT_EQ(movie->colorDepth(), kDisplay565);  // 16 asked, the display is 5-6-5
  EXPECT_EQ(movie->tempo(), 30);
  EXPECT_EQ(images.calls.front(), "create 240x320 -16");
  EXPECT_EQ(media.openedName, "Test.qmf");
  EXPECT_FALSE(movie->stopped());
  EXPECT_EQ(movie->currentFrame(), 0);
  EXPECT_TRUE(log.lines.empty()) << "nothing is sent before the first tick";
}

TEST_F(MovieTest, RefusedMediaClosesTheWindowBeforeTheFirstFrame) {
  media.check = MediaCheck::wrongSize;
  load();
  EXPECT_TRUE(movie->stopped());
  EXPECT_EQ(movie->tick(), Playing::stopped);
  EXPECT_EQ(movie->mediaCheck(), MediaCheck::wrongSize);
}

TEST_F(MovieTest, FramesStartAfterThePeriodOfTheTempo) {
  load();
  movie->tick();  // construction and the first tick share a time: not due yet
  EXPECT_EQ(movie->currentFrame(), 0);
  display.clock += 32;
  movie->tick();
  EXPECT_EQ(movie->currentFrame(), 0);
  display.clock += 1;  // 33 ms = 1000 / 30
  movie->tick();
  EXPECT_EQ(movie->currentFrame(), 1);
  display.clock += 50;  // lateness is not made up: the next frame counts from this tick
  movie->tick();
  EXPECT_EQ(movie->currentFrame(), 2);
  display.clock += 32;
  movie->tick();
  EXPECT_EQ(movie->currentFrame(), 2);

}

TEST_F(MovieTest, TempoOf1000MakesEveryTickAFrameAndTempoSpansSetTheTempo) {
  load(10, 1000);
  movie->tick();
  movie->tick();  // no time passed
  EXPECT_EQ(movie->currentFrame(), 2);
  goToFrame(Value(9));  // the tempo span of frame 9
  EXPECT_EQ(movie->tempo(), 60);
  display.clock += 15;
  movie->tick();
  EXPECT_EQ(movie->currentFrame(), 9);
  display.clock += 1;  // 1000 / 60 = 16 ms measured from the last frame's start
  movie->tick();
  EXPECT_EQ(movie->currentFrame(), 10);
}

TEST_F(MovieTest, IdlePeriodZeroSwitchesIdleOffAndOneLimitsItTo16Ms) {
  load();
  display.clock += 16;
  movie->tick();
  EXPECT_EQ(countOf(takeLog(), "idle movie"), 1);
  display.clock += 15;
  movie->tick();
  EXPECT_EQ(countOf(takeLog(), "idle movie"), 0);
  display.clock += 1;
  movie->tick();
  EXPECT_EQ(countOf(takeLog(), "idle movie"), 1);

  movie->setProperty(sym::idleHandlerPeriod, Value(0));
  display.clock += 1000;
  movie->tick();
  EXPECT_EQ(countOf(takeLog(), "idle movie"), 0);
}

TEST_F(MovieTest, FirstFrameStepSendsEveryEventInOrder) {
  load();
  // The engine object sits in the actor list, as in the game.
  Value engine = callGlobal(*movie, sym::new_, scriptOf(Value("Engine")), Value("boss"));
  listOf(movie->actorList())->append(engine);
  frame();
  Lines expected = {
      "prepareMovie movie",
      "exitFrame movie",  // before frame 1 exists: only the movie's handler
      "beginSprite 6",    // channel 3 starts at frame 2; 6 is the only Ticker now
      "stepFrame engine",
      "prepareFrame 6",
      "prepareFrame movie",  // the frame script has no prepareFrame handler
      "startMovie movie",
      "enterFrame 6",
      "enterFrame movie",
      "idle movie",  // the tick's idle period has passed too
  };
  EXPECT_EQ(takeLog(), expected);
  EXPECT_EQ(stringOf(engine.getProperty(s::pName)), "boss");
  ASSERT_FALSE(display.shownRects.empty());
  EXPECT_EQ(display.shownRects.back(), (IntRect{0, 0, 240, 320}));  // the first frame shows everything

  frame();
  expected = {
      "exitFrame 6",   "exitFrame frame",  // the frame script handled it: no movie handler
      "beginSprite 3", "stepFrame engine", "prepareFrame 3", "prepareFrame 6", "prepareFrame movie",
      "enterFrame 3",  "enterFrame 6",     "enterFrame movie", "idle movie",
  };
  EXPECT_EQ(takeLog(), expected);
  EXPECT_EQ(engine.getProperty(s::pSteps).toInteger(), 2);

  frames(2);  // frame 4: channel 3's span is over
  Lines lines = takeLog();
  EXPECT_TRUE(contains(lines, "endSprite 3"));
  EXPECT_EQ(movie->spriteIn(3), nullptr);
}

TEST_F(MovieTest, OneFrameScoreReentersFrameOneWithoutRestartingSprites) {
  load(1);
  frames(4);
  Lines lines = takeLog();
  EXPECT_EQ(movie->currentFrame(), 1);
  EXPECT_EQ(countOf(lines, "beginSprite 6"), 1);
  EXPECT_EQ(countOf(lines, "endSprite 6"), 0);
  EXPECT_EQ(countOf(lines, "enterFrame 6"), 4);
  EXPECT_EQ(countOf(lines, "exitFrame frame"), 3);
  EXPECT_EQ(countOf(lines, "prepareFrame 6"), 4);
  EXPECT_EQ(countOf(lines, "startMovie movie"), 1);

  // Script changes survive: the used-up commands are not applied again.
  sprite(7).setProperty(sym::ink, Value(36));
  sprite(7).setProperty(sym::puppet, Value(1));
  frame();
  EXPECT_EQ(sprite(7).ink, 36);
}

TEST_F(MovieTest, GoToFrameClampsAndIgnoresUnknownTargets) {
  load();
  frame();
  goToFrame(Value(0));
  EXPECT_EQ(movie->currentFrame(), 0);  // only negative numbers become 1
  goToFrame(Value(-3));
  EXPECT_EQ(movie->currentFrame(), 1);
  goToFrame(Value(99));
  EXPECT_EQ(movie->currentFrame(), 10);
  goToFrame(Value("nowhere"));
  EXPECT_EQ(movie->currentFrame(), 10);
  goToFrame(Value("play"));
  EXPECT_EQ(movie->currentFrame(), 4);
  goToFrame(Value::symbol(sym::next));
  EXPECT_EQ(movie->currentFrame(), 8);
  goToFrame(Value::symbol(sym::next));  // after the last label: the last label's frame
  EXPECT_EQ(movie->currentFrame(), 8);
  goToFrame(Value::symbol(sym::previous));
  EXPECT_EQ(movie->currentFrame(), 4);
  goToFrame(Value(6));
  goToFrame(Value::symbol(sym::loop));
  EXPECT_EQ(movie->currentFrame(), 4);
  goToFrame(Value::symbol(sym::put));  // another symbol: nothing
  EXPECT_EQ(movie->currentFrame(), 4);
  EXPECT_EQ(movie->markerFrame(0), 4);
}

TEST_F(MovieTest, GoToFrameFromBeginSpriteIsIgnored) {
  load();
  log.onLine = [&](const std::string& line) {
    if (line == "beginSprite 6") goToFrame(Value(5));
  };
  frame();
  EXPECT_EQ(movie->currentFrame(), 1);
}

TEST_F(MovieTest, GoToFrameFromExitFrameEntersAtOnceAndSkipsTheNaturalNextFrame) {
  load();
  frame();
  takeLog();
  log.onLine = [&](const std::string& line) {
    if (line == "exitFrame 6") goToFrame(Value(5));
  };
  frame();
  log.onLine = nullptr;
  Lines lines = takeLog();
  EXPECT_EQ(movie->currentFrame(), 5);
  EXPECT_FALSE(contains(lines, "beginSprite 3")) << "frame 2 was never entered";
  // The frame script's exitFrame still runs after the navigation, then the step ends.
  auto entered = std::find(lines.begin(), lines.end(), "enterFrame movie");
  auto frameScript = std::find(lines.begin(), lines.end(), "exitFrame frame");
  ASSERT_NE(frameScript, lines.end());
  EXPECT_LT(entered, frameScript);
  EXPECT_EQ(countOf(lines, "enterFrame movie"), 1);
  frame();
  EXPECT_EQ(movie->currentFrame(), 6);
}

TEST_F(MovieTest, MovieHandlersNest65Deep) {
  load();
  EXPECT_EQ(global(s::bump, 65).toInteger(), 65);
  EXPECT_TRUE(global(s::bump, 66).isVoid()) << "the 66th nested call is refused";
  EXPECT_EQ(Movie::handlerDepth(), 0);
}

TEST_F(MovieTest, StylusTouchAndReleaseOverAnotherSprite) {
  load();
  frame();
  takeLog();
  touch(50, 50);  // sprite 6 (Ticker only) lies on top here but cannot be clicked
  release(100, 100);
  Lines expected = {"mouseDown 5", "mouseUpOutside 5", "mouseUp 7"};
  EXPECT_EQ(takeLog(), expected);
  EXPECT_EQ(movie->clickSprite(), 5);
  EXPECT_EQ(sprite(7).property(s::pClicks).toInteger(), 1) << "a behaviour's property through the sprite";

  // A touch on the empty stage reaches no sprite's mouseUp: the frame script, then the movie.
  touch(230, 10);
  release(100, 100);
  expected = {"mouseDown frame", "mouseDown movie", "mouseUp frame", "mouseUp movie"};
  EXPECT_EQ(takeLog(), expected);
}

TEST_F(MovieTest, InvisibleChannelsAreNotHit) {
  load();
  frame();
  sprite(5).setProperty(sym::visible, Value(0));
  movie->mouseMove({50, 50});
  EXPECT_EQ(movie->hitSprite({50, 50}, event::clickable, true), 0);
  EXPECT_EQ(movie->hitSprite({50, 50}, 0, false), 6);
  EXPECT_TRUE(movie->rollover(5));
}

TEST_F(MovieTest, RolloverEventsFollowThePointer) {
  load();
  frame();
  takeLog();
  movie->mouseMove({60, 60});
  movie->rolloverCheck();
  movie->rolloverCheck();
  movie->mouseMove({230, 60});
  movie->rolloverCheck();
  Lines expected = {"mouseEnter 6", "mouseWithin 6", "mouseLeave 6"};
  EXPECT_EQ(takeLog(), expected);
  EXPECT_EQ(movie->rolloverSprite(), 0);
}

// A loop that sleeps until the next tick has work sees every frame, idle period and rollover
// check at the same clock time as a loop that ticks every millisecond.
TEST_F(MovieTest, SleepingUntilTheNextDueTickKeepsEveryTickTime) {
  auto timeline = [this](bool sleepUntilDue) {
    display.clock = 1000;
    load();
    movie->setProperty(sym::idleHandlerPeriod, Value(2));  // 33 ms, in step with the frames
    movie->setProperty(sym::rolloverPeriod, Value(5));     // 83 ms
    movie->mouseMove({60, 60});                             // over sprite 6: every check reports
    Lines stamped;
    int wakeUps = 0;
    while (display.clock < 2000) {
      movie->tick();
      ++wakeUps;
      for (const std::string& line : takeLog()) stamped.push_back(std::to_string(display.clock) + " " + line);
      display.clock += sleepUntilDue ? std::max(movie->msUntilNextTick(), 1) : 1;
    }
    unload();
    cast.clear();
    return std::pair(stamped, wakeUps);
  };
  auto [polled, polledWakeUps] = timeline(false);
  auto [slept, sleptWakeUps] = timeline(true);
  EXPECT_EQ(slept, polled);
  EXPECT_TRUE(contains(polled, "1083 mouseEnter 6") && contains(polled, "1166 mouseWithin 6"))
      << "the rollover checks are in the timeline";
  EXPECT_EQ(polledWakeUps, 1000);
  EXPECT_LT(sleptWakeUps, 100);  // frames of 33 and 16 ms (the tempo span of frame 9), rollovers
}

TEST_F(MovieTest, QuitKeysStopTheMovieUnlessExitLockIsSet) {
  load();
  frame();
  takeLog();
  EXPECT_EQ(movie->keyDown({0, 193}), Playing::stopped);
  EXPECT_EQ(takeLog(), Lines{"stopMovie movie"});

  movie->setProperty(sym::exitLock, Value(1));
  EXPECT_EQ(movie->property(sym::exitLock).toInteger(), 1);
  movie->keyDown({0, 195});
  movie->keyUp();
  Lines expected = {"keyDown frame", "keyDown movie", "keyUp movie"};
  EXPECT_EQ(takeLog(), expected) << "delivered, not quit";
}

TEST_F(MovieTest, SendAllSpritesSkipsTheFrameScript) {
  load();
  frames(2);
  takeLog();
  sendAllSprites(s::greet, "all");
  Lines expected = {"greet 3 all", "greet 5 all", "greet 6 all", "greet 7 all"};
  EXPECT_EQ(takeLog(), expected);
  EXPECT_EQ(movie->currentSpriteNum(), 0);

  EXPECT_EQ(sendSprite(7, s::greet, "one").toInteger(), 7);
  EXPECT_TRUE(sendSprite(15, s::greet, "nobody").isVoid());
  EXPECT_EQ(takeLog(), Lines{"greet 7 one"});
}

TEST_F(MovieTest, CallReachesEveryObjectOfAList) {
  load();
  frame();
  takeLog();
  Value engine = callGlobal(*movie, sym::new_, scriptOf(Value("Engine")), Value("e"));
  Value behaviours = sprite(5).property(sym::scriptInstanceList);
  Value targets = makeList({engine, listOf(behaviours)->valueAt(1), Value(3)});
  call(s::greet, targets, 1);
  Lines expected = {"greet engine 1", "greet 5 1"};
  EXPECT_EQ(takeLog(), expected);

  // A method on a sprite goes to its behaviours with a sprite reference in front.
  movie->spriteRef(7).call(s::greet, "by reference");
  EXPECT_EQ(takeLog(), Lines{"greet 7 by reference"});
}

// An object whose handler lets go of the argument slot that holds it, as `me = VOID` does, and
// then says whether it still exists.
class LetsGoOfItself final : public ScriptInstance {
 public:
  explicit LetsGoOfItself(bool& gone) : ScriptInstance(0), gone_(gone) {}
  ~LetsGoOfItself() override { gone_ = true; }
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) override {
    if (method != s::greet || argc < 1) return false;
    *argv[0] = Value();
    result = Value(gone_ ? "gone" : "here");
    return true;
  }

 private:
  bool& gone_;
};

TEST_F(MovieTest, CallGlobalHoldsItsFirstArgumentDuringTheCall) {
  load();
  bool gone = false;
  Value object = Value::adopt(new LetsGoOfItself(gone));
  Value* arguments[] = {&object};
  Value result;
  EXPECT_TRUE(movie->callGlobal(*movie, result, s::greet, 1, arguments));
  EXPECT_EQ(stringOf(result), "here");
  EXPECT_TRUE(gone) << "let go once the call is over";
}

TEST_F(MovieTest, GlobalFunctions) {
  load();
  global(sym::put, 1, "a");
  global(sym::put);
  global(sym::put, "alone");
  EXPECT_EQ(display.log, "1 \"a\" \r\n\r\n\"alone\"\r\n");
  EXPECT_EQ(global(sym::min_).toInteger(), 0);
  Value five = Value(5), otherFive = Value(5);
  Value biggest = global(sym::max_, 2, five, otherFive);
  EXPECT_TRUE(biggest.sameObject(five)) << "ties keep the earlier argument";
  EXPECT_EQ(global(sym::min_, 4, 2.5, 3).toFloat(), 2.5);
  EXPECT_TRUE(global(sym::getChunk, "abc").isVoid());

  // Chunk functions work on their first argument; a shared string is copied first.
  Value text("a,b,c");
  Value other = text;
  EXPECT_EQ(stringOf(global(sym::getChunk, text, Value::symbol(sym::item), 2, 2)), "b");
  global(sym::setChunk, text, Value::symbol(sym::item), 2, 2, "x");
  EXPECT_EQ(stringOf(text), "a,x,c");
  EXPECT_EQ(stringOf(other), "a,b,c");
}

TEST_F(MovieTest, StagePropertiesAndOrientation) {
  load(1);
  frame();
  EXPECT_EQ(movie->property(sym::width).toInteger(), 240);
  EXPECT_EQ(movie->property(sym::rect).toString(), "rect(0, 0, 240, 320)");
  movie->setProperty(sym::bgColor, makeRgb(255, 0, 0));
  EXPECT_EQ(movie->property(sym::bgColor).toString(), "rgb( 255, 0, 0 )");
  EXPECT_EQ(movie->dirtyRect(), movie->stageRect());
  movie->setProperty(sym::itemDelimiter, Value(";x"));
  EXPECT_EQ(stringOf(movie->property(sym::itemDelimiter)), ";");

  display.shownRects.clear();
  frame();
  images.calls.clear();
  frame();
  EXPECT_TRUE(display.shownRects.size() == 1 && images.calls.empty()) << "a frame where nothing changed shows nothing";

  movie->setProperty(sym::rotation, Value(45));
  EXPECT_EQ(movie->orientation(), 0);
  movie->setProperty(sym::rotation, Value(90));
  EXPECT_EQ(movie->orientation(), 90);
  frame();
  EXPECT_EQ(display.shownRects.back(), (IntRect{0, 80, 320, 320})) << "the whole stage turned";
  movie->mouseMove({10, 20});
  EXPECT_EQ(movie->mouseLoc(), (IntPoint{300, 10}));

  movie->setProperty(sym::timer, Value(100));
  EXPECT_EQ(movie->timer(), 100);
}

TEST_F(MovieTest, ScriptInstancesPrintAndDefaultTheirProperties) {
  load();
  Value script = scriptOf(Value("Engine"));
  EXPECT_EQ(script.toString(), "(script script 2)");
  Value engine = callGlobal(*movie, sym::new_, script);
  EXPECT_EQ(engine.toString().rfind("<offspring ??? 1 ", 0), 0u);
  EXPECT_EQ(symbolOf(engine.getProperty(sym::ilk)), sym::instance);
  EXPECT_EQ(symbolOf(script.getProperty(sym::ilk)), sym::script);
  EXPECT_EQ(engine.getProperty(sym::spriteNum).toInteger(), 0);
  EXPECT_FALSE(engine.setProperty(sym::locH, Value(1)));
  EXPECT_TRUE(engine.setProperty(s::pName, Value("x")));
  // `new` on the script object itself runs the class's `new` handler through the script host.
  Value made = script.call(sym::new_, "via invoke");
  EXPECT_EQ(stringOf(made.getProperty(s::pName)), "via invoke");
}

TEST_F(MovieTest, DestructionStopsSoundAndUnloadsTheCast) {
  load();
  frame();
  EXPECT_EQ(movie->playSound(2, Value("jingle")).toInteger(), 0);
  EXPECT_EQ(static_cast<BoxMember*>(cast.findByName("jingle"))->playedOn, 2);
  movie->playSound(4, Value(0));
  EXPECT_EQ(sound.stopped, std::vector<int32_t>{4});
  sound.stopped.clear();
  unload();
  EXPECT_EQ(sound.stopped.size(), 8u);
  EXPECT_GE(cast.unloads, 100);
  EXPECT_TRUE(media.closed);
}

}  // namespace
}  // namespace qn::testing
