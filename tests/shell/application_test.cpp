#include <gtest/gtest.h>
#include <stb_image.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/mapped_file.h"
#include "platform/platform.h"
#include "shell/application.h"
#include "shell/key_translator.h"
#include "shell/shell_display_host.h"
#include "sound/sound_mixer.h"
#include "test_movie.h"
#include "tests/engine/fake_services.h"

namespace qn {
namespace {

using test::TestMovie;
using test::TestMovieSettings;

std::string tempPath(const std::string& name) { return ::testing::TempDir() + "shell_" + name; }

MovieFactory factoryFor(TestMovieSettings settings) {
  return [settings](DisplayHost& display, SoundMixer& mixer) { return TestMovie::make(display, mixer, settings); };
}

ShellOptions headless(uint32_t frames = 0) {
  ShellOptions options;
  options.headless = true;
  options.frames = frames;
  return options;
}

TestMovie& movieOf(const Application& application) { return *static_cast<TestMovie*>(application.movie()); }

struct Png {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;
  uint32_t rgbAt(int x, int y) const {
    const uint8_t* p = rgba.data() + (y * width + x) * 4;
    return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
  }
};

Png readPng(const std::string& path) {
  Png png;
  int components = 0;
  if (unsigned char* pixels = stbi_load(path.c_str(), &png.width, &png.height, &components, 4)) {
    png.rgba.assign(pixels, pixels + png.width * png.height * 4);
    stbi_image_free(pixels);
  }
  return png;
}

// 0xRRGGBB as a 5-6-5 display shows it.
uint32_t through565(uint32_t rgb) {
  uint32_t r = (rgb >> 19) & 31, g = (rgb >> 10) & 63, b = (rgb >> 3) & 31;
  return (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
}

TEST(ApplicationTest, HeadlessRunPlaysTheReplayAndWritesTheScreen) {
  const std::string replay = tempPath("replay.txt");
  const std::string text = "# left arrow, then a touch held for two frames\n0 keydown 37\n1 down 100 200\n3 up 100 200\n";
  ASSERT_TRUE(platform::writeWholeFile(replay, text.data(), text.size()));
  for (DisplayFormat format : {DisplayFormat::rgb565, DisplayFormat::argb8888}) {
    ShellOptions options = headless(5);
    options.displayFormat = format;
    options.replayPath = replay;
    options.screenshotPath = tempPath("screen.png");
    std::remove(options.screenshotPath.c_str());
    Application application(options, "boules");
    EXPECT_EQ(application.run(factoryFor({})), 0);

    Png png = readPng(options.screenshotPath);
    ASSERT_EQ(png.width, 240);
    ASSERT_EQ(png.height, 320);
    auto shown = [&](uint32_t rgb) { return format == DisplayFormat::rgb565 ? through565(rgb) : rgb; };
    EXPECT_EQ(png.rgbAt(0, 0), shown(0x3366CC));
    EXPECT_EQ(png.rgbAt(239, 319), shown(0x3366CC));
    EXPECT_EQ(png.rgbAt(100, 200), shown(0xFF007B));  // painted in red with the left arrow's code 123
    EXPECT_EQ(png.rgbAt(105, 205), shown(0xFF007B));
    EXPECT_EQ(png.rgbAt(106, 200), shown(0x3366CC));
    std::remove(options.screenshotPath.c_str());
  }
  std::remove(replay.c_str());
}

TEST(ApplicationTest, TurnedStageIsPresentedTurned) {
  const std::string replay = tempPath("turned.txt");
  const std::string text = "1 down 100 200\n";
  ASSERT_TRUE(platform::writeWholeFile(replay, text.data(), text.size()));
  ShellOptions options = headless(3);
  options.displayFormat = DisplayFormat::argb8888;
  options.replayPath = replay;
  options.screenshotPath = tempPath("turned.png");
  EXPECT_EQ(Application(options, "boules").run(factoryFor({.orientation = 90})), 0);
  // The touch at window (100, 200) is stage point (120, 100); its square (120..125, 100..105)
  // shows at window x 100..105, y 194..199.
  Png png = readPng(options.screenshotPath);
  ASSERT_EQ(png.width, 240);
  EXPECT_EQ(png.rgbAt(100, 199), 0xFF0000u);
  EXPECT_EQ(png.rgbAt(105, 194), 0xFF0000u);
  EXPECT_EQ(png.rgbAt(100, 200), 0x3366CCu);
  EXPECT_EQ(png.rgbAt(106, 199), 0x3366CCu);
  EXPECT_EQ(png.rgbAt(0, 0), 0x3366CCu);
  std::remove(options.screenshotPath.c_str());
  std::remove(replay.c_str());
}

TEST(ApplicationTest, RecordedInputReplaysToTheSameScreen) {
  const std::string recording = tempPath("recording.txt");
  ShellOptions live = headless();
  live.recordPath = recording;
  live.screenshotPath = tempPath("live.png");
  uint32_t frames = 0;
  {
    Application application(live, "boules");
    ASSERT_FALSE(application.start(factoryFor({})));
    auto turns = [&](int count) {
      for (int i = 0; i < count; ++i) ASSERT_TRUE(application.turn());
    };
    turns(2);
    application.input({InputKind::keyDown, 38});
    application.input({InputKind::stylusDown, 30, 40});
    turns(1);
    application.input({InputKind::stylusMove, 60, 90});
    turns(2);
    application.input({InputKind::character, 'q'});
    application.input({InputKind::stylusMove, 200, 300});
    turns(1);
    application.input({InputKind::stylusUp, 200, 300});
    turns(3);
    frames = application.framesTicked();
    EXPECT_EQ(application.shutdown(), 0);
  }
  ShellOptions replay = headless(frames);
  replay.replayPath = recording;
  replay.screenshotPath = tempPath("replayed.png");
  EXPECT_EQ(Application(replay, "boules").run(factoryFor({})), 0);

  Png livePng = readPng(live.screenshotPath), replayedPng = readPng(replay.screenshotPath);
  ASSERT_EQ(livePng.rgba.size(), 240u * 320u * 4u);
  EXPECT_EQ(livePng.rgba, replayedPng.rgba);
  EXPECT_EQ(livePng.rgbAt(62, 92), through565(0xFF007E));  // the up arrow's code 126
  EXPECT_EQ(livePng.rgbAt(202, 302), through565(0xFF000C));  // 'q' has key code 12
  for (const std::string& path : {recording, live.screenshotPath, replay.screenshotPath}) std::remove(path.c_str());
}

TEST(ApplicationTest, FocusLossStopsAllChannelsAndTickingAndIsRecorded) {
  ShellOptions live = headless();
  live.recordPath = tempPath("focus.txt");
  Application application(live, "boules");
  ASSERT_FALSE(application.start(factoryFor({})));
  ASSERT_TRUE(application.turn());
  TestMovie& movie = movieOf(application);
  EXPECT_EQ(movie.framesStepped, 1);

  SoundMixer& mixer = *application.mixer();
  auto bytes = allocateSampleBytes(4000);
  std::fill_n(bytes.get(), 4000, uint8_t{128});
  SampleRef sample = makeSampleBuffer(platform::pcmFormat(1, 22050, 8), std::move(bytes), 4000);
  for (int channel = 1; channel <= SoundMixer::kChannelCount; ++channel) mixer.play(sample, channel, true);
  for (int channel = 1; channel <= SoundMixer::kChannelCount; ++channel) EXPECT_TRUE(mixer.isBusy(channel));

  application.focusLost();
  EXPECT_EQ(movie.deactivations, 1);
  EXPECT_TRUE(application.suspended());
  for (int channel = 1; channel <= SoundMixer::kChannelCount; ++channel) EXPECT_FALSE(mixer.isBusy(channel));
  EXPECT_TRUE(application.turn());
  EXPECT_EQ(movie.framesStepped, 1);  // no tick while suspended

  application.focusGained();
  EXPECT_EQ(movie.activations, 1);
  EXPECT_FALSE(application.suspended());
  EXPECT_TRUE(application.turn());
  EXPECT_EQ(movie.framesStepped, 2);  // the next frame was due at once
  application.shutdown();

  // A replay tells the movie at the same frame, and goes on ticking.
  ShellOptions replay = headless(3);
  replay.replayPath = live.recordPath;
  Application replayed(replay, "boules");
  ASSERT_FALSE(replayed.start(factoryFor({})));
  while (replayed.turn()) {
  }
  EXPECT_EQ(movieOf(replayed).deactivations, 1);
  EXPECT_EQ(movieOf(replayed).activations, 1);
  EXPECT_EQ(movieOf(replayed).framesStepped, 3);
  replayed.shutdown();
  std::remove(live.recordPath.c_str());
}

TEST(ApplicationTest, KeysAndStylusReachTheMovieAsOnTheDevice) {
  Application application(headless(), "boules");
  ASSERT_FALSE(application.start(factoryFor({})));
  ASSERT_TRUE(application.turn());
  const Movie& movie = *application.movie();

  application.input({InputKind::stylusDown, 40000, 65535});  // arrives unsigned
  EXPECT_EQ(movie.stylusPoint(), (IntPoint{40000, 65535}));

  application.input({InputKind::keyDown, 27});  // escape: a key-down from the key...
  EXPECT_EQ(movie.lastKey(), (KeyReport{0, 53}));
  application.input({InputKind::character, 27});  // ...and one from its character
  EXPECT_EQ(movie.lastKey().character, 27);
  application.input({InputKind::keyDown, 'G'});  // a letter's key-down changes nothing
  EXPECT_EQ(movie.lastKey().character, 27);
  application.input({InputKind::character, 'g'});
  EXPECT_EQ(movie.lastKey(), (KeyReport{'g', 5}));
  EXPECT_TRUE(application.movie()->keyPressed(5));  // as scripts ask it
  application.input({InputKind::keyUp, 'G'});
  EXPECT_TRUE(application.movie()->keyPressed(5)) << "down since the last frame";
  ASSERT_TRUE(application.turn());
  EXPECT_FALSE(application.movie()->keyPressed(5));

  application.input({InputKind::keyDown, kDesktopGameKeys.a});  // game key A quits without exitLock
  EXPECT_EQ(movie.lastKey().code, 195);
  EXPECT_FALSE(application.turn());
  EXPECT_EQ(application.shutdown(), 0);
}

TEST(ApplicationTest, TurnedStageAndExitLock) {
  Application application(headless(), "boules");
  ASSERT_FALSE(application.start(factoryFor({.exitLock = true, .orientation = 90})));
  ASSERT_TRUE(application.turn());
  const Movie& movie = *application.movie();
  application.input({InputKind::keyDown, 37});
  EXPECT_EQ(movie.lastKey().code, 126);  // left on a stage turned 90 is up
  application.input({InputKind::keyDown, 40});
  EXPECT_TRUE(application.movie()->keyPressed(123));  // the device's down key is the stage's left
  application.input({InputKind::keyDown, kDesktopGameKeys.a});
  EXPECT_EQ(movie.lastKey().code, 195);
  EXPECT_TRUE(application.turn());  // with exitLock the quit key is an ordinary key
  application.shutdown();
}

// A display of the given pixel format.
testing::FakeDisplay displayOfFormat(int32_t format) {
  testing::FakeDisplay display;
  display.format = format;
  return display;
}

std::string shownMessage;

TEST(ApplicationTest, ColourCheckRefusesDisplaysBelowSixteenBits) {
  platform::setMessageBoxHandler([](std::string_view text, std::string_view caption, platform::MessageBoxButtons) {
    shownMessage = std::string(caption) + "|" + std::string(text);
    return platform::MessageBoxAnswer::ok;
  });
  for (int32_t format : {kDisplay565, kDisplay555, kDisplay32, 24}) EXPECT_TRUE(colourDepthAccepted(displayOfFormat(format)));
  EXPECT_TRUE(shownMessage.empty());
  EXPECT_FALSE(colourDepthAccepted(displayOfFormat(8)));
  EXPECT_EQ(shownMessage, "|Sorry, this application requires a 16-bit or 32-bit color screen.");
  platform::setMessageBoxHandler(nullptr);
}

TEST(ApplicationTest, TitleAndBadRecordings) {
  EXPECT_EQ(windowTitleOf("/usr/games/boules"), "boules");
  EXPECT_EQ(windowTitleOf("/opt/a.b/boules.v2.bin"), "boules.v2");
  EXPECT_EQ(windowTitleOf("plain"), "plain");

  const std::string replay = tempPath("bad.txt");
  ASSERT_TRUE(platform::writeWholeFile(replay, "0 jump 1 2\n", 11));
  ShellOptions options = headless(3);
  options.replayPath = replay;
  EXPECT_EQ(Application(options, "boules").run(factoryFor({})), 6);
  options.replayPath = tempPath("missing.txt");
  EXPECT_EQ(Application(options, "boules").run(factoryFor({})), 6);
  std::remove(replay.c_str());
}

// The window path on SDL's dummy video driver (the test runs with SDL_VIDEODRIVER=dummy): a
// window twice the screen's size composes at 2x, and the screenshot is what it shows.
TEST(ApplicationTest, WindowedRunPresentsThroughTheWindow) {
  ShellOptions options;
  options.frames = 3;
  options.scale = 2;
  options.displayFormat = DisplayFormat::argb8888;
  options.screenshotPath = tempPath("window.png");
  EXPECT_EQ(Application(options, "shell-test-window").run(factoryFor({.stageColor = 0x102030})), 0);
  Png png = readPng(options.screenshotPath);
  ASSERT_EQ(png.width, 480);
  EXPECT_EQ(png.rgbAt(240, 320), 0x102030u);
  std::remove(options.screenshotPath.c_str());
}

// The platform's loop rests between steps only where the program may: never headless or with the
// frame clock unpaced, a frame's wait with it paced in a window, 100 ms while in the background.
TEST(ApplicationTest, TheLoopRestsOnlyWhereItMay) {
  Application headlessRun(headless(), "boules");
  ASSERT_FALSE(headlessRun.start(factoryFor({})));
  ASSERT_TRUE(headlessRun.step());
  EXPECT_EQ(headlessRun.restMilliseconds(), 0);
  headlessRun.focusLost();
  EXPECT_EQ(headlessRun.restMilliseconds(), 100);
  headlessRun.shutdown();

  for (bool unpaced : {false, true}) {
    ShellOptions options;
    options.frames = 1000;
    options.unpaced = unpaced;
    Application windowed(options, "shell-test-loop");
    ASSERT_FALSE(windowed.start(factoryFor({})));
    for (int step = 0; step < 5; ++step) ASSERT_TRUE(windowed.step());
    if (unpaced) {
      EXPECT_EQ(windowed.framesTicked(), 5u) << "a frame every step";
      EXPECT_EQ(windowed.restMilliseconds(), 0);
    } else {
      EXPECT_LT(windowed.framesTicked(), 5u) << "frames keep to real time";
      EXPECT_GT(windowed.restMilliseconds(), 0);
    }
    windowed.shutdown();
  }
}

}  // namespace
}  // namespace qn
