#include "platform/focus_ring.h"

#include <algorithm>
#include <cmath>

namespace qn::platform {

std::vector<RingOutline> focusRingOutlines(const ScreenRect& ring, const ScreenRect& shownAt) {
  const double scale = double(shownAt.width()) / kScreenWidth;
  auto across = [&](int x) { return shownAt.left + static_cast<int>(std::lround(x * scale)); };
  auto down = [&](int y) { return shownAt.top + static_cast<int>(std::lround(y * scale)); };
  const int band = std::max(2, static_cast<int>(std::lround(2 * scale)));
  int x0 = std::max(across(ring.left - 1) - band - 1, shownAt.left);
  int y0 = std::max(down(ring.top - 1) - band - 1, shownAt.top);
  int x1 = std::min(across(ring.right + 1) + band + 1, shownAt.right);
  int y1 = std::min(down(ring.bottom + 1) + band + 1, shownAt.bottom);
  std::vector<RingOutline> outlines;
  for (int line = 0; line < band + 2 && x1 - x0 > 0 && y1 - y0 > 0; ++line) {
    outlines.push_back({x0, y0, x1 - x0, y1 - y0, line == 0 || line == band + 1});
    ++x0, ++y0, --x1, --y1;
  }
  return outlines;
}

}  // namespace qn::platform
