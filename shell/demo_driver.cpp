#include "shell/demo_driver.h"

#include "game/channels.h"
#include "game/game_symbols.h"
#include "shell/engine_view.h"

namespace qn {

namespace {

namespace ch = game::ch;
namespace member = game::member;
namespace s = game::s;

constexpr int32_t kLineUps[] = {2, 3, 4, 1};
constexpr uint32_t kTapsPerSlot = 3;  // a kind button cycles through three kinds

}  // namespace

int32_t DemoDriver::computersInLineUp() const { return kLineUps[gamesPlayed_ % std::size(kLineUps)]; }

void DemoDriver::enter(Phase phase) {
  phase_ = phase;
  framesInPhase_ = 0;
  if (phase == Phase::setUp)
    for (uint32_t& taps : tapsOnSlot_) taps = 0;
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
  const SymbolNumber mode = gameModeOf(movie);
  switch (phase_) {
    case Phase::menu:
      if (mode != s::waitstart) {
        framesInPhase_ = 0;  // the menu is not there yet
        return std::nullopt;
      }
      if (framesInPhase_ < kMenuPause) return std::nullopt;
      enter(Phase::setUp);
      return tap(movie, ch::startHotSpot);
    case Phase::setUp:
      if (mode != s::setupPlayers) {  // START did not take: try again from the menu
        enter(Phase::menu);
        return std::nullopt;
      }
      return setUpNextSlot(movie);
    case Phase::playing:
      if (mode == s::setupPlayers) {  // done did not take
        enter(Phase::setUp);
        return std::nullopt;
      }
      if (mode == s::waitstart) {
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
// keeps the last active slot in play.
std::optional<DeviceInput> DemoDriver::setUpNextSlot(Movie& movie) {
  for (size_t slot = 0; slot < std::size(tapsOnSlot_); ++slot) {
    const int32_t wanted = static_cast<int32_t>(slot) < computersInLineUp() ? member::computer : member::notPlaying;
    const int32_t channel = ch::slotKinds[static_cast<int32_t>(slot)];
    if (memberInChannel(movie, channel) == wanted || tapsOnSlot_[slot] >= kTapsPerSlot) continue;
    ++tapsOnSlot_[slot];
    return tap(movie, channel);
  }
  enter(Phase::playing);
  return tap(movie, ch::setupDone);
}

}  // namespace qn
