#include <gtest/gtest.h>

#include "shell/platform/platform.h"
#include "shell/shell_display_host.h"

namespace qn {
namespace {

TEST(ShellDisplayHostTest, ClocksScreenAndFrameBuffer) {
  ShellDisplayHost realTime(DisplayFormat::rgb565, ClockKind::realTime, nullptr);
  int32_t start = realTime.now();
  EXPECT_LE(static_cast<int32_t>(platform::monotonicMilliseconds()) - start, 2);  // starts at the tick count
  platform::sleepMilliseconds(5);
  EXPECT_GE(realTime.now() - start, 4);
  realTime.advanceClock(1000);  // only the frame clock moves by hand
  EXPECT_LT(realTime.now() - start, 900);

  ShellDisplayHost frames(DisplayFormat::argb8888, ClockKind::frame, nullptr);
  EXPECT_EQ(frames.now(), 0);
  frames.advanceClock(33);
  frames.advanceClock(33);
  EXPECT_EQ(frames.now(), 66);

  EXPECT_EQ(realTime.displayFormat(), kDisplay565);
  EXPECT_EQ(frames.displayFormat(), kDisplay32);
  EXPECT_EQ(frames.screenWidth(), 240);
  EXPECT_EQ(frames.screenHeight(), 320);

  FrameBuffer buffer;
  ASSERT_TRUE(realTime.beginDraw(buffer));
  EXPECT_EQ(buffer.pixels, realTime.screen().pixels());
  EXPECT_EQ(buffer.xPitch, 2);
  EXPECT_EQ(buffer.yPitch, 480);
  EXPECT_EQ(buffer.bitsPerPixel, 16);
  ASSERT_TRUE(frames.beginDraw(buffer));
  EXPECT_EQ(buffer.xPitch, 4);
  EXPECT_EQ(buffer.yPitch, 960);
  EXPECT_EQ(buffer.bitsPerPixel, 32);
  EXPECT_EQ(buffer.width, 240);
  EXPECT_EQ(buffer.height, 320);

  // Repaints reach the painter clipped to the screen; the close request is taken once.
  IntRect painted;
  frames.setPainter([&](const IntRect& rect) { painted = rect; });
  frames.repaint({-10, 300, 20, 400});
  EXPECT_EQ(painted, (IntRect{0, 300, 20, 320}));
  frames.postCloseRequest();
  EXPECT_TRUE(frames.takeCloseRequest());
  EXPECT_FALSE(frames.takeCloseRequest());
}

}  // namespace
}  // namespace qn
