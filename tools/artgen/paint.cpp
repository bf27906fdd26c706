#include "tools/artgen/paint.h"

#include <algorithm>
#include <cmath>

namespace qn::artgen {
namespace {

double component(uint32_t rgb, int shift) { return ((rgb >> shift) & 0xFF) / 255.0; }

void selectFont(cairo_t* cr, double size, bool bold) {
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
}

}  // namespace

void setColor(cairo_t* cr, uint32_t rgb, double alpha) {
  cairo_set_source_rgba(cr, component(rgb, 16), component(rgb, 8), component(rgb, 0), alpha);
}

void addColorStop(cairo_pattern_t* pattern, double offset, uint32_t rgb, double alpha) {
  cairo_pattern_add_color_stop_rgba(pattern, offset, component(rgb, 16), component(rgb, 8),
                                    component(rgb, 0), alpha);
}

uint32_t mix(uint32_t from, uint32_t to, double amount) {
  uint32_t result = 0;
  for (int shift = 16; shift >= 0; shift -= 8) {
    const double value = component(from, shift) * (1 - amount) + component(to, shift) * amount;
    result |= static_cast<uint32_t>(std::lround(value * 255)) << shift;
  }
  return result;
}

void roundedRect(cairo_t* cr, double x, double y, double width, double height, double radius) {
  const double degrees = M_PI / 180.0;
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + width - radius, y + radius, radius, -90 * degrees, 0);
  cairo_arc(cr, x + width - radius, y + height - radius, radius, 0, 90 * degrees);
  cairo_arc(cr, x + radius, y + height - radius, radius, 90 * degrees, 180 * degrees);
  cairo_arc(cr, x + radius, y + radius, radius, 180 * degrees, 270 * degrees);
  cairo_close_path(cr);
}

void starPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double turn) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < points * 2; ++i) {
    const double angle = turn + M_PI * i / points - M_PI / 2;
    const double radius = i % 2 ? inner : outer;
    cairo_line_to(cr, cx + radius * std::cos(angle), cy + radius * std::sin(angle));
  }
  cairo_close_path(cr);
}

double textWidth(cairo_t* cr, const char* text, double size, bool bold) {
  cairo_save(cr);
  selectFont(cr, size, bold);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text, &extents);
  cairo_restore(cr);
  return extents.x_advance;
}

void drawText(cairo_t* cr, const char* text, double x, double y, const TextStyle& style) {
  cairo_save(cr);
  selectFont(cr, style.size, style.bold);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text, &extents);
  cairo_font_extents_t font;
  cairo_font_extents(cr, &font);
  double left = x;
  if (style.align == Align::centre) left = x - extents.x_advance / 2;
  if (style.align == Align::right) left = x - extents.x_advance;
  // Centre on the capital height so that upper-case labels sit in the middle of their boxes.
  const double baseline = y + style.size * 0.36;
  if (style.shadow > 0) {
    cairo_move_to(cr, left + style.shadow, baseline + style.shadow);
    cairo_text_path(cr, text);
    setColor(cr, 0x000000, 0.45);
    cairo_fill(cr);
  }
  if (style.outline > 0) {
    cairo_move_to(cr, left, baseline);
    cairo_text_path(cr, text);
    setColor(cr, style.outlineColor);
    cairo_set_line_width(cr, style.outline * 2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
  }
  cairo_move_to(cr, left, baseline);
  cairo_text_path(cr, text);
  setColor(cr, style.color);
  cairo_fill(cr);
  cairo_restore(cr);
}

