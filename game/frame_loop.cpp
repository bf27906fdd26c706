#include "game/frame_loop.h"

#include "game/game_movie.h"
#include "script/handler_call.h"

namespace qn::game {

bool FrameLoop::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) {
  if (method == sym::exitFrame) return runHandler(&FrameLoop::exitFrame, *this, argc, argv, result);
  return false;
}

Value FrameLoop::exitFrame() {
  GameMovie& movie = GameMovie::running();
  movie.goToFrame(Value(movie.currentFrame()));
  return Value();
}

}  // namespace qn::game
