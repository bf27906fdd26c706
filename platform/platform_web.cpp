#include <emscripten/heap.h>

#include "platform/platform.h"

namespace qn::platform {

// The program and its files (the media file, the debug log) live in one folder of the page's
// in-memory file system, where the page puts the media file before the program starts.
const std::string& executablePath() {
  static const std::string path = "/boules/boules";
  return path;
}

// What the WebAssembly memory may still grow by.
uint64_t availablePhysicalMemory() {
  const size_t size = emscripten_get_heap_size();
  const size_t most = emscripten_get_heap_max();
  return most > size ? most - size : 0;
}

}  // namespace qn::platform
