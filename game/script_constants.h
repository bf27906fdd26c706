// The constant values the game's scripts use, made once when the movie is defined so that
// handlers share them instead of building a new string or symbol on every call.
#pragma once

#include "script/value.h"

namespace qn::game {

struct ScriptConstants {
  Value emptyText;     // ""
  Value zeroText;      // "0", a fresh win count
  Value playerOne;     // "Player One", slot 1's name at start
  Value dael;          // "Dael", slot 2's computer player at start
  Value gameLabel;     // "game", the frame label
  Value engineScript;  // "Engine", the parent script's name
  Value menuTune;      // "loop", the music of the menu
  Value zeroFloat;     // 0.0, a distance not measured yet
};

ScriptConstants makeScriptConstants();

}  // namespace qn::game
