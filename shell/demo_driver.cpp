#include "shell/demo_driver.h"

#include <algorithm>
#include <iterator>

namespace qn {

namespace {

namespace ch = game::ch;
namespace member = game::member;
using game::kMenuPause, game::kTapGap;

constexpr int32_t kLineUps[] = {2, 3, 4, 1};

}  // namespace

int32_t DemoDriver::computersInLineUp() const { return kLineUps[gamesPlayed_ % std::size(kLineUps)]; }

void DemoDriver::enter(Phase phase) {
  phase_ = phase;
  framesInPhase_ = 0;
  if (phase != Phase::setUp) return;
  // The computers from slot 1 on, the other slots not playing.
  std::vector<int32_t> kinds(game::kPlayerSlots, member::notPlaying);
  std::fill_n(kinds.begin(), computersInLineUp(), member::computer);
  lineUp_.emplace(std::move(kinds));
}

DeviceInput DemoDriver::tap(Movie& movie, int32_t channel) {
  const IntPoint at = game::tapPointOn(movie, channel);
  const auto x = static_cast<uint32_t>(at.x), y = static_cast<uint32_t>(at.y);
  pendingUp_ = DeviceInput{InputKind::stylusUp, x, y};
  waitFrames_ = kTapGap;
  return DeviceInput{InputKind::stylusDown, x, y};
}

std::optional<DeviceInput> DemoDriver::inputBeforeTick(Movie& movie) {
  if (pendingUp_) {
    DeviceInput up = *pendingUp_;
    pendingUp_.reset();
    return up;
  }
  if (finished() || stalled_) return std::nullopt;
  ++framesInPhase_;
  if (waitFrames_ > 0) {
    --waitFrames_;
    return std::nullopt;
  }
  switch (phase_) {
    case Phase::menu:
      if (shown_ != Screen::menu) {
        framesInPhase_ = 0;  // the menu is not there yet
        return std::nullopt;
      }
      if (framesInPhase_ < kMenuPause) return std::nullopt;
      enter(Phase::setUp);
      return tap(movie, ch::startHotSpot);
    case Phase::setUp:
      if (shown_ != Screen::setUp) {  // START did not take: try again from the menu
        enter(Phase::menu);
        return std::nullopt;
      }
      return setUpNextSlot(movie);
    case Phase::playing:
      if (shown_ == Screen::setUp) {  // done did not take
        enter(Phase::setUp);
        return std::nullopt;
      }
      if (shown_ == Screen::menu) {
        ++gamesPlayed_;
        enter(Phase::menu);
      } else if (framesInPhase_ > kLongestGame) {
        stalled_ = true;
      }
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<DeviceInput> DemoDriver::setUpNextSlot(Movie& movie) {
  if (std::optional<int32_t> kindButton = lineUp_->nextTap(movie)) return tap(movie, *kindButton);
  enter(Phase::playing);
  return tap(movie, ch::setupDone);
}

}  // namespace qn
