// One #rollBall frame of a four-player end at its busiest: all thirteen balls moving towards the
// middle and knocking each other, with a few running effects or the star pool full of them.
// Measured as the engine's rules alone (its stepFrame) and as a whole movie tick with composition,
// at the presentation scales 1 and 4. And composition alone at each scale, the rules stopped: the
// whole stage, and a frame where one ball moves. The stage is 5-6-5, as the program's by default.
#include <benchmark/benchmark.h>

#include "game/play_from_outside.h"
#include "script/list_object.h"
#include "script/point_object.h"
#include "tests/game/game_harness.h"

namespace qn::game {
namespace {

using testing::GameHarness;

constexpr int32_t kBalls = 13;

Value engineOf(GameHarness& game) { return engineObjectOf(game.movie()); }

// Four players, every ball on the field rolling towards the middle, `stars` stars bursting in four
// places.
void arrange(GameHarness& game, int32_t stars) {
  Value engine = engineOf(game);
  Value balls = engine.getProperty(s::pBallList);
  for (int32_t k = 1; k <= kBalls; ++k) {
    const Value ball = balls.item(k);
    const double x = 50 + (k % 4) * 45, y = 60 + (k / 4) * 35;
    ball.setProperty(s::pos, makeFloatPoint(x, y));
    ball.setProperty(s::speed, makeFloatPoint((120 - x) / 20, (130 - y) / 20));
    ball.setProperty(s::deltaz, Value(0));
    ball.setProperty(s::botsy, Value(0));
    ball.setProperty(s::botsing, Value(0));
    ball.setProperty(s::mode, s::laying);
  }
  engine.setProperty(s::feffect, makeList({}));
  for (int32_t channel = ch::stars.first; channel <= ch::stars.last; ++channel)
    game.movie().sprite(channel).setProperty(sym::locH, Value(-800));
  for (int burst = 0; burst < 4; ++burst)
    engine.call(s::addStar, member::star, makePoint(40 + burst * 50, 160), stars / 4);
  engine.getProperty(s::pList).setProperty(s::mode, s::rollBall);
}

// A four-player game at its first turn with all thirteen balls in play.
GameHarness* fourPlayersWithAllBalls() {
  auto* made = new GameHarness(false, kDisplay565);
  made->startGameWith({member::human, member::human, member::human, member::human});
  made->runUntilMode(s::setRot, 600);
  Value engine = engineOf(*made);
  for (int32_t k = engine.getProperty(s::pBallList).count(); k < kBalls; ++k)
    engine.call(s::addBall, s::metal, 1 + k % 4);
  return made;
}

GameHarness& busyGame() {
  static GameHarness* game = fourPlayersWithAllBalls();
  return *game;
}

void BM_RollBallFrameRules(benchmark::State& state) {
  GameHarness& game = busyGame();
  Value engine = engineOf(game);
  for (auto _ : state) {
    state.PauseTiming();
    game.frame();  // the stage takes in the last frame's changes, untimed
    arrange(game, static_cast<int32_t>(state.range(0)));
    state.ResumeTiming();
    engine.call(sym::stepFrame);
  }
}
// 8 stars: a stylus tap and a knock; 88: the whole star pool of channels 311 to 399.
BENCHMARK(BM_RollBallFrameRules)->Arg(8)->Arg(88);

void BM_RollBallFrameWithComposition(benchmark::State& state) {
  GameHarness& game = busyGame();
  game.movie().setPresentationScale(static_cast<int32_t>(state.range(1)));
  game.frame();  // the whole stage at the new scale, untimed
  for (auto _ : state) {
    state.PauseTiming();
    arrange(game, static_cast<int32_t>(state.range(0)));
    state.ResumeTiming();
    game.frame();
  }
}
BENCHMARK(BM_RollBallFrameWithComposition)->ArgsProduct({{8, 88}, {1, 4}})->ArgNames({"stars", "scale"});

// The thirteen balls laid out, then the rules taken out of the actor list: a frame composes only
// what changes.
GameHarness& stillGame() {
  static GameHarness* game = [] {
    GameHarness* made = fourPlayersWithAllBalls();
    arrange(*made, 0);
    made->frame();
    made->movie().setProperty(sym::actorList, makeList({}));
    made->frame();
    return made;
  }();
  return *game;
}

void BM_ComposeWholeStage(benchmark::State& state) {
  GameHarness& game = stillGame();
  game.movie().setPresentationScale(static_cast<int32_t>(state.range(0)));
  game.frame();
  for (auto _ : state) {
    game.movie().redrawStage();
    game.frame();
  }
}
BENCHMARK(BM_ComposeWholeStage)->Arg(1)->Arg(2)->Arg(4)->ArgName("scale");

void BM_ComposeOneBallMoving(benchmark::State& state) {
  GameHarness& game = stillGame();
  game.movie().setPresentationScale(static_cast<int32_t>(state.range(0)));
  game.frame();
  // The first player's first ball (the white jack comes first in the list).
  const Value record = engineOf(game).getProperty(s::pBallList).item(2);
  SpriteChannel& ball = game.movie().sprite(record.getProperty(s::spr).toInteger());
  const int32_t home = ball.locH;
  int32_t step = 0;
  for (auto _ : state) {
    ball.setProperty(sym::locH, Value(home + (++step & 1)));
    game.frame();
  }
  state.counters["dirty_pixels"] = static_cast<double>((ball.spriteRect.right - ball.spriteRect.left + 1) *
                                                       (ball.spriteRect.bottom - ball.spriteRect.top));
}
BENCHMARK(BM_ComposeOneBallMoving)->Arg(1)->Arg(2)->Arg(4)->ArgName("scale");

}  // namespace
}  // namespace qn::game
