// The movie script (castLib 2 member 1): prepareMovie, startMovie and stopMovie, which set up the
// menu, the player names, the win counts and the engine object before the first frame.
#pragma once

#include "engine/script_instance.h"

namespace qn::game {

class MovieScript final : public ScriptInstance {
 public:
  MovieScript() : ScriptInstance(0) {}
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;

 private:
  Value prepareMovie();
  Value startMovie();
  Value stopMovie();
};

}  // namespace qn::game
