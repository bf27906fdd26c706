// Unattended play as a user runs it: the program itself, headless, with the demo, recordings and
// the game report. A game must not depend on anything but its input: not on the run, not on the
// display format, not on whether it ran in a window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "shell/frame_statistics.h"

namespace qn {
namespace {

class UnattendedPlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = ::testing::TempDir() + "unattended-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ASSERT_EQ(std::system(("mkdir -p '" + folder_ + "'").c_str()), 0);
  }
  void TearDown() override { std::system(("rm -rf '" + folder_ + "'").c_str()); }

  std::string path(const std::string& name) const { return folder_ + "/" + name; }

  // Runs the program with `options`; its exit code.
  int run(const std::string& options) const {
    int status = std::system((std::string(BOULES_PROGRAM) + " " + options + " 2>" + path("stderr.txt")).c_str());
    return (status >> 8) & 0xFF;
  }

  static std::string contentsOf(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  static size_t count(const std::string& text, const std::string& what) {
    size_t found = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++found;
    return found;
  }

  // The number of frames a run with this report took (the last menu line's frame, plus one).
  static std::string framesOf(const std::string& report) {
    size_t at = report.rfind("\"type\":\"menu\"");
    at = report.find("\"frame\":", at) + 8;
    return std::to_string(std::stoul(report.substr(at)) + 1);
  }

  std::string folder_;
};

TEST_F(UnattendedPlayTest, DemoGamesReplayToTheSameReportAndScreenAtEitherDepth) {
  ASSERT_EQ(run("--headless --demo 3 --report " + path("demo.jsonl") + " --record " + path("demo.txt")), 0);
  ASSERT_EQ(run("--headless --demo 3 --report " + path("again.jsonl")), 0);
  const std::string report = contentsOf(path("demo.jsonl"));
  EXPECT_EQ(count(report, "\"type\":\"throw\""), 3 + (2 + 3 + 4) * 3u) << "a target ball and three balls a player";
  EXPECT_EQ(count(report, "\"type\":\"rest\""), count(report, "\"type\":\"throw\""));
  EXPECT_EQ(count(report, "\"type\":\"end\""), 3u);
  EXPECT_EQ(count(report, "\"type\":\"menu\""), 3u);
  EXPECT_EQ(contentsOf(path("again.jsonl")), report);

  // The recording holds the demo's taps; replayed, the same games happen, whatever the depth.
  const std::string frames = framesOf(report);
  for (const char* name : {"16", "32", "16-again"}) {
    const std::string depth = std::string(name).substr(0, 2);
    ASSERT_EQ(run("--headless --replay " + path("demo.txt") + " --frames " + frames + " --depth " + depth +
                  " --report " + path(name + std::string(".jsonl")) + " --screenshot " + path(name + std::string(".png"))),
              0);
    EXPECT_EQ(contentsOf(path(name + std::string(".jsonl"))), report) << name;
  }
  const std::string screen = contentsOf(path("16.png"));
  EXPECT_GT(screen.size(), 1000u);
  EXPECT_EQ(contentsOf(path("16-again.png")), screen);
}

// The window's frame clock is paced to real time; the game on it is the headless one.
TEST_F(UnattendedPlayTest, ARecordingMadeInAWindowReplaysHeadlessToTheSameReport) {
  ASSERT_EQ(run("--demo --frames 200 --scale 1 --record " + path("window.txt") + " --report " + path("window.jsonl")), 0);
  const std::string report = contentsOf(path("window.jsonl"));
  ASSERT_NE(report.find("\"target\":true"), std::string::npos) << "the target ball was thrown";
  ASSERT_EQ(run("--headless --frames 200 --replay " + path("window.txt") + " --report " + path("headless.jsonl")), 0);
  EXPECT_EQ(contentsOf(path("headless.jsonl")), report);
}

TEST_F(UnattendedPlayTest, AReportThatCannotBeWrittenFailsTheRun) {
  EXPECT_EQ(run("--headless --frames 2 --report /nonexistent/folder/r.jsonl"), 7);
  EXPECT_EQ(run("--headless --demo 1 --report /dev/full"), 7) << "no room on the device";
  EXPECT_EQ(run("--headless --frames 2 --stats"), 0);
  EXPECT_NE(contentsOf(path("stderr.txt")).find("frames run: 2"), std::string::npos);
}

TEST(DurationHistogramTest, PercentilesOfKnownDurations) {
  DurationHistogram histogram;
  for (uint64_t microseconds = 100; microseconds >= 1; --microseconds) histogram.add(microseconds);
  histogram.add(DurationHistogram::kLongest * 3);
  EXPECT_EQ(histogram.minimum(), 1u);
  EXPECT_EQ(histogram.percentile(0.5), 51u);
  EXPECT_EQ(histogram.percentile(0.99), 100u);
  EXPECT_EQ(histogram.maximum(), DurationHistogram::kLongest * 3);
  EXPECT_EQ(histogram.percentile(1.0), DurationHistogram::kLongest) << "counted at the histogram's end";
}

}  // namespace
}  // namespace qn
