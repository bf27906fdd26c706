// The game's own symbols: the names of its properties, modes, record keys and handlers, numbered
// consecutively from 365 (after the built-in vocabulary and the unused 364) in the order the movie
// definition registers them. Scripts dispatch on these numbers, never on the names.
#pragma once

#include <array>
#include <string_view>

#include "script/symbols.h"

// The one list of the game's names, in registration order.
#define QN_GAME_SYMBOLS(X) \
  X(singlePlayer) X(Dist1) X(Dist2) X(Dist3) X(Dist4) X(pList) X(l1) X(midden) X(hoogte) \
  X(blinktime) X(graden) X(feffect) X(ftoday) X(startPlayers) X(pButton) X(pMaxBall) X(pBallList) \
  X(fbotsList) X(frameCount) X(foldframe) X(pPlayer) X(pball) X(pmaxplayer) X(lAllBallStill) \
  X(fTel) X(fPositionListje) X(mousecheck) X(pBallCount) X(wurm) X(endwidth) X(playerList) \
  X(mode) X(waitstart) X(clicky2) X(wobble) X(clicky) X(waity) X(aimrot) X(endWhite) X(maxXspeed) \
  X(xSpeed) X(xaccel) X(extraRot) X(man) X(straal) X(manPos) X(parrowPos) X(rot) X(arrow) \
  X(arrowLeft) X(arrowRight) X(manLeft) X(manRight) X(setRot) X(setpower) X(spr) X(speed) \
  X(accel) X(pos) X(maxspeed) X(erot) X(diggedIn) X(frm) X(maxfrm) X(anim) X(Init) \
  X(setupPlayers) X(init2) X(setWhiteRot) X(throwWhiteRot) X(rollWhite) X(initPlayer) \
  X(initThrow) X(rollBall) X(waitplayer) X(waitMenu) X(showResult) X(showMap) X(mouse) X(effect) \
  X(wolkje) X(floorScale) X(scalefault) X(blendout) X(wurmy) X(digOut) X(digIn) X(walk) \
  X(wurmhit) X(paint) X(white) X(laying) X(metal) X(shoot) X(paint2) X(kill) X(ball) X(telly) \
  X(fault) X(maxtime) X(thetime) X(paint3) X(startPlayer) X(makecloud) X(checkbotsje) X(addStar) \
  X(keycheck) X(makeFloorFX) X(basew) X(baseh) X(addBall) X(oldNull) X(botsing) X(extraWhite) \
  X(shad) X(botsy) X(botsyspr) X(deltaz) X(pointspr) X(rotspeed) X(zrot) X(oldzspeed) X(zspeed) \
  X(grav) X(kracht) X(brake) X(perc) X(typ) X(player) X(finish) X(buttoncheck) X(namespr) X(ai) \
  X(col) X(fColor) X(back) X(lead) X(dist) X(turn) X(yellow) X(ff)

namespace qn::game {

namespace s {
QN_DEFINE_SYMBOLS(QN_GAME_SYMBOLS, sym::firstMovieSymbol)

inline constexpr SymbolNumber first = singlePlayer;
inline constexpr SymbolNumber last = ff;
}  // namespace s

// The names in number order: gameSymbolNames[n - s::first] names symbol n.
inline constexpr std::array<std::string_view, s::last - s::first + 1> gameSymbolNames =
    QN_SYMBOL_NAMES(QN_GAME_SYMBOLS);

// The numbers the game's scripts were built against.
static_assert(gameSymbolNames.size() == 141 && s::mode == 396 && s::ff == 505);

// Enters the game's names into the process's symbol table; false when one of them was taken.
bool registerGameSymbols();

}  // namespace qn::game
