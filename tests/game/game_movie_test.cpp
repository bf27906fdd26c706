// The game movie defined and started on stand-in services: the settings and score reach the
// movie, the movie script's handlers run before the first frame and leave the menu up with the
// engine object in the actor list and the music playing, and the frame holds. The services are
// the engine tests' fakes; the cast is a stand-in that keeps texts and plays.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/cast_table.h"
#include "engine/movie_services.h"
#include "engine/script_instance.h"
#include "game/button_behaviour.h"
#include "game/game_movie.h"
#include "game/game_symbols.h"
#include "game/frame_spans.h"
#include "script/list_object.h"
#include "script/string_object.h"
#include "script/symbol_prop_list_object.h"
#include "script/symbol_table.h"
#include "tests/engine/fake_services.h"

namespace qn::game {
namespace {

// A member standing in for the cast's classes: a script member holds its script object, a field
// keeps its text, a sound remembers the channels it was played on.
class StandInMember : public CastMember {
 public:
  StandInMember(SymbolNumber type, int32_t number, int32_t castLib, std::string memberName, SymbolNumber scriptType = 0)
      : CastMember(type, number, castLib), name(std::move(memberName)), scriptType_(scriptType) {}
  void toString(std::string& out) const override { out += name; }
  ScriptObject* duplicate() override {
    retain();
    return this;
  }
  SpriteChannel* createSprite(Movie&, const SpanRef&) override { return nullptr; }
  SymbolNumber scriptType() const override { return scriptType_; }
  const Value& scriptObject() const override { return script; }
  void play(int32_t channel) override { playedOn.push_back(channel); }
  bool setProperty(SymbolNumber property, const Value& value) override {
    if (property != sym::text) return false;
    text = textOf(value);
    return true;
  }

  std::string name;
  Value script;
  std::string text;
  std::vector<int32_t> playedOn;

 private:
  SymbolNumber scriptType_;
};

class StandInCast : public CastTable {
 public:
  CastMember* find(int32_t key) const override {
    auto found = members.find(key);
    return found == members.end() ? nullptr : castMemberOf(found->second);
  }
  CastMember* findByName(std::string_view name) const override {
    for (const auto& [key, value] : members)
      if (compareIgnoringCase(static_cast<StandInMember*>(value.object())->name, name) == 0)
        return castMemberOf(value);
    return nullptr;
  }
  Value memberOf(const Value& designator) override {
    CastMember* member = designator.is(sym::string) ? findByName(textOf(designator))
                                                    : find(designator.toInteger());
    return member ? Value::share(member) : emptyMember(-1, 1);
  }
  Value emptyMember(int32_t number, int32_t castLib) override {
    return Value::adopt(new StandInMember(sym::empty, number, castLib, ""));
  }
  Value newBitmapMember(const Value*, int32_t) override { return Value(); }
  void unloadAll(bool) override {}

  void create(const CastRows& rows, Movie& movie) {
    for (const FieldRow& row : rows.fields) add(new StandInMember(sym::field, row.number, row.castLib, row.name));
    for (const SoundRow& row : rows.sounds) add(new StandInMember(sym::sound, row.number, row.castLib, row.name));
    for (const ScriptRow& row : rows.scripts) {
      auto* member = new StandInMember(sym::script, row.number, row.castLib, row.name,
                                       row.kind == 2 ? sym::movie : row.kind == 3 ? sym::parent : sym::score);
      Value held = add(member);
      movie.createScriptInstance(member->script, row.number, row.castLib);
      if (ScriptInstance* object = scriptInstanceOf(member->script)) object->becomeScriptObjectOf(held);
    }
  }
  StandInMember& named(std::string_view name) const { return *static_cast<StandInMember*>(findByName(name)); }
  void clear() {
    for (auto& [key, value] : members)
      if (ScriptInstance* object = scriptInstanceOf(static_cast<StandInMember*>(value.object())->script))
        object->forgetMember();
    members.clear();
  }

  std::map<int32_t, Value> members;

 private:
  Value add(StandInMember* member) { return members[member->key()] = Value::adopt(member); }
};

class GameMovieTest : public ::testing::Test {
 protected:
  void SetUp() override {
    initValueModel();
    SymbolTable::global().clear();
    auto* made = new GameMovie(MovieServices{display, stage, cast, media, sound}, movieCastRows(),
                               [this](const CastRows& rows) { cast.create(rows, *movie); });
    held = Value::adopt(made);
    movie = made;
    movie->defineMovie();
  }
  void TearDown() override {
    held = Value();
    cast.clear();
    SymbolTable::global().clear();
    shutdownValueModel();
  }
  void frame() {
    display.clock += 34;
    movie->tick();
  }

