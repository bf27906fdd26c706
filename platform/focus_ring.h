// The focus ring's shape: a yellow band between two dark lines, one screen pixel outside the
// focused rect, so that it shows on light and dark pictures alike; a rect that fills the screen
// gets it just inside the edge. Drawn over the screen, never into it.
#pragma once

#include <vector>

#include "platform/screen_point.h"

namespace qn::platform {

// One rectangle outline of the ring, in window pixels.
struct RingOutline {
  int x = 0, y = 0, width = 0, height = 0;
  bool dark = false;
};

// The outlines, outermost first, of the ring around `ring` on the screen shown over `shownAt` (in
// window pixels, at any size); cut to the screen's area. The band is two device pixels wide.
std::vector<RingOutline> focusRingOutlines(const ScreenRect& ring, const ScreenRect& shownAt);

}  // namespace qn::platform
