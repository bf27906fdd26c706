// The behaviours of the game's buttons (startgame, setupDone, changeStatus, gomenu, gohelp,
// goscores, clickPow, showmap, closemap and the worm's): each makes its sprite clickable by
// listening for mouseUp. What a click does is the game flow's, which answers the event in the
// engine's modes; until a button's handler is there, the click is not handled.
#pragma once

#include <cstdint>

#include "engine/event_mask.h"
#include "engine/script_instance.h"

namespace qn::game {

class ButtonBehaviour final : public ScriptInstance {
 public:
  // `member`: the behaviour's script member in castLib 2.
  explicit ButtonBehaviour(int32_t member) : ScriptInstance(event::mouseUp), member_(member) {}
  int32_t member() const { return member_; }

 private:
  int32_t member_;
};

}  // namespace qn::game
