#include "tests/platform/x_screen.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace qn::testing {

XScreen::XScreen(const std::string& display) : display_(XOpenDisplay(display.c_str())) {}

XScreen::~XScreen() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

WindowPlace XScreen::placeOf(SDL_Window* window) const {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  XWindowAttributes place{};
  if (!SDL_GetWindowWMInfo(window, &info) || XGetWindowAttributes(display_, info.info.x11.window, &place) == 0) return {};
  return {place.x, place.y, place.width, place.height};
}

uint32_t XScreen::colourAt(int x, int y) const {
  XImage* image = XGetImage(display_, DefaultRootWindow(display_), x, y, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) return 0xFFFFFFFFu;
  const auto colour = static_cast<uint32_t>(XGetPixel(image, 0, 0)) & 0xFFFFFF;
  XDestroyImage(image);
  return colour;
}

}  // namespace qn::testing
