// The thrower: walking, aiming with the swinging arrow, the power swing and the release, for the
// target ball and for the players' balls.
#pragma once

#include "game/engine_script.h"

namespace qn::game {

inline constexpr int32_t kStraightUp = 270;    // rot: the arrow at the start of a turn
inline constexpr int32_t kFullBarWidth = 188;  // the power bar at the top of the swing (zrot 180)

// #Init: the thrower at his spot and the target ball in his hand.
void placeThrowerAndBall(EngineScript& e);
// #initPlayer: the aiming arrow turned to rot + extraRot + wobble and placed at the thrower.
void placeArrow(EngineScript& e);

void walkToTargetSpot(EngineScript& e);  // #setWhiteRot
void throwTargetBall(EngineScript& e);   // #throwWhiteRot
void aim(EngineScript& e);               // #setRot
void swingPower(EngineScript& e);        // #setpower
void releaseBall(EngineScript& e);       // #initThrow

// Banner and turn text fade by `step` a frame once the turn has been shown for 2 s.
void fadeTurnTextsAfterAWhile(EngineScript& e, int32_t step);

// The power swing starts: a person's press or the computer's choice.
void startSwing(EngineScript& e);
// The power is released at the bar's current width: mode #initThrow.
void releasePower(EngineScript& e);

// The thrower moves by xSpeed unless that takes him to or past a limit, where he stops exactly.
void walkThrower(Object pList, int32_t lowLimit, int32_t highLimit);

// The power button (clickPow) pressed: starts the swing in #setRot, releases in #setpower.
void pressPower(EngineScript& e);

}  // namespace qn::game
