#include "shell/debug_log.h"

#include <utility>

#include "platform/platform.h"
#include "shell/output_file.h"

namespace qn::debug_log {

namespace {

OutputFile logFile;
bool failureSaid = false;  // for the file opened last
std::string problem;

void noteFailure() {
  if (!logFile.failed() || failureSaid) return;
  failureSaid = true;
  problem = logFile.problem();
  platform::debugOutput("debug log: " + problem + "\n");
}

}  // namespace

std::string defaultPath() { return platform::executableFolder() + "/debuglog.txt"; }

bool open() { return open(defaultPath()); }

bool open(const std::string& path) {
  close();
  failureSaid = false;
  bool opened = logFile.open(path);
  noteFailure();
  return opened;
}

void close() {
  logFile.close();
  noteFailure();
}

bool isOpen() { return logFile.isOpen(); }

void writeLine(std::string_view line) {
  if (logFile.isOpen()) {
    logFile.write(line, true);
    noteFailure();
  }
  platform::debugOutput(line);
}

std::string takeProblem() { return std::exchange(problem, std::string()); }

}  // namespace qn::debug_log
