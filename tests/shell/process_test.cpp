#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/mapped_file.h"
#include "platform/platform.h"
#include "platform/single_instance.h"

namespace qn::platform {
namespace {

// Runs a command line and answers its exit code.
int exitCodeOf(const std::string& command) {
  int status = std::system((command + " >/dev/null 2>&1").c_str());
  return (status >> 8) & 0xFF;  // the exit code, as a shell reports it
}

int runProbe(const std::string& name) { return exitCodeOf(std::string(SINGLE_INSTANCE_PROBE) + " '" + name + "'"); }

TEST(SingleInstanceTest, ASecondProcessRaisesTheFirstAndEnds) {
  std::string name = "QuarnPlayerWinClass-test/" + std::to_string(std::random_device{}());
  {
    SingleInstance first(name);
    ASSERT_TRUE(first.isFirst());
    EXPECT_FALSE(first.takeRaiseRequests());
    EXPECT_EQ(runProbe(name), 10);
    EXPECT_TRUE(first.takeRaiseRequests());
    EXPECT_FALSE(first.takeRaiseRequests());
    EXPECT_EQ(runProbe(name), 10);
    EXPECT_EQ(runProbe(name + "-other"), 20);  // another name is another program
    EXPECT_TRUE(first.takeRaiseRequests());
  }
  EXPECT_EQ(runProbe(name), 20);  // the lock went with the first copy
  EXPECT_NE(SingleInstance::lockPath(name).find("QuarnPlayerWinClass-test_"), std::string::npos);
  for (const std::string& used : {name, name + "-other"}) std::remove(SingleInstance::lockPath(used).c_str());
}

}  // namespace
}  // namespace qn::platform

