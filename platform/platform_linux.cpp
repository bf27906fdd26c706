#include <sys/sysinfo.h>
#include <unistd.h>

#include <climits>

#include "platform/platform.h"

namespace qn::platform {

const std::string& executablePath() {
  static const std::string path = [] {
    char buffer[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
  }();
  return path;
}

uint64_t availablePhysicalMemory() {
  long pages = sysconf(_SC_AVPHYS_PAGES);
  long pageSize = sysconf(_SC_PAGESIZE);
  if (pages > 0 && pageSize > 0) return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
  struct sysinfo info {};
  if (sysinfo(&info) == 0) return static_cast<uint64_t>(info.freeram) * info.mem_unit;
  return 0;
}

}  // namespace qn::platform
