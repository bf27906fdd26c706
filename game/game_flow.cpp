#include "game/game_flow.h"

#include <algorithm>
#include <iterator>

#include "game/ball_motion.h"
#include "game/ball_pool.h"
#include "game/computer_player.h"
#include "game/effects.h"
#include "game/event_records.h"
#include "game/field_geometry.h"
#include "game/results.h"
#include "game/stage_places.h"
#include "game/thrower.h"
#include "game/worm.h"

namespace qn::game {
namespace {

constexpr int32_t kMenuReturnMs = 5700;      // the end is celebrated this long
// gomenu dates the celebration back this far, so that the next frame ends it.
constexpr int32_t kCelebrationOverMs = 6001;
static_assert(kCelebrationOverMs > kMenuReturnMs);
constexpr int32_t kBlinkBright = 100, kBlinkDim = 80;
constexpr int32_t kTurnMarkerBlend = 80;
constexpr int32_t kStylusStars = 3;
constexpr const char* kBallNames[] = {"one", "two", "three"};
constexpr const char* kVictoryCalls[] = {"theking", "listen", "chair", "gangsters"};

// #Init: a new end.
void newEnd(EngineScript& e) {
  Object pList = e.pList();
  sprite(ch::banner)[sym::blend] = 100;
  sprite(ch::turnText)[sym::blend] = 100;
  hide(ch::menuBalls);
  pList[s::waity] = now();
  sprite(ch::banner)[sym::memberNum] = member::bannerNone;
  addBall(e, s::white, 0);
  for (ChannelRange hidden : {ch::turnButtons, ch::powerMeterAll}) {
    hide(hidden);
    setAll(hidden, sym::locZ, kAboveTheBalls);
  }
  for (int32_t splash = ch::mudSplashes.first; splash <= ch::mudSplashes.last; ++splash) {
    Object mud = sprite(splash);
    mud[sym::blend] -= 10;
    if (mud[sym::blend].toInteger() < 11) mud[sym::locH] = offStage::freeH;
  }
  hide(ch::aimingArrow);
  resetWorm(e);
  placeThrowerAndBall(e);
  sprite(ch::leaderMarker)[sym::locH] = offStage::freeH;
  pList[s::endWhite] = random(2 * (kMiddle - 60)) + 60;
  e.setMode(s::init2);
  observers().tell(&GameObserver::endStarted);
}

void passToTargetThrow(EngineScript& e) { e.setMode(s::setWhiteRot); }

// The player among those with balls left whose best ball lies farthest from the target ball;
// on equal distances the later one in playerList.
int32_t farthestPlayerWithBalls(EngineScript& e) {
  Object distances(movie().globals().distances);
  int32_t chosen = 0;
  Value farthest;
  for (int32_t index = 1; index <= countOf(e[s::playerList]) && index <= kPlayerSlots; ++index) {
    if (e.playerAt(index)[s::ball].toInteger() < 1) continue;
    Value distance = distances[distanceKey(index)];
    if (chosen == 0 || distance >= farthest) {
      chosen = index;
      farthest = distance;
    }
  }
  return chosen;
}

// Who throws next: the first of the start order while it lasts, then the farthest player with
// balls left. The chosen player takes a ball into the hand. 0 when nobody has a ball left.
int32_t chooseThrower(EngineScript& e) {
  if (countOf(e[s::startPlayers]) > 0) {
    e[s::pPlayer] = e[s::startPlayers].item(1);
    startPlayer(e, e[s::pPlayer].toInteger());
    deleteAt(e[s::startPlayers], 1);
    return e[s::pPlayer].toInteger();
  }
  const int32_t next = farthestPlayerWithBalls(e);
  if (next == 0) return 0;
  e[s::pPlayer] = Value(next);
  startPlayer(e, next);
  return next;
}

// The turn of player `index` begins: banner, turn text and the next-up line, the aiming arrow
// straight up, the power meter empty, a person's buttons, the player's turn marker.
void showTurn(EngineScript& e, int32_t index) {
  Object pList = e.pList();
  Object player = e.playerAt(index);
  const int32_t slot = player[s::player].toInteger();
  const int32_t thrown = e[s::pMaxBall].toInteger() - player[s::ball].toInteger();
  const char* ballName = kBallNames[std::clamp(thrown, 1, 3) - 1];
  sprite(ch::banner)[sym::memberNum] = member::bannerBase + slot;
  field("gameTxt") = joined({playerName(index), ", ball ", ballName});
  field("leader") = joined({playerName(index), " is next"});
  e[s::blinktime] = now();
  pList[s::waity] = now();
  e.setMode(s::setRot);
  pList[s::rot] = kStraightUp;
  pList[s::extraRot] = sharedZero;
  pList[s::aimrot] = sharedZero;
  sprite(ch::powerMeter)[sym::blend] = 100;
  setAll(ch::powerBars, sym::blend, 90);
  e[s::endwidth] = releaseWidthFor(sprite(e.ballAt(1)[s::spr].toInteger())[sym::locV]);
  pList[s::manPos][sym::locH] = kMiddle;
  hide(ch::powerMeterAll);
  pList[s::wobble] = Value(30 * sinDegrees(pList[s::aimrot].toFloat()));
  setAll(ch::powerBars, sym::width, 0);
  placeArrow(e);
  sprite(ch::aimingArrow)[sym::blend] = 100;
  if (player[s::ai].toInteger() == 0) {
    show(ch::aimButtons);
    sprite(ch::topViewButton)[sym::locH] = onStage::topViewButtonH;
    setAll({ch::aimButtons.first, ch::glows.last}, sym::locV, onStage::aimButtonsV);
  } else {
    hide(ch::aimButtons);
  }
  pList[s::waity] = now();
  setAll(ch::turnMarkers, sym::blend, 0);
  sprite(ch::turnMarkersBase + index)[sym::blend] = kTurnMarkerBlend;
}

// #initPlayer: who throws next, or the end's finish when nobody has a ball left.
void chooseNextPlayer(EngineScript& e) {
  e[s::graden] = sharedZero;
  sprite(ch::banner)[sym::blend] = 100;
  sprite(ch::turnText)[sym::blend] = 100;
  e.pList()[s::endWhite] = random(2 * (kMiddle - 60)) + 30;
  if (const int32_t next = chooseThrower(e); next != 0) showTurn(e, next);
  else finish(e, e.leader());
}

// #waitplayer: the next turn once every effect has ended.
void waitForEffects(EngineScript& e) {
  if (countOf(e[s::feffect]) == 0) e.setMode(s::initPlayer);
}

// The menu as the end leaves it: shown again over the field, with its music.
void restoreMenu() {
  show(ch::menuRestored);
  setAll(ch::menuRestored, sym::blend, 100);
  sprite(ch::backToMenu)[sym::loc] = makePoint(onStage::menuButtonH, onStage::menuButtonV);
  sprite(ch::backToMenu)[sym::blend] = 0;
  playSound(sound::music, "loop");
}

// #waitMenu: the end is celebrated for 5.7 s, then the menu returns.
void celebrateThenMenu(EngineScript& e) {
  Object pList = e.pList();
  if (now() < pList[s::waity].toInteger() + kMenuReturnMs) {
    Object turnText = sprite(ch::turnText);
    turnText[sym::blend] = turnText[sym::blend].toInteger() == kBlinkBright ? kBlinkDim : kBlinkBright;
    const int32_t winner = e.leader();
    for (int32_t k = 2; k <= countOf(e[s::pBallList]); ++k) {
      Object ball = e.ballAt(k);
      if (winner != 0 && ball[s::player].toInteger() == winner) heightAndBounce(e, ball);
    }
    return;
  }
  show(ch::startHotSpot);
  show(ch::menuShade);
  show(ch::menuBalls);
  sprite(ch::banner)[sym::blend] = 0;
  sprite(ch::turnText)[sym::blend] = 0;
  hide(ch::resultList);
  setAll(ch::effectPool, sym::locH, offStage::freeH);
  for (int32_t k = 1; k <= countOf(e[s::pBallList]); ++k) e.ballAt(k)[s::kill] = 1;
  setAll(ch::menuLowered, sym::locZ, kBelowTheMenu);
  e.setMode(s::waitstart);
  restoreMenu();
  observers().tell(&GameObserver::menuShown);
}

void noRuleInThisMode(EngineScript&) {}

// The rule each mode runs every frame (the script's paint, paint2 and paint3 between them);
// #showMap runs none.
struct ModeRule {
  Symbol mode;
  void (*run)(EngineScript&);
};
constexpr ModeRule kModeRules[] = {
    {s::waitstart, noRuleInThisMode},   {s::setupPlayers, noRuleInThisMode}, {s::Init, newEnd},
    {s::init2, passToTargetThrow},      {s::setWhiteRot, walkToTargetSpot},  {s::throwWhiteRot, throwTargetBall},
    {s::rollWhite, rollTargetBall},     {s::initPlayer, chooseNextPlayer},   {s::setRot, aim},
    {s::setpower, swingPower},          {s::initThrow, releaseBall},         {s::rollBall, rollBalls},
    {s::waitplayer, waitForEffects},    {s::waitMenu, celebrateThenMenu},    {s::showResult, showResult},
};

void runMode(EngineScript& e, SymbolNumber mode) {
  for (const ModeRule& rule : kModeRules)
    if (rule.mode == mode) rule.run(e);
}

// Killed balls leave the field: their three channels go off stage and the walk starts again.
void removeKilledBalls(EngineScript& e) {
  for (int32_t k = 1; k <= countOf(e[s::pBallList]); ++k) {
    Object ball = e.ballAt(k);
    if (ball[s::kill].toInteger() == 0) continue;
    for (Symbol part : {s::spr, s::shad, s::botsyspr}) sprite(ball[part].toInteger())[sym::locH] = offStage::freeH;
    deleteAt(e[s::pBallList], k);
    k = 0;
  }
}

}  // namespace

Value playerName(int32_t index) { return textShownIn(ch::resultNamesBase + index); }

bool isGameMode(SymbolNumber mode) {
  auto ruled = [mode](const ModeRule& rule) { return rule.mode == mode; };
  return mode == s::showMap || std::any_of(std::begin(kModeRules), std::end(kModeRules), ruled);
}

void stepFrame(EngineScript& e) {
  Object pList = e.pList();
  const SymbolNumber mode = symbolOf(pList[s::mode]);
  runMode(e, mode);
  removeKilledBalls(e);
  const bool down = stylusDown();
  if (!down) pList[s::clicky] = 0;
  // The up arrow's latch is released with the key in every mode, so the first press of a turn counts.
  if (!keyHeld(key::up)) pList[s::clicky2] = 0;
  if (!(pList[s::mode].get() == s::showMap)) runWorm(e);
  runEffects(e);
  if (e.stylusWasDown() && !down) burstStars(e, member::star, mouseLoc(), kStylusStars);
  e.setStylusWasDown(down);
}

void startGame(EngineScript& e) {
  Object pList = e.pList();
  if (!e.inMode(s::waitstart)) return;
  sprite(ch::menuGlint)[sym::blend] = 0;
  stopSound(sound::music);
  e.setMode(s::setupPlayers);
  show(ch::setupScreen);
  sprite(ch::todaysBest)[sym::locH] = onStage::todaysBestH;
  sprite(ch::versionText)[sym::locH] = offStage::freeH;
  field("gameTxt") = "GAME START";
  Object(movie().globals().distances)[s::singlePlayer] = sharedZero;
  playSound(sound::jingles, "bloop1");
  hide(ch::helpPage);
  observers().tell(&GameObserver::setUpShown);
}

void openHelp(EngineScript& e) {
  if (!e.inMode(s::waitstart)) return;
  sprite(ch::helpPage)[sym::locH] = 120;
  playSound(sound::jingles, "bloop3");
}

void closeHelp(EngineScript& e) {
  if (!e.inMode(s::waitstart)) return;
  sprite(ch::helpPage)[sym::locH] = offStage::freeH;
  playSound(sound::jingles, "bloop3");
}

void backToMenu(EngineScript& e) {
  Object pList = e.pList();
  const Value mode = pList[s::mode];
  if (mode == s::waitstart) {
    movie().quit();
    return;
  }
  if (mode == s::setupPlayers) return;
  setAll(ch::turnMarkers, sym::blend, 0);
  playSound(sound::jingles, "bloop1");
  stopSound(sound::footsteps);
  setAll(ch::menuRestored, sym::locZ, kMenuLayer);
  hide(ch::resultNames);
  hide(ch::resultBacks);
  hide(ch::distances);
  setAll(ch::glows, sym::blend, 0);
  restoreMenu();
  pList[s::waity] = now() - kCelebrationOverMs;
  e.setMode(s::waitMenu);
}

void startPlayer(EngineScript& e, int32_t index) {
  Object player = e.playerAt(index);
  for (Symbol line : {s::namespr, s::back, s::dist}) show(player[line].toInteger());
  addBall(e, s::metal, e[s::pPlayer].toInteger());
  player[s::ball] -= 1;
}

void finish(EngineScript& e, int32_t winner) {
  sprite(ch::turnText)[sym::blend] = 100;
  sprite(ch::banner)[sym::blend] = 100;
  sprite(ch::leaderMarker)[sym::blend] = 0;
  int32_t declared = 0;
  // An end without a winner stands on the first player's result banner, so that it reads over the gravel.
  const int32_t firstPlayersBanner = member::resultBannerBase + e.playerAt(1)[s::player].toInteger();
  if (countOf(e[s::pBallList]) <= 1) {
    sprite(ch::banner)[sym::memberNum] = firstPlayersBanner;
    field("gameTxt") = "No balls!";
    playSound(sound::jingles, "vault");
  } else if (winner < 1 || winner > countOf(e[s::playerList])) {
    // Two or more players share the best distance: a draw, no win counted.
    sprite(ch::banner)[sym::memberNum] = firstPlayersBanner;
    field("gameTxt") = "Draw!";
    playSound(sound::jingles, "floep");
  } else {
    declared = winner;
    const int32_t slot = e.playerAt(winner)[s::player].toInteger();
    sprite(ch::banner)[sym::memberNum] = member::resultBannerBase + slot;
    if (countOf(e[s::playerList]) == 1) {
      field("gameTxt") = joined({playerName(winner), "'s distance: ", Object(movie().globals().distances)[s::Dist1]});
      playSound(sound::jingles, "floep");
    } else {
      playSound(sound::calls, kVictoryCalls[random(4) - 1]);
      field("gameTxt") = joined({playerName(winner), " wins!!!"});
      Value& wins = movie().globals().winCounters[slot - 1];
      wins = wins + Value(1);
      field(fields::wins[slot - 1]) = joined({wins});
    }
  }
  setAll(ch::turnMarkers, sym::blend, 0);
  show(ch::menuShade);
  e.pList()[s::waity] = now();
  e.setMode(s::waitMenu);
  observers().tell(&GameObserver::endFinished, [&] {
    EndFinished finished{{}, distancesShown(e), declared, stringOf(field("gameTxt").get()), ruleNumberOf(e[s::ftoday])};
    for (int32_t index = 1; index <= countOf(e[s::playerList]); ++index) finished.players.push_back(playerShown(e, index));
    return finished;
  });
}

}  // namespace qn::game
