// The game's state machine: the engine object's frame step, the modes that start an end, choose
// who throws next and finish it, and the way back to the menu.
#pragma once

#include "game/engine_script.h"

namespace qn::game {

// Once per frame: the mode's rule, killed balls removed, the stylus latch, the worm, the effects,
// the stylus stars.
void stepFrame(EngineScript& e);

// Whether `mode` is one of the game's modes: one whose rule stepFrame runs, or the top view's.
bool isGameMode(SymbolNumber mode);

// The button behaviours' rules (each acts only in its modes).
void startGame(EngineScript& e);           // startgame
void openHelp(EngineScript& e);            // gohelp
void closeHelp(EngineScript& e);           // goscores
void backToMenu(EngineScript& e);          // gomenu
void changeSlot(EngineScript& e, int32_t slot);  // changeStatus
void playersChosen(EngineScript& e);       // setupDone

// The name of player index D: the text of the field shown in channel 203 + D.
Value playerName(int32_t index);

// startPlayer(index): the player's lines shown, a ball in the hand, one ball fewer left.
void startPlayer(EngineScript& e, int32_t index);
// finish(winner): the end's result text, banner, call and win count for player index `winner`
// (no valid index: a draw); then #waitMenu.
void finish(EngineScript& e, int32_t winner);

}  // namespace qn::game
