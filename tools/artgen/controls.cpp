// Controls and banners: the turn and result banners in the four player colours, the aim and
// power buttons with their glows, the power meter, the menu and map buttons, the player-kind
// buttons of the set-up screen and the one-pixel members.
#include <cmath>

#include "tools/artgen/member_art.h"
#include "tools/artgen/paint.h"

namespace qn::artgen {
namespace {

const char* const kColorNames[4] = {"BLUE", "RED", "YELLOW", "GREEN"};

TextStyle label(double size, uint32_t outlineColor) {
  TextStyle style;
  style.size = size;
  style.color = 0xFFFDF6;
  style.outline = size > 10 ? 1.4 : 1.0;
  style.outlineColor = outlineColor;
  return style;
}

// A ribbon with swallow-tailed ends, behind a banner.
void ribbon(cairo_t* cr, double x, double y, double width, double height, double notch, uint32_t color) {
  cairo_move_to(cr, x, y);
  cairo_line_to(cr, x + width, y);
  cairo_line_to(cr, x + width - notch, y + height / 2);
  cairo_line_to(cr, x + width, y + height);
  cairo_line_to(cr, x, y + height);
  cairo_line_to(cr, x + notch, y + height / 2);
  cairo_close_path(cr);
  setColor(cr, color);
  cairo_fill(cr);
}

}  // namespace

void drawPlayerBanner(Canvas& canvas, int number) {
  // 4-7, 184 x 62 at (92, 30), shown with backgroundTransparent ink at (120, 132): the white turn
  // text ("gameTxt") runs across rows 36 to 51, so those rows are a dark band.
  cairo_t* cr = canvas.cr();
  const int slot = number - 4;
  ribbon(cr, 0, 36, 184, 18, 7, kPlayerDark[slot]);
  roundedRect(cr, 22, 2, 140, 32, 9);
  setColor(cr, 0x000000, 0.3);
  cairo_fill(cr);
  buttonFace(cr, 20, 0, 144, 32, 9, kPlayerColor[slot], kPlayerDark[slot]);
  drawBall(cr, 38, 16, 9, kPlayerColor[slot], true);
  drawBall(cr, 146, 16, 9, kPlayerColor[slot], true);
  drawText(cr, kColorNames[slot], 92, 14, label(15, kPlayerDark[slot]));
  roundedRect(cr, 8, 34, 168, 22, 6);
  cairo_pattern_t* band = cairo_pattern_create_linear(0, 34, 0, 56);
  addColorStop(band, 0, mix(kPlayerDark[slot], 0x000000, 0.35));
  addColorStop(band, 1, mix(kPlayerDark[slot], 0x000000, 0.6));
  cairo_set_source(cr, band);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(band);
  setColor(cr, kPlayerColor[slot]);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
}

void drawResultBanner(Canvas& canvas, int number) {
  // 144-147, 216 x 29 at (108, 1), shown at (120, 132): the result text runs across rows 7 to 22,
  // at its longest ("Player Three's distance: 123.4567") across the whole width, so the dark
  // plate under it does too, inside a rim of the player's colour with a gold hairline.
  cairo_t* cr = canvas.cr();
  const int slot = number - 144;
  roundedRect(cr, 0.5, 0.5, 215, 28, 8);
  setColor(cr, kPlayerColor[slot]);
  cairo_fill_preserve(cr);
  setColor(cr, kPlayerDark[slot]);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  roundedRect(cr, 3, 4, 210, 21, 5);
  setColor(cr, mix(kPlayerDark[slot], 0x000000, 0.45));
  cairo_fill(cr);
  roundedRect(cr, 4.5, 5.5, 207, 18, 4);
  setColor(cr, kGold, 0.45);
  cairo_stroke(cr);
  for (double x : {16.0, 108.0, 200.0}) {  // small gold studs on the top rim
    starPath(cr, x, 2.2, 2.2, 1.0, 5, 0);
    setColor(cr, kGold);
    cairo_fill(cr);
  }
}

void drawButtonGlow(Canvas& canvas, int number) {
  // "aa pressglow go" (8) and "aa pressglow move" (9), 99 x 77: a halo around the power button
  // and the move buttons that pulses when the player hesitates.
  cairo_t* cr = canvas.cr();
  const uint32_t color = number == 8 ? 0xFFC83A : 0x6FD8FF;
  softEllipse(cr, 49.5, 38.5, 48, 37, color, 0.75, 0.35);
  softEllipse(cr, 49.5, 38.5, 30, 20, 0xFFFFFF, 0.35, 0.2);
}

void drawPowerMeter(Canvas& canvas, int) {
  // 204 x 39, regPoint (83, 26), matte ink at (101, 146): the bars (from (26, 147), 10 high, up
  // to 188 wide) fill the slot at x 8..196, y 22..32 of this frame.
  cairo_t* cr = canvas.cr();
  buttonFace(cr, 0.5, 0.5, 203, 38, 9, 0x3A4D6E, 0x101A2C);
  TextStyle style = label(9, 0x101A2C);
  style.align = Align::left;
  drawText(cr, "POWER", 9, 10, style);
  style.align = Align::right;
  style.color = 0xFFD25A;
  drawText(cr, "MAX", 195, 10, style);
  roundedRect(cr, 5, 19, 194, 16, 4);
  setColor(cr, 0x070B14);
  cairo_fill(cr);
  cairo_rectangle(cr, 8, 22, 188, 10);
  cairo_pattern_t* slot = cairo_pattern_create_linear(8, 0, 196, 0);
  addColorStop(slot, 0, 0x16283F);
  addColorStop(slot, 1, 0x3A1A1A);
  cairo_set_source(cr, slot);
  cairo_fill(cr);
  cairo_pattern_destroy(slot);
  for (int tick = 1; tick < 8; ++tick) {
    cairo_rectangle(cr, 8 + tick * 188 / 8.0, 22, 1, tick % 2 ? 3 : 5);
    setColor(cr, 0x8FA3C4, 0.7);
    cairo_fill(cr);
  }
}

void drawPowerBar(Canvas& canvas, int number) {
  // 57 and 58, 1 x 10 at (0, 5), stretched sideways: 57 grows on the upswing (hot), 58 on the
  // way back (cool).
  cairo_t* cr = canvas.cr();
  cairo_pattern_t* bar = cairo_pattern_create_linear(0, 0, 0, 10);
  const uint32_t base = number == 57 ? 0xFF7A1A : 0x3FA9F5;
  addColorStop(bar, 0, mix(base, 0xFFFFFF, 0.55));
  addColorStop(bar, 0.45, base);
  addColorStop(bar, 1, mix(base, 0x000000, 0.45));
  cairo_set_source(cr, bar);
  cairo_paint(cr);
  cairo_pattern_destroy(bar);
}

void drawAimButton(Canvas& canvas, int number) {
  // 29 walks left, 27 walks right (48 x 29), 30 is the power button (49 x 29); matte ink.
  cairo_t* cr = canvas.cr();
  const double width = canvas.width(), height = canvas.height();
  const bool power = number == 30;
  roundedRect(cr, 1.5, 2.5, width - 2, height - 2.5, 9);
  setColor(cr, 0x000000, 0.35);
  cairo_fill(cr);
  buttonFace(cr, 0.5, 0.5, width - 2, height - 3, 9, power ? 0xF0A020 : 0x3F8FE0, power ? 0x6A3C05 : 0x123A70);
  if (power) {
    drawText(cr, "GO", width / 2 - 1, height / 2 - 1.5, label(13, 0x6A3C05));
    return;
  }
  const int direction = number == 27 ? 1 : -1;
  arrowGlyph(cr, width / 2 - 1 + direction * 4, height / 2 - 1.5, 13, direction);
  arrowGlyph(cr, width / 2 - 1 - direction * 5, height / 2 - 1.5, 9, direction);
  setColor(cr, 0xFFFDF6);
  cairo_fill_preserve(cr);
  setColor(cr, 0x123A70);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
}

void drawMenuButton(Canvas& canvas, int) {
  // 59, 35 x 22: back to the menu, drawn with copy ink at the field's lower left.
  cairo_t* cr = canvas.cr();
  cairo_rectangle(cr, 0, 0, 35, 22);
  setColor(cr, 0x101A2C);
  cairo_fill(cr);
  buttonFace(cr, 0, 0, 35, 22, 4, 0xC9442F, 0x3A0E06);
  drawText(cr, "MENU", 17.5, 10.5, label(8.5, 0x5C170C));
}

void drawMapButton(Canvas& canvas, int) {
  // 126, 49 x 23: opens the top view.
  cairo_t* cr = canvas.cr();
  cairo_rectangle(cr, 0, 0, 49, 23);
  setColor(cr, 0x101A2C);
  cairo_fill(cr);
  buttonFace(cr, 0, 0, 49, 23, 4, 0x5C7A96, 0x101A2C);
  // A folded map.
  cairo_move_to(cr, 5, 7);
  cairo_line_to(cr, 9, 5);
  cairo_line_to(cr, 13, 7);
  cairo_line_to(cr, 17, 5);
  cairo_line_to(cr, 17, 16);
  cairo_line_to(cr, 13, 18);
  cairo_line_to(cr, 9, 16);
  cairo_line_to(cr, 5, 18);
  cairo_close_path(cr);
  setColor(cr, 0xF2E6C4);
  cairo_fill_preserve(cr);
  setColor(cr, 0x22364A);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
  drawText(cr, "MAP", 32, 11, label(9.5, 0x22364A));
}

void drawPlayerKindButton(Canvas& canvas, int number) {
  // 203 human, 204 computer, 205 not playing; 59 x 29, copy ink on the set-up screen's rows.
  cairo_t* cr = canvas.cr();
  cairo_rectangle(cr, 0, 0, 59, 29);
  setColor(cr, 0x2C4468);
  cairo_fill(cr);
  static const uint32_t kBase[3] = {0x35A853, 0xF0A020, 0x4A5568};
  static const uint32_t kRim[3] = {0x124A22, 0x6A3C05, 0x1A202C};
  static const char* const kLabel[3] = {"HUMAN", "CPU", "OFF"};
  const int kind = number - 203;
  buttonFace(cr, 0.5, 0.5, 58, 28, 7, kBase[kind], kRim[kind]);
  setColor(cr, 0xFFFDF6, kind == 2 ? 0.55 : 1.0);
  if (kind == 0) {  // a head and shoulders
    cairo_arc(cr, 11, 10.5, 3.2, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_arc(cr, 11, 21, 6, M_PI, 2 * M_PI);
    cairo_fill(cr);
  } else if (kind == 1) {  // a chip
    roundedRect(cr, 6, 8.5, 11, 11, 2);
    cairo_fill(cr);
    for (int pin = 0; pin < 3; ++pin) {
      cairo_rectangle(cr, 7.5 + pin * 3.5, 6, 1.4, 16);
      cairo_rectangle(cr, 3.5, 10 + pin * 3.5, 16, 1.4);
    }
    cairo_fill(cr);
    roundedRect(cr, 8.5, 11, 6, 6, 1);
    setColor(cr, kBase[1]);
    cairo_fill(cr);
  } else {  // a crossed circle
    cairo_arc(cr, 11.5, 14.5, 5.5, 0, 2 * M_PI);
    cairo_move_to(cr, 7.6, 18.4);
    cairo_line_to(cr, 15.4, 10.6);
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
  }
  TextStyle style = label(kind == 0 ? 8 : 10.5, kRim[kind]);
  if (kind == 2) style.color = 0xC8D0DC;
  drawText(cr, kLabel[kind], kind == 0 ? 38 : 38.5, 14, style);
}

void drawPixel(Canvas& canvas, int number) {
  // One-pixel members, stretched by the score: 12 spare, 14 the set-up shade, 17 and 53 the hot
  // spots (blend 0), 60-63 the turn markers in the player colours.
  uint32_t color = 0x000000;
  if (number >= 60 && number <= 63) color = kPlayerColor[number - 60];
  setColor(canvas.cr(), color);
  cairo_paint(canvas.cr());
}

}  // namespace qn::artgen
