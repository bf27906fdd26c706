#include "game/top_view.h"

#include "game/engine_script.h"
#include "game/rules.h"
#include "game/stage_places.h"

namespace qn::game {
namespace {

// What the map covers: everything standing on the field, and the aiming buttons and glows.
constexpr ChannelRange kHiddenUnderMap[] = {
    ch::ballPool, ch::mudSplashes, {ch::banner, ch::banner}, {ch::turnText, ch::turnText},
    {ch::worm, ch::worm}, {ch::aimingArrow, ch::aimingArrow}, {ch::leaderMarker, ch::leaderMarker},
    {ch::aimButtons.first, ch::glows.last},
};
constexpr int32_t kMapNamesH = 18, kMapDistancesH = 61, kResultListAwayH = 500;

void showField(bool visible) {
  for (ChannelRange covered : kHiddenUnderMap) {
    if (visible) show(covered);
    else hide(covered);
  }
}

}  // namespace

void openTopView(EngineScript& e) {
  if (!e.inMode(s::setRot)) return;
  e.setMode(s::showMap);
  sprite(ch::topView)[sym::memberNum] = member::topViewMap;
  showField(false);
  sprite(ch::backToMenu)[sym::locH] = offStage::buttonsH;
  sprite(ch::topViewButton)[sym::locH] = offStage::buttonsH;
  setAll(ch::resultNames, sym::locH, kMapNamesH);
  setAll(ch::distances, sym::locH, kMapDistancesH);
}

void closeTopView(EngineScript& e) {
  if (!e.inMode(s::showMap)) return;
  sprite(ch::topView)[sym::memberNum] = member::fieldPicture;
  showField(true);
  sprite(ch::topViewButton)[sym::locH] = onStage::topViewButtonH;
  sprite(ch::backToMenu)[sym::locH] = onStage::backToMenuH;
  setAll(ch::resultNames, sym::locH, kResultListAwayH);
  setAll(ch::distances, sym::locH, kResultListAwayH);
  e.setMode(s::setRot);
}

}  // namespace qn::game
