#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <string>

#include "platform/unmanaged_window.h"

namespace qn::platform {

namespace {

// A window manager owns the WM_S<screen> selection (ICCCM) or names its window on the root
// (_NET_SUPPORTING_WM_CHECK, EWMH); without either, nobody manages the screen.
bool screenIsManaged(Display* display, int screen) {
  const Atom selection = XInternAtom(display, ("WM_S" + std::to_string(screen)).c_str(), False);
  if (XGetSelectionOwner(display, selection) != None) return true;
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* value = nullptr;
  const bool named = XGetWindowProperty(display, RootWindow(display, screen), check, 0, 1, False, AnyPropertyType,
                                        &type, &format, &count, &after, &value) == Success &&
                     value != nullptr && count > 0;
  if (value != nullptr) XFree(value);
  return named;
}

}  // namespace

void holdUnmanagedWindowToItsSize(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  Display* display = info.info.x11.display;
  const Window xWindow = info.info.x11.window;
  XWindowAttributes real;
  if (XGetWindowAttributes(display, xWindow, &real) == 0 || screenIsManaged(display, XScreenNumberOfScreen(real.screen)))
    return;
  int x = 0, y = 0, width = 0, height = 0;
  SDL_GetWindowPosition(window, &x, &y);
  SDL_GetWindowSize(window, &width, &height);
  if (width <= 0 || height <= 0 || (real.x == x && real.y == y && real.width == width && real.height == height)) return;
  XMoveResizeWindow(display, xWindow, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XFlush(display);
}

}  // namespace qn::platform
