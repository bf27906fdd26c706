#include "test_movie.h"

#include "engine/script_calls.h"
#include "script/handler_call.h"
#include "script/list_object.h"
#include "script/symbol_object.h"
#include "script/symbol_table.h"

namespace qn::testing {

namespace {

TestMovie& testMovie() { return static_cast<TestMovie&>(theMovie()); }
void note(const std::string& line) { testMovie().log().add(line); }
std::string where(const ScriptInstance& me) { return std::to_string(me.spriteNum()); }

// The movie script: the movie's global handlers.
class MovieScript : public ScriptInstance {
 public:
  MovieScript() : ScriptInstance(0) {}
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) override {
    switch (method) {
      case sym::prepareMovie: return runHandler(&MovieScript::prepareMovie, *this, argc, argv, result);
      case sym::startMovie:
      case sym::stopMovie:
      case sym::exitFrame:
      case sym::enterFrame:
      case sym::prepareFrame:
      case sym::idle:
      case sym::keyDown:
      case sym::keyUp:
      case sym::mouseDown:
      case sym::mouseUp:
        note(std::string(builtinSymbolName(method)) + " movie");
        return true;
      case s::bump: return runHandler(&MovieScript::bump, *this, argc, argv, result);
      default: return false;
    }
  }

 private:
  Value prepareMovie() {
    Value ignored;
    testMovie().resetGlobals(ignored);
    note("prepareMovie movie");
    return Value();
  }
  // Nests itself `depth` times and answers how deep it got.
  Value bump(Value depth) {
    int32_t left = depth.toInteger();
    if (left <= 1) return Value(Movie::handlerDepth());
    return global(s::bump, left - 1);
  }
};

// The frame script: loops the playhead like the game's frame loop behaviour.
class FrameLoop : public ScriptInstance {
 public:
  FrameLoop() : ScriptInstance(event::exitFrame) {}
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) override {
    if (method == sym::exitFrame) return runHandler(&FrameLoop::exitFrame, *this, argc, argv, result);
    if (method == s::greet) {
      note("greet frame");
      return true;
    }
    if (method == sym::mouseUp || method == sym::mouseDown || method == sym::keyDown) {
      note(std::string(builtinSymbolName(method)) + " frame");
      return handlesInput;
    }
    return false;
  }
  static inline bool handlesInput = false;

 private:
  Value exitFrame() {
    note("exitFrame frame");
    return Value();
  }
};

// A button: counts its clicks in its own property.
class Clicker : public ScriptInstance {
 public:
  Clicker() : ScriptInstance(event::mouseDown | event::mouseUp | event::mouseUpOutside) {}
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) override {
    switch (method) {
      case sym::mouseDown:
      case sym::mouseUpOutside:
        note(std::string(builtinSymbolName(method)) + " " + where(*this));
        return true;
      case sym::mouseUp: return runHandler(&Clicker::mouseUp, *this, argc, argv, result);
      case s::greet: return runHandler(&Clicker::greet, *this, argc, argv, result);
      default: return false;
    }
  }

 protected:
  Value* ownProperty(SymbolNumber property) override { return property == s::pClicks ? &pClicks : nullptr; }

 private:
  Value mouseUp() {
    pClicks = pClicks + Value(1);
    note("mouseUp " + where(*this));
    return Value();
  }
  Value greet(Value who) {
    note("greet " + where(*this) + " " + stringOf(who));
    return Value(spriteNum());
  }
  Value pClicks = Value(0);
};

// Reports the sprite's life and the frame events.
class Ticker : public ScriptInstance {
 public:
  Ticker()
      : ScriptInstance(event::beginSprite | event::endSprite | event::enterFrame | event::prepareFrame |
                       event::exitFrame | event::mouseEnter | event::mouseLeave | event::mouseWithin) {}
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) override {
    switch (method) {
      case sym::beginSprite:
      case sym::endSprite:
      case sym::enterFrame:
      case sym::prepareFrame:
      case sym::exitFrame:
      case sym::mouseEnter:
      case sym::mouseLeave:
      case sym::mouseWithin:
        note(std::string(builtinSymbolName(method)) + " " + where(*this));
        return true;
      case s::greet: return runHandler(&Ticker::greet, *this, argc, argv, result);
      default: return false;
    }
  }

 private:
  Value greet(Value who) {
    note("greet " + where(*this) + " " + stringOf(who));
    return Value();
  }
};

// The parent script of the one object in the actor list.
class Engine : public ScriptInstance {
 public:
  Engine() : ScriptInstance(0) {}
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) override {
    switch (method) {
      case sym::new_: return runHandler(&Engine::construct, *this, argc, argv, result);
      case sym::stepFrame: return runHandler(&Engine::stepFrame, *this, argc, argv, result);
      case s::greet: return runHandler(&Engine::greet, *this, argc, argv, result);
      default: return false;
    }
  }

 protected:
  Value* ownProperty(SymbolNumber property) override {
    switch (property) {
      case s::pName: return &pName;
      case s::pSteps: return &pSteps;
      default: return nullptr;
    }
  }

 private:
  Value construct(Value name) {
    pName = name;
    return Value::share(this);
  }
  Value stepFrame() {
    pSteps = pSteps + Value(1);
    note("stepFrame engine");
    return Value();
  }
  Value greet(Value who) {
    note("greet engine " + stringOf(who));
    return Value();
  }
  Value pName;
  Value pSteps = Value(0);
};

