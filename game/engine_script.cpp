#include "game/engine_script.h"

#include "game/ball_pool.h"
#include "game/collisions.h"
#include "game/effects.h"
#include "game/game_flow.h"
#include "game/results.h"
#include "game/field_geometry.h"
#include "game/thrower.h"
#include "game/rules.h"
#include "game/stage_places.h"
#include "script/handler_call.h"

namespace qn::game {

namespace {

// The engine's handlers the modes call, also answered by their script names:
// `call(#addBall, engine, #metal, 1)`.
struct GameHandler {
  Symbol name;
  void (*run)(EngineScript& e, const Value& a, const Value& b, const Value& c);
};
constexpr GameHandler kGameHandlers[] = {
    {s::startPlayer, [](EngineScript& e, const Value& index, const Value&, const Value&) { startPlayer(e, index.toInteger()); }},
    {s::addBall, [](EngineScript& e, const Value& kind, const Value& player, const Value&) {
       addBall(e, kind == s::white ? s::white : s::metal, player.toInteger());
     }},
    {s::finish, [](EngineScript& e, const Value& winner, const Value&, const Value&) { finish(e, winner.toInteger()); }},
    {s::makecloud, [](EngineScript& e, const Value& ball, const Value&, const Value&) { raiseDust(e, Object(ball)); }},
    {s::addStar, [](EngineScript& e, const Value& member, const Value& position, const Value& count) {
       burstStars(e, member.toInteger(), position, count.toInteger());
     }},
    {s::makeFloorFX, [](EngineScript& e, const Value& ball, const Value& player, const Value&) {
       markLeaderOnFloor(e, ball.toInteger(), player.toInteger());
     }},
    {s::checkbotsje, [](EngineScript& e, const Value& r, const Value& l, const Value&) {
       collideBalls(e, r.toInteger(), l.toInteger());
     }},
};

bool runGameHandler(EngineScript& e, SymbolNumber method, int argc, Value* const* argv) {
  for (const GameHandler& handler : kGameHandlers) {
    if (handler.name != method) continue;
    handler.run(e, argumentOrVoid(argc, argv, 1), argumentOrVoid(argc, argv, 2), argumentOrVoid(argc, argv, 3));
    return true;
  }
  return false;
}

}  // namespace

static_assert(engineSlotOf(s::playerList) == kEngineProperties.size() - 1, "every property has a slot");

bool EngineScript::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) {
  switch (method) {
    case sym::new_: return runHandler(&EngineScript::construct, *this, argc, argv, result);
    case sym::stepFrame: return runHandler(&EngineScript::stepFrame, *this, argc, argv, result);
  }
  return runGameHandler(*this, method, argc, argv);
}

EngineScript* EngineScript::running() {
  return dynamic_cast<EngineScript*>(movie().globals().engineObject.object());
}

Value EngineScript::stepFrame() {
  game::stepFrame(*this);
  return Value();
}

Value EngineScript::construct() {
  EngineScript& e = *this;
  movie().setProperty(sym::floatPrecision, Value(4));
  movie().setProperty(sym::randomSeed, Value(100));

  e[s::midden] = Value(kMiddle);
  e[s::hoogte] = Value(kFieldDepth);
  e[s::blinktime] = sharedZero;
  e[s::graden] = sharedZero;
  e[s::feffect] = makeList({});
  e[s::ftoday] = Value(kNoDistance);
  if (const std::optional<TodaysRecord>& kept = movie().keptRecord()) startTodayFrom(e, *kept);
  e[s::startPlayers] = makeList({});
  e[s::pButton] = makeList({s::arrowLeft, s::arrowRight, s::manLeft, s::manRight, s::setRot, s::setpower});
  e[s::pBallList] = makeList({});
  e[s::pPlayer] = sharedOne;
  e[s::pball] = sharedZero;
  e[s::pmaxplayer] = Value(4);
  e[s::lAllBallStill] = sharedZero;
  e[s::endwidth] = Value(0.0);
  e[s::playerList] = makeList({});
  e[s::wurm] = makeRecord({{s::spr, Value(ch::worm)},
                           {s::speed, Value(0.0)},
                           {s::accel, Value(0.2)},
                           {s::pos, makePoint(0, 0)},
                           {s::maxspeed, Value(2)},
                           {s::rot, Value(0.0)},
                           {s::erot, Value(0.0)},
                           {s::mode, s::diggedIn},
                           {s::frm, sharedZero},
                           {s::maxfrm, Value(2)},
                           {s::anim, makePoint(170, 177)}});
  e[s::pList] = makeRecord({{s::mode, s::waitstart},
                            {s::clicky2, sharedZero},
                            {s::wobble, sharedZero},
                            {s::clicky, sharedZero},
                            {s::waity, sharedZero},
                            {s::aimrot, sharedZero},
                            {s::endWhite, Value(random(2 * (kMiddle - 20)) + 40)},
                            {s::maxXspeed, Value(8.0)},
                            {s::xSpeed, sharedZero},
                            {s::xaccel, Value(0.4)},
                            {s::extraRot, sharedZero},
                            {s::man, Value(ch::aimingArrow)},
                            {s::straal, Value(230)},
                            {s::manPos, makePoint(kMiddle, 345)},
                            {s::parrowPos, makePoint(offStage::freeH, 0)},
                            {s::rot, Value(static_cast<double>(kStraightUp))},
                            {s::arrow, Value(40)}});

  field("versie") = "1.0";
  show(ch::ballPool);
  stackChannels();
  observers().tell(&GameObserver::menuShown);
  return Value::share(this);
}

// Balls stack by depth (locZ = y + 100, so up to about 550), the dust under them. Everything the
// player reads or taps lies above the field and its balls, the set-up screen above the menu.
void EngineScript::stackChannels() {
  setAll({ch::buttons.first, ch::glows.last}, sym::locZ, kAboveTheBalls);
  for (int32_t channel = ch::ballPool.last + 1; channel < ch::menuScreen.first; ++channel)
    sprite(channel)[sym::locZ] = kAboveTheField + channel;
  for (int32_t channel = ch::effectPool.first; channel <= ch::versionText; ++channel)
    if (!ch::setupScreen.contains(channel)) sprite(channel)[sym::locZ] = kAboveTheField + channel;
  for (int32_t channel = ch::setupScreen.first; channel <= ch::setupScreen.last; ++channel)
    sprite(channel)[sym::locZ] = kAboveTheMenu + channel;
  // The two texts read on full-screen pictures lie over them: today's record on the set-up
  // screen's picture, the version on the menu's (and on the help page, whose art leaves it room).
  sprite(ch::todaysBest)[sym::locZ] = kOverTheSetUp;
  sprite(ch::versionText)[sym::locZ] = kOverTheMenu;
}

}  // namespace qn::game
