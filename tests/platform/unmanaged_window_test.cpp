// Full screen with no window manager (a bare X session, a kiosk): on an X server of its own
// (Xvfb, 1920 x 1080) and no window manager, the window asked for full screen must cover the
// screen with the picture laid out for it, and follow every later size change.
#include <SDL.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/main_window.h"
#include "platform/window_events.h"
#include "tests/platform/x_screen.h"

extern char** environ;

namespace qn::platform {
namespace {

constexpr int kScreenWidthOfX = 1920, kScreenHeightOfX = 1080;

class NoInput final : public WindowEventHandler {
 public:
  bool takingEvents() const override { return true; }
  void keyDown(const KeyPress&) override {}
  void keyUp(const KeyPress&) override {}
  void typed(uint32_t) override {}
  void pointer(PointerAction, ScreenPoint, bool) override {}
  void controllerButton(ControllerButton, bool) override {}
  void focusChanged(bool) override {}
  void closeRequested() override {}
  void lowMemory() override {}
  void hostCommand(HostCommand, int32_t) override {}
};

class UnmanagedWindowTest : public ::testing::Test {
 protected:
  // An X server of the test's own: Xvfb writes its display number to a pipe once it is ready.
  void SetUp() override {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const std::string fd = std::to_string(ready[1]), screen = std::to_string(kScreenWidthOfX) + "x" +
                                                              std::to_string(kScreenHeightOfX) + "x24";
    std::vector<const char*> arguments = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
                                          "-nolisten", "tcp", nullptr};
    const int spawned = posix_spawnp(&server_, "Xvfb", nullptr, nullptr, const_cast<char**>(arguments.data()), environ);
    close(ready[1]);
    if (spawned != 0) {
      close(ready[0]);
      server_ = 0;
      GTEST_SKIP() << "no Xvfb to run an X server (it comes with setup.sh's test packages)";
    }
    pollfd wait{ready[0], POLLIN, 0};
    char number[16] = {};
    const bool started = poll(&wait, 1, 10000) == 1 && read(ready[0], number, sizeof number - 1) > 0;
    close(ready[0]);
    ASSERT_TRUE(started) << "Xvfb did not start";
    display_ = ":" + std::string(number, std::strcspn(number, "\n"));
    setenv("DISPLAY", display_.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    screen_ = std::make_unique<testing::XScreen>(display_);
    ASSERT_TRUE(screen_->connected());
  }
  // SDL's video stays up for the rest of the process: quitting it unloads libraries its X11
  // driver loaded, and what they keep for the life of the process would count as leaks with no
  // library left to name in a suppression. So the suite holds one test.
  void TearDown() override {
    screen_.reset();
    if (server_ > 0) {
      kill(server_, SIGTERM);
      waitpid(server_, nullptr, 0);
    }
  }

  // The events a frame of the program's loop takes, for a while, then the screen presented: its
  // left column green, the rest red.
  void runFrames(MainWindow& window, WindowEvents& events) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
    std::vector<uint32_t> pixels(kScreenWidth * kScreenHeight, 0xFFFF0000u);
    for (int y = 0; y < kScreenHeight; ++y) pixels[y * kScreenWidth] = 0xFF00FF00u;
    while (std::chrono::steady_clock::now() < end) {
      events.drain();
      window.present({reinterpret_cast<const uint8_t*>(pixels.data()), kScreenWidth * 4, kScreenWidth, kScreenHeight},
                     {0, 0, kScreenWidth, kScreenHeight});
      SDL_Delay(20);
    }
  }

  pid_t server_ = 0;
  std::string display_;
  std::unique_ptr<testing::XScreen> screen_;
};

TEST_F(UnmanagedWindowTest, FullScreenCoversTheScreenAndEverySizeIsLaidOut) {
  MainWindow window;
  ASSERT_TRUE(window.create("kiosk", 3, true, 32, false, {}));
  NoInput input;
  WindowEvents events(window, input);
  window.show();
  runFrames(window, events);
  testing::WindowPlace place = screen_->placeOf(window.window());
  EXPECT_EQ(place.x, 0);
  EXPECT_EQ(place.y, 0);
  EXPECT_EQ(place.width, kScreenWidthOfX);
  EXPECT_EQ(place.height, kScreenHeightOfX);
  // The screen fills the height: 810 pixels wide from x = 555, each device pixel 3.375 wide.
  EXPECT_EQ(window.presentationScale(), 4);
  EXPECT_EQ(screen_->colourAt(553, 540), 0x000000u) << "the bar";
  EXPECT_EQ(screen_->colourAt(556, 540), 0x00FF00u) << "the screen's left column";
  EXPECT_EQ(screen_->colourAt(960, 540), 0xFF0000u);
  EXPECT_EQ(screen_->colourAt(1366, 540), 0x000000u);
  EXPECT_EQ(window.screenPointAt(556, 540).x, 0);

  window.setScale(2);  // leaves full screen: 480 x 640, the screen pixel for pixel
  runFrames(window, events);
  place = screen_->placeOf(window.window());
  EXPECT_EQ(place.width, 480);
  EXPECT_EQ(place.height, 640);
  EXPECT_EQ(screen_->colourAt(place.x + 1, place.y + 320), 0x00FF00u);
  EXPECT_EQ(screen_->colourAt(place.x + 2, place.y + 320), 0xFF0000u);
  EXPECT_EQ(screen_->colourAt(place.x + 479, place.y + 639), 0xFF0000u);
}

}  // namespace
}  // namespace qn::platform