namespace qn {
namespace {

struct ProcessRun {
  int exitCode;
  std::string output;  // standard output and error
};

ProcessRun runProgram(const std::string& command) {
  ProcessRun result{-1, {}};
  std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
  int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

const std::string kProgram = BOULES_PROGRAM;

TEST(ProgramTest, OptionsDecideTheExitCode) {
  EXPECT_EQ(platform::exitCodeOf(kProgram + " --bogus"), 2);
  EXPECT_EQ(platform::exitCodeOf(kProgram + " --headless --frames"), 2);
  EXPECT_EQ(platform::exitCodeOf(kProgram + " --depth 8"), 2);
  EXPECT_EQ(platform::exitCodeOf(kProgram + " --help"), 0);
}

TEST(ProgramTest, FailedWritesNameTheFileAndFailTheRun) {
  for (const char* option : {"--screenshot", "--record"}) {
    ProcessRun full = runProgram(kProgram + " --headless --frames 2 " + option + " /dev/full");
    EXPECT_EQ(full.exitCode, 7) << option;
    EXPECT_NE(full.output.find(std::string(option) + " /dev/full: cannot write: No space left on device"),
              std::string::npos)
        << full.output;
    ProcessRun uncreatable = runProgram(kProgram + " --headless --frames 2 " + option + " /nonexistent/folder/file");
    EXPECT_EQ(uncreatable.exitCode, 7) << option;
    EXPECT_NE(uncreatable.output.find("/nonexistent/folder/file: cannot create"), std::string::npos);
  }
}

// With no display SDL would fall back to a video driver that shows nothing: a window there is no
// window, unless SDL_VIDEODRIVER asks for that driver on purpose.
TEST(ProgramTest, NoScreenEndsAtOnceWithAMessage) {
  // A runtime folder of its own: no other copy of the program running here is the first one.
  const std::filesystem::path runtime = ::testing::TempDir() + "no_screen_" + std::to_string(std::random_device{}());
  std::filesystem::create_directory(runtime);
  const std::string noScreen = "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=" +
                               runtime.string() + " ";
  ProcessRun run = runProgram(noScreen + kProgram + " --frames 5");
  EXPECT_EQ(run.exitCode, 8);
  EXPECT_NE(run.output.find("neither DISPLAY nor WAYLAND_DISPLAY is set"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("--headless runs without a screen"), std::string::npos) << run.output;
  // The offscreen driver's EGL libraries are unloaded at exit, leaving allocations behind that a
  // leak check (in the sanitizer build) can neither name nor suppress: this run checks no leaks.
  EXPECT_EQ(runProgram(noScreen + "SDL_VIDEODRIVER=offscreen ASAN_OPTIONS=detect_leaks=0 " + kProgram + " --frames 5").exitCode, 0);
  std::filesystem::remove_all(runtime);
}

TEST(ProgramTest, OversizedAndEndlessRecordingsAreRefused) {
  const std::string huge = ::testing::TempDir() + "process_test_huge_recording.txt";
  std::filesystem::resize_file((std::ofstream(huge), huge), (size_t(64) << 20) + 1);  // sparse: no disk used
  for (const std::string& path : {std::string("/dev/zero"), huge}) {
    ProcessRun refused = runProgram(kProgram + " --headless --frames 2 --replay " + path);
    EXPECT_EQ(refused.exitCode, 6) << path;
    EXPECT_NE(refused.output.find("--replay " + path + ": larger than 64 MiB, not a recording"), std::string::npos)
        << refused.output;
  }
  std::filesystem::remove(huge);
}

// The program reads the media file beside itself: a copy of it in a folder of its own meets a
// missing, empty, cut, foreign or resized media file and ends with that failure's code, after
// the dialog's text on the console with the answer taken.
TEST(ProgramTest, MediaFailuresEndWithTheirExitCodes) {
  const std::filesystem::path folder = ::testing::TempDir() + "process_test_media_" + std::to_string(getpid());
  std::filesystem::create_directories(folder);
  const std::filesystem::path program = folder / "boules";
  std::filesystem::copy_file(BOULES_EXTERNAL_MEDIA_PROGRAM, program, std::filesystem::copy_options::overwrite_existing);
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);
  std::string good;
  ASSERT_TRUE(platform::readWholeFile(BOULES_MEDIA_FILE, good));
  const std::string command = program.string() + " --headless --frames 2";
  auto runWith = [&](const std::string& media) {
    EXPECT_TRUE(platform::writeWholeFile((folder / "MyMovie.qmf").string(), media.data(), media.size()));
    return runProgram(command);
  };

  ProcessRun missing = runProgram(command);
  EXPECT_EQ(missing.exitCode, 3);
  EXPECT_NE(missing.output.find("Missing Mediafile: Failed to find mediaFile: MyMovie.qmf\nContinue playback? -> No\n"),
            std::string::npos)
      << missing.output;

  std::string badMagic = good, badTrailer = good, resized = good;
  badMagic[0] = 'X';
  badTrailer[badTrailer.size() - 1] ^= 0x01;
  resized.insert(resized.size() - 4, 16, '\0');  // the trailer stays valid
  for (const std::string& invalid : {std::string(), good.substr(0, 3), good.substr(0, good.size() / 2), badMagic, badTrailer}) {
    ProcessRun refused = runWith(invalid);
    EXPECT_EQ(refused.exitCode, 4) << invalid.size();
    EXPECT_NE(refused.output.find("Invalid Mediafile: Invalid Mediafile.  Application is aborting. -> OK"),
              std::string::npos);
  }
  ProcessRun wrongSize = runWith(resized);
  EXPECT_EQ(wrongSize.exitCode, 5);
  EXPECT_NE(wrongSize.output.find("Wrong Mediafile: Mediafile size (" + std::to_string(resized.size()) +
                                  ") does not match expected size (" + std::to_string(good.size()) +
                                  ")\nContinue playback? -> No"),
            std::string::npos)
      << wrongSize.output;
  EXPECT_EQ(runWith(good).exitCode, 0);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace qn
