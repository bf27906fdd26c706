#include "game/script_constants.h"

#include "game/game_symbols.h"

namespace qn::game {

ScriptConstants makeScriptConstants() {
  return ScriptConstants{
      .emptyText = Value(""),
      .zeroText = Value("0"),
      .playerOne = Value("Player One"),
      .dael = Value("Dael"),
      .versionText = Value("1.0"),
      .gameLabel = Value("game"),
      .engineScript = Value("Engine"),
      .menuTune = Value("loop"),
      .zeroFloat = Value(0.0),
      .waitstart = Value::symbol(s::waitstart),
  };
}

}  // namespace qn::game