// Spans: (opcode, value) pairs. castLibNum, memberNum first.
constexpr int32_t kFrameScript[] = {9, 2, 10, 3};
constexpr int32_t kTicked[] = {9, 1, 10, 1, 0, 200, 1, 200};
constexpr int32_t kButtonA[] = {9, 1, 10, 1, 0, 50, 1, 50};
constexpr int32_t kCover[] = {9, 1, 10, 1, 0, 55, 1, 55};
constexpr int32_t kButtonB[] = {9, 1, 10, 1, 0, 100, 1, 100};
constexpr int32_t kDriven[] = {9, 1, 10, 1, 0, 10, 1, 150, 3, 8, 11, 2, 0, 20, 11, 3, 6, 100};
constexpr int32_t kTempo[] = {9, -1, 10, 60};

enum Script : int32_t { kMovieScript = 1, kEngine, kFrameLoop, kClicker, kTicker };

}  // namespace

bool TestMovie::defineMovie() {
  SymbolTable& symbols = SymbolTable::global();
  symbols.addSymbol(s::pClicks, "pClicks");
  symbols.addSymbol(s::pName, "pName");
  symbols.addSymbol(s::pSteps, "pSteps");
  symbols.addSymbol(s::greet, "greet");
  symbols.addSymbol(s::bump, "bump");

  stageWidth_ = 240;
  stageHeight_ = 320;
  tempo_ = scoreTempo_;
  lastFrame_ = scoreLength_;
  channelCount_ = 20;
  colorDepth_ = 16;
  mediaFileName_ = "Test.qmf";

  cast_.add(new BoxMember(sym::bitmap, 1, 1, 20, 20, {10, 10}), "box");
  cast_.add(new BoxMember(sym::field, 2, 1, 20, 20, {10, 10}), "label");
  cast_.add(new BoxMember(sym::sound, 3, 1, 0, 0, {}), "jingle");
  cast_.add(new ScriptMember(*this, kMovieScript, 2, sym::movie));
  cast_.add(new ScriptMember(*this, kEngine, 2, sym::parent), "Engine");
  cast_.add(new ScriptMember(*this, kFrameLoop, 2, sym::score));
  cast_.add(new ScriptMember(*this, kClicker, 2, sym::score));
  cast_.add(new ScriptMember(*this, kTicker, 2, sym::score));

  addSpan(1, 1, 10, 0, kFrameScript);
  addSpan(2, 2, 3, 3, kTicked);
  addSpan(3, 1, 10, 5, kButtonA);
  addSpan(4, 1, 10, 6, kCover);
  addSpan(5, 1, 10, 7, kButtonB);
  addSpan(6, 1, 10, 9, kDriven);
  addSpan(7, 9, 9, 12, kTempo);
  registerLabel(1, "intro");
  registerLabel(4, "play");
  registerLabel(8, "end");
  for (SymbolNumber handler : std::initializer_list<SymbolNumber>{sym::prepareMovie, sym::startMovie, sym::stopMovie, sym::exitFrame, sym::enterFrame,
                               sym::prepareFrame, sym::idle, sym::keyDown, sym::keyUp, sym::mouseDown, sym::mouseUp,
                               SymbolNumber{s::bump}})
    registerMovieHandler(handler, 2, kMovieScript);
  return Movie::defineMovie();
}

Value TestMovie::createBehaviours(int32_t spanId, int32_t) {
  auto behaviour = [&](int32_t script) {
    Value object = qn::callGlobal(*this, sym::new_, cast_.find(memberKey(script, 2))->scriptObject());
    return makeList({object});
  };
  switch (spanId) {
    case 1: return behaviour(kFrameLoop);
    case 2:
    case 4: return behaviour(kTicker);
    case 3:
    case 5: return behaviour(kClicker);
    default: return Value();
  }
}

void TestMovie::createScriptInstance(Value& result, int32_t memberNumber, int32_t castLib) {
  if (castLib != 2) {
    result = sharedZero;
    return;
  }
  switch (memberNumber) {
    case kMovieScript: result = Value::adopt(new MovieScript()); return;
    case kEngine: result = Value::adopt(new Engine()); return;
    case kFrameLoop: result = Value::adopt(new FrameLoop()); return;
    case kClicker: result = Value::adopt(new Clicker()); return;
    case kTicker: result = Value::adopt(new Ticker()); return;
    default: result = sharedZero; return;
  }
}

}  // namespace qn::testing
