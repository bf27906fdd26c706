#include "game/engine_script.h"

#include "engine/cast_table.h"
#include "game/game_movie.h"
#include "game/game_symbols.h"
#include "script/handler_call.h"
#include "script/list_object.h"
#include "script/point_object.h"
#include "script/symbol_prop_list_object.h"

namespace qn::game {
namespace {

constexpr int32_t kMiddle = 120;
constexpr int32_t kFirstPoolChannel = 50, kLastPoolChannel = 100;
constexpr int32_t kWormChannel = 480;
constexpr int32_t kAimingArrowChannel = 25;

Value symbolValue(SymbolNumber number) { return Value::symbol(number); }

}  // namespace

bool EngineScript::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) {
  if (method == sym::new_) return runHandler(&EngineScript::construct, *this, argc, argv, result);
  return false;
}

Value* EngineScript::ownProperty(SymbolNumber property) {
  switch (property) {
    case s::pList: return &pList;
    case s::l1: return &l1;
    case s::midden: return &midden;
    case s::hoogte: return &hoogte;
    case s::blinktime: return &blinktime;
    case s::graden: return &graden;
    case s::feffect: return &feffect;
    case s::ftoday: return &ftoday;
    case s::startPlayers: return &startPlayers;
    case s::pButton: return &pButton;
    case s::pMaxBall: return &pMaxBall;
    case s::pBallList: return &pBallList;
    case s::pPlayer: return &pPlayer;
    case s::pball: return &pball;
    case s::pmaxplayer: return &pmaxplayer;
    case s::lAllBallStill: return &lAllBallStill;
    case s::wurm: return &wurm;
    case s::endwidth: return &endwidth;
    case s::playerList: return &playerList;
  }
  return nullptr;
}

Value EngineScript::construct() {
  GameMovie& movie = GameMovie::running();
  movie.setProperty(sym::floatPrecision, Value(4));
  movie.setProperty(sym::randomSeed, Value(100));
  RandomGenerator& random = movie.randomGenerator();

  midden = Value(kMiddle);
  hoogte = Value(320.0);
  blinktime = sharedZero;
  graden = sharedZero;
  feffect = makeList({});
  ftoday = Value(1500);
  startPlayers = makeList({});
  pButton = makeList({symbolValue(s::arrowLeft), symbolValue(s::arrowRight), symbolValue(s::manLeft),
                      symbolValue(s::manRight), symbolValue(s::setRot), symbolValue(s::setpower)});
  pBallList = makeList({});
  pPlayer = sharedOne;
  pball = sharedZero;
  pmaxplayer = Value(4);
  lAllBallStill = sharedZero;
  endwidth = Value(0.0);
  playerList = makeList({});
  wurm = makeRecord({{s::spr, Value(kWormChannel)},
                     {s::speed, Value(0.0)},
                     {s::accel, Value(0.2)},
                     {s::pos, makePoint(0, 0)},
                     {s::maxspeed, Value(2)},
                     {s::rot, Value(0.0)},
                     {s::erot, Value(0.0)},
                     {s::mode, symbolValue(s::diggedIn)},
                     {s::frm, sharedZero},
                     {s::maxfrm, Value(2)},
                     {s::anim, makePoint(170, 177)}});
  pList = makeRecord({{s::mode, movie.constants().waitstart},
                      {s::clicky2, sharedZero},
                      {s::wobble, sharedZero},
                      {s::clicky, sharedZero},
                      {s::waity, sharedZero},
                      {s::aimrot, sharedZero},
                      {s::endWhite, Value(random.random(2 * (kMiddle - 20)) + 40)},
                      {s::maxXspeed, Value(8.0)},
                      {s::xSpeed, sharedZero},
                      {s::xaccel, Value(0.4)},
                      {s::extraRot, sharedZero},
                      {s::man, Value(kAimingArrowChannel)},
                      {s::straal, Value(230)},
                      {s::manPos, makePoint(kMiddle, 345)},
                      {s::parrowPos, makePoint(-800, 0)},
                      {s::rot, Value(270.0)},
                      {s::arrow, Value(40)}});

  movie.cast().memberOf(Value("versie")).setProperty(sym::text, movie.constants().versionText);
  for (int32_t channel = kFirstPoolChannel; channel <= kLastPoolChannel; ++channel) movie.setChannelVisible(channel, true);
  return Value::share(this);
}

}  // namespace qn::game
