#include "game/script_constants.h"

namespace qn::game {

ScriptConstants makeScriptConstants() {
  return ScriptConstants{
      .emptyText = Value(""),
      .zeroText = Value("0"),
      .playerOne = Value("Player One"),
      .dael = Value("Dael"),
      .gameLabel = Value("game"),
      .engineScript = Value("Engine"),
      .menuTune = Value("loop"),
      .zeroFloat = Value(0.0),
  };
}

}  // namespace qn::game
