#include "shell/unattended_play.h"

#include "game/game_movie.h"
#include "platform/platform.h"
#include "platform/process_usage.h"
#include "script/small_block_pool.h"
#include "shell/shell_display_host.h"

namespace qn {

namespace {

uint64_t nanosecondsOf(uint64_t counts) {
  const uint64_t frequency = platform::highResolutionFrequency();
  return counts / frequency * 1'000'000'000u + counts % frequency * 1'000'000'000u / frequency;
}

}  // namespace

UnattendedPlay::UnattendedPlay(const ShellOptions& options) : options_(options) {
  if (options.demoGames) demo_ = std::make_unique<DemoDriver>(*options.demoGames);
  if (!options.reportPath.empty()) report_ = std::make_unique<GameReport>(options.stats);
  if (options.stats) statistics_ = std::make_unique<FrameStatistics>();
}

UnattendedPlay::~UnattendedPlay() {
  if (game_ == nullptr) return;
  if (demo_) game_->observers().remove(*demo_);
  if (report_) game_->observers().remove(*report_);
}

std::optional<ExitCode> UnattendedPlay::begin(game::GameMovie* game, ShellDisplayHost& host) {
  host_ = &host;
  if ((demo_ || report_) && game == nullptr) {
    platform::debugOutput("--demo and --report need the game's movie\n");
    return ExitCode::unexpectedError;
  }
  if (report_ && !report_->file().open(options_.reportPath)) {
    platform::debugOutput("--report " + report_->file().problem() + "\n");
    return ExitCode::writeFailed;
  }
  game_ = game;
  if (demo_) game_->observers().add(*demo_);
  if (report_) game_->observers().add(*report_);
  return std::nullopt;
}

std::optional<DeviceInput> UnattendedPlay::demoInput() {
  if (!demo_ || game_ == nullptr) return std::nullopt;
  return demo_->inputBeforeTick(*game_);
}

void UnattendedPlay::personTookOver() {
  if (demo_ && game_ != nullptr) game_->observers().remove(*demo_);
  demo_.reset();
}

void UnattendedPlay::runTick(uint32_t frame, const std::function<void()>& tick) {
  if (report_) report_->beginFrame(frame);
  if (!statistics_) {
    tick();
  } else {
    host_->startFrame();
    const uint64_t cpuStart = platform::threadCpuNanoseconds();
    const uint64_t start = platform::highResolutionCounter();
    tick();
    const uint64_t end = platform::highResolutionCounter();
    const uint64_t cpuEnd = platform::threadCpuNanoseconds();
    const ShellDisplayHost::FramePhases& phases = host_->endFrame(end);
    const uint64_t otherCounts = end - start - phases.compositionCounts - phases.presentCounts;
    statistics_->add({nanosecondsOf(otherCounts), nanosecondsOf(phases.compositionCounts),
                      nanosecondsOf(phases.presentCounts), cpuEnd - cpuStart});
  }
  if (report_) report_->endFrame();
  if (demoStalled() && !demoGaveUp_) {
    demoGaveUp_ = true;
    platform::debugOutput("--demo: game " + std::to_string(demo_->gamesPlayed() + 1) +
                          " did not come back to the menu within " + std::to_string(DemoDriver::kLongestGame) +
                          " frames\n");
  }
}

std::optional<ExitCode> UnattendedPlay::finish() {
  std::optional<ExitCode> failed;
  if (demoGaveUp_) failed = ExitCode::gameStalled;
  if (statistics_)
    platform::debugOutput(statistics_->summary(platform::peakResidentBytes(), SmallBlockPool::shared().cellsInUse()));
  if (report_ && report_->file().isOpen() && !report_->file().close()) {
    platform::debugOutput("--report " + report_->file().problem() + "\n");
    if (!failed) failed = ExitCode::writeFailed;
  }
  return failed;
}

}  // namespace qn
