// The browser's way to show the screen: its changed rectangle turned into RGBA rows and put onto
// the page's canvas with one call, nothing else redrawn. (SDL's renderer would convert and copy
// the whole screen every frame, several times the cost.) The canvas takes the size of the screen
// it is given (240 x 320 times the presentation scale); the page sizes it on the page. The focus
// ring is painted into the RGBA screen, which keeps the pixels it covers to lift it again: a ring
// moved or a frame under it puts only the rects that changed.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
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
  // Give the pixels under the ring back, or paint it (keeping them); each answers the rect the
  // ring covered or now covers (empty for none).
  ScreenRect liftRing();
  ScreenRect paintRing();
  void put(const ScreenRect& rect);

  int bytesPerPixel_;
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> rgba_;  // the screen as shown, the ring painted in
  std::optional<ScreenRect> ring_;
  std::vector<std::pair<size_t, uint32_t>> underRing_;  // (pixel, its RGBA word) under the ring, in paint order
  ScreenRect ringBounds_;  // where the ring is painted; empty for none
};

}  // namespace qn::platform