  testing::FakeDisplay display;
  testing::RecordingStageImages stage;
  StandInCast cast;
  testing::FakeMedia media;
  testing::FakeSound sound;
  GameMovie* movie = nullptr;
  Value held;
};

TEST_F(GameMovieTest, DefinitionSetsTheMovieUp) {
  EXPECT_EQ(movie->tempo(), 30);
  EXPECT_EQ(movie->lastFrame(), 1);
  EXPECT_EQ(movie->channelCount(), 500);
  EXPECT_TRUE(movie->prefer565());
  EXPECT_FALSE(movie->exitLock());
  EXPECT_EQ(movie->colorDepth(), kDisplay565);  // taken from the display
  ASSERT_FALSE(stage.calls.empty());
  EXPECT_EQ(stage.calls.front(), "create 240x320 -16");
  EXPECT_EQ(media.openedName, "MyMovie.qmf");
  EXPECT_EQ(SymbolTable::global().symbolName(s::kracht), "kracht");
}

TEST_F(GameMovieTest, StartingShowsTheMenuWithTheEngineRunning) {
  frame();
  EXPECT_EQ(movie->currentFrame(), 1);
  EXPECT_EQ(cast.named("naam1").text, "Player One");
  EXPECT_EQ(cast.named("naam2").text, "Dael");
  EXPECT_EQ(cast.named("naam3").text, "");
  for (const char* win : {"win1", "win2", "win3", "win4"}) EXPECT_EQ(cast.named(win).text, "0") << win;
  EXPECT_EQ(cast.named("versie").text, "1.0");
  EXPECT_EQ(cast.named("loop").playedOn, std::vector<int32_t>{2});

  // The engine object: in the actor list and a movie global, waiting on the menu.
  ListObject* actors = listOf(movie->actorList());
  ASSERT_NE(actors, nullptr);
  ASSERT_EQ(actors->size(), 1);
  const Value engine = actors->valueAt(1);
  EXPECT_TRUE(engine.sameObject(movie->globals().engineObject));
  const Value pList = engine.getProperty(s::pList);
  EXPECT_EQ(symbolPropListOf(pList)->get(s::mode).toString(), "#waitstart");
  EXPECT_EQ(engine.getProperty(s::midden).toInteger(), 120);
  EXPECT_EQ(engine.getProperty(s::pmaxplayer).toInteger(), 4);
  const int32_t endWhite = symbolPropListOf(pList)->get(s::endWhite).toInteger();
  EXPECT_GE(endWhite, 41);
  EXPECT_LE(endWhite, 240);
  EXPECT_EQ(movie->floatPrecision(), 4);
  EXPECT_EQ(symbolPropListOf(movie->globals().distances)->size(), 5);
  for (const Value& wins : movie->globals().winCounters) EXPECT_EQ(wins.toInteger(), 0);

  // The menu on top, the set-up screen and the results hidden, the ball pool shown.
  EXPECT_TRUE(movie->channelVisible(238));
  EXPECT_TRUE(movie->channelVisible(225));
  EXPECT_TRUE(movie->channelVisible(239));
  for (int32_t hidden : {400, 401, 402, 404, 411, 450, 204, 215}) EXPECT_FALSE(movie->channelVisible(hidden)) << hidden;
  for (int32_t shown : {50, 100}) EXPECT_TRUE(movie->channelVisible(shown));
  EXPECT_EQ(movie->spriteRef(238).getProperty(sym::locZ).toInteger(), 200005);
  EXPECT_EQ(movie->spriteRef(239).getProperty(sym::locZ).toInteger(), 200005);
  EXPECT_EQ(movie->spriteRef(228).getProperty(sym::locZ).toInteger(), 200001);
  EXPECT_EQ(movie->spriteRef(237).getProperty(sym::locZ).toInteger(), 199999);
}

TEST_F(GameMovieTest, ButtonsCarryTheirBehavioursAndTheFrameHolds) {
  frame();
  for (int32_t channel : {0, 22, 36, 181, 183, 225, 239, 402, 408, 480, 496}) {
    ListObject* behaviours = listOf(movie->spriteRef(channel).getProperty(sym::scriptInstanceList));
    ASSERT_NE(behaviours, nullptr) << channel;
    EXPECT_EQ(behaviours->size(), 1) << channel;
  }
  ListObject* none = listOf(movie->spriteRef(1).getProperty(sym::scriptInstanceList));
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none->size(), 0);
  for (int i = 0; i < 5; ++i) frame();
  EXPECT_EQ(movie->currentFrame(), 1);
  EXPECT_FALSE(movie->stopped());
}

TEST_F(GameMovieTest, StoppingClearsTheVersionText) {
  frame();
  movie->quit();
  EXPECT_EQ(cast.named("versie").text, "");
  EXPECT_EQ(movie->tick(), Playing::stopped);
}

// An observer removed while an event is told hears nothing more, not even that event; one added
// then hears the events after it.
TEST(GameObservers, MayComeAndGoWhileAnEventIsTold) {
  struct Counting final : GameObserver {
    int menus = 0;
    std::function<void()> atMenu;
    void menuShown() override {
      ++menus;
      if (atMenu) atMenu();
    }
  };
  GameObservers observers;
  Counting first, second, late;
  observers.add(first);
  observers.add(second);
  first.atMenu = [&] {
    observers.remove(second);
    observers.add(late);
  };
  observers.tell(&GameObserver::menuShown);
  EXPECT_EQ(second.menus, 0);
  EXPECT_EQ(late.menus, 0);
  first.atMenu = [&] { observers.remove(first); };
  observers.tell(&GameObserver::menuShown);
  observers.tell(&GameObserver::menuShown);
  EXPECT_EQ(first.menus, 2);
  EXPECT_EQ(second.menus, 0);
  EXPECT_EQ(late.menus, 2);
}

}  // namespace
}  // namespace qn::game
