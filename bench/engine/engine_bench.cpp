// One frame step of a 500-channel movie whose 100 sprites carry behaviours (nothing drawn), and
// `sendAllSprites` over those sprites.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>

#include "engine/script_calls.h"
#include "script/handler_call.h"
#include "script/list_object.h"
#include "script/symbol_table.h"
#include "tests/engine/fake_cast.h"
#include "tests/engine/fake_services.h"

namespace qn {
namespace {

using testing::FakeCast;

constexpr SymbolNumber kNudge = sym::firstMovieSymbol;
constexpr int32_t kChannels = 500;
constexpr int32_t kSprites = 100;

// A behaviour with the frame events and one message handler, each touching its sprite.
class Walker : public ScriptInstance {
 public:
  Walker() : ScriptInstance(event::enterFrame | event::exitFrame | event::prepareFrame) {}
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) override {
    switch (method) {
      case sym::enterFrame:
      case sym::exitFrame:
      case sym::prepareFrame: return runHandler(&Walker::step, *this, argc, argv, result);
      case kNudge: return runHandler(&Walker::nudge, *this, argc, argv, result);
      default: return false;
    }
  }

 private:
  Value step() {
    ++steps_;
    return Value();
  }
  Value nudge(Value by) {
    sprite(spriteNum()).setIntProperty(sym::locH, by.toInteger());
    return Value();
  }
  int32_t steps_ = 0;
};

class BenchMovie : public Movie {
 public:
  using Movie::Movie;
  bool defineMovie() override {
    stageWidth_ = 240;
    stageHeight_ = 320;
    tempo_ = 30;
    lastFrame_ = 1;
    channelCount_ = kChannels;
    idleHandlerPeriod_ = 0;
    rolloverPeriod_ = 0;
    for (int32_t i = 0; i < kSprites; ++i) addSpan(i + 1, 1, 1, 1 + i * (kChannels / kSprites), kSpan);
    return Movie::defineMovie();
  }
  Value createBehaviours(int32_t, int32_t) override { return makeList({Value::adopt(new Walker())}); }
  void createScriptInstance(Value& result, int32_t, int32_t) override { result = sharedZero; }
  void resetGlobals(Value& result) override { result = Value(); }

 private:
  static constexpr int32_t kSpan[] = {9, 1, 10, 1, 0, 10, 1, 10};
};

// The movie and its fake services, loaded and past its first frame.
struct Stage {
  Stage() {
    initValueModel();
    SymbolTable::global().clear();
    auto* made = new BenchMovie(MovieServices{display, images, cast, media, sound});
    held = Value::adopt(made);
    movie = made;
    movie->defineMovie();
    advance();
  }
  ~Stage() {
    held = Value();
    shutdownValueModel();
  }
  void advance() {
    display.clock += 34;
    movie->tick();
  }
  testing::FakeDisplay display;
  testing::RecordingStageImages images;
  FakeCast cast;
  testing::FakeMedia media;
  testing::FakeSound sound;
  Value held;
  Movie* movie = nullptr;
};

void BM_FrameStep(benchmark::State& state) {
  Stage stage;
  for (auto _ : state) stage.advance();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FrameStep);

void BM_SendAllSprites(benchmark::State& state) {
  Stage stage;
  int32_t where = 0;
  for (auto _ : state) sendAllSprites(kNudge, ++where & 255);
  state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(BM_SendAllSprites);

}  // namespace
}  // namespace qn
