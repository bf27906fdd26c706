// The machine-readable game report (`--report FILE`): JSON Lines, one object a line, written and
// flushed as it happens. It watches the engine object from the shell side before and after every
// tick and never changes anything; no game rule knows it exists.
//
//   throw  the frame a ball leaves the hand (the release step #throwWhiteRot or #initThrow ran)
//   rest   every ball of that throw has come to rest: for the target ball the frame it stops, for
//          a player's ball the frame the distances are measured (#showResult)
//   end    the frame finish runs
//   menu   the frame the game is back on the menu, with the script pool's cells in use and, when
//          asked for, the peak resident memory (for soak runs; it differs from run to run)
//
// Numbers are the engine's own values (integers as integers, floats as round-trip doubles).
// "E" is not kept by the game: it is worked back from the stored zspeed (zspeed = E * 4 for the
// target ball, 36 * E / 70 for a player's ball).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/movie.h"
#include "shell/output_file.h"

namespace qn {

namespace game {
class GameMovie;
}

class GameReport {
 public:
  explicit GameReport(bool withMemory) : withMemory_(withMemory) {}
  // The file, to open, close and ask whether every line was written.
  OutputFile& file() { return file_; }

  void beforeTick(game::GameMovie& movie);
  void afterTick(game::GameMovie& movie, uint32_t frame);

 private:
  void startCounting();
  void writeThrow(game::GameMovie& movie, uint32_t frame, bool target);
  void writeRest(game::GameMovie& movie, uint32_t frame);
  void writeEnd(game::GameMovie& movie, uint32_t frame);
  void writeMenu(uint32_t frame);
  void watchRolling(game::GameMovie& movie);

  const bool withMemory_;
  OutputFile file_;
  int32_t game_ = 0;
  SymbolNumber modeBefore_ = 0;
  // While balls roll: the balls before the tick, who each had collided with, and how many fault
  // effects ran, so the tick's collisions and removed balls can be told.
  std::vector<Value> ballsBefore_;
  std::vector<std::pair<const ScriptObject*, const ScriptObject*>> collidedBefore_;
  int32_t faultsBefore_ = 0;
  int32_t collisions_ = 0;
  struct RemovedBall {
    Value ball;  // the ball record as it was when removed
    bool fault;  // short of the line; otherwise lost over an edge
  };
  std::vector<RemovedBall> removed_;
};

}  // namespace qn