void buttonFace(cairo_t* cr, double x, double y, double width, double height, double radius,
                uint32_t base, uint32_t rim) {
  roundedRect(cr, x, y, width, height, radius);
  setColor(cr, rim);
  cairo_fill(cr);
  roundedRect(cr, x + 1.5, y + 1.5, width - 3, height - 3, std::max(1.0, radius - 1.5));
  cairo_pattern_t* face = cairo_pattern_create_linear(0, y, 0, y + height);
  addColorStop(face, 0, mix(base, 0xFFFFFF, 0.35));
  addColorStop(face, 0.5, base);
  addColorStop(face, 1, mix(base, 0x000000, 0.25));
  cairo_set_source(cr, face);
  cairo_fill(cr);
  cairo_pattern_destroy(face);
  // Gloss on the upper half.
  roundedRect(cr, x + 3, y + 2.5, width - 6, height * 0.42, std::max(1.0, radius - 2.5));
  cairo_pattern_t* gloss = cairo_pattern_create_linear(0, y + 2, 0, y + height * 0.5);
  addColorStop(gloss, 0, 0xFFFFFF, 0.45);
  addColorStop(gloss, 1, 0xFFFFFF, 0.05);
  cairo_set_source(cr, gloss);
  cairo_fill(cr);
  cairo_pattern_destroy(gloss);
}

void drawBall(cairo_t* cr, double cx, double cy, double radius, uint32_t base, bool engraved) {
  cairo_save(cr);
  cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
  cairo_clip(cr);
  // Body: a bright spot up and left, the base colour, and a dark rim.
  cairo_pattern_t* body = cairo_pattern_create_radial(cx - radius * 0.35, cy - radius * 0.4, radius * 0.05,
                                                      cx, cy, radius * 1.05);
  addColorStop(body, 0, mix(base, 0xFFFFFF, 0.75));
  addColorStop(body, 0.25, mix(base, 0xFFFFFF, 0.25));
  addColorStop(body, 0.62, base);
  addColorStop(body, 1, mix(base, 0x000000, 0.6));
  cairo_set_source(cr, body);
  cairo_paint(cr);
  // Reflected ground: a warm band in the lower part of the sphere.
  cairo_pattern_t* ground = cairo_pattern_create_linear(0, cy + radius * 0.2, 0, cy + radius);
  addColorStop(ground, 0, kSand, 0.0);
  addColorStop(ground, 0.6, kSand, 0.35);
  addColorStop(ground, 1, kSand, 0.1);
  cairo_set_source(cr, ground);
  cairo_paint(cr);
  cairo_pattern_destroy(ground);
  cairo_pattern_destroy(body);
  if (engraved) {
    cairo_set_line_width(cr, radius * 0.05);
    for (int ring = -1; ring <= 1; ring += 2) {
      cairo_save(cr);
      cairo_translate(cr, cx, cy);
      cairo_rotate(cr, -0.45);
      cairo_scale(cr, 1.0, 0.32);
      cairo_arc(cr, 0, ring * radius * 1.5, radius * 0.98, 0, 2 * M_PI);
      cairo_restore(cr);
      setColor(cr, mix(base, 0x000000, 0.5), 0.4);
      cairo_stroke(cr);
    }
  }
  cairo_restore(cr);
  // Specular highlight.
  softEllipse(cr, cx - radius * 0.38, cy - radius * 0.45, radius * 0.32, radius * 0.22, 0xFFFFFF, 0.95, 0.3);
}

void softEllipse(cairo_t* cr, double cx, double cy, double rx, double ry, uint32_t rgb, double peak,
                 double hardness) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_pattern_t* glow = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
  addColorStop(glow, 0, rgb, peak);
  addColorStop(glow, hardness, rgb, peak);
  addColorStop(glow, hardness + (1 - hardness) * 0.5, rgb, peak * 0.35);
  addColorStop(glow, 1, rgb, 0);
  cairo_set_source(cr, glow);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(glow);
  cairo_restore(cr);
}

void arrowGlyph(cairo_t* cr, double cx, double cy, double size, int direction) {
  cairo_move_to(cr, cx + direction * size * 0.6, cy);
  cairo_line_to(cr, cx - direction * size * 0.4, cy - size * 0.55);
  cairo_line_to(cr, cx - direction * size * 0.4, cy + size * 0.55);
  cairo_close_path(cr);
}

double uniform(RandomGenerator& random) { return random.next() / 4294967296.0; }

}  // namespace qn::artgen
