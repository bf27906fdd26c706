#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

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
}

}  // namespace
}  // namespace qn::platform

namespace qn {
namespace {

TEST(ProgramTest, OptionsDecideTheExitCode) {
  const std::string program = BOULES_PROGRAM;
  EXPECT_EQ(platform::exitCodeOf(program + " --bogus"), 2);
  EXPECT_EQ(platform::exitCodeOf(program + " --headless --frames"), 2);
  EXPECT_EQ(platform::exitCodeOf(program + " --depth 8"), 2);
  EXPECT_EQ(platform::exitCodeOf(program + " --help"), 0);
  EXPECT_EQ(platform::exitCodeOf(program + " --headless --frames 1 --screenshot /nonexistent/folder/x.png 2>/dev/null"), 1);
}

}  // namespace
}  // namespace qn
