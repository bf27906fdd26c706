#include <emscripten.h>
#include <emscripten/heap.h>

#include "platform/process_usage.h"

namespace qn::platform {

// The page's thread has no CPU clock of its own: its time is the wall-clock time it runs, which
// in a frame the program fills is the same.
uint64_t threadCpuNanoseconds() { return static_cast<uint64_t>(emscripten_get_now() * 1e6); }

// WebAssembly memory only grows: its size now is the largest it has been.
uint64_t peakResidentBytes() { return emscripten_get_heap_size(); }

}  // namespace qn::platform
