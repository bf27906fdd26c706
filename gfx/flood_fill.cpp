#include "gfx/flood_fill.h"

#include <vector>

#include "gfx/pixel_access.h"

namespace qn {

namespace {

// A run of columns [left, right] on row y whose neighbours in direction dy are still to be seen.
struct Segment {
  int32_t y, left, right, dy;
};

class SeedFill {
 public:
  SeedFill(ImageBuffer& image, uint32_t oldValue, uint32_t raw)
      : image_(image), format_(image.format()), old_(oldValue & 0xFFFFFF), raw_(raw) {
    stack_.reserve(kFloodFillStackSize);
  }

  void run(int32_t x, int32_t y) {
    push(y, x, x, 1);
    push(y + 1, x, x, -1);
    while (!stack_.empty()) {
      const Segment s = stack_.back();
      stack_.pop_back();
      const int32_t row = s.y + s.dy;
      const int32_t dy = s.dy;
      // Left of the segment's start, then rightwards run by run.
      int32_t cx = s.left;
      while (cx >= 0 && matches(cx, row)) paint(cx--, row);
      int32_t runStart;
      if (cx >= s.left) {  // the start column itself is blocked: find the first open one
        cx = skipBlocked(cx + 1, s.right, row);
        runStart = cx;
        if (cx > s.right) continue;
      } else {
        runStart = cx + 1;
        if (runStart < s.left) push(row, runStart, s.left - 1, -dy);  // leaked round the left end
        cx = s.left + 1;
      }
      do {
        while (cx < image_.width() && matches(cx, row)) paint(cx++, row);
        push(row, runStart, cx - 1, dy);
        if (cx > s.right + 1) push(row, s.right + 1, cx - 1, -dy);  // leaked round the right end
        cx = skipBlocked(cx + 1, s.right, row);
        runStart = cx;
      } while (cx <= s.right);
    }
  }

 private:
  bool matches(int32_t x, int32_t y) const { return (readRawPixel(format_, image_.row(y), x) & 0xFFFFFF) == old_; }
  void paint(int32_t x, int32_t y) { writeRawPixel(format_, image_.row(y), x, raw_); }
  int32_t skipBlocked(int32_t x, int32_t right, int32_t y) const {
    while (x <= right && !matches(x, y)) ++x;
    return x;
  }
  void push(int32_t y, int32_t left, int32_t right, int32_t dy) {
    const int32_t next = y + dy;
    if (next < 0 || next >= image_.height() || stack_.size() >= kFloodFillStackSize) return;
    stack_.push_back({y, left, right, dy});
  }

  ImageBuffer& image_;
  PixelFormat format_;
  uint32_t old_;
  uint32_t raw_;
  std::vector<Segment> stack_;
};

}  // namespace

bool floodFill(ImageBuffer& image, int32_t x, int32_t y, uint32_t raw) {
  if (!image.hasPixels() || !image.bounds().contains(x, y)) return false;
  const uint32_t old = readRawPixel(image.format(), image.row(y), x);
  if ((old & 0xFFFFFF) == (raw & 0xFFFFFF)) return false;
  SeedFill(image, old, raw).run(x, y);
  return true;
}

}  // namespace qn
