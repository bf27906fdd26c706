#include "shell/debug_log.h"

#include <cstdio>

#include "platform/platform.h"

namespace qn::debug_log {

namespace {
std::FILE* logFile = nullptr;
}  // namespace

std::string defaultPath() { return platform::executableFolder() + "/debuglog.txt"; }

bool open() { return open(defaultPath()); }

bool open(const std::string& path) {
  close();
  logFile = std::fopen(path.c_str(), "wb");
  if (logFile == nullptr) platform::debugOutput("debug log: cannot create " + path + "\n");
  return logFile != nullptr;
}

void close() {
  if (logFile != nullptr) std::fclose(logFile);
  logFile = nullptr;
}

bool isOpen() { return logFile != nullptr; }

void writeLine(std::string_view line) {
  if (logFile != nullptr) {
    std::fwrite(line.data(), 1, line.size(), logFile);
    std::fflush(logFile);
  }
  platform::debugOutput(line);
}

}  // namespace qn::debug_log
