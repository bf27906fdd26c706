// The screens of the gallery, in the order the contact sheet shows them: each a file name (the
// reference image's too), the caption under it and its point of interest (in screen pixels),
// around which the contact sheets of the finer screens show a detail.
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
  int detailX, detailY;
};

inline constexpr std::array kScreens = {
    ScreenInfo{Screen::menu, "01-menu", "The menu, with the version", 120, 165},
    ScreenInfo{Screen::help, "02-help", "Help, after the tap's stars", 110, 150},
    ScreenInfo{Screen::setUpWithRecord, "03-set-up", "Set-up, today's record", 120, 140},
    ScreenInfo{Screen::turnBanner, "04-turn-banner", "The turn banner", 130, 120},
    ScreenInfo{Screen::aimingGlows, "05-aiming", "Aiming, the hint glows", 125, 270},
    ScreenInfo{Screen::powerSwing, "06-power-swing", "The power swing", 110, 140},
    ScreenInfo{Screen::ballInFlight, "07-ball-in-flight", "A ball in flight", 120, 100},
    ScreenInfo{Screen::knock, "08-knock", "A knock between balls", 125, 75},
    ScreenInfo{Screen::fault, "09-fault", "A fault and its label", 140, 250},
    ScreenInfo{Screen::worm, "10-worm", "The worm", 105, 205},
    ScreenInfo{Screen::topView, "11-top-view", "The top view", 110, 80},
    ScreenInfo{Screen::leader, "12-leader", "Leader marker, floor ring", 120, 60},
    ScreenInfo{Screen::wins, "13-wins", "The end: a winner", 125, 120},
    ScreenInfo{Screen::fourPlayerEnd, "14-four-players", "A four-player end", 140, 100},
    ScreenInfo{Screen::singlePlayerDistance, "15-single-player", "A single player's distance", 150, 150},
    ScreenInfo{Screen::noBalls, "16-no-balls", "No balls left", 110, 150},
    ScreenInfo{Screen::draw, "17-draw", "A draw (a staged tie)", 110, 145},
};

constexpr bool screensInOrder() {
  for (size_t i = 0; i < kScreens.size(); ++i)
    if (static_cast<size_t>(kScreens[i].screen) != i) return false;
  return true;
}
static_assert(screensInOrder(), "kScreens lists every Screen in its enum order");

inline const ScreenInfo& infoOf(Screen screen) { return kScreens[static_cast<size_t>(screen)]; }

}  // namespace qn::gallery
