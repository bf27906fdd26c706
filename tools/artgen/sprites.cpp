// The things on the field: balls and their shadows, the collision ellipses, dust, stars, the
// worm, mud, the leader's rings and markers, the aiming arrow and line, the fault label.
#include <cmath>

#include "tools/artgen/member_art.h"
#include "tools/artgen/paint.h"

namespace qn::artgen {
namespace {

constexpr uint32_t kWormBody = 0xD98A7E;
constexpr uint32_t kWormDark = 0x8E4A44;

int slotOf(int number, int first) { return number - first; }

}  // namespace

void drawPlayerBall(Canvas& canvas, int number) {
  // 58 x 58, regPoint (29, 45) where the ball meets the ground.
  drawBall(canvas.cr(), 29, 24, 21, kPlayerColor[slotOf(number, 41)], true);
}

void drawTargetBall(Canvas& canvas, int) {
  // 26 x 27, regPoint (13, 21): the jack, a small cream-white wooden ball.
  drawBall(canvas.cr(), 13, 11.5, 9.5, 0xF5F1E6, false);
}

void drawShadow(Canvas& canvas, int number) {
  // "shaduw1" 95 x 93 at (51, 44) for the players' balls, "shaduw2" 51 x 49 at (27, 22) for the
  // jack: soft, flattened on the ground, darkest right under the ball.
  const bool big = number == 18;
  // Lit from the upper left: the shadow lies a little to the right of and below the contact point.
  const double cx = big ? 56 : 29, cy = big ? 46 : 23;
  const double rx = big ? 31 : 14, ry = big ? 15 : 7;
  softEllipse(canvas.cr(), cx, cy, rx * 1.4, ry * 1.5, 0x1A1208, 0.25, 0.1);
  softEllipse(canvas.cr(), cx, cy, rx, ry, 0x1A1208, 0.6, 0.3);
  softEllipse(canvas.cr(), cx, cy, rx * 0.5, ry * 0.45, 0x1A1208, 0.45, 0.2);
}

void drawCollisionEllipse(Canvas& canvas, int number) {
  // Invisible in play (blend 0); drawn as a plain ellipse so that it shows when debugging.
  cairo_t* cr = canvas.cr();
  const double width = number == 49 ? 25 : 54, height = number == 49 ? 15 : 28;
  cairo_save(cr);
  cairo_translate(cr, width / 2, height / 2);
  cairo_scale(cr, width / 2 - 0.5, height / 2 - 0.5);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  setColor(cr, 0x5BC0EB, 0.8);
  cairo_fill_preserve(cr);
  setColor(cr, 0x1D5F80);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void drawDustCloud(Canvas& canvas, int) {
  // "wolkje" 45 x 36: a puff of gravel dust.
  RandomGenerator random(24);
  for (int puff = 0; puff < 9; ++puff) {
    const double angle = puff * 0.7 + uniform(random);
    const double distance = puff == 0 ? 0 : 6 + uniform(random) * 5;
    softEllipse(canvas.cr(), 22.5 + std::cos(angle) * distance * 1.2, 18 + std::sin(angle) * distance * 0.8,
                9 + uniform(random) * 4, 7 + uniform(random) * 3, mix(0xFBF4E4, 0xE2CFA6, uniform(random)), 0.75);
  }
}

void drawStar(Canvas& canvas, int number) {
  // "star" (25): a golden four-pointed sparkle; "star2" (26): a pale blue five-pointed star.
  cairo_t* cr = canvas.cr();
  const bool sparkle = number == 25;
  const uint32_t color = sparkle ? 0xFFD54A : 0x9FDDFF;
  softEllipse(cr, 25.5, 25.5, 22, 22, color, 0.35);
  starPath(cr, 25.5, 25.5, sparkle ? 24 : 18, sparkle ? 4.5 : 8, sparkle ? 4 : 5, 0);
  cairo_pattern_t* fill = cairo_pattern_create_radial(25.5, 25.5, 1, 25.5, 25.5, 20);
  addColorStop(fill, 0, 0xFFFFFF);
  addColorStop(fill, 0.35, mix(color, 0xFFFFFF, 0.5));
  addColorStop(fill, 1, color);
  cairo_set_source(cr, fill);
  cairo_fill(cr);
  cairo_pattern_destroy(fill);
  softEllipse(cr, 25.5, 25.5, 6, 6, 0xFFFFFF, 0.9);
}

void drawWorm(Canvas& canvas, int number) {
  // Frames 166-169 come out of the ground, 170 lies stretched, 171-177 arch and flatten like an
  // inchworm. The head is on the left; flipH turns it to walk right.
  cairo_t* cr = canvas.cr();
  const double width = canvas.width(), height = canvas.height();
  const double thickness = 4.2;
  const double ground = height - thickness / 2;
  if (number == 166) {  // only the head pokes out of its hole
    cairo_save(cr);
    cairo_translate(cr, width / 2, height * 0.45);
    cairo_scale(cr, width / 2, height * 0.45);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    setColor(cr, kWormBody);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, height - 2, width, 2);
    setColor(cr, 0x5B3A1C);
    cairo_fill(cr);
    cairo_arc(cr, width * 0.35, height * 0.35, 0.9, 0, 2 * M_PI);
    setColor(cr, 0x1A0E0A);
    cairo_fill(cr);
    return;
  }
  const double left = thickness / 2 + 0.5, right = width - thickness / 2 - 0.5;
  const double arch = std::max(0.0, height - thickness - 1);
  cairo_move_to(cr, left, ground - (number <= 169 ? 1 : 0));
  cairo_curve_to(cr, left + (right - left) * 0.25, ground - arch * 1.33, right - (right - left) * 0.25,
                 ground - arch * 1.33, right, ground);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, thickness);
  cairo_path_t* body = cairo_copy_path(cr);
  setColor(cr, kWormDark);
  cairo_stroke(cr);
  cairo_append_path(cr, body);
  cairo_set_line_width(cr, thickness - 1.4);
  setColor(cr, kWormBody);
  cairo_stroke(cr);
  // Segment rings along the body.
  cairo_append_path(cr, body);
  const double dash[] = {0.8, 2.2};
  cairo_set_dash(cr, dash, 2, 1.5);
  cairo_set_line_width(cr, thickness - 1.4);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  setColor(cr, kWormDark, 0.45);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
  cairo_path_destroy(body);
  // Head with an eye.
  cairo_arc(cr, left + 0.3, ground - 0.6, thickness * 0.62, 0, 2 * M_PI);
  setColor(cr, mix(kWormBody, 0xFFFFFF, 0.15));
  cairo_fill(cr);
  cairo_arc(cr, left - 0.3, ground - 1.3, 0.9, 0, 2 * M_PI);
  setColor(cr, 0x1A0E0A);
  cairo_fill(cr);
  if (number <= 169) {  // still half in its hole: a little heap of earth at the tail
    cairo_save(cr);
    cairo_translate(cr, right, height - 1.5);
    cairo_scale(cr, 4, 1.8);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    setColor(cr, 0x5B3A1C);
    cairo_fill(cr);
  }
}

