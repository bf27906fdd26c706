// The screens of the gallery, in the order the contact sheet shows them: each a file name (the
// reference image's too) and the caption under it.
#pragma once

#include <array>
#include <cstddef>

namespace qn::gallery {

enum class Screen : size_t {
  menu,
  help,
  setUpWithRecord,
  turnBanner,
  aimingGlows,
  powerSwing,
  ballInFlight,
  knock,
  fault,
  worm,
  topView,
  leader,
  wins,
  fourPlayerEnd,
  singlePlayerDistance,
  noBalls,
  draw,
};

struct ScreenInfo {
  Screen screen;
  const char* name;
  const char* caption;
};

inline constexpr std::array kScreens = {
    ScreenInfo{Screen::menu, "01-menu", "The menu, with the version"},
    ScreenInfo{Screen::help, "02-help", "Help, after the tap's stars"},
    ScreenInfo{Screen::setUpWithRecord, "03-set-up", "Set-up, today's record"},
    ScreenInfo{Screen::turnBanner, "04-turn-banner", "The turn banner"},
    ScreenInfo{Screen::aimingGlows, "05-aiming", "Aiming, the hint glows"},
    ScreenInfo{Screen::powerSwing, "06-power-swing", "The power swing"},
    ScreenInfo{Screen::ballInFlight, "07-ball-in-flight", "A ball in flight"},
    ScreenInfo{Screen::knock, "08-knock", "A knock between balls"},
    ScreenInfo{Screen::fault, "09-fault", "A fault and its label"},
    ScreenInfo{Screen::worm, "10-worm", "The worm"},
    ScreenInfo{Screen::topView, "11-top-view", "The top view"},
    ScreenInfo{Screen::leader, "12-leader", "Leader marker, floor ring"},
    ScreenInfo{Screen::wins, "13-wins", "The end: a winner"},
    ScreenInfo{Screen::fourPlayerEnd, "14-four-players", "A four-player end"},
    ScreenInfo{Screen::singlePlayerDistance, "15-single-player", "A single player's distance"},
    ScreenInfo{Screen::noBalls, "16-no-balls", "No balls left"},
    ScreenInfo{Screen::draw, "17-draw", "A draw (a staged tie)"},
};

constexpr bool screensInOrder() {
  for (size_t i = 0; i < kScreens.size(); ++i)
    if (static_cast<size_t>(kScreens[i].screen) != i) return false;
  return true;
}
static_assert(screensInOrder(), "kScreens lists every Screen in its enum order");

inline const ScreenInfo& infoOf(Screen screen) { return kScreens[static_cast<size_t>(screen)]; }

}  // namespace qn::gallery
