#include "platform/process_usage.h"

#include <sys/resource.h>

#include <ctime>

namespace qn::platform {

uint64_t threadCpuNanoseconds() {
  timespec time{};
  if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time) != 0) return 0;
  return static_cast<uint64_t>(time.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(time.tv_nsec);
}

uint64_t peakResidentBytes() {
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  return static_cast<uint64_t>(usage.ru_maxrss) * 1024u;  // Linux reports kilobytes
}

}  // namespace qn::platform
