#include "shell/demo_driver.h"

#include <algorithm>
#include <iterator>

#include "shell/sprite_on_screen.h"

namespace qn {

namespace {

namespace ch = game::ch;
namespace member = game::member;

constexpr int32_t kLineUps[] = {2, 3, 4, 1};

}  // namespace

int32_t DemoDriver::computersInLineUp() const { return kLineUps[gamesPlayed_ % std::size(kLineUps)]; }

void DemoDriver::enter(Phase phase) {
  phase_ = phase;
  framesInPhase_ = 0;
  if (phase == Phase::setUp)
    for (std::vector<int32_t>& kinds : kindsSeen_) kinds.clear();
}

DeviceInput DemoDriver::tap(Movie& movie, int32_t channel) {
  const IntPoint at = centreOfSprite(movie, channel);
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

// Computers first, from slot 1 on, so that turning the other slots off never meets the rule that
// keeps the last active slot in play. A slot whose button comes back to a kind it showed before
// has gone round its kinds: it is left as it is.
std::optional<DeviceInput> DemoDriver::setUpNextSlot(Movie& movie) {
  for (int32_t slot = 0; slot < game::kPlayerSlots; ++slot) {
    const int32_t wanted = slot < computersInLineUp() ? member::computer : member::notPlaying;
    const int32_t channel = ch::slotKinds[slot];
    const int32_t shown = memberInChannel(movie, channel);
    std::vector<int32_t>& seen = kindsSeen_[slot];
    if (shown == wanted || std::find(seen.begin(), seen.end(), shown) != seen.end()) continue;
    seen.push_back(shown);
    return tap(movie, channel);
  }
  enter(Phase::playing);
  return tap(movie, ch::setupDone);
}

}  // namespace qn
