// The frame script of channel 0 (castLib 2 member 3): the movie has one frame, and every exitFrame
// goes to it again, so the game runs in its stepFrame and behaviours while the frame holds.
#pragma once

#include "engine/event_mask.h"
#include "engine/script_instance.h"

namespace qn::game {

class FrameLoop final : public ScriptInstance {
 public:
  FrameLoop() : ScriptInstance(event::exitFrame) {}
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;

 private:
  Value exitFrame();
};

}  // namespace qn::game
