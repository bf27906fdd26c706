#include "tools/artgen/canvas.h"

#include <algorithm>

namespace qn::artgen {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kAlmostWhite = 0xFEFEFE;
// Pixels more transparent than this count as background in the on-white finish.
constexpr uint32_t kBackgroundAlpha = 48;

uint8_t channel(uint32_t word, int shift) { return static_cast<uint8_t>(word >> shift); }

uint32_t unpremultiply(uint32_t word) {
  const uint32_t alpha = word >> 24;
  if (alpha == 0) return 0;
  uint32_t rgb = 0;
  for (int shift = 16; shift >= 0; shift -= 8) {
    const uint32_t value = std::min<uint32_t>(255, (channel(word, shift) * 255 + alpha / 2) / alpha);
    rgb |= value << shift;
  }
  return alpha << 24 | rgb;
}

void putRgba(std::vector<uint8_t>& out, size_t at, uint32_t rgb, uint32_t alpha) {
  out[at] = channel(rgb, 16);
  out[at + 1] = channel(rgb, 8);
  out[at + 2] = channel(rgb, 0);
  out[at + 3] = static_cast<uint8_t>(alpha);
}

}  // namespace

Canvas::Canvas(int width, int height, int scale)
    : width_(width),
      height_(height),
      scale_(scale),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width * scale, height * scale)),
      cr_(cairo_create(surface_)) {
  cairo_scale(cr_, scale, scale);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr_, options);
  cairo_font_options_destroy(options);
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

uint32_t* Canvas::pixels() {
  cairo_surface_flush(surface_);
  return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface_));
}

int Canvas::stride() const { return cairo_image_surface_get_stride(surface_) / 4; }

void Canvas::markDirty() { cairo_surface_mark_dirty(surface_); }

std::vector<uint8_t> Canvas::finishAlpha() {
  const uint32_t* source = pixels();
  const int width = pixelWidth(), height = pixelHeight();
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t word = unpremultiply(source[y * stride() + x]);
      putRgba(rgba, (static_cast<size_t>(y) * width + x) * 4, word & 0xFFFFFF, word >> 24);
    }
  }
  return rgba;
}

std::vector<uint8_t> Canvas::finishOpaque() {
  std::vector<uint8_t> rgba = finishAlpha();
  for (size_t at = 3; at < rgba.size(); at += 4) rgba[at] = 255;
  return rgba;
}

std::vector<uint8_t> Canvas::finishOnWhite(uint32_t fringeColor) {
  const uint32_t* source = pixels();
  const int width = pixelWidth(), height = pixelHeight();
  const size_t count = static_cast<size_t>(width) * height;
  std::vector<uint32_t> colors(count);
  std::vector<uint8_t> background(count);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t word = source[y * stride() + x];
      const uint32_t alpha = word >> 24;
      const size_t at = static_cast<size_t>(y) * width + x;
      background[at] = alpha < kBackgroundAlpha;
      // Source over the fringe colour: premultiplied colour plus the fringe's remaining share.
      uint32_t rgb = 0;
      for (int shift = 16; shift >= 0; shift -= 8) {
        rgb |= (channel(word, shift) + channel(fringeColor, shift) * (255 - alpha) / 255) << shift;
      }
      colors[at] = rgb == kWhite ? kAlmostWhite : rgb;
    }
  }
  // Background that the border cannot reach would stay opaque white under matte ink: give such
  // pockets the fringe colour instead.
  std::vector<uint8_t> reached(count);
  std::vector<size_t> stack;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (x == 0 || y == 0 || x == width - 1 || y == height - 1) stack.push_back(static_cast<size_t>(y) * width + x);
    }
  }
  while (!stack.empty()) {
    const size_t at = stack.back();
    stack.pop_back();
    if (reached[at] || !background[at]) continue;
    reached[at] = 1;
    const int x = static_cast<int>(at % width), y = static_cast<int>(at / width);
    if (x > 0) stack.push_back(at - 1);
    if (x + 1 < width) stack.push_back(at + 1);
    if (y > 0) stack.push_back(at - width);
    if (y + 1 < height) stack.push_back(at + width);
  }
  std::vector<uint8_t> rgba(count * 4);
  for (size_t at = 0; at < count; ++at) {
    const uint32_t rgb = reached[at] ? kWhite : background[at] ? fringeColor : colors[at];
    putRgba(rgba, at * 4, rgb == kWhite && !reached[at] ? kAlmostWhite : rgb, 255);
  }
  return rgba;
}

}  // namespace qn::artgen
