// The game's own symbols: the names of its properties, modes, record keys and handlers, numbered
// consecutively from 365 (after the built-in vocabulary and the unused 364) in the order the movie
// definition registers them. Scripts dispatch on these numbers, never on the names.
#pragma once

#include <array>
#include <string_view>

#include "script/symbols.h"

namespace qn::game {

namespace s {
enum : SymbolNumber {
  singlePlayer = sym::firstMovieSymbol,
  Dist1, Dist2, Dist3, Dist4, pList, l1, midden, hoogte, blinktime, graden, feffect, ftoday,
  startPlayers, pButton, pMaxBall, pBallList, fbotsList, frameCount, foldframe, pPlayer, pball,
  pmaxplayer, lAllBallStill, fTel, fPositionListje, mousecheck, pBallCount, wurm, endwidth,
  playerList, mode, waitstart, clicky2, wobble, clicky, waity, aimrot, endWhite, maxXspeed, xSpeed,
  xaccel, extraRot, man, straal, manPos, parrowPos, rot, arrow, arrowLeft, arrowRight, manLeft,
  manRight, setRot, setpower, spr, speed, accel, pos, maxspeed, erot, diggedIn, frm, maxfrm, anim,
  Init, setupPlayers, init2, setWhiteRot, throwWhiteRot, rollWhite, initPlayer, initThrow,
  rollBall, waitplayer, waitMenu, showResult, showMap, mouse, effect, wolkje, floorScale,
  scalefault, blendout, wurmy, digOut, digIn, walk, wurmhit, paint, white, laying, metal, shoot,
  paint2, kill, ball, telly, fault, maxtime, thetime, paint3, startPlayer, makecloud, checkbotsje,
  addStar, keycheck, makeFloorFX, basew, baseh, addBall, oldNull, botsing, extraWhite, shad, botsy,
  botsyspr, deltaz, pointspr, rotspeed, zrot, oldzspeed, zspeed, grav, kracht, brake, perc, typ,
  player, finish, buttoncheck, namespr, ai, col, fColor, back, lead, dist, turn, yellow, ff,
};
inline constexpr SymbolNumber first = singlePlayer;
inline constexpr SymbolNumber last = ff;
}  // namespace s

// The names in number order: gameSymbolNames[n - s::first] names symbol n.
inline constexpr std::array<std::string_view, s::last - s::first + 1> gameSymbolNames = {
    "singlePlayer", "Dist1", "Dist2", "Dist3", "Dist4", "pList", "l1", "midden", "hoogte",
    "blinktime", "graden", "feffect", "ftoday", "startPlayers", "pButton", "pMaxBall", "pBallList",
    "fbotsList", "frameCount", "foldframe", "pPlayer", "pball", "pmaxplayer", "lAllBallStill",
    "fTel", "fPositionListje", "mousecheck", "pBallCount", "wurm", "endwidth", "playerList",
    "mode", "waitstart", "clicky2", "wobble", "clicky", "waity", "aimrot", "endWhite", "maxXspeed",
    "xSpeed", "xaccel", "extraRot", "man", "straal", "manPos", "parrowPos", "rot", "arrow",
    "arrowLeft", "arrowRight", "manLeft", "manRight", "setRot", "setpower", "spr", "speed",
    "accel", "pos", "maxspeed", "erot", "diggedIn", "frm", "maxfrm", "anim", "Init",
    "setupPlayers", "init2", "setWhiteRot", "throwWhiteRot", "rollWhite", "initPlayer",
    "initThrow", "rollBall", "waitplayer", "waitMenu", "showResult", "showMap", "mouse", "effect",
    "wolkje", "floorScale", "scalefault", "blendout", "wurmy", "digOut", "digIn", "walk",
    "wurmhit", "paint", "white", "laying", "metal", "shoot", "paint2", "kill", "ball", "telly",
    "fault", "maxtime", "thetime", "paint3", "startPlayer", "makecloud", "checkbotsje", "addStar",
    "keycheck", "makeFloorFX", "basew", "baseh", "addBall", "oldNull", "botsing", "extraWhite",
    "shad", "botsy", "botsyspr", "deltaz", "pointspr", "rotspeed", "zrot", "oldzspeed", "zspeed",
    "grav", "kracht", "brake", "perc", "typ", "player", "finish", "buttoncheck", "namespr", "ai",
    "col", "fColor", "back", "lead", "dist", "turn", "yellow", "ff",
};

static_assert(gameSymbolNames.size() == 141);
static_assert(gameSymbolNames[s::mode - s::first] == "mode" && s::mode == 396);
static_assert(gameSymbolNames[s::Init - s::first] == "Init");
static_assert(gameSymbolNames[s::kracht - s::first] == "kracht");
static_assert(gameSymbolNames[s::ff - s::first] == "ff");

// Enters the game's names into the process's symbol table; false when one of them was taken.
bool registerGameSymbols();

}  // namespace qn::game
