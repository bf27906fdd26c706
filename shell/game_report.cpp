#include "shell/game_report.h"

#include "platform/process_usage.h"
#include "script/small_block_pool.h"

namespace qn {

namespace {

using Json = nlohmann::ordered_json;

Json numberOf(const game::RuleNumber& number) {
  if (number.isInteger) return static_cast<int32_t>(number.value);
  return number.value;
}

Json distanceOf(const std::optional<double>& distance) { return distance ? Json(*distance) : Json(nullptr); }

Json pointOf(const game::FieldPoint& point) { return Json::array({point.x, point.y}); }

// A ball as the rest line shows it: its owner, where it lies, and one more key.
Json ballEntry(const game::BallPlace& ball, const char* key, Json value) {
  Json entry;
  entry["player"] = ball.player;
  entry["pos"] = pointOf(ball.pos);
  entry[key] = std::move(value);
  return entry;
}

}  // namespace

Json GameReport::lineOf(const char* type) const {
  Json line;
  line["type"] = type;
  line["game"] = game_;
  line["frame"] = frame_;
  return line;
}

void GameReport::writeLine(const Json& line) {
  if (sink_) sink_(line.dump());
  else file_.write(line.dump() + "\n", true);
}

// Collisions and removed balls are counted anew from each throw on.
void GameReport::startCounting() {
  collisions_ = 0;
  removed_ = Json::array();
}

void GameReport::throwReleased(const game::ThrowReleased& release) {
  Json line = lineOf("throw");
  line["target"] = release.targetBall;
  line["player"] = release.thrower.index;
  line["slot"] = release.thrower.slot;
  line["name"] = release.thrower.name;
  line["computer"] = release.thrower.computer;
  line["from"] = pointOf(release.from);
  line["height"] = numberOf(release.height);
  line["speed"] = pointOf(release.velocity);
  line["zspeed"] = release.verticalSpeed;
  line["E"] = release.strength;
  line["kracht"] = release.force;
  line["direction"] = release.direction;
  line["upswing"] = release.upswing;
  writeLine(line);
  startCounting();
}

void GameReport::ballRemoved(const game::BallRemoved& removed) {
  removed_.push_back(ballEntry(removed.ball, "why", removed.why == game::Removal::fault ? "fault" : "lost"));
}

// A ball's distance is the one shown for its player.
void GameReport::throwSettled(const game::ThrowSettled& settled) {
  Json balls = Json::array();
  for (const game::BallPlace& ball : settled.balls)
    balls.push_back(ballEntry(ball, "distance", distanceOf(settled.distances.of(ball.player))));
  Json line = lineOf("rest");
  line["collisions"] = collisions_;
  line["balls"] = std::move(balls);
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
    entry["distance"] = distanceOf(end.distances.of(player.index));
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
