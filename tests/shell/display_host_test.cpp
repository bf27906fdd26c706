#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "gfx/image_buffer.h"
#include "gfx/pixel_access.h"
#include "gfx/shape_drawing.h"
#include "platform/mapped_file.h"
#include "platform/platform.h"
#include "script/report_error.h"
#include "shell/debug_log.h"
#include "shell/shell_display_host.h"

namespace qn {
namespace {

TEST(ShellDisplayHostTest, ClocksScreensAndTheStageShown) {
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

  // The stage shown reaches the device screen in the rect (cut to the screen) and, composed at a
  // scale, the screen that large, which the window shows from then on.
  Value stage = Value::adopt(ImageBuffer::create(240, 320, 32));
  Value screen = Value::adopt(ImageBuffer::create(480, 640, 32));
  fillRect(*imageBufferOf(stage), imageBufferOf(stage)->bounds(), 0xFF0000);
  fillRect(*imageBufferOf(screen), imageBufferOf(screen)->bounds(), 0x00FF00);
  frames.showStage({stage, screen, 2, 0}, {-10, 300, 20, 400});
  EXPECT_EQ(frames.screen().width(), 240);
  ASSERT_EQ(frames.shownScreen().width(), 480);
  ASSERT_EQ(frames.shownScreen().height(), 640);
  auto pixel = [](const ScreenBuffer& shown, int x, int y) { return load32(shown.pixels() + y * shown.pitch(), x) & 0xFFFFFF; };
  EXPECT_EQ(pixel(frames.screen(), 19, 319), 0xFF0000u);
  EXPECT_EQ(pixel(frames.screen(), 20, 319), 0u);
  EXPECT_EQ(pixel(frames.shownScreen(), 39, 600), 0x00FF00u);
  EXPECT_EQ(pixel(frames.shownScreen(), 40, 600), 0u);
  frames.showStage({stage, Value(), 1, 0}, {0, 0, 1, 1});
  EXPECT_EQ(&frames.shownScreen(), &frames.screen());
}

}  // namespace
}  // namespace qn

namespace qn {
namespace {

TEST(DebugLogTest, LinesGoToTheFileAndErrorsReachItAndFailuresAreKept) {
  const std::string path = ::testing::TempDir() + "shell_debuglog.txt";
  EXPECT_EQ(debug_log::defaultPath(), platform::executableFolder() + "/debuglog.txt");
  EXPECT_FALSE(debug_log::isOpen());
  debug_log::writeLine("-- before\r\n");  // no file yet: standard error only
  ASSERT_TRUE(debug_log::open(path));
  setErrorSink(debug_log::writeLine);
  reportError("Division by zero");
  debug_log::writeLine("put text\r\n");
  setErrorSink(nullptr);
  debug_log::close();
  debug_log::writeLine("-- after\r\n");
  std::string text;
  ASSERT_TRUE(platform::readWholeFile(path, text));
  EXPECT_EQ(text, "-- Division by zero\r\nput text\r\n");
  EXPECT_TRUE(debug_log::takeProblem().empty());
  EXPECT_FALSE(debug_log::open(::testing::TempDir() + "no/such/folder/debuglog.txt"));
  EXPECT_NE(debug_log::takeProblem().find("no/such/folder/debuglog.txt: cannot create"), std::string::npos);
  // A log that fills the disk is a failure the run reports, named once.
  ASSERT_TRUE(debug_log::open("/dev/full"));
  debug_log::writeLine("-- lost\r\n");
  debug_log::writeLine("-- lost too\r\n");
  debug_log::close();
  EXPECT_EQ(debug_log::takeProblem(), "/dev/full: cannot write: No space left on device");
  EXPECT_TRUE(debug_log::takeProblem().empty());
  std::remove(path.c_str());
}

}  // namespace
}  // namespace qn
