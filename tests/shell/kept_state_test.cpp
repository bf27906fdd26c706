// What a person's game keeps between runs: the text's form, today's record only today, the
// better record of two runs, writes only of changes, stale files cleared, and damaged or
// unreadable state ignored with a debug-log line.
#include "shell/kept_state.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <string>

#include "platform/kept_text.h"
#include "script/report_error.h"

namespace qn {
namespace {

std::string logged;
void keepLine(std::string_view line) { logged += line; }

// A clock whose date stays `day`.
std::function<std::string()> on(std::string day) {
  return [day] { return day; };
}

class KeptStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = ::testing::TempDir() + "kept_state_test";
    std::filesystem::remove_all(folder_);
    setenv("XDG_STATE_HOME", folder_.c_str(), 1);
    logged.clear();
    setErrorSink(keepLine);
  }
  void TearDown() override {
    setErrorSink(nullptr);
    unsetenv("XDG_STATE_HOME");
    std::filesystem::remove_all(folder_);
  }
  std::string path() const { return folder_ + "/kept-test/state"; }

  std::string folder_;
};

TEST_F(KeptStateTest, TextReadsBackAndDamagedTextsAreRefused) {
  const KeptValues values{"2026-12-07", game::TodaysRecord{"Player 2", 0.1 + 0.2}, true};
  std::string problem;
  EXPECT_EQ(parseKeptState(formatKeptState(values), problem), values) << "the distance to the last bit";
  EXPECT_EQ(parseKeptState(formatKeptState(KeptValues{}), problem), KeptValues{});

  for (const char* damaged : {"", "boules kept state 2\n", "boules kept state 1\nday 2026-1-07\nrecord 3 A\n",
                              "boules kept state 1\nday 2026-12-07\nrecord 3\n",
                              "boules kept state 1\nday 2026-12-07\nrecord nan A\n",
                              "boules kept state 1\nday 2026-12-07\nrecord -1 A\n",
                              "boules kept state 1\nrecord 3 A\n", "boules kept state 1\nmuted yes\n",
                              "boules kept state 1\nvolume 3\n", "\x89PNG\r\n"}) {
    problem.clear();
    EXPECT_FALSE(parseKeptState(damaged, problem)) << damaged;
    EXPECT_FALSE(problem.empty()) << damaged;
  }
}

TEST_F(KeptStateTest, TheRecordCountsForItsDayAndTheBetterOfTwoRunsIsKept) {
  {
    KeptState first("kept-test", on("2026-12-07"));
    EXPECT_FALSE(first.todaysRecord());
    KeptState second("kept-test", on("2026-12-07"));  // another run, started before any record
    first.todaysRecordImproved({"Anna", 12.5});
    first.setMuted(true);
    second.todaysRecordImproved({"Bert", 20.25});  // worse: the first run's record stays
  }
  KeptState sameDay("kept-test", on("2026-12-07"));
  EXPECT_EQ(sameDay.todaysRecord(), (game::TodaysRecord{"Anna", 12.5}));
  EXPECT_TRUE(sameDay.muted());
  KeptState nextDay("kept-test", on("2026-12-08"));
  EXPECT_FALSE(nextDay.todaysRecord());
  EXPECT_TRUE(nextDay.muted()) << "the mute setting is not a day's";
  EXPECT_EQ(logged, "");
  struct stat info {};
  ASSERT_EQ(stat(path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_ + "/kept-test"), {}), 1) << "nothing left aside";
}

// A run whose store rested on a read from before another's store (two pages of the browser
// edition) dropped the other's better record: the run whose record it was stores it again, with
// the other run's change; a worse or older record than the stored one stays as it is.
TEST_F(KeptStateTest, ARecordAnotherRunDroppedIsStoredAgain) {
  KeptState better("kept-test", on("2026-12-08"));
  better.todaysRecordImproved({"Anna", 12.5});
  const std::string dropped = formatKeptState({"2026-12-08", game::TodaysRecord{"Bert", 20.25}, true});
  ASSERT_EQ(platform::storeKeptText("kept-test", dropped), "");
  better.storedElsewhere();
  EXPECT_EQ(platform::readKeptText("kept-test").text,
            formatKeptState({"2026-12-08", game::TodaysRecord{"Anna", 12.5}, true}));

  KeptState older("kept-test", on("2026-12-07"));
  older.todaysRecordImproved({"Cleo", 1});
  const std::string newer = formatKeptState({"2026-12-08", game::TodaysRecord{"Bert", 20.25}, false});
  ASSERT_EQ(platform::storeKeptText("kept-test", newer), "");
  older.storedElsewhere();
  better.storedElsewhere();
  EXPECT_EQ(platform::readKeptText("kept-test").text, formatKeptState({"2026-12-08", game::TodaysRecord{"Anna", 12.5}, false}));
}

