#include "game/button_behaviour.h"

#include "game/game_flow.h"
#include "game/rules.h"
#include "game/script_factory.h"
#include "game/thrower.h"
#include "game/top_view.h"
#include "game/worm.h"
#include "script/handler_call.h"

namespace qn::game {
namespace {

struct ButtonRule {
  int32_t member;
  void (*run)(EngineScript& e, int32_t channel);
};

constexpr ButtonRule kButtonRules[] = {
    {script::startgame, [](EngineScript& e, int32_t) { startGame(e); }},
    {script::gohelp, [](EngineScript& e, int32_t) { openHelp(e); }},
    {script::goscores, [](EngineScript& e, int32_t) { closeHelp(e); }},
    {script::gomenu, [](EngineScript& e, int32_t) { backToMenu(e); }},
    {script::changeStatus, [](EngineScript& e, int32_t channel) { changeSlot(e, channel - ch::slotKinds.first + 1); }},
    {script::setupDone, [](EngineScript& e, int32_t) { playersChosen(e); }},
    {script::clickPow, [](EngineScript& e, int32_t) { pressPower(e); }},
    {script::showmap, [](EngineScript& e, int32_t) { openTopView(e); }},
    {script::closemap, [](EngineScript& e, int32_t) { closeTopView(e); }},
    {script::worm, [](EngineScript&, int32_t) { wormTapped(); }},
};

}  // namespace

bool ButtonBehaviour::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool) {
  if (method == sym::mouseUp) return runHandler(&ButtonBehaviour::mouseUp, *this, argc, argv, result);
  return false;
}

Value ButtonBehaviour::mouseUp() {
  EngineScript* engine = EngineScript::running();
  if (engine == nullptr) return Value();
  for (const ButtonRule& rule : kButtonRules)
    if (rule.member == member_) rule.run(*engine, spriteNum());
  return Value();
}

}  // namespace qn::game
