#include "platform/platform.h"

#include <sys/sysinfo.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <thread>

namespace qn::platform {

namespace {

using SteadyClock = std::chrono::steady_clock;

std::string findExecutablePath() {
  char buffer[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return {};
  return std::string(buffer, static_cast<size_t>(length));
}

MessageBoxHandler messageBoxHandler = consoleMessageBox;

}  // namespace

MessageBoxAnswer consoleMessageBox(std::string_view text, std::string_view caption, MessageBoxButtons buttons) {
  const bool question = buttons == MessageBoxButtons::yesNo;
  std::string line(caption);
  line += ": ";
  for (char c : text)
    if (c != '\r') line += c;
  line += question ? " -> No\n" : " -> OK\n";
  debugOutput(line);
  return question ? MessageBoxAnswer::no : MessageBoxAnswer::ok;
}

uint32_t monotonicMilliseconds() {
  auto since = SteadyClock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

uint64_t highResolutionCounter() {
  auto since = SteadyClock::now().time_since_epoch();
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(since).count());
}

uint64_t highResolutionFrequency() { return 1'000'000'000ull; }

void sleepMilliseconds(uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

const std::string& executablePath() {
  static const std::string path = findExecutablePath();
  return path;
}

const std::string& executableFolder() {
  static const std::string folder = [] {
    const std::string& path = executablePath();
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
  }();
  return folder;
}

uint64_t availablePhysicalMemory() {
  long pages = sysconf(_SC_AVPHYS_PAGES);
  long pageSize = sysconf(_SC_PAGESIZE);
  if (pages > 0 && pageSize > 0) return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
  struct sysinfo info {};
  if (sysinfo(&info) == 0) return static_cast<uint64_t>(info.freeram) * info.mem_unit;
  return 0;
}

void debugOutput(std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

MessageBoxAnswer messageBox(std::string_view text, std::string_view caption, MessageBoxButtons buttons) {
  return messageBoxHandler(text, caption, buttons);
}

void setMessageBoxHandler(MessageBoxHandler handler) {
  messageBoxHandler = handler ? handler : consoleMessageBox;
}

}  // namespace qn::platform
