// What the running process has used so far: CPU time of the calling thread and the largest
// resident memory the process has had. For statistics, not for anything the program decides.
#pragma once

#include <cstdint>

namespace qn::platform {

// CPU time the calling thread has used, in nanoseconds.
uint64_t threadCpuNanoseconds();

// The peak resident set size of the process so far, in bytes (0 where it cannot be read).
uint64_t peakResidentBytes();

}  // namespace qn::platform
