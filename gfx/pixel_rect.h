// A rectangle of pixels: left and top inclusive, right and bottom exclusive. Empty when it has no
// pixel (right <= left or bottom <= top). The plain geometry the pixel code works in; scripts see
// rects as their own values and convert at the image object's edge.
#pragma once

#include <algorithm>
#include <cstdint>

namespace qn {

struct PixelRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  bool isEmpty() const { return right <= left || bottom <= top; }
  bool contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const PixelRect&) const = default;

  PixelRect intersected(const PixelRect& other) const {
    return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
            std::min(bottom, other.bottom)};
  }
  // The bounding box of both; an empty side does not widen the other.
  PixelRect united(const PixelRect& other) const {
    if (isEmpty()) return other;
    if (other.isEmpty()) return *this;
    return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom)};
  }
  // Rects that only share an edge touch as well.
  bool touches(const PixelRect& other) const {
    return !isEmpty() && !other.isEmpty() && left <= other.right && other.left <= right &&
           top <= other.bottom && other.top <= bottom;
  }
  PixelRect offsetBy(int32_t dx, int32_t dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
};

}  // namespace qn
