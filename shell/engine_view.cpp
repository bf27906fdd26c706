#include "shell/engine_view.h"

#include "game/game_symbols.h"
#include "script/symbol_object.h"

namespace qn {

Value engineObjectOf(Movie& movie) { return movie.property(sym::actorList).item(1); }

SymbolNumber gameModeOf(Movie& movie) {
  Value engine = engineObjectOf(movie);
  if (engine.isVoid()) return 0;
  return symbolOf(engine.getProperty(game::s::pList).getProperty(game::s::mode));
}

IntPoint centreOfSprite(Movie& movie, int32_t channel) {
  const IntRect rect = movie.sprite(channel).spriteRect;
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

int32_t memberInChannel(Movie& movie, int32_t channel) {
  return movie.sprite(channel).property(sym::memberNum).toInteger();
}

}  // namespace qn
