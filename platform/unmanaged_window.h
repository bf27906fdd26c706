// A window no window manager looks after (a bare X session, a kiosk): nobody carries out what SDL
// asks of it, full screen above all, yet SDL believes the window has the size it asked for and
// lays the picture out for that size. So the window takes the place and size SDL believes it has
// itself, which is what a window manager would have granted; a managed window is left to its
// manager, which tells SDL what it decided.
#pragma once

struct SDL_Window;

namespace qn::platform {

// After any change of the size SDL asked for (shown, full screen, a new size, a size event).
void holdUnmanagedWindowToItsSize(SDL_Window* window);

}  // namespace qn::platform
