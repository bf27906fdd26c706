// The browser's way to show the screen: its changed rectangle turned into RGBA rows and put onto
// the page's canvas with one call, nothing else redrawn. (SDL's renderer would convert and copy
// the whole screen every frame, several times the cost.) The canvas takes the size of the screen
// it is given (240 x 320 times the presentation scale); the page sizes it on the page. The focus
// ring is drawn over a copy.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/screen_point.h"

namespace qn::platform {

struct ScreenPixels;

class ScreenCanvas {
 public:
  explicit ScreenCanvas(int bytesPerPixel);

  // `changed` is in the screen's own pixels.
  void present(const ScreenPixels& screen, const ScreenRect& changed);
  void setFocusRing(const std::optional<ScreenRect>& ring);

 private:
  void put(const std::vector<uint8_t>& rgba, const ScreenRect& rect);

  int bytesPerPixel_;
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> rgba_;  // the screen as shown, without the ring
  std::optional<ScreenRect> ring_;
};

}  // namespace qn::platform
