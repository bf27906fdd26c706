// A person's game in a window starts from the day's kept record and mute setting; a run of a set
// number of frames neither reads nor writes them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/movie.h"
#include "game/game_program.h"
#include "platform/kept_text.h"
#include "script/symbol_object.h"
#include "shell/application.h"
#include "shell/kept_state.h"
#include "sound/sound_mixer.h"

namespace qn {
namespace {

std::string recordShown(Application& application) {
  while (application.movie()->framesStepped() < 2) application.turn();
  return stringOf(application.movie()->cast().memberOf(Value("closestName")).getProperty(sym::text));
}

TEST(KeptGameTest, APersonsGameStartsFromTheDaysRecordAndATimedRunIgnoresIt) {
  const std::string folder = ::testing::TempDir() + "kept_game_test";
  std::filesystem::remove_all(folder);
  setenv("XDG_STATE_HOME", folder.c_str(), 1);
  const std::string kept = formatKeptState({localDate(), game::TodaysRecord{"Player 1", 3.25}, true});
  ASSERT_EQ(platform::storeKeptText("kept-game-test", kept), "");

  ShellOptions options;
  options.scale = 1;
  for (uint32_t frames : {0u, 100u}) {
    options.frames = frames;
    Application application(options, "kept-game-test");
    ASSERT_FALSE(application.start(game::makeGameProgram));
    EXPECT_EQ(recordShown(application), frames == 0 ? "Player 1: 3.2500 cm" : "") << frames;
    EXPECT_EQ(application.mixer()->muted(), frames == 0);
    application.setMuted(false);
    application.shutdown();
  }
  ASSERT_EQ(platform::readKeptText("kept-game-test").text, formatKeptState({localDate(), game::TodaysRecord{"Player 1", 3.25}, false}))
      << "the person's unmuting kept, the timed run's not";
  unsetenv("XDG_STATE_HOME");
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace qn
