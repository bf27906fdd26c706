// Unattended play around the movie's tick: the attract-mode demo (`--demo [N]`), the game report
// (`--report FILE`) and the frame statistics (`--stats`). The demo and the report follow the game's
// rule events. The application asks it for the demo's input before each tick, lets it time the
// tick, and finishes it at shutdown.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "shell/command_line.h"
#include "shell/demo_driver.h"
#include "net/device_input.h"
#include "shell/exit_code.h"
#include "shell/frame_statistics.h"
#include "shell/game_report.h"

namespace qn {

class ShellDisplayHost;
namespace game {
class GameMovie;
}

class UnattendedPlay {
 public:
  explicit UnattendedPlay(const ShellOptions& options);
  ~UnattendedPlay();
  UnattendedPlay(const UnattendedPlay&) = delete;
  UnattendedPlay& operator=(const UnattendedPlay&) = delete;

  // Opens the report and lets the demo and the report follow `game`. Refused (the reason on
  // standard error) when the movie is not the game (null) while they are asked for, or when the
  // report file cannot be created.
  std::optional<ExitCode> begin(game::GameMovie* game, ShellDisplayHost& host);

  // The demo's tap due before this tick, if a demo runs.
  std::optional<DeviceInput> demoInput();
  // A person pressed something: the demo stops and the game is theirs.
  void personTookOver();
  bool demoFinished() const { return demo_ && demo_->finished(); }
  bool demoStalled() const { return demo_ && demo_->stalled(); }

  // Runs `tick` (the movie's tick numbered `frame`), timed and watched.
  void runTick(uint32_t frame, const std::function<void()>& tick);

  // Prints the statistics and closes the report; a failure (the reason on standard error) when
  // the report could not be written in full or the demo gave up on a game.
  std::optional<ExitCode> finish();

 private:
  const ShellOptions& options_;
  game::GameMovie* game_ = nullptr;
  ShellDisplayHost* host_ = nullptr;
  std::unique_ptr<DemoDriver> demo_;
  std::unique_ptr<GameReport> report_;
  std::unique_ptr<FrameStatistics> statistics_;
  bool demoGaveUp_ = false;
};

}  // namespace qn
