// Pixel memory made scarce for a while: the allocations that do not throw (image buffers and
// decoders ask for theirs so, and purge memory when refused) of at least `bytes` are refused,
// `times` times at most. The rest of the program allocates as ever.
#pragma once

#include <climits>
#include <cstddef>

namespace qn::testing {

class ScarceMemory {
 public:
  explicit ScarceMemory(size_t bytes, int times = INT_MAX);
  ~ScarceMemory();
  ScarceMemory(const ScarceMemory&) = delete;
  ScarceMemory& operator=(const ScarceMemory&) = delete;

  int refused() const;
};

}  // namespace qn::testing
