// The game report and the demo on the real game, in this process: the report's lines for a game a
// person plays with the up key, a game the demo and the report follow played as one nobody
// follows, and the demo giving up on a game that never comes back.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "game/game_program.h"
#include "platform/fake_wave_output.h"
#include "gfx/image_buffer.h"
#include "shell/demo_driver.h"
#include "shell/exit_code.h"
#include "shell/game_report.h"
#include "shell/shell_display_host.h"
#include "shell/unattended_play.h"
#include "sound/sound_mixer.h"
#include "tests/engine/fake_services.h"
#include "tests/game/game_harness.h"

namespace qn {
namespace {

namespace s = game::s;
namespace member = game::member;
using game::testing::GameHarness;
using Json = nlohmann::json;

constexpr int32_t kUp = 126;

// One throw with the up key: the swing starts, runs `swingSteps` frames and is released on the
// frame after, so the ball leaves the hand at zrot 5 * (swingSteps + 1) while the swing goes up.
void throwWithUpKey(GameHarness& game, int swingSteps) {
  ASSERT_TRUE(game.runUntilMode(s::setRot, 800));
  game.holdKey(kUp);
  game.frame();
  game.releaseKey(kUp);
  game.frames(swingSteps);
  game.holdKey(kUp);
  game.frame();
  game.releaseKey(kUp);
  game.frame();
  ASSERT_TRUE(game.mode() == s::rollBall);
}

std::vector<Json> linesOf(const std::string& path) {
  std::vector<Json> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) lines.push_back(Json::parse(line));
  return lines;
}

// A person alone: a throw released at zrot 90 on the upswing (E = 40 + 15 * 90 / 180 = 47.5, no
// lean), then two released after the swing turned (E = 10), which fall short of the line.
TEST(GameReport, AFaultEAsTheRuleComputedItAndTheWinnerOfAPersonsGame) {
  const std::string path = ::testing::TempDir() + "report-" + std::to_string(::getpid()) + ".jsonl";
  GameReport report(false);
  ASSERT_TRUE(report.file().open(path));
  {
    GameHarness game;
    game.game().observers().add(report);
    ASSERT_TRUE(game.startGameWith({member::human, member::notPlaying}));
    throwWithUpKey(game, 17);
    throwWithUpKey(game, 40);
    throwWithUpKey(game, 40);
    ASSERT_TRUE(game.runUntilMode(s::waitMenu, 800));
    game.game().observers().remove(report);
  }
  ASSERT_TRUE(report.file().close());
  const std::vector<Json> lines = linesOf(path);
  std::remove(path.c_str());
  ASSERT_EQ(lines.size(), 9u) << "four throws, each with its rest line, and the end";

  EXPECT_EQ(lines[0]["target"], true);
  const Json& strong = lines[2];
  EXPECT_EQ(strong["E"], 47.5);
  EXPECT_EQ(strong["upswing"], true);
  EXPECT_EQ(strong["name"], "Player One");
  EXPECT_EQ(lines[3]["removed"].size(), 0u);
  for (size_t feeble : {4u, 6u}) {
    EXPECT_EQ(lines[feeble]["E"], 10.0);
    EXPECT_EQ(lines[feeble]["upswing"], false);
    const Json& removed = lines[feeble + 1]["removed"];
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(removed[0]["why"], "fault");
    EXPECT_EQ(removed[0]["player"], 1);
  }
  const Json& end = lines[8];
  EXPECT_EQ(end["type"], "end");
  EXPECT_EQ(end["winner"], "Player One");
  EXPECT_EQ(end["text"].get<std::string>().rfind("Player One's distance: ", 0), 0u) << end["text"];
  EXPECT_EQ(end["players"][0]["distance"], lines[7]["balls"][1]["distance"]) << "the one ball left";
}

// The state a frame leaves the game in: its mode and aiming state, and every ball and effect.
std::string stateOf(GameHarness& game) {
  return game.engine(s::pList).toString() + game.engine(s::pBallList).toString() + game.engine(s::feffect).toString();
}

std::string screenOf(GameHarness& game) {
  const ImageBuffer* stage = imageBufferOf(game.movie().stageImage());
  return stage ? std::string(reinterpret_cast<const char*>(stage->storage()), stage->storageBytes()) : std::string();
}

void press(GameHarness& game, const DeviceInput& tap) {
  const IntPoint at{static_cast<int32_t>(tap.value), static_cast<int32_t>(tap.y)};
  if (tap.kind == InputKind::stylusDown) game.movie().mouseDown(at);
  else game.movie().mouseUp(at);
}

// The demo and the report follow a game; then the demo's taps go to another game on the same
// frames, and nobody follows it. Frame for frame the two are in the same state, and every 50th
// frame shows the same screen. (One game runs at a time: the rules act on the movie that runs.)
TEST(UnattendedGame, AGameFollowedByTheDemoAndTheReportPlaysAsOneNobodyFollows) {
  constexpr int kScreenEvery = 50;
  std::vector<std::pair<int, DeviceInput>> taps;
  std::vector<std::string> states, screens;
  const std::string path = ::testing::TempDir() + "followed-" + std::to_string(::getpid()) + ".jsonl";
  GameReport report(false);
  ASSERT_TRUE(report.file().open(path));
  DemoDriver demo(1);
  {
    GameHarness followed;
    followed.game().observers().add(demo);
    followed.game().observers().add(report);
    demo.menuShown();  // the menu came up in the harness's first frame, before the demo followed
    for (int frame = 0; !demo.finished() && frame < 20'000; ++frame) {
      if (std::optional<DeviceInput> tap = demo.inputBeforeTick(followed.movie())) {
        taps.emplace_back(frame, *tap);
        press(followed, *tap);
      }
      followed.frame();
      states.push_back(stateOf(followed));
      if (frame % kScreenEvery == 0) screens.push_back(screenOf(followed));
    }
    followed.game().observers().remove(report);
    followed.game().observers().remove(demo);
  }
  ASSERT_TRUE(demo.finished()) << "the game came back to the menu";
  ASSERT_TRUE(report.file().close());
  EXPECT_EQ(linesOf(path).size(), 2 + 2 * 3 * 2 + 1u) << "the target ball and six balls, each with its rest line, and the end";
  std::remove(path.c_str());

  GameHarness alone;
  alone.followNothing();
  auto tap = taps.begin();
  for (int frame = 0; frame < static_cast<int>(states.size()); ++frame) {
    for (; tap != taps.end() && tap->first == frame; ++tap) press(alone, tap->second);
    alone.frame();
    ASSERT_EQ(stateOf(alone), states[static_cast<size_t>(frame)]) << "frame " << frame;
    ASSERT_TRUE(frame % kScreenEvery != 0 || screenOf(alone) == screens[static_cast<size_t>(frame / kScreenEvery)])
        << "frame " << frame;
  }
}

// The demo sets up a game and starts it; then the game hangs (its movie is not ticked any more).
// After 20,000 frames the demo gives up, says so, and the run ends with exit code 9.
TEST(UnattendedGame, ADemoGameThatNeverComesBackEndsTheRunWithTheStallCode) {
  initValueModel();
  {
    testing::FakeDisplay display;
    display.format = kDisplay32;
    SoundMixer mixer(22050, true, std::make_unique<platform::FakeWaveOutput>(0));
    game::GameProgram program = game::makeGameProgram(display, mixer);
    Movie& movie = *program.game;
    movie.defineMovie();
    game::testing::ToldEvents told;
    program.game->observers().add(told);

    ShellOptions options;
    options.demoGames = 1;
    ShellDisplayHost host(DisplayFormat::rgb565, ClockKind::frame, nullptr);
    auto play = std::make_unique<UnattendedPlay>(options);
    ASSERT_FALSE(play->begin(program.game, host));
    ::testing::internal::CaptureStderr();
    for (uint32_t frame = 0; frame < 30'000 && !play->demoStalled(); ++frame) {
      if (std::optional<DeviceInput> tap = play->demoInput()) {
        const IntPoint at{static_cast<int32_t>(tap->value), static_cast<int32_t>(tap->y)};
        if (tap->kind == InputKind::stylusDown) movie.mouseDown(at);
        else movie.mouseUp(at);
      }
      play->runTick(frame, [&] {
        if (told.endsStarted > 0) return;  // hung
        display.clock += 33;
        movie.tick();
      });
    }
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(told.endsStarted, 1) << "the demo set up a game and started it";
    ASSERT_TRUE(play->demoStalled());
    const std::optional<ExitCode> ended = play->finish();
    ASSERT_TRUE(ended.has_value());
    EXPECT_EQ(exitStatus(*ended), 9);
    EXPECT_NE(said.find("game 1 did not come back to the menu within 20000 frames"), std::string::npos) << said;
    play.reset();
    program.game->observers().remove(told);
    program.movie = Value();
  }
  shutdownValueModel();
}

}  // namespace
}  // namespace qn
