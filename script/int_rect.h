// A rectangle of four integer edges, as rect values, sprites and the stage hold them. Every
// predicate treats all four edges as inside: rects that share only an edge or a corner
// intersect, and a point on the right or bottom edge is inside. Edge arithmetic wraps around
// in 32 bits like script integers, never traps.
#pragma once

#include <algorithm>
#include <cstdint>

namespace qn {

constexpr int32_t wrappingAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
constexpr int32_t wrappingSubtract(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

struct IntRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  constexpr int32_t width() const { return wrappingSubtract(right, left); }
  constexpr int32_t height() const { return wrappingSubtract(bottom, top); }
  friend constexpr bool operator==(const IntRect&, const IntRect&) = default;
};

constexpr bool rectsIntersect(const IntRect& a, const IntRect& b) {
  return b.right >= a.left && b.bottom >= a.top && a.right >= b.left && a.bottom >= b.top;
}

constexpr bool pointInside(int32_t x, int32_t y, const IntRect& rect) {
  return rect.left <= x && x <= rect.right && rect.top <= y && y <= rect.bottom;
}

// Both of a's horizontal edges lie in b's horizontal span and both vertical ones in its vertical.
constexpr bool rectWithin(const IntRect& a, const IntRect& b) {
  auto between = [](int32_t v, int32_t low, int32_t high) { return low <= v && v <= high; };
  return between(a.left, b.left, b.right) && between(a.right, b.left, b.right) &&
         between(a.top, b.top, b.bottom) && between(a.bottom, b.top, b.bottom);
}

// The overlap of two rects (meaningful when they intersect) and the smallest rect holding both.
constexpr IntRect rectIntersection(const IntRect& a, const IntRect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}
constexpr IntRect rectUnion(const IntRect& a, const IntRect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// One coordinate of `map`: start' + (value - start) * size' / size in integers, the quotient
// truncated. A source without extent (size 0) maps every value to the target's start.
constexpr int32_t mapCoordinate(int32_t value, int32_t fromStart, int32_t fromSize, int32_t toStart, int32_t toSize) {
  if (fromSize == 0) return toStart;
  int64_t offset = int64_t{value} - fromStart;
  int64_t product = 0;
  int64_t scaled = __builtin_mul_overflow(offset, int64_t{toSize}, &product)
                       ? static_cast<int64_t>(std::clamp(static_cast<double>(offset) * toSize / fromSize, -9e18, 9e18))
                       : product / fromSize;
  return wrappingAdd(toStart, static_cast<int32_t>(static_cast<uint64_t>(scaled)));
}

constexpr IntRect movedBy(const IntRect& rect, int32_t dx, int32_t dy) {
  return {wrappingAdd(rect.left, dx), wrappingAdd(rect.top, dy), wrappingAdd(rect.right, dx), wrappingAdd(rect.bottom, dy)};
}
constexpr void moveBy(IntRect& rect, int32_t dx, int32_t dy) { rect = movedBy(rect, dx, dy); }

}  // namespace qn
