#include "platform/unmanaged_window.h"

namespace qn::platform {

// The page's canvas is never a window of its own.
void holdUnmanagedWindowToItsSize(SDL_Window*) {}

}  // namespace qn::platform
