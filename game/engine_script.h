// The parent script "engine" (castLib 2 member 2): the one object that runs the game. startMovie
// makes it with `new` and puts it in the actorList, so it receives stepFrame once per frame;
// `pList` holds the game's mode and the aiming state. The buttons reach it through the movie
// global that holds it.
#pragma once

#include "engine/script_instance.h"

namespace qn::game {

class EngineScript final : public ScriptInstance {
 public:
  EngineScript() : ScriptInstance(0) {}
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;

 protected:
  Value* ownProperty(SymbolNumber property) override;

 private:
  Value construct();

  Value pList;          // the game's mode and aiming state
  Value l1;             // player index of the current leader, 0 when nobody leads
  Value midden;         // horizontal centre of the field
  Value hoogte;         // depth of the field, for the perspective scale
  Value blinktime;      // when the idle hint glow started counting
  Value graden;         // phase of the idle hint glow in degrees
  Value feffect;        // running visual effects
  Value ftoday;         // best distance since the program started
  Value startPlayers;   // players still to throw their first ball, in order
  Value pButton;        // actions of the on-screen buttons in channels 32 to 37
  Value pMaxBall;       // balls per player
  Value pBallList;      // ball records of the end, the target ball first
  Value pPlayer;        // index in playerList of the player whose turn it is
  Value pball;          // index in pBallList of the ball being handled
  Value pmaxplayer;     // number of players taking part
  Value lAllBallStill;  // 1 when no ball moved during the last frame
  Value wurm;           // the worm
  Value endwidth;       // power-bar width at which a computer player releases
  Value playerList;     // one player record per player taking part
};

}  // namespace qn::game
