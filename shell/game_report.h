// The machine-readable game report (`--report FILE`): JSON Lines, one object a line, written and
// flushed as it happens. It follows the game's rule events (game/game_observer.h) and writes what
// the rules announce, with the values they computed; it changes nothing in the game.
//
//   throw  a ball leaves the hand
//   rest   the balls of a throw have stopped: for the target ball the frame it stops, for a
//          player's ball the frame the distances are measured, with the balls removed since the
//          throw and why, and the ball collisions during it
//   end    the end is over
//   menu   the game is back on the menu, with the script pool's cells in use once the frame is
//          complete and, when asked for, the peak resident memory (it differs from run to run)
//
// Numbers are the engine's own values (integers as integers, floats as round-trip doubles).
// Every line goes through one checked output file, or to a sink of the caller's (a room checks
// each throw's line against the room's digest of it).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <nlohmann/json.hpp>

#include "game/game_observer.h"
#include "shell/output_file.h"

namespace qn {

class GameReport final : public game::GameObserver {
 public:
  // Takes each line, without its line break, instead of the file.
  using LineSink = std::function<void(const std::string& line)>;

  explicit GameReport(bool withMemory, LineSink sink = {}) : withMemory_(withMemory), sink_(std::move(sink)) {}
  // The file, to open, close and ask whether every line was written.
  OutputFile& file() { return file_; }

  // Around every tick of the movie: the frame the lines of its events carry; lines that wait for
  // the frame to complete are written after it.
  void beginFrame(uint32_t frame) { frame_ = frame; }
  void endFrame();

  void menuShown() override;
  void endStarted() override { ++game_; }
  void ballsCollided() override { ++collisions_; }
  void throwReleased(const game::ThrowReleased& release) override;
  void ballRemoved(const game::BallRemoved& removed) override;
  void throwSettled(const game::ThrowSettled& settled) override;
  void endFinished(const game::EndFinished& end) override;

 private:
  using Json = nlohmann::ordered_json;

  Json lineOf(const char* type) const;
  void writeLine(const Json& line);
  void startCounting();

  const bool withMemory_;
  LineSink sink_;
  OutputFile file_;
  uint32_t frame_ = 0;
  int32_t game_ = 0;
  int32_t collisions_ = 0;
  Json removed_ = Json::array();    // the balls removed since the throw
  bool menuLinePending_ = false;
};

}  // namespace qn
