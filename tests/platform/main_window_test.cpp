#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/main_window.h"

namespace qn::platform {
namespace {

// On SDL's dummy video driver (the test runs with SDL_VIDEODRIVER=dummy).
class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
  void TearDown() override { SDL_Quit(); }
};

TEST_F(MainWindowTest, IntegerScaleLetterboxAndClampedStylus) {
  MainWindow window;
  ASSERT_TRUE(window.create("letterbox", 2, false, 16, true, {}));
  EXPECT_GE(MainWindow::fittingScale(), 1);
  int width = 0, height = 0;
  SDL_GetWindowSize(window.window(), &width, &height);
  EXPECT_EQ(width, 480);
  EXPECT_EQ(height, 640);
  EXPECT_EQ(window.screenPointAt(0, 0).x, 0);
  EXPECT_EQ(window.screenPointAt(479, 639).y, 319);
  EXPECT_EQ(window.screenPointAt(201, 101).x, 100);
  EXPECT_EQ(window.screenPointAt(201, 101).y, 50);

  // A wider window keeps the largest whole scale that fits (2) and centres the screen.
  SDL_SetWindowSize(window.window(), 1000, 700);
  window.repaint();  // the dummy driver's surface follows the window at the next present
  SDL_GetWindowSize(window.window(), &width, &height);
  if (width != 1000) GTEST_SKIP() << "the video driver did not resize the window";
  ScreenPoint corner = window.screenPointAt(260, 30);
  EXPECT_EQ(corner.x, 0);
  EXPECT_EQ(corner.y, 0);
  ScreenPoint inside = window.screenPointAt(260 + 201, 30 + 101);
  EXPECT_EQ(inside.x, 100);
  EXPECT_EQ(inside.y, 50);
  ScreenPoint onBar = window.screenPointAt(5, 699);  // on the left bar, below the screen
  EXPECT_EQ(onBar.x, 0);
  EXPECT_EQ(onBar.y, 319);
  EXPECT_EQ(window.screenPointAt(999, 0).x, 239);

  window.setScale(3);
  SDL_GetWindowSize(window.window(), &width, &height);
  EXPECT_EQ(width, 720);
  EXPECT_EQ(height, 960);
}

// Without whole pixels the screen fills the side that limits it and composes at the smallest
// scale at least that large; the stylus still lands on device pixels.
TEST_F(MainWindowTest, SmoothFitAsksForItsPresentationScale) {
  MainWindow window;
  ASSERT_TRUE(window.create("fit", 2, false, 16, false, {}));
  EXPECT_EQ(window.presentationScale(), 2);
  EXPECT_EQ(window.screenPointAt(201, 101).x, 100);
  SDL_SetWindowSize(window.window(), 1000, 900);
  window.repaint();
  int width = 0, height = 0;
  SDL_GetWindowSize(window.window(), &width, &height);
  if (width != 1000) GTEST_SKIP() << "the video driver did not resize the window";
  EXPECT_EQ(window.presentationScale(), 3);  // 675 x 900, 2.8 times the screen
  const ScreenPoint middle = window.screenPointAt(500, 450);
  EXPECT_EQ(middle.x, 120);
  EXPECT_EQ(middle.y, 160);
  EXPECT_EQ(window.screenPointAt(162 + 674, 899).x, 239);
  EXPECT_EQ(window.screenPointAt(100, 0).x, 0);  // on the bar
}

}  // namespace
}  // namespace qn::platform
