#include "game/collisions.h"

#include <cmath>

#include "game/ball_pool.h"
#include "game/engine_script.h"
#include "game/field_geometry.h"

namespace qn::game {
namespace {

constexpr double kReachFactor = 0.8;  // r must fly lower than this share of l's height on screen
constexpr double kTargetBallCost = 100, kBallCost = 2.5;
constexpr const char* kKnocks[] = {"klak1", "klak2", "klak3"};


}  // namespace

double componentRatio(const Value& speed) {
  const double h = std::abs(xOf(speed)), v = std::abs(yOf(speed));
  if (h == 0 && v == 0) return 0;
  return v > h ? h / v : v / h;
}

void collideBalls(EngineScript& e, int32_t r, int32_t l) {
  if (r == l) return;
  Object moving = e.ballAt(r), other = e.ballAt(l);
  if (moving[s::botsing].toInteger() == l) {
    moving[s::botsing] = sharedZero;
    return;
  }
  const bool ellipsesMeet = spriteChannel(moving[s::botsyspr].toInteger())
                                .intersects(spriteChannel(other[s::botsyspr].toInteger()));
  const double heightOnScreen = moving[s::deltaz].toFloat() * perspectiveAt(yOf(moving[s::pos]));
  const bool lowEnough = heightOnScreen < kReachFactor * sprite(other[s::spr].toInteger())[sym::height].toFloat();
  const int32_t movingBotsy = moving[s::botsy].toInteger(), otherBotsy = other[s::botsy].toInteger();
  const bool justMet = movingBotsy == l && movingBotsy != 0 && otherBotsy != 0;
  if (!ellipsesMeet || !lowEnough || justMet) return;

  const Value v = moving[s::speed];
  const double vx = xOf(v), vy = yOf(v);
  const double total = std::abs(vx) + std::abs(vy);
  const Value rPos = moving[s::pos], lPos = other[s::pos];
  const double dx = xOf(lPos) - xOf(rPos), dy = yOf(lPos) - yOf(rPos);
  const double spread = std::abs(dx) + std::abs(dy);
  // Two balls on the very same spot: the whole velocity passes on along r's own direction.
  const double ux = spread > 0 ? total * dx / spread : vx, uy = spread > 0 ? total * dy / spread : vy;

  other[s::speed] = pointAt(ux, uy);
  const double lScale = perspectiveAt(yOf(lPos)), rScale = perspectiveAt(yOf(rPos));
  other[s::pos] = pointAt(xOf(lPos) + ux * lScale, yOf(lPos) + uy * lScale);
  moving[s::pos] = pointAt(xOf(rPos) - ux * rScale, yOf(rPos) - uy * rScale);
  moving[s::botsing] = Value(l);
  other[s::botsing] = Value(r);
  const double cost = isTargetBall(other) ? kTargetBallCost : kBallCost;
  moving[s::speed] = pointAt(vx - ux / cost, vy - uy / cost);

  if (std::abs(ux) > 1 || std::abs(uy) > 1) {
    if (isTargetBall(moving) || isTargetBall(other)) playSound(sound::knocks, "bamball");
    else playSound(sound::knocks, kKnocks[random(3) - 1]);
  }
  moving[s::botsy] = Value(l);
  other[s::botsy] = Value(r);
  moving[s::perc] = Value(componentRatio(moving[s::speed]));
  other[s::perc] = Value(componentRatio(other[s::speed]));
  observers().tell(&GameObserver::ballsCollided);
}

}  // namespace qn::game
