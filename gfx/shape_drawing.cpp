// A small span rasterizer: every shape is a set of horizontal runs per row, each clipped to the
// image's clip rect and filled with one raw pixel value.
#include "gfx/shape_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "gfx/pixel_access.h"

namespace qn {

namespace {

struct Span {
  int32_t left;
  int32_t right;  // exclusive
};

template <PixelFormat F>
void fillRun(uint8_t* row, int32_t left, int32_t right, uint32_t raw) {
  if constexpr (F == PixelFormat::indexed8) {
    std::memset(row + left, static_cast<int>(raw), static_cast<size_t>(right - left));
  } else if constexpr (isSixteenBit(F)) {
    const uint16_t value = static_cast<uint16_t>(raw);
    for (int32_t x = left; x < right; ++x) store16(row, x, value);
  } else if constexpr (F == PixelFormat::argb8888) {
    for (int32_t x = left; x < right; ++x) store32(row, x, raw);
  } else {
    for (int32_t x = left; x < right; ++x) writeRaw<F>(row, x, raw);
  }
}

class SpanPainter {
 public:
  SpanPainter(ImageBuffer& image, uint32_t rgb)
      : image_(image), clip_(image.clipRect()), raw_(pixelValueOf(image, rgb)) {}

  void run(int32_t y, int32_t left, int32_t right) {
    if (y < clip_.top || y >= clip_.bottom || !image_.hasPixels()) return;
    left = std::max(left, clip_.left);
    right = std::min(right, clip_.right);
    if (left >= right) return;
    uint8_t* row = image_.row(y);
    switch (image_.format()) {
      case PixelFormat::indexed1: fillRun<PixelFormat::indexed1>(row, left, right, raw_); break;
      case PixelFormat::indexed2: fillRun<PixelFormat::indexed2>(row, left, right, raw_); break;
      case PixelFormat::indexed4: fillRun<PixelFormat::indexed4>(row, left, right, raw_); break;
      case PixelFormat::indexed8: fillRun<PixelFormat::indexed8>(row, left, right, raw_); break;
      case PixelFormat::rgb555: fillRun<PixelFormat::rgb555>(row, left, right, raw_); break;
      case PixelFormat::rgb565: fillRun<PixelFormat::rgb565>(row, left, right, raw_); break;
      case PixelFormat::rgb888: fillRun<PixelFormat::rgb888>(row, left, right, raw_); break;
      case PixelFormat::argb8888: fillRun<PixelFormat::argb8888>(row, left, right, raw_); break;
    }
  }
  void rect(const PixelRect& r) {
    const PixelRect visible = r.intersected(clip_);
    for (int32_t y = visible.top; y < visible.bottom; ++y) run(y, visible.left, visible.right);
  }

