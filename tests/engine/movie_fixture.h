// A loaded test movie on fake services, with the pool checked for leaks afterwards.
#pragma once

#include <gtest/gtest.h>

#include "engine/script_calls.h"
#include "fake_services.h"
#include "script/small_block_pool.h"
#include "script/symbol_table.h"
#include "test_movie.h"

namespace qn::testing {

class MovieTest : public ::testing::Test {
 protected:
  void SetUp() override {
    initValueModel();
    SymbolTable::global().clear();
    cellsBefore_ = SmallBlockPool::shared().cellsInUse();
  }
  void TearDown() override {
    held_ = Value();
    cast.clear();
    EXPECT_EQ(SmallBlockPool::shared().cellsInUse(), cellsBefore_) << "a test leaked pool cells";
    shutdownValueModel();
  }

  TestMovie& load(int32_t lastFrame = 10, int32_t tempo = 30) {
    auto* made = new TestMovie(MovieServices{display, images, cast, media, sound}, cast, log, lastFrame, tempo);
    held_ = Value::adopt(made);
    movie = made;
    movie->defineMovie();
    return *movie;
  }
  void unload() {
    held_ = Value();
    movie = nullptr;
  }
  // Lets exactly one frame period (tempo 30) pass and ticks.
  void frame() {
    display.clock += 34;
    movie->tick();
  }
  void frames(int count) {
    for (int i = 0; i < count; ++i) frame();
  }
  std::vector<std::string> takeLog() { return std::exchange(log.lines, {}); }
  void touch(int32_t x, int32_t y) { movie->mouseDown({x, y}); }
  void release(int32_t x, int32_t y) { movie->mouseUp({x, y}); }

  FakeDisplay display;
  RecordingStageImages images;
  FakeCast cast;
  FakeMedia media;
  FakeSound sound;
  EventLog log;
  TestMovie* movie = nullptr;

 private:
  Value held_;
  size_t cellsBefore_ = 0;
};

}  // namespace qn::testing
