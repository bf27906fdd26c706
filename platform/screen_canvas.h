// The browser's way to show the screen: its changed rectangle turned into RGBA rows and put onto
// the page's canvas with one call, nothing else redrawn. (SDL's renderer would convert and copy
// the whole screen every frame, several times the cost.) The focus ring is drawn over a copy.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/screen_point.h"

namespace qn::platform {

class ScreenCanvas {
 public:
  explicit ScreenCanvas(int bytesPerPixel);

  // `screenPixels` is the screen's top left pixel, rows `pitch` bytes apart.
  void present(const uint8_t* screenPixels, int pitch, const ScreenRect& changed);
  void setFocusRing(const std::optional<ScreenRect>& ring);

 private:
  void put(const std::vector<uint8_t>& rgba, const ScreenRect& rect);

  int bytesPerPixel_;
  std::vector<uint8_t> rgba_;  // the screen as shown, without the ring
  std::optional<ScreenRect> ring_;
};

}  // namespace qn::platform
