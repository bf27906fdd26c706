#include "tests/shell/room_play.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "game/game_program.h"
#include "game/play_from_outside.h"
#include "game/say_rule.h"
#include "platform/mapped_file.h"
#include "shell/application.h"

namespace qn::testing {

namespace {

namespace ch = game::ch;
namespace member = game::member;
namespace s = game::s;

constexpr uint32_t kVirtualLeft = 37, kVirtualUp = 38, kVirtualRight = 39;

// Two people sharing one device, as the test plays them: START, both slots set to a person and
// the others to nobody, done; in each turn a walk, then the swing started and released with the
// up key a while later. Back on the menu after the end, they stop.
class TwoPeople {
 public:
  explicit TwoPeople(uint32_t seed) : random_(seed) {}

  // The input before the tick of `frame`.
  std::vector<DeviceInput> before(uint32_t frame, const Movie& movie) {
    if (queued_.empty() && frame >= waitUntil_) plan(frame, movie);
    std::vector<DeviceInput> due;
    while (!queued_.empty() && queued_.front().frame <= frame) {
      due.push_back(queued_.front().input);
      queued_.erase(queued_.begin());
    }
    return due;
  }
  bool done() const { return done_; }

 private:
  uint32_t between(uint32_t low, uint32_t high) { return std::uniform_int_distribution<uint32_t>(low, high)(random_); }
  void press(uint32_t frame, uint32_t key, uint32_t held) {
    queued_.push_back({frame, {InputKind::keyDown, key}});
    queued_.push_back({frame + held, {InputKind::keyUp, key}});
  }
  void tap(uint32_t frame, const Movie& movie, int32_t channel) {
    const IntPoint at = game::tapPointOn(movie, channel);
    queued_.push_back({frame, {InputKind::stylusDown, static_cast<uint32_t>(at.x), static_cast<uint32_t>(at.y)}});
    queued_.push_back({frame + 1, {InputKind::stylusUp, static_cast<uint32_t>(at.x), static_cast<uint32_t>(at.y)}});
    waitUntil_ = frame + game::kTapGap;
  }
  void plan(uint32_t frame, const Movie& movie) {
    if (game::inMode(movie, s::waitstart)) {
      if (started_) done_ = true;
      else if (frame >= game::kMenuPause) tap(frame, movie, ch::startHotSpot);
    } else if (game::inMode(movie, s::setupPlayers)) {
      started_ = true;
      if (std::optional<int32_t> kind = lineUp_.nextTap(movie)) tap(frame, movie, *kind);
      else tap(frame, movie, ch::setupDone);
    } else if (game::inMode(movie, s::setRot) && game::seatWithTheSay(movie) != 0) {
      uint32_t at = frame + between(5, 20);
      if (between(0, 1) == 1) {
        const uint32_t walk = between(3, 12);
        press(at, between(0, 1) == 1 ? kVirtualLeft : kVirtualRight, walk);
        at += walk + between(2, 10);
      }
      press(at, kVirtualUp, 1);
      const uint32_t release = at + between(6, 30);
      press(release, kVirtualUp, 1);
      waitUntil_ = release + 10;
    }
  }

  std::mt19937 random_;
  std::vector<TimedInput> queued_;
  game::LineUp lineUp_{{member::human, member::human, member::notPlaying, member::notPlaying}};
  uint32_t waitUntil_ = 0;
  bool started_ = false;
  bool done_ = false;
};

}  // namespace

LocalGame playLocally(uint32_t seed, const std::string& recordPath) {
  ShellOptions options;
  options.headless = true;
  options.recordPath = recordPath;
  LocalGame game;
  {
    Application application(options, "room-game-test");
    if (application.start(game::makeGameProgram)) {
      game.problem = "the game did not start";
      return game;
    }
    TwoPeople people(seed);
    uint32_t after = 0;
    while (after < 30 && application.framesTicked() < 20'000) {
      const uint32_t frame = application.framesTicked();
      game.seatByFrame.push_back(game::seatWithTheSay(*application.movie()));
      for (const DeviceInput& input : people.before(frame, *application.movie())) application.input(input);
      if (!application.turn()) break;
      if (people.done()) ++after;
    }
    application.shutdown();
  }
  if (!loadRecording(recordPath, game.input, game.problem)) game.problem = recordPath + ": " + game.problem;
  return game;
}

std::string copyFor(const LocalGame& game, const std::vector<int32_t>& own) {
  auto owns = [&](size_t frame) {
    const int32_t seat = frame < game.seatByFrame.size() ? game.seatByFrame[frame] : 0;
    return std::find(own.begin(), own.end(), seat) != own.end();
  };
  std::vector<TimedInput> copy;
  for (const TimedInput& event : game.input)
    if (owns(event.frame)) copy.push_back(event);
  for (uint32_t frame = 0; frame + 1 < game.seatByFrame.size(); frame += 7) {
    if (owns(frame) || owns(frame + 1)) continue;
    const bool key = frame / 7 % 2 == 0;
    copy.push_back({frame, key ? DeviceInput{InputKind::keyDown, kVirtualUp} : DeviceInput{InputKind::stylusDown, 120, 200}});
    copy.push_back({frame + 1, key ? DeviceInput{InputKind::keyUp, kVirtualUp} : DeviceInput{InputKind::stylusUp, 120, 200}});
  }
  std::stable_sort(copy.begin(), copy.end(), [](const TimedInput& a, const TimedInput& b) { return a.frame < b.frame; });
  std::string text;
  for (const TimedInput& event : copy) text += formatRecordingLine(event);
  return text;
}

std::string readFile(const std::string& path) {
  std::string text;
  platform::readWholeFile(path, text);
  return text;
}

void writeFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string firstDifference(const std::string& report, const std::string& expected) {
  std::istringstream got(report), wanted(expected);
  std::string gotLine, wantedLine;
  for (int line = 1;; ++line) {
    const bool more = static_cast<bool>(std::getline(got, gotLine)), expectedMore = static_cast<bool>(std::getline(wanted, wantedLine));
    if (!more && !expectedMore) return {};
    if (gotLine != wantedLine || more != expectedMore)
      return "line " + std::to_string(line) + ": " + (more ? gotLine : "(none)") + "\n expected: " + (expectedMore ? wantedLine : "(none)");
  }
}

size_t throwsIn(const std::string& report) {
  size_t count = 0;
  for (size_t at = report.find("\"type\":\"throw\""); at != std::string::npos; at = report.find("\"type\":\"throw\"", at + 1)) ++count;
  return count;
}

}  // namespace qn::testing
