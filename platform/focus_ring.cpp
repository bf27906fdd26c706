#include "platform/focus_ring.h"

#include <algorithm>

namespace qn::platform {

std::vector<RingOutline> focusRingOutlines(const ScreenRect& ring, int left, int top, int scale) {
  const int band = 2 * scale;
  int x0 = left + (ring.left - 1) * scale - band - 1, y0 = top + (ring.top - 1) * scale - band - 1;
  int x1 = x0 + (ring.width() + 2) * scale + 2 * band + 2, y1 = y0 + (ring.height() + 2) * scale + 2 * band + 2;
  x0 = std::max(x0, left);
  y0 = std::max(y0, top);
  x1 = std::min(x1, left + kScreenWidth * scale);
  y1 = std::min(y1, top + kScreenHeight * scale);
  std::vector<RingOutline> outlines;
  for (int line = 0; line < band + 2 && x1 - x0 > 0 && y1 - y0 > 0; ++line) {
    outlines.push_back({x0, y0, x1 - x0, y1 - y0, line == 0 || line == band + 1});
    ++x0, ++y0, --x1, --y1;
  }
  return outlines;
}

}  // namespace qn::platform