TEST_F(KeptStateTest, ARecordMadeAfterMidnightCountsForTheNewDay) {
  std::string date = "2026-12-07";
  KeptState overnight("kept-test", [&date] { return date; });
  date = "2026-12-08";
  overnight.todaysRecordImproved({"Anna", 12.5});
  EXPECT_EQ(KeptState("kept-test", on("2026-12-08")).todaysRecord(), (game::TodaysRecord{"Anna", 12.5}));
}

TEST_F(KeptStateTest, DamagedOrUnreadableStateIsIgnoredWithALogLine) {
  ASSERT_EQ(platform::storeKeptText("kept-test", "boules kept state 1\nday 2026-12-07\nrecord x Anna\n"), "");
  KeptState damaged("kept-test", on("2026-12-07"));
  EXPECT_FALSE(damaged.todaysRecord());
  EXPECT_EQ(logged, "-- kept state ignored: line 3: a record is a distance and a name\r\n");

  logged.clear();
  std::filesystem::remove(path());
  std::filesystem::create_directory(path());  // a folder where the file should be
  KeptState unreadable("kept-test", on("2026-12-07"));
  EXPECT_FALSE(unreadable.todaysRecord());
  EXPECT_NE(logged.find("kept state ignored: " + path()), std::string::npos) << logged;
  unreadable.setMuted(true);
  EXPECT_NE(logged.find("kept state not stored: "), std::string::npos) << logged;
}

// A start while muted, or a record another run beat, changes nothing kept: the file is not
// written again (a new file would have another inode). What a crash left aside goes at the next
// start; what another run is writing now stays.
TEST_F(KeptStateTest, OnlyChangesAreWrittenAndStaleFilesGo) {
  KeptState("kept-test", on("2026-12-07")).setMuted(true);
  struct stat before {};
  ASSERT_EQ(stat(path().c_str(), &before), 0);
  const std::string stale = path() + ".4242.new", fresh = path() + ".4343.new";
  for (const std::string& aside : {stale, fresh}) std::ofstream(aside) << "boules kept state 1\n";
  std::filesystem::last_write_time(stale, std::filesystem::file_time_type::clock::now() - std::chrono::minutes(2));

  KeptState again("kept-test", on("2026-12-07"));
  EXPECT_FALSE(std::filesystem::exists(stale));
  EXPECT_TRUE(std::filesystem::exists(fresh));
  again.setMuted(true);
  again.todaysRecordImproved({"Anna", 12.5});
  KeptState("kept-test", on("2026-12-07")).todaysRecordImproved({"Bert", 20.25});
  struct stat after {};
  ASSERT_EQ(stat(path().c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino) << "the record was written";
  before = after;
  KeptState("kept-test", on("2026-12-07")).setMuted(true);
  ASSERT_EQ(stat(path().c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino) << "rewritten with nothing changed";
  EXPECT_EQ(logged, "");
}

// Anything but a regular file under the name is refused at once: a FIFO must not hold the start
// until a writer comes.
TEST_F(KeptStateTest, AFifoIsRefusedWithoutWaiting) {
  std::filesystem::create_directories(folder_ + "/kept-test");
  ASSERT_EQ(mkfifo(path().c_str(), 0600), 0);
  auto start = std::async(std::launch::async, [] { return KeptState("kept-test", on("2026-12-07")).muted(); });
  if (start.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
    ADD_FAILURE() << "the start waits for a writer of the FIFO";
    close(open(path().c_str(), O_WRONLY | O_NONBLOCK));  // lets the reader go
  }
  EXPECT_FALSE(start.get());
  EXPECT_EQ(logged, "-- kept state ignored: " + path() + ": not a regular file\r\n");
}

}  // namespace
}  // namespace qn
