// Stage geometry on top of IntRect: the empty rect is (0, 0, 0, 0), a rect
// is empty unless left < right and top < bottom, and the dirty-rect bookkeeping unites only
// rects that are not empty.
#pragma once

#include <cstdint>

#include "script/int_rect.h"

namespace qn {

struct IntPoint {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const IntPoint&, const IntPoint&) = default;
};

constexpr bool isEmptyRect(const IntRect& rect) { return rect.left >= rect.right || rect.top >= rect.bottom; }

// The overlap of two rects, the empty rect when they do not overlap.
constexpr IntRect clippedRect(const IntRect& a, const IntRect& b) {
  IntRect cut = rectIntersection(a, b);
  return isEmptyRect(cut) ? IntRect{} : cut;
}

// Bounding box; an empty operand contributes nothing.
constexpr IntRect boundingUnion(const IntRect& a, const IntRect& b) {
  if (isEmptyRect(a)) return b;
  if (isEmptyRect(b)) return a;
  return rectUnion(a, b);
}

// A stage coordinate on the stage composed `scale` times as large. Coordinates that would leave
// the 32-bit range (a script may put a sprite anywhere) stop at +-2^30, far off any image.
constexpr int32_t scaledCoordinate(int64_t value, int32_t scale) {
  const int64_t scaled = value * scale;
  constexpr int64_t kFarthest = int64_t{1} << 30;
  return static_cast<int32_t>(scaled < -kFarthest ? -kFarthest : scaled > kFarthest ? kFarthest : scaled);
}

// The rect `scale` times as large, about the origin: where a stage rect lies on the stage
// composed at that presentation scale (the rect itself at scale 1).
constexpr IntRect scaledRect(const IntRect& rect, int32_t scale) {
  if (scale == 1) return rect;
  return {scaledCoordinate(rect.left, scale), scaledCoordinate(rect.top, scale), scaledCoordinate(rect.right, scale),
          scaledCoordinate(rect.bottom, scale)};
}

// Whether `outer` covers every pixel of `inner` (an empty `inner` is covered by anything).
constexpr bool rectCovers(const IntRect& outer, const IntRect& inner) {
  return isEmptyRect(inner) || rectWithin(inner, outer);
}

}  // namespace qn
