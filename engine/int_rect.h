// Plain integer geometry of the stage: points and rectangles in stage or window pixels. A rect
// is (left, top, right, bottom) with right and bottom exclusive for pixels; it is empty unless
// left < right and top < bottom. The empty rect by convention is (0, 0, 0, 0).
#pragma once

#include <algorithm>
#include <cstdint>

namespace qn {

struct IntPoint {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const IntPoint&, const IntPoint&) = default;
};

struct IntRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  bool isEmpty() const { return left >= right || top >= bottom; }
  // Edges count: rects that only share an edge touch.
  bool touches(const IntRect& other) const {
    return left <= other.right && top <= other.bottom && other.left <= right && other.top <= bottom;
  }
  bool containsInclusive(int32_t x, int32_t y) const {
    return left <= x && x <= right && top <= y && y <= bottom;
  }
  bool inside(const IntRect& outer) const {
    return left >= outer.left && right <= outer.right && top >= outer.top && bottom <= outer.bottom;
  }
  friend bool operator==(const IntRect&, const IntRect&) = default;
};

// Intersection; an empty result is normalised to the empty rect.
inline IntRect intersection(const IntRect& a, const IntRect& b) {
  IntRect cut{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
  return cut.isEmpty() ? IntRect{} : cut;
}

// Bounding box; an empty operand contributes nothing.
inline IntRect boundingUnion(const IntRect& a, const IntRect& b) {
  if (a.isEmpty()) return b;
  if (b.isEmpty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

}  // namespace qn
