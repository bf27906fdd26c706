// A small compiled movie, written the way the game is: script classes that switch on symbol
// numbers in `handle`, name their own properties in `ownProperty`, and take `me` first.
//
// The score (frames 1 to 10, labels "intro" 1, "play" 4, "end" 8; a one-frame score when asked):
//   channel 0   frames 1-10  the frame script (FrameLoop: exitFrame)
//   channel 3   frames 2-3   box 1.1 at (200, 200) with a Ticker (begin/end/enterFrame)
//   channel 5   frames 1-10  box 1.1 at (50, 50) with a Clicker
//   channel 6   frames 1-10  box 1.1 at (55, 55) with a Ticker only: transparent to the stylus
//   channel 7   frames 1-10  box 1.1 at (100, 100) with a Clicker
//   channel 9   frames 1-10  box 1.1 driven by commands with waits (locH 10, ink 8; after 2
//                            frames locH 20; after 3 more blendLevel 100), no behaviours
//   channel 12  frame 9      a tempo span: tempo 60
// Box 1.1 is 20 x 20 with regPoint (10, 10); member 1.2 is the same box as a #field; scripts are
// castLib 2: 1 the movie script, 2 "Engine" (parent), 3 FrameLoop, 4 Clicker, 5 Ticker.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/movie.h"
#include "engine/script_instance.h"
#include "fake_cast.h"

namespace qn::testing {

// The movie's own symbols, numbered after the built-in vocabulary.
namespace s {
enum : SymbolNumber {
  pClicks = sym::firstMovieSymbol,
  pName,
  pSteps,
  greet,
  bump,
};
}

class TestMovie;

// Every handler reports itself here as "<event> <where>"; a test may hook an action to a line.
struct EventLog {
  std::vector<std::string> lines;
  std::function<void(const std::string&)> onLine;
  void add(std::string line) {
    lines.push_back(line);
    if (onLine) onLine(line);
  }
};

class TestMovie : public Movie {
 public:
  TestMovie(const MovieServices& services, FakeCast& cast, EventLog& log, int32_t lastFrame, int32_t tempo)
      : Movie(services), cast_(cast), log_(log), scoreLength_(lastFrame), scoreTempo_(tempo) {}

  bool defineMovie() override;
  Value createBehaviours(int32_t spanId, int32_t channel) override;
  void createScriptInstance(Value& result, int32_t memberNumber, int32_t castLib) override;
  void resetGlobals(Value& result) override {
    gEngine = Value();
    result = Value();
  }

  EventLog& log() { return log_; }
  Value gEngine;  // a movie global

 private:
  FakeCast& cast_;
  EventLog& log_;
  int32_t scoreLength_;
  int32_t scoreTempo_;
};

}  // namespace qn::testing
