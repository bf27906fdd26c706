// The behaviours of the game's buttons (startgame, setupDone, changeStatus, gomenu, gohelp,
// goscores, clickPow, showmap, closemap and the worm's): each makes its sprite clickable by
// listening for mouseUp, and its mouseUp runs the button's rule on the engine object.
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

  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;

 private:
  Value mouseUp();

  int32_t member_;
};

}  // namespace qn::game
