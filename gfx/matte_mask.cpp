#include "gfx/matte_mask.h"

#include <array>
#include <vector>

#include "gfx/pixel_access.h"

namespace qn {

namespace {

// Which pixels of a row count as empty, chosen once per image.
using EmptyTest = bool (*)(const uint8_t* row, int32_t x, int32_t threshold);

template <PixelFormat F, uint32_t White, uint32_t Bits>
bool isWhite(const uint8_t* row, int32_t x, int32_t) {
  return (rawPixel<F>(row, x) & Bits) == White;
}

bool alphaBelow(const uint8_t* row, int32_t x, int32_t threshold) {
  return static_cast<int32_t>(row[4 * x + 3]) < threshold;
}

EmptyTest emptyTestFor(const ImageBuffer& image) {
  if (image.format() == PixelFormat::argb8888 && image.useAlpha()) return alphaBelow;
  switch (image.format()) {
    case PixelFormat::indexed1: return isWhite<PixelFormat::indexed1, 1, 1>;
    case PixelFormat::indexed4: return isWhite<PixelFormat::indexed4, 15, 15>;
    case PixelFormat::indexed8: return isWhite<PixelFormat::indexed8, 255, 255>;
    case PixelFormat::rgb555: return isWhite<PixelFormat::rgb555, 0x7FFF, 0x7FFF>;
    case PixelFormat::rgb565: return isWhite<PixelFormat::rgb565, 0xFFFF, 0xFFFF>;
    case PixelFormat::rgb888: return isWhite<PixelFormat::rgb888, 0xFFFFFF, 0xFFFFFF>;
    case PixelFormat::argb8888: return isWhite<PixelFormat::argb8888, 0xFFFFFF, 0xFFFFFF>;
    default: return nullptr;
  }
}

struct Span {
  int32_t row, first, last, direction;
};

class MatteFill {
 public:
  MatteFill(const ImageBuffer& image, ImageBuffer& matte, EmptyTest empty, int32_t threshold)
      : image_(image), matte_(matte), empty_(empty), threshold_(threshold) {}

  bool qualifies(int32_t x, int32_t y) const {
    return !isMarked(x, y) && empty_(image_.row(y), x, threshold_);
  }

  // Fills from one border pixel.
  void seed(int32_t x, int32_t y) {
    if (!qualifies(x, y)) return;
    auto [first, last] = markRun(x, y);
    push({y + 1, first, last, 1});
    push({y - 1, first, last, -1});
    while (!stack_.empty()) {
      const Span span = stack_.back();
      stack_.pop_back();
      scan(span);
    }
  }

  bool filledAny() const { return filledAny_; }

 private:
  bool isMarked(int32_t x, int32_t y) const { return (matte_.row(y)[x >> 3] >> (7 - (x & 7))) & 1; }
  void mark(int32_t x, int32_t y) { matte_.row(y)[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7)); }

  // Marks the whole run of qualifying pixels through (x, y); answers its ends.
  std::array<int32_t, 2> markRun(int32_t x, int32_t y) {
    int32_t first = x, last = x;
    while (first > 0 && qualifies(first - 1, y)) --first;
    while (last + 1 < image_.width() && qualifies(last + 1, y)) ++last;
    for (int32_t i = first; i <= last; ++i) mark(i, y);
    filledAny_ = true;
    return {first, last};
  }

  void push(const Span& span) {
    if (span.row < 0 || span.row >= image_.height() || stack_.size() == size_t{kMatteSpanStackSize}) return;
    stack_.push_back(span);
  }

  // Finds the runs of the span's row that touch it; each continues in the span's direction, and
  // where a run reaches past the span, back the other way too.
  void scan(Span span) {
    for (int32_t x = span.first; x <= span.last; ++x) {
      if (!qualifies(x, span.row)) continue;
      auto [first, last] = markRun(x, span.row);
      push({span.row + span.direction, first, last, span.direction});
      if (first < span.first) push({span.row - span.direction, first, span.first - 1, -span.direction});
      if (last > span.last) push({span.row - span.direction, span.last + 1, last, -span.direction});
      x = last;
    }
  }

  const ImageBuffer& image_;
  ImageBuffer& matte_;
  EmptyTest empty_;
  int32_t threshold_;
  std::vector<Span> stack_;  // grows as the fill needs it, up to kMatteSpanStackSize
  bool filledAny_ = false;
};

}  // namespace

ImageBuffer* buildMatteMask(const ImageBuffer& image, int32_t alphaThreshold) {
  ImageBuffer* matte = ImageBuffer::create(image.width(), image.height(), 1);
  if (!matte) return nullptr;
  EmptyTest empty = emptyTestFor(image);
  bool filled = false;
  if (empty && image.hasPixels() && matte->hasPixels()) {
    MatteFill fill(image, *matte, empty, alphaThreshold);
    int32_t right = image.width() - 1, bottom = image.height() - 1;
    for (int32_t x = 0; x <= right; ++x) {
      fill.seed(x, 0);
      fill.seed(x, bottom);
    }
    for (int32_t y = 0; y <= bottom; ++y) {
      fill.seed(0, y);
      fill.seed(right, y);
    }
    filled = fill.filledAny();
  }
  matte->setNoBorder(!filled);
  return matte;
}

bool matteIsBackground(const ImageBuffer& matte, int32_t x, int32_t y) {
  if (!matte.bounds().contains(x, y) || !matte.hasPixels()) return true;
  return (matte.row(y)[x >> 3] >> (7 - (x & 7))) & 1;
}

}  // namespace qn
