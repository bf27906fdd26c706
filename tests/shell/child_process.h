// A program the test starts and talks to: its standard output read line by line (each read
// bounded in time), its exit awaited within a time, and killed when the test ends before it.
#pragma once

#include <csignal>
#include <optional>
#include <string>
#include <vector>

namespace qn::testing {

class ChildProcess {
 public:
  // Starts `arguments` (the program first) with standard error to `errorPath` (or inherited).
  explicit ChildProcess(const std::vector<std::string>& arguments, const std::string& errorPath = {});
  ~ChildProcess();  // kills it when it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  int pid() const { return pid_; }
  // The next line of its standard output, without the line break; nothing when none came in time.
  std::optional<std::string> readLine(int timeoutMs);
  // Its exit code once it ended; nothing when it did not end in time (or ended by a signal).
  std::optional<int> waitForExit(int timeoutMs);
  // The processor time it used (user and system), once it ended.
  double cpuSeconds() const { return cpuSeconds_; }
  void kill(int signal = SIGKILL);

 private:
  int pid_ = -1;
  int output_ = -1;
  std::string buffered_;
  bool exited_ = false;
  std::optional<int> exitCode_;
  double cpuSeconds_ = 0;
};

}  // namespace qn::testing
