// What an X server shows, read through a connection of the test's own (Xlib's names stay in
// x_screen.cpp: its macros clash with ordinary C++ names).
#pragma once

#include <cstdint>
#include <string>

struct SDL_Window;
struct _XDisplay;

namespace qn::testing {

struct WindowPlace {
  int x = 0, y = 0, width = 0, height = 0;
};

class XScreen {
 public:
  explicit XScreen(const std::string& display);
  ~XScreen();
  XScreen(const XScreen&) = delete;
  XScreen& operator=(const XScreen&) = delete;

  bool connected() const { return display_ != nullptr; }
  // Where the X server has SDL's window now.
  WindowPlace placeOf(SDL_Window* window) const;
  // 0xRRGGBB of a pixel of the screen.
  uint32_t colourAt(int x, int y) const;

 private:
  _XDisplay* display_;
};

}  // namespace qn::testing
