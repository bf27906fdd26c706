#include "game/game_invariants.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/movie.h"
#include "engine/sprite_channel.h"
#include "game/stage_places.h"
#include "game/channels.h"
#include "game/field_geometry.h"
#include "game/game_flow.h"
#include "game/game_movie.h"
#include "game/game_symbols.h"
#include "game/play_from_outside.h"
#include "script/small_block_pool.h"
#include "script/symbol_object.h"

namespace qn::game {
namespace {

// Where a ball may be while it rolls: within a stage's width or height beyond the stage's edges.
// Friction stops the fastest ball a throw or a knock gives well inside that.
constexpr double kReachLeft = -kStageWidth, kReachRight = 2.0 * kStageWidth;
constexpr double kReachTop = -kStageHeight, kReachBottom = 2.0 * kStageHeight;
constexpr int kMostTapsHome = 4;       // done or the map, then the back-to-menu button, with room to spare
constexpr int kFramesAfterTap = 10;    // the menu comes back the frame after the button is let go

// The game as a frame leaves it.
struct GameState {
  const Movie& movie;
  Value engine;  // the engine object, the one actor
  Value pList;
  Value balls;   // pBallList: ball records, the target ball first

  explicit GameState(const Movie& running)
      : movie(running),
        engine(engineObjectOf(running)),
        pList(engine.getProperty(s::pList)),
        balls(engine.getProperty(s::pBallList)) {}

  int32_t ballCount() const { return balls.count(); }
  Value ball(int32_t k) const { return balls.item(k); }
};

double xOf(const Value& point) { return point.getProperty(sym::locH).toFloat(); }
double yOf(const Value& point) { return point.getProperty(sym::locV).toFloat(); }

std::string ballSeen(int32_t k, const Value& ball, SymbolNumber key) {
  return "ball " + std::to_string(k) + " has " + std::string(gameSymbolNames[key - s::first]) + " " +
         ball.getProperty(key).toString();
}

// Each check answers what it saw when its invariant does not hold.
using Seen = std::optional<std::string>;

Seen ballsAreFinite(const GameState& game) {
  for (int32_t k = 1; k <= game.ballCount(); ++k) {
    const Value ball = game.ball(k);
    for (SymbolNumber point : {s::pos, s::speed}) {
      const Value value = ball.getProperty(point);
      if (!std::isfinite(xOf(value)) || !std::isfinite(yOf(value))) return ballSeen(k, ball, point);
    }
    for (SymbolNumber height : {s::deltaz, s::zspeed})
      if (!std::isfinite(ball.getProperty(height).toFloat())) return ballSeen(k, ball, height);
  }
  return std::nullopt;
}

Seen ballsWithinReach(const GameState& game) {
  for (int32_t k = 1; k <= game.ballCount(); ++k) {
    const Value ball = game.ball(k), pos = ball.getProperty(s::pos);
    if (!(xOf(pos) >= kReachLeft && xOf(pos) <= kReachRight && yOf(pos) >= kReachTop && yOf(pos) <= kReachBottom))
      return ballSeen(k, ball, s::pos);
  }
  return std::nullopt;
}

// A ball that came to rest beyond the top or a side edge was taken off (a player's ball) or
// pushed back in (the target ball) in that same frame.
Seen restingBallsOnField(const GameState& game) {
  for (int32_t k = 1; k <= game.ballCount(); ++k) {
    const Value ball = game.ball(k), pos = ball.getProperty(s::pos), speed = ball.getProperty(s::speed);
    const bool resting = ball.getProperty(s::mode) == s::laying && xOf(speed) == 0 && yOf(speed) == 0;
    if (resting && !(xOf(pos) >= 0 && xOf(pos) <= kFieldWidth && yOf(pos) >= 0)) return ballSeen(k, ball, s::pos);
  }
  return std::nullopt;
}

Seen modeIsKnown(const GameState& game) {
  const Value mode = game.pList.getProperty(s::mode);
  if (isGameMode(symbolOf(mode))) return std::nullopt;
  return "mode " + mode.toString();
}

Seen poolCellsBounded(const GameState&) {
  const size_t cells = SmallBlockPool::shared().cellsInUse();
  if (cells <= kMostPoolCells) return std::nullopt;
  return std::to_string(cells) + " cells in use";
}

// A ball's picture, shadow and collision ellipse each hold a channel of the pool of their own,
// and none of them looks free (off stage at -800) to the next ball.
Seen poolChannelsHandedOutOnce(const GameState& game) {
  std::vector<int32_t> taken;
  for (int32_t k = 1; k <= game.ballCount(); ++k) {
    const Value ball = game.ball(k);
    for (SymbolNumber part : {s::spr, s::shad, s::botsyspr}) {
      const int32_t channel = ball.getProperty(part).toInteger();
      const SpriteChannel* sprite = game.movie.spriteIn(channel);
      const bool handedOut = std::find(taken.begin(), taken.end(), channel) != taken.end();
      if (!ch::ballPool.contains(channel) || handedOut || !sprite || sprite->locH == offStage::freeH)
        return ballSeen(k, ball, part) + (handedOut ? ", handed out before" : ", not a taken channel of the pool");
      taken.push_back(channel);
    }
  }
  return std::nullopt;
}

struct Invariant {
  const char* rule;
  Seen (*check)(const GameState&);
};
constexpr Invariant kInvariants[] = {
    {"every ball's position, speed and height are finite numbers", ballsAreFinite},
    {"every ball in play lies within the stage's reach", ballsWithinReach},
    {"a ball at rest lies on the field or has been removed", restingBallsOnField},
    {"the mode is one of the game's modes", modeIsKnown},
    {"the script pool's cells in use stay bounded", poolCellsBounded},
    {"no channel of the ball pool is handed out twice", poolChannelsHandedOutOnce},
};

bool onTheMenu(const Movie& movie) { return modeOf(movie) == s::waitstart; }

}  // namespace

std::optional<BrokenInvariant> brokenInvariant(const Movie& movie) {
  const GameState game(movie);
  for (const Invariant& invariant : kInvariants)
    if (Seen seen = invariant.check(game)) return BrokenInvariant{invariant.rule, *seen};
  return std::nullopt;
}

int32_t nextTapTowardsMenu(const Movie& movie) {
  const Value mode = modeOf(movie);
  if (mode == s::waitstart) return 0;
  if (mode == s::setupPlayers) return ch::setupDone;
  if (mode == s::showMap) return ch::topView;
  return ch::backToMenu;
}

std::optional<BrokenInvariant> returnToMenu(const Movie& movie, const std::function<void(int32_t channel)>& tap,
                                            const std::function<void()>& frame) {
  std::string tapped;
  for (int taps = 0; taps < kMostTapsHome; ++taps) {
    const int32_t channel = nextTapTowardsMenu(movie);
    if (channel == 0) return std::nullopt;
    tap(channel);
    tapped += (tapped.empty() ? "tapped " : ", ") + std::to_string(channel);
    for (int frames = 0; frames < kFramesAfterTap && !onTheMenu(movie); ++frames) frame();
  }
  if (onTheMenu(movie)) return std::nullopt;
  return BrokenInvariant{"a person can always go back to the menu",
                         tapped + ", still in mode " + modeOf(movie).toString()};
}

}  // namespace qn::game
