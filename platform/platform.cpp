#include "platform/platform.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace qn::platform {

namespace {

using SteadyClock = std::chrono::steady_clock;

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

const std::string& executableFolder() {
  static const std::string folder = [] {
    const std::string& path = executablePath();
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
  }();
  return folder;
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
