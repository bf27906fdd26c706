#include "tests/cast/scarce_memory.h"

#include <cstdint>
#include <new>

namespace {

size_t refusedFrom = SIZE_MAX;
int refusalsLeft = 0;
int refusals = 0;

}  // namespace

// The test program's own array allocation that does not throw: the scarce memory's refusals,
// else the usual allocation (whose memory the usual delete[] frees).
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  if (size >= refusedFrom && refusalsLeft > 0) {
    --refusalsLeft;
    ++refusals;
    return nullptr;
  }
  try {
    return ::operator new[](size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

namespace qn::testing {

ScarceMemory::ScarceMemory(size_t bytes, int times) {
  refusedFrom = bytes;
  refusalsLeft = times;
  refusals = 0;
}

ScarceMemory::~ScarceMemory() {
  refusedFrom = SIZE_MAX;
  refusalsLeft = 0;
}

int ScarceMemory::refused() const { return refusals; }

}  // namespace qn::testing
