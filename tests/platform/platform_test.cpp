#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/background_task.h"
#include "platform/mapped_file.h"
#include "platform/platform.h"
#include "platform/text_renderer.h"
#include "platform/threading.h"
#include "platform/worker.h"

namespace qn::platform {
namespace {

TEST(PlatformTest, ClockPathsAndMemory) {
  uint32_t start = monotonicMilliseconds();
  uint64_t counter = highResolutionCounter();
  sleepMilliseconds(5);
  EXPECT_GE(monotonicMilliseconds() - start, 4u);
  EXPECT_GT(highResolutionCounter(), counter);
  EXPECT_EQ(highResolutionFrequency(), 1'000'000'000u);
  EXPECT_EQ(executablePath().rfind(executableFolder() + "/", 0), 0u);
  EXPECT_NE(executablePath().find("platform_tests"), std::string::npos);
  EXPECT_GT(availablePhysicalMemory(), 0u);
}

TEST(PlatformTest, MessageBoxWithoutDisplayTakesTheSafeAnswer) {
  EXPECT_EQ(messageBox("Go on?", "Question", MessageBoxButtons::yesNo), MessageBoxAnswer::no);
  EXPECT_EQ(messageBox("Done.", "Note", MessageBoxButtons::ok), MessageBoxAnswer::ok);
  setMessageBoxHandler([](std::string_view, std::string_view, MessageBoxButtons) { return MessageBoxAnswer::yes; });
  EXPECT_EQ(messageBox("Go on?", "Question", MessageBoxButtons::yesNo), MessageBoxAnswer::yes);
  setMessageBoxHandler(nullptr);
}

TEST(PlatformTest, MappedFilesAndWholeFiles) {
  std::string path = ::testing::TempDir() + "mapped_file_test.bin";
  const char bytes[] = "QMF!payload";
  ASSERT_TRUE(writeWholeFile(path, bytes, sizeof bytes));
  MappedFile mapped(path);
  ASSERT_TRUE(mapped.isOpen());
  ASSERT_EQ(mapped.size(), sizeof bytes);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(mapped.data()), 4), "QMF!");
  MappedFile moved = std::move(mapped);
  EXPECT_FALSE(mapped.isOpen());
  EXPECT_TRUE(moved.isOpen());
  std::string contents;
  ASSERT_TRUE(readWholeFile(path, contents));
  EXPECT_EQ(contents.size(), sizeof bytes);
  std::remove(path.c_str());
  EXPECT_FALSE(MappedFile(path).isOpen());
  EXPECT_FALSE(readWholeFile(path, contents));
  EXPECT_FALSE(MappedFile("/").isOpen());  // a folder is no file
}

TEST(PlatformTest, AutoResetEventWakesOneWaitAndResets) {
  AutoResetEvent event;
  EXPECT_FALSE(event.waitFor(1));
  event.set();
  EXPECT_TRUE(event.waitFor(0));
  EXPECT_FALSE(event.waitFor(1));  // reset by the wait it released

  std::atomic<int> woken{0};
  Thread worker([&] {
    event.wait();
    ++woken;
  });
  event.set();
  EXPECT_TRUE(worker.joinFor(2000));
  EXPECT_EQ(woken.load(), 1);
  EXPECT_TRUE(worker.finished());
}

TEST(PlatformTest, BoundedJoinGivesUpOnAStuckThread) {
  AutoResetEvent release;
  Lock lock;
  int shared = 0;
  {
    Thread stuck([&] {
      release.wait();
      LockGuard guard(lock);
      ++shared;
    });
    EXPECT_FALSE(stuck.joinFor(20));
    release.set();
    EXPECT_TRUE(stuck.joinFor(2000));
  }
  LockGuard guard(lock);
  EXPECT_EQ(shared, 1);
}

// A wake runs the body, never two runs at once; a wake during a run runs it once more, and after
// stop nothing runs. (Wakes before a run begins may make one run.)
TEST(PlatformTest, WorkerRunsItsBodyAfterEveryWake) {
  std::atomic<int> runs{0}, running{0}, overlapping{0};
  AutoResetEvent started, release;
  Worker worker([&] {
    if (running.fetch_add(1) != 0) ++overlapping;
    if (runs.fetch_add(1) == 0) {
      started.set();
      release.wait();  // the first run waits for a second wake
    }
    running.fetch_sub(1);
  });
  auto settled = [&](int count) {
    for (int waited = 0; waited < 2000 && (runs.load() != count || running.load() != 0); ++waited) sleepMilliseconds(1);
    return runs.load() == count && running.load() == 0;
  };
  worker.wake();
  ASSERT_TRUE(started.waitFor(2000));
  worker.wake();  // during the first run
  release.set();
  EXPECT_TRUE(settled(2));
  EXPECT_EQ(overlapping.load(), 0);
  EXPECT_TRUE(worker.stop(2000));
  worker.wake();
  sleepMilliseconds(20);
  EXPECT_EQ(runs.load(), 2);
}

TEST(PlatformTest, BackgroundTaskStepsUntilItsWorkIsDone) {
  std::atomic<int> steps{0};
  BackgroundTask task([&] { return ++steps < 5; });
  task.finish();
  EXPECT_EQ(steps.load(), 5);
  {
    BackgroundTask unwaited([&] { return ++steps < 8; });
  }  // with threads, the task's end is waited for
  EXPECT_EQ(steps.load(), 8);
}

// Fields name "Tahoma": the face made to its metrics is taken from fonts-wine by path, and the
// first use of each face says so, once. Its cell of 14 pixels holds one line (the face's Windows
// ascent and descent), so a two-line text is 28 high.
std::vector<std::string> faceNotices;

TEST(TextRendererTest, TahomaComesFromItsFileAndIsNamedOnce) {
  setFaceNoticeSink([](std::string_view line) { faceNotices.emplace_back(line); });
  const FontRequest tahoma{"Tahoma", 14, true};
  const TextExtent one = measureText("Player Three", tahoma, TextBox{200, 30});
  const TextExtent two = measureText("Player\rThree", tahoma, TextBox{200, 30});
  std::vector<uint8_t> coverage(200 * 30, 0);
  EXPECT_TRUE(renderTextCoverage("Player Three", tahoma, TextBox{200, 30}, {0, 0, 200, 30}, coverage.data()));
  setFaceNoticeSink(nullptr);
  ASSERT_EQ(faceNotices.size(), 1u);
  EXPECT_EQ(faceNotices[0], "-- font \"Tahoma\" bold: Tahoma Bold, /usr/share/wine/fonts/tahomabd.ttf\r\n")
      << "is fonts-wine installed?";
  EXPECT_EQ(one.height, 14);
  EXPECT_EQ(two.height, 28);
  EXPECT_LT(two.width, one.width);
  EXPECT_GT(*std::max_element(coverage.begin(), coverage.end()), 0) << "the letters are drawn";
}

}  // namespace
}  // namespace qn::platform
