#include "shell/game_report.h"

#include "platform/process_usage.h"
#include "script/point_object.h"
#include "script/small_block_pool.h"
#include "script/symbol_object.h"

namespace qn {

namespace {

using Json = nlohmann::ordered_json;

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
Json ballEntry(const game::BallPlace& ball, const char* key, Json value) {
  Json entry;
  entry["player"] = ball.player;
  entry["pos"] = jsonPoint(ball.pos);
  entry[key] = std::move(value);
  return entry;
}

// The distance shown for player `index`, null for none (the target ball's owner 0 has none).
Json distanceOf(const std::vector<Value>& distances, int32_t index) {
  if (index < 1 || index > static_cast<int32_t>(distances.size())) return nullptr;
  return numberOf(distances[static_cast<size_t>(index) - 1]);
}

Json ballsWithDistances(const std::vector<game::BallPlace>& balls, const std::vector<Value>& distances) {
  Json entries = Json::array();
  for (const game::BallPlace& ball : balls) entries.push_back(ballEntry(ball, "distance", distanceOf(distances, ball.player)));
  return entries;
}

}  // namespace

Json GameReport::lineOf(const char* type) const {
  Json line;
  line["type"] = type;
  line["game"] = game_;
  line["frame"] = frame_;
  return line;
}

void GameReport::writeLine(const Json& line) { file_.write(line.dump() + "\n", true); }

// Collisions and removed balls are counted anew from each throw on.
void GameReport::startCounting() {
  collisions_ = 0;
  removed_ = Json::array();
  ballsAtRest_ = Json();
}

void GameReport::throwReleased(const game::ThrowReleased& release) {
  Json line = lineOf("throw");
  line["target"] = release.targetBall;
  line["player"] = release.thrower.index;
  line["slot"] = release.thrower.slot;
  line["name"] = release.thrower.name;
  line["computer"] = release.thrower.computer;
  line["from"] = jsonPoint(release.from);
  line["height"] = numberOf(release.height);
  line["speed"] = jsonPoint(release.speed);
  line["zspeed"] = release.zspeed;
  line["E"] = release.E;
  line["kracht"] = release.kracht;
  line["direction"] = release.direction;
  line["upswing"] = release.upswing;
  writeLine(line);
  startCounting();
}

void GameReport::ballRemoved(const game::BallRemoved& removed) {
  removed_.push_back(ballEntry(removed.ball, "why", removed.why == game::Removal::fault ? "fault" : "lost"));
}

// The target ball's throw is done when it stops; a player's when the distances are measured.
void GameReport::ballsAtRest(const game::BallsAtRest& rest) {
  Json balls = ballsWithDistances(rest.balls, {});
  if (rest.targetBall) writeRest(balls);
  else ballsAtRest_ = std::move(balls);
}

void GameReport::resultMeasured(const game::ResultMeasured& result) {
  if (ballsAtRest_.is_null()) return;
  Json balls = std::move(ballsAtRest_);
  for (Json& ball : balls) ball["distance"] = distanceOf(result.distances, ball["player"].get<int32_t>());
  writeRest(balls);
}

void GameReport::writeRest(const Json& balls) {
  Json line = lineOf("rest");
  line["collisions"] = collisions_;
  line["balls"] = balls;
  line["removed"] = removed_;
  writeLine(line);
  startCounting();
}

void GameReport::endFinished(const game::EndFinished& end) {
  Json line = lineOf("end");
  Json players = Json::array();
  for (const game::PlayerShown& player : end.players) {
    Json entry;
    entry["name"] = player.name;
    entry["slot"] = player.slot;
    entry["computer"] = player.computer;
    entry["distance"] = distanceOf(end.distances, player.index);
    players.push_back(std::move(entry));
  }
  line["players"] = std::move(players);
  line["winner"] = end.winner == 0 ? Json(nullptr) : Json(end.players[static_cast<size_t>(end.winner) - 1].name);
  line["text"] = end.text;
  line["today"] = numberOf(end.today);
  writeLine(line);
}

// The menu line counts the pool's cells once the frame is complete. The memory figures depend on
// the build (a 32-bit edition keeps more of its smaller objects in the pool), so they come only
// with --stats: without them the report is the same from every compiler and edition.
void GameReport::menuShown() { menuLinePending_ = game_ > 0; }

void GameReport::endFrame() {
  if (!menuLinePending_) return;
  menuLinePending_ = false;
  Json line = lineOf("menu");
  if (withMemory_) {
    line["cells"] = SmallBlockPool::shared().cellsInUse();
    line["peakResident"] = platform::peakResidentBytes();
  }
  writeLine(line);
}

}  // namespace qn