void drawMudSplash(Canvas& canvas, int) {
  // "splud" 22 x 16, regPoint (12, 6): a splash of mud where the worm was hit.
  cairo_t* cr = canvas.cr();
  RandomGenerator random(183);
  setColor(cr, 0x5A3A1A);
  cairo_save(cr);
  cairo_translate(cr, 11.5, 7.5);
  cairo_scale(cr, 7, 4.5);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  cairo_fill(cr);
  for (int drop = 0; drop < 9; ++drop) {
    const double angle = drop * 2 * M_PI / 9 + uniform(random) * 0.5;
    const double distance = 6 + uniform(random) * 3;
    cairo_arc(cr, 11.5 + std::cos(angle) * distance * 1.3, 7.5 + std::sin(angle) * distance * 0.75,
              0.8 + uniform(random) * 1.3, 0, 2 * M_PI);
    cairo_fill(cr);
  }
  softEllipse(cr, 9.5, 6, 3, 1.5, 0x8A6238, 0.8);
}

void drawFloorRing(Canvas& canvas, int number) {
  // 131-134, 99 x 70 around (49, 35): the leader's ring on the gravel, dashed so that the gravel
  // inside shows through the matte ink.
  cairo_t* cr = canvas.cr();
  const int slot = slotOf(number, 131);
  for (int ring = 0; ring < 2; ++ring) {
    cairo_save(cr);
    cairo_translate(cr, 49.5, 35);
    cairo_scale(cr, 46 - ring * 10, 32 - ring * 7);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    const double dash[] = {9, 4};
    cairo_set_dash(cr, dash, 2, ring * 4);
    cairo_set_line_width(cr, ring ? 2.5 : 4);
    setColor(cr, ring ? mix(kPlayerColor[slot], 0xFFFFFF, 0.3) : kPlayerColor[slot]);
    cairo_stroke(cr);
  }
}

