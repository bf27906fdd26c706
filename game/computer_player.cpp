#include "game/computer_player.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "game/engine_script.h"
#include "game/thrower.h"

namespace qn::game {
namespace {

constexpr int32_t kPatienceMs = 16000;    // then the computer throws whatever the line meets
constexpr int32_t kWalkSlowdown = 4;      // the computer walks at a quarter of a person's top speed
constexpr double kReleaseWindow = 10.0;   // the computer releases within this much past endwidth
// endwidth is 184 for a target ball at the top edge and 110 less for one 132 pixels lower.
constexpr int32_t kFarthestReleaseWidth = 184, kReleaseWidthDrop = 110, kReleaseDepthRange = 132;

// One frame of the walk to endWhite: speeding up to maxXspeed / 4 and stopping exactly there.
void walkToSpot(EngineScript& e) {
  Object pList = e.pList();
  const int32_t spot = pList[s::endWhite].toInteger();
  const double topSpeed = pList[s::maxXspeed].toFloat() / kWalkSlowdown, accel = pList[s::xaccel].toFloat();
  const double speed = pList[s::xSpeed].toFloat();
  if (pList[s::manPos][sym::locH].toFloat() > spot) {
    pList[s::xSpeed] = Value(std::max(speed - accel, -topSpeed));
    walkThrower(pList, spot, std::numeric_limits<int32_t>::max());
  } else {
    pList[s::xSpeed] = Value(std::min(speed + accel, topSpeed));
    walkThrower(pList, std::numeric_limits<int32_t>::min(), spot);
  }
}

}  // namespace

Value releaseWidthFor(const Value& targetLocV) {
  return Value(kFarthestReleaseWidth - targetLocV.toFloat() * kReleaseWidthDrop / kReleaseDepthRange);
}

void computerWalksAndAims(EngineScript& e) {
  Object pList = e.pList();
  const int32_t arrow = pList[s::man].toInteger();
  Object line = sprite(ch::sightLine);
  line[sym::rotation] = sprite(arrow)[sym::rotation].get();
  walkToSpot(e);
  line[sym::loc] = sprite(arrow)[sym::loc].get();

  const int32_t targetChannel = e.ballAt(1)[s::spr].toInteger();
  if (spriteChannel(ch::sightLine).intersects(spriteChannel(targetChannel))) {
    if (random(3) == 1) startSwing(e);
  } else if (now() - pList[s::waity].toInteger() > kPatienceMs) {
    startSwing(e);
  }
}

void computerReleases(EngineScript& e) {
  // endwidth comes from the target ball's height on the screen; a target ball close to the thrower
  // or past the top gives a window the bar never reaches. Such a window is moved to the bar's
  // nearest end (the empty bar at the turn of the swing, or the full bar), so the computer still
  // throws; every reachable window stays as it is.
  const double opening = std::clamp(e[s::endwidth].toFloat(), 1.0 - kReleaseWindow, kFullBarWidth - 1.0);
  Object bar = sprite(ch::powerBarUp);
  const double width = bar[sym::width].toFloat();
  if (!(width > opening && width < opening + kReleaseWindow)) return;
  releasePower(e);
  const double wobble = std::abs(e.pList()[s::wobble].toFloat());
  bar[sym::width] = Value(static_cast<int32_t>(std::min(width + wobble, double{kFullBarWidth})));
}

}  // namespace qn::game
