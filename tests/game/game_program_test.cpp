// The game over the real cast, media file (linked into this test like into the program), stage
// images and mixer: after the first frames the menu is up, the hot spots lie where the menu
// picture draws its buttons, sprites whose members do not exist show nothing, and the menu tune
// plays on sound channel 2.
#include <gtest/gtest.h>

#include <memory>

#include "game/game_movie.h"
#include "game/game_program.h"
#include "platform/fake_wave_output.h"
#include "sound/sound_mixer.h"
#include "tests/engine/fake_services.h"

namespace qn::game {
namespace {

TEST(GameProgram, StartsIntoTheMenuWithItsMusic) {
  initValueModel();
  {
    testing::FakeDisplay display;
    display.format = kDisplay32;
    SoundMixer mixer(22050, true, std::make_unique<platform::FakeWaveOutput>());
    GameProgram program = makeGameProgram(display, mixer);
    Value held = program.movie;
    GameMovie* movie = program.game;
    movie->defineMovie();
    for (int frame = 0; frame < 3; ++frame) {
      display.clock += 34;
      movie->tick();
    }
    EXPECT_FALSE(movie->stopped()) << "the media file validated";
    EXPECT_TRUE(mixer.isBusy(2)) << "the menu tune";

    auto rectOf = [&](int32_t channel) { return movie->sprite(channel).spriteRect; };
    EXPECT_EQ(rectOf(238), (IntRect{0, 0, 240, 320}));
    EXPECT_EQ(rectOf(225), (IntRect{77, 133, 166, 168}));  // start
    EXPECT_EQ(rectOf(496), (IntRect{76, 180, 165, 218}));  // help
    EXPECT_EQ(rectOf(181), (IntRect{103, 228, 138, 250}));  // quit
    // Channels whose members do not exist (1.46, 1.165, 1.37) show nothing.
    for (int32_t channel : {109, 480, 498}) EXPECT_TRUE(isEmptyRect(rectOf(channel))) << channel;
    EXPECT_FALSE(isEmptyRect(rectOf(1)));
    held = Value();
  }
  shutdownValueModel();
}

}  // namespace
}  // namespace qn::game