void drawLeaderMarker(Canvas& canvas, int number) {
  // 31-34, 34 x 27 with the regPoint (17, 90) far below: a pointer that hovers over the leading
  // ball and sinks down to it.
  cairo_t* cr = canvas.cr();
  const int slot = slotOf(number, 31);
  cairo_move_to(cr, 3, 2);
  cairo_line_to(cr, 31, 2);
  cairo_curve_to(cr, 31, 12, 22, 16, 17, 26);
  cairo_curve_to(cr, 12, 16, 3, 12, 3, 2);
  cairo_close_path(cr);
  cairo_pattern_t* body = cairo_pattern_create_linear(0, 0, 34, 0);
  addColorStop(body, 0, mix(kPlayerColor[slot], 0xFFFFFF, 0.3));
  addColorStop(body, 1, kPlayerColor[slot]);
  cairo_set_source(cr, body);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(body);
  setColor(cr, kPlayerDark[slot]);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  starPath(cr, 17, 9.5, 6, 2.6, 5, 0);
  setColor(cr, 0xFFF4C8);
  cairo_fill(cr);
}

void drawAimingArrow(Canvas& canvas, int) {
  // 193 x 40, regPoint (-93, 20): the tail starts 93 pixels in front of the thrower and the arrow
  // points away from him. A row of chevrons ending in a broad head.
  cairo_t* cr = canvas.cr();
  for (int chevron = 0; chevron < 7; ++chevron) {
    const double x = 4 + chevron * 20, size = 5 + chevron * 1.3;
    cairo_move_to(cr, x, 20 - size);
    cairo_line_to(cr, x + size * 0.9, 20);
    cairo_line_to(cr, x, 20 + size);
    cairo_line_to(cr, x + 5, 20 + size);
    cairo_line_to(cr, x + 5 + size * 0.9, 20);
    cairo_line_to(cr, x + 5, 20 - size);
    cairo_close_path(cr);
    setColor(cr, mix(0xFFE07A, 0xFF8A1E, chevron / 6.0));
    cairo_fill_preserve(cr);
    setColor(cr, 0x6A3000);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  }
  cairo_move_to(cr, 146, 5);
  cairo_line_to(cr, 191, 20);
  cairo_line_to(cr, 146, 35);
  cairo_line_to(cr, 154, 20);
  cairo_close_path(cr);
  cairo_pattern_t* head = cairo_pattern_create_linear(0, 5, 0, 35);
  addColorStop(head, 0, 0xFFB347);
  addColorStop(head, 1, 0xE0541A);
  cairo_set_source(cr, head);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(head);
  setColor(cr, 0x6A3000);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
}

void drawAimingLine(Canvas& canvas, int) {
  // 361 x 21, regPoint (-62, 10): the computer's invisible sight line.
  cairo_t* cr = canvas.cr();
  const double dash[] = {6, 4};
  cairo_set_dash(cr, dash, 2, 0);
  cairo_move_to(cr, 0, 10.5);
  cairo_line_to(cr, 361, 10.5);
  cairo_set_line_width(cr, 3);
  setColor(cr, 0xE04040);
  cairo_stroke(cr);
}

void drawFaultLabel(Canvas& canvas, int) {
  // "afault1" 64 x 31: a red badge that pulses where a ball stopped short of the line.
  cairo_t* cr = canvas.cr();
  roundedRect(cr, 2, 3, 60, 25, 8);
  setColor(cr, 0x000000, 0.35);
  cairo_fill(cr);
  buttonFace(cr, 1, 1, 60, 25, 8, 0xE23A2C, 0x6E0F08);
  TextStyle style;
  style.size = 13;
  style.color = 0xFFF6E8;
  style.outline = 1.2;
  style.outlineColor = 0x6E0F08;
  drawText(cr, "FAULT", 31, 13.5, style);
}

}  // namespace qn::artgen
