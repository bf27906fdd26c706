#include "shell/game_report.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "game/game_movie.h"
#include "game/game_symbols.h"
#include "platform/process_usage.h"
#include "script/point_object.h"
#include "script/small_block_pool.h"
#include "script/symbol_object.h"
#include "shell/engine_view.h"

namespace qn {

namespace {

namespace s = game::s;
using Json = nlohmann::ordered_json;

constexpr double kNotMeasured = 1500;  // a `distances` entry of a player without a measured ball

Json numberOf(const Value& value) {
  if (value.is(sym::integer)) return value.toInteger();
  if (value.is(sym::float_)) return value.toFloat();
  if (value.isVoid()) return nullptr;
  return stringOf(value);
}

Json jsonPoint(const Value& value) {
  const PointObject* point = pointOf(value);
  if (point == nullptr) return nullptr;
  if (point->isFloat()) return Json::array({static_cast<double>(point->floatX()), static_cast<double>(point->floatY())});
  return Json::array({point->intX(), point->intY()});
}

// A ball as the rest line shows it: its owner, where it lies, and one more key.
Json ballEntry(const Value& ball, const char* key, Json value) {
  Json entry;
  entry["player"] = ball.getProperty(s::player).toInteger();
  entry["pos"] = jsonPoint(ball.getProperty(s::pos));
  entry[key] = std::move(value);
  return entry;
}

// The engine object's parts the report reads.
struct EngineState {
  explicit EngineState(Movie& movie) : engine(engineObjectOf(movie)) {}
  Value operator[](Symbol property) const { return engine.getProperty(property); }
  Value ballAt(int32_t index) const { return (*this)[s::pBallList].item(index); }
  Value playerAt(int32_t index) const { return (*this)[s::playerList].item(index); }
  Value engine;
};

Symbol distanceKeyOf(int32_t playerIndex) {
  constexpr Symbol kKeys[] = {s::Dist1, s::Dist2, s::Dist3, s::Dist4};
  return kKeys[std::clamp(playerIndex, 1, 4) - 1];
}

// The distance shown for a player (its best ball), null when none was measured.
// Every line begins with its type, the game and the frame.
Json lineOf(const char* type, int32_t game, uint32_t frame) {
  Json line;
  line["type"] = type;
  line["game"] = game;
  line["frame"] = frame;
  return line;
}

Json shownDistance(game::GameMovie& movie, int32_t playerIndex) {
  if (playerIndex < 1 || playerIndex > 4) return nullptr;
  Value distance = movie.globals().distances.getProperty(distanceKeyOf(playerIndex));
  if (distance.isVoid() || distance.toFloat() == kNotMeasured) return nullptr;
  return numberOf(distance);
}

std::string nameOf(Movie& movie, const Value& player) {
  const int32_t channel = player.getProperty(s::namespr).toInteger();
  return stringOf(movie.sprite(channel).property(sym::member).getProperty(sym::text));
}

int32_t faultEffectsRunning(const EngineState& state) {
  Value effects = state[s::feffect];
  int32_t faults = 0;
  for (int32_t i = 1; i <= effects.count(); ++i)
    if (symbolOf(effects.item(i).getProperty(s::mode)) == s::scalefault) ++faults;
  return faults;
}

// Who each ball collided with last (its botsing), as pairs of ball records.
std::vector<std::pair<const ScriptObject*, const ScriptObject*>> collidedPairs(const EngineState& state) {
  std::vector<std::pair<const ScriptObject*, const ScriptObject*>> pairs;
  Value balls = state[s::pBallList];
  for (int32_t i = 1; i <= balls.count(); ++i) {
    Value ball = balls.item(i);
    const int32_t other = ball.getProperty(s::botsing).toInteger();
    if (other >= 1 && other <= balls.count()) pairs.emplace_back(ball.object(), balls.item(other).object());
  }
  return pairs;
}

bool isRolling(SymbolNumber mode) { return mode == s::rollWhite || mode == s::rollBall; }

}  // namespace

void GameReport::beforeTick(game::GameMovie& movie) {
  modeBefore_ = gameModeOf(movie);
  ballsBefore_.clear();
  collidedBefore_.clear();
  if (!isRolling(modeBefore_)) return;
  EngineState state(movie);
  Value balls = state[s::pBallList];
  for (int32_t i = 1; i <= balls.count(); ++i) ballsBefore_.push_back(balls.item(i));
  collidedBefore_ = collidedPairs(state);
  faultsBefore_ = faultEffectsRunning(state);
}

void GameReport::afterTick(game::GameMovie& movie, uint32_t frame) {
  const SymbolNumber mode = gameModeOf(movie);
  if (modeBefore_ == s::Init) ++game_;
  if (isRolling(modeBefore_)) watchRolling(movie);
  const bool left = mode != modeBefore_;
  if (left && (modeBefore_ == s::throwWhiteRot || modeBefore_ == s::initThrow))
    writeThrow(movie, frame, modeBefore_ == s::throwWhiteRot);
  if (left && ((modeBefore_ == s::rollWhite && mode == s::initPlayer) || modeBefore_ == s::showResult))
    writeRest(movie, frame);
  if (modeBefore_ == s::initPlayer && mode == s::waitMenu) writeEnd(movie, frame);
  if (left && mode == s::waitstart && game_ > 0) writeMenu(frame);
  ballsBefore_.clear();
  collidedBefore_.clear();
}

// A collision sets botsing on both balls, and it stays until the next frame's check: a pair that
// was not there before the tick is a new collision.
void GameReport::watchRolling(game::GameMovie& movie) {
  EngineState state(movie);
  std::vector<std::pair<const ScriptObject*, const ScriptObject*>> fresh;
  for (const auto& pair : collidedPairs(state)) {
    if (std::find(collidedBefore_.begin(), collidedBefore_.end(), pair) != collidedBefore_.end()) continue;
    const auto reversed = std::make_pair(pair.second, pair.first);
    if (std::find(fresh.begin(), fresh.end(), reversed) == fresh.end()) fresh.push_back(pair);
  }
  collisions_ += static_cast<int32_t>(fresh.size());

  Value balls = state[s::pBallList];
  int32_t newFaults = faultEffectsRunning(state) - faultsBefore_;
  for (const Value& ball : ballsBefore_) {
    bool present = false;
    for (int32_t i = 1; i <= balls.count() && !present; ++i) present = balls.item(i).sameObject(ball);
    if (present) continue;
    removed_.push_back({ball, newFaults > 0});
    --newFaults;
  }
}

// Collisions and removed balls are counted anew from each throw on.
void GameReport::startCounting() {
  collisions_ = 0;
  removed_.clear();
}

void GameReport::writeThrow(game::GameMovie& movie, uint32_t frame, bool target) {
  EngineState state(movie);
  Value pList = state[s::pList];
  Value ball = target ? state.ballAt(1) : state.ballAt(state[s::pball].toInteger());
  const int32_t playerIndex = target ? 0 : ball.getProperty(s::player).toInteger();
  Value player = target ? Value() : state.playerAt(playerIndex);
  const double zspeed = ball.getProperty(s::zspeed).toFloat();
  Json line = lineOf("throw", game_, frame);
  line["target"] = target;
  line["player"] = playerIndex;
  line["slot"] = target ? 0 : player.getProperty(s::player).toInteger();
  line["name"] = target ? std::string() : nameOf(movie, player);
  line["computer"] = !target && player.getProperty(s::ai).toInteger() != 0;
  line["from"] = jsonPoint(ball.getProperty(s::pos));
  line["height"] = numberOf(ball.getProperty(s::deltaz));
  line["speed"] = jsonPoint(ball.getProperty(s::speed));
  line["zspeed"] = numberOf(ball.getProperty(s::zspeed));
  line["E"] = target ? zspeed / 4 : zspeed / 36 * 70;
  line["kracht"] = numberOf(ball.getProperty(s::kracht));
  line["direction"] = target ? pList.getProperty(s::rot).toFloat() + pList.getProperty(s::extraRot).toFloat()
                             : ball.getProperty(s::rot).toFloat();
  line["upswing"] = target || ball.getProperty(s::rotspeed).toFloat() > 0;
  file_.write(line.dump() + "\n", true);
  startCounting();
}

void GameReport::writeRest(game::GameMovie& movie, uint32_t frame) {
  EngineState state(movie);
  Json line = lineOf("rest", game_, frame);
  line["collisions"] = collisions_;
  Json balls = Json::array();
  Value list = state[s::pBallList];
  for (int32_t i = 1; i <= list.count(); ++i) {
    Value ball = list.item(i);
    balls.push_back(ballEntry(ball, "distance", shownDistance(movie, ball.getProperty(s::player).toInteger())));
  }
  line["balls"] = std::move(balls);
  Json removed = Json::array();
  for (const RemovedBall& gone : removed_)
    removed.push_back(ballEntry(gone.ball, "why", gone.fault ? "fault" : "lost"));
  line["removed"] = std::move(removed);
  file_.write(line.dump() + "\n", true);
  startCounting();
}

void GameReport::writeEnd(game::GameMovie& movie, uint32_t frame) {
  EngineState state(movie);
  Json line = lineOf("end", game_, frame);
  Json players = Json::array();
  Value list = state[s::playerList];
  for (int32_t i = 1; i <= list.count(); ++i) {
    Value player = list.item(i);
    Json entry;
    entry["name"] = nameOf(movie, player);
    entry["slot"] = player.getProperty(s::player).toInteger();
    entry["computer"] = player.getProperty(s::ai).toInteger() != 0;
    entry["distance"] = shownDistance(movie, i);
    players.push_back(std::move(entry));
  }
  line["players"] = std::move(players);
  const int32_t winner = state[s::l1].toInteger();
  line["winner"] = winner >= 1 && winner <= list.count() ? Json(nameOf(movie, list.item(winner))) : Json(nullptr);
  line["text"] = stringOf(movie.cast().memberOf(Value("gametxt")).getProperty(sym::text));
  line["today"] = numberOf(state[s::ftoday]);
  file_.write(line.dump() + "\n", true);
}

void GameReport::writeMenu(uint32_t frame) {
  Json line = lineOf("menu", game_, frame);
  line["cells"] = SmallBlockPool::shared().cellsInUse();
  if (withMemory_) line["peakResident"] = platform::peakResidentBytes();
  file_.write(line.dump() + "\n", true);
}

}  // namespace qn