 private:
  ImageBuffer& image_;
  PixelRect clip_;
  uint32_t raw_;
};

// The run of a filled shape on row y, or nothing when the row misses it.
std::optional<Span> shapeRun(const PixelRect& r, ShapeKind shape, int32_t corner, int32_t y) {
  if (r.isEmpty() || y < r.top || y >= r.bottom) return std::nullopt;
  if (shape == ShapeKind::rect) return Span{r.left, r.right};
  // Ellipse quarter of radii (rx, ry) sampled at the row's centre.
  double rx, ry;
  if (shape == ShapeKind::oval) {
    rx = r.width() / 2.0;
    ry = r.height() / 2.0;
  } else {
    rx = std::min(corner, r.width()) / 2.0;
    ry = std::min(corner, r.height()) / 2.0;
  }
  if (rx <= 0 || ry <= 0) return Span{r.left, r.right};
  const double centre = y + 0.5;
  double dy = 0;
  if (centre < r.top + ry) dy = (r.top + ry - centre) / ry;
  else if (centre > r.bottom - ry) dy = (centre - (r.bottom - ry)) / ry;
  const double inset = rx - rx * std::sqrt(std::max(0.0, 1 - dy * dy));
  const int32_t cut = static_cast<int32_t>(std::lround(inset));
  if (r.left + cut >= r.right - cut) return std::nullopt;
  return Span{r.left + cut, r.right - cut};
}

PixelRect inset(const PixelRect& r, int32_t by) { return {r.left + by, r.top + by, r.right - by, r.bottom - by}; }

// The band between the shape in `outer` and the same shape `penWidth` further in; the inside
// goes to `inside` when given.
void paintRing(const PixelRect& outer, ShapeKind shape, int32_t penWidth, SpanPainter& band, SpanPainter* inside) {
  const PixelRect inner = inset(outer, penWidth);
  const int32_t innerCorner = std::max(kRoundRectCorner - 2 * penWidth, 0);
  for (int32_t y = outer.top; y < outer.bottom; ++y) {
    const auto out = shapeRun(outer, shape, kRoundRectCorner, y);
    if (!out) continue;
    const auto in = shapeRun(inner, shape, innerCorner, y);
    if (!in) {
      band.run(y, out->left, out->right);
      continue;
    }
    band.run(y, out->left, in->left);
    band.run(y, in->right, out->right);
    if (inside) inside->run(y, in->left, in->right);
  }
}

void paintLine(SpanPainter& painter, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t penWidth) {
  const int32_t pen = std::max(penWidth, 1);
  const int32_t half = pen / 2;
  const int32_t dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int32_t dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int32_t error = dx + dy;
  while (x0 != x1 || y0 != y1) {
    for (int32_t k = 0; k < pen; ++k) painter.run(y0 - half + k, x0 - half, x0 - half + pen);
    const int32_t twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += sx;
    }
    if (twice <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}

}  // namespace

uint32_t pixelValueOf(const ImageBuffer& image, uint32_t rgb) {
  const uint32_t colour = kOpaque | (rgb & kColourBits);
  switch (image.format()) {
    case PixelFormat::rgb555: return narrow555(colour);
    case PixelFormat::rgb565: return narrow565(colour);
    case PixelFormat::rgb888: return colour & kColourBits;
    case PixelFormat::argb8888: return colour;
    default: return image.palette() ? image.palette()->nearestIndex(colour) : 0;
  }
}

void fillRect(ImageBuffer& image, const PixelRect& rect, uint32_t rgb) {
  SpanPainter painter(image, rgb);
  painter.rect(rect);
}

void outlineShape(ImageBuffer& image, const PixelRect& bounds, ShapeKind shape, int32_t penWidth, uint32_t rgb) {
  if (penWidth <= 0) return;
  SpanPainter painter(image, rgb);
  if (shape == ShapeKind::line) {
    paintLine(painter, bounds.left, bounds.top, bounds.right, bounds.bottom, penWidth);
    return;
  }
  paintRing(bounds, shape, penWidth, painter, nullptr);
}

void fillShape(ImageBuffer& image, const PixelRect& rect, ShapeKind shape, int32_t lineSize, uint32_t fillRgb,
               uint32_t lineRgb) {
  SpanPainter inside(image, fillRgb);
  if (shape == ShapeKind::line) {
    drawLine(image, rect.left, rect.top, rect.right, rect.bottom, std::max(lineSize, 1), lineRgb);
    return;
  }
  if (lineSize <= 0) {
    for (int32_t y = rect.top; y < rect.bottom; ++y)
      if (const auto run = shapeRun(rect, shape, kRoundRectCorner, y)) inside.run(y, run->left, run->right);
    return;
  }
  // The pen is centred on the rect's edges: half of it lies outside.
  SpanPainter band(image, lineRgb);
  paintRing(inset(rect, -(lineSize / 2)), shape, lineSize, band, &inside);
}

void drawLine(ImageBuffer& image, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t penWidth, uint32_t rgb) {
  if (penWidth <= 0) return;
  SpanPainter painter(image, rgb);
  paintLine(painter, x0, y0, x1, y1, penWidth);
}

}  // namespace qn
