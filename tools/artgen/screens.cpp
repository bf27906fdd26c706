// The full-stage pictures: the playing field in perspective, the menu, the help page, the player
// set-up screen, the top view and the mini-map it frames.
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/artgen/member_art.h"
#include "tools/artgen/paint.h"

namespace qn::artgen {
namespace {

constexpr double kStageWidth = 240, kStageHeight = 320, kMiddle = 120;
// Perspective scale of a depth y on the field: 0.2 at the far edge, 1.0 at the bottom.
double scaleAt(double y) { return (1 + 4 * y / kStageHeight) / 5; }
// Screen x of a field point that lies `across` pixels from the centre line at full scale.
double screenX(double across, double y) { return kMiddle + across * scaleAt(y); }
// Half the width of the gravel at full scale; the boards run along this line.
constexpr double kPitchHalfWidth = 290;

// Brightens or darkens one pixel's premultiplied colour by `shift`, within its alpha.
uint32_t shifted(uint32_t word, double shift) {
  uint32_t result = word & 0xFF000000;
  for (int channelShift = 16; channelShift >= 0; channelShift -= 8) {
    const double value = ((word >> channelShift) & 0xFF) * (1 + shift);
    result |= static_cast<uint32_t>(std::clamp(value, 0.0, double(word >> 24))) << channelShift;
  }
  return result;
}

// Adds brightness noise, fainter towards the far (upper) end: one random shift per pixel of the
// member, which on a finer canvas covers that pixel's whole block, so the grain looks the same.
void addGrain(Canvas& canvas, int seed, double strength) {
  RandomGenerator random(static_cast<uint32_t>(seed));
  uint32_t* pixels = canvas.pixels();
  const int scale = canvas.scale();
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      const double shift = (uniform(random) - 0.5) * 2 * strength * (0.35 + 0.65 * y / canvas.height());
      for (int row = y * scale; row < (y + 1) * scale; ++row)
        for (int column = x * scale; column < (x + 1) * scale; ++column) {
          uint32_t& word = pixels[row * canvas.stride() + column];
          word = shifted(word, shift);
        }
    }
  }
  canvas.markDirty();
}

// Gravel: many small stones, dense and tiny far away, sparse and larger near the thrower.
void scatterPebbles(cairo_t* cr, int seed, double top, double bottom, int attempts) {
  RandomGenerator random(static_cast<uint32_t>(seed));
  for (int i = 0; i < attempts; ++i) {
    const double y = top + uniform(random) * (bottom - top);
    const double s = scaleAt(y);
    if (uniform(random) > (0.2 / s) * (0.2 / s) * 4) continue;
    const double x = uniform(random) * kStageWidth;
    const double radius = (0.6 + uniform(random) * 1.6) * s * 1.6;
    const double tone = uniform(random);
    const uint32_t stone = tone < 0.35 ? 0x8F7652 : tone < 0.55 ? 0xE3CFA6 : tone < 0.85 ? 0xB39163 : 0x6E6358;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, radius, radius * (0.55 + 0.2 * uniform(random)));
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    setColor(cr, stone, 0.3 + 0.35 * uniform(random));
    cairo_fill(cr);
    if (radius > 2.2) {  // a light top on the larger stones
      cairo_save(cr);
      cairo_translate(cr, x - radius * 0.2, y - radius * 0.25);
      cairo_scale(cr, radius * 0.5, radius * 0.25);
      cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
      cairo_restore(cr);
      setColor(cr, 0xF4E6C8, 0.5);
      cairo_fill(cr);
    }
  }
}

// The pitch as seen from the thrower, drawn into rows top..bottom of the canvas; used by the
// field and, smaller, by the menu.
void drawPitch(cairo_t* cr, Canvas& canvas, int seed, bool throwLine) {
  // Lawn around the gravel, mown in stripes that converge like the pitch.
  cairo_pattern_t* lawn = cairo_pattern_create_linear(0, 0, 0, kStageHeight);
  addColorStop(lawn, 0, 0x4F7A35);
  addColorStop(lawn, 1, 0x3B6526);
  cairo_set_source(cr, lawn);
  cairo_paint(cr);
  cairo_pattern_destroy(lawn);
  for (int stripe = -12; stripe < 12; stripe += 2) {
    cairo_move_to(cr, screenX(stripe * 60, -80 + 1e-3), -80);
    cairo_line_to(cr, screenX(stripe * 60, kStageHeight), kStageHeight);
    cairo_line_to(cr, screenX((stripe + 1) * 60, kStageHeight), kStageHeight);
    cairo_close_path(cr);
    setColor(cr, 0x6A9A45, 0.25);
    cairo_fill(cr);
  }
  // Gravel trapezoid.
  auto pitchPath = [&](double inset) {
    cairo_move_to(cr, screenX(-kPitchHalfWidth + inset, 0), 0);
    cairo_line_to(cr, screenX(kPitchHalfWidth - inset, 0), 0);
    cairo_line_to(cr, screenX(kPitchHalfWidth - inset, kStageHeight), kStageHeight);
    cairo_line_to(cr, screenX(-kPitchHalfWidth + inset, kStageHeight), kStageHeight);
    cairo_close_path(cr);
  };
  pitchPath(0);
  cairo_pattern_t* gravel = cairo_pattern_create_linear(0, 0, 0, kStageHeight);
  addColorStop(gravel, 0, 0xD9C39A);
  addColorStop(gravel, 0.45, kSand);
  addColorStop(gravel, 1, 0xB98F57);
  cairo_set_source(cr, gravel);
  cairo_fill(cr);
  cairo_pattern_destroy(gravel);
  // Raked furrows converging on the vanishing point.
  cairo_save(cr);
  pitchPath(0);
  cairo_clip(cr);
  for (int furrow = -40; furrow <= 40; ++furrow) {
    cairo_move_to(cr, screenX(furrow * 7.5, 0), 0);
    cairo_line_to(cr, screenX(furrow * 7.5, kStageHeight), kStageHeight);
  }
  cairo_set_line_width(cr, 0.6);
  setColor(cr, 0x7B5E38, 0.10);
  cairo_stroke(cr);
  // Large, soft patches of damper and drier gravel, flattened by the perspective.
  RandomGenerator patches(static_cast<uint32_t>(seed) * 7 + 1);
  for (int patch = 0; patch < 70; ++patch) {
    const double y = uniform(patches) * kStageHeight, s = scaleAt(y);
    softEllipse(cr, uniform(patches) * kStageWidth, y, (20 + uniform(patches) * 40) * s,
                (6 + uniform(patches) * 10) * s, uniform(patches) < 0.5 ? 0x8C6A3E : 0xEBD9B4, 0.22);
  }
  scatterPebbles(cr, seed, 0, kStageHeight, 26000);
  // Light from the far end, shade near the thrower's feet.
  cairo_pattern_t* light = cairo_pattern_create_radial(kMiddle, -40, 10, kMiddle, -40, 380);
  addColorStop(light, 0, 0xFFF4DC, 0.3);
  addColorStop(light, 0.6, 0xFFF4DC, 0.0);
  addColorStop(light, 1, 0x2A1A08, 0.22);
  cairo_set_source(cr, light);
  cairo_paint(cr);
  cairo_pattern_destroy(light);
  if (throwLine) {
    // The throwing line: a chalked rope across the gravel with its pegs.
    const double s = scaleAt(kThrowLineY);
    cairo_rectangle(cr, 0, kThrowLineY - 1.2 * s * 2, kStageWidth, 2.4 * s * 2);
    setColor(cr, 0x4A3A24, 0.35);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, kThrowLineY - 1.2 * s * 2 - 1, kStageWidth, 2.4 * s * 2);
    setColor(cr, 0xF7F3EA);
    cairo_fill(cr);
  }
  cairo_restore(cr);
  // Timber boards along both sides and across the far end.
  for (int side = -1; side <= 1; side += 2) {
    const double inner = side * kPitchHalfWidth, outer = side * (kPitchHalfWidth + 14);
    cairo_move_to(cr, screenX(inner, 0), 0);
    cairo_line_to(cr, screenX(outer, 0), 0);
    cairo_line_to(cr, screenX(outer, kStageHeight), kStageHeight);
    cairo_line_to(cr, screenX(inner, kStageHeight), kStageHeight);
    cairo_close_path(cr);
    cairo_pattern_t* wood = cairo_pattern_create_linear(screenX(inner, 160), 0, screenX(outer, 160), 0);
    addColorStop(wood, 0, 0x6B4523);
    addColorStop(wood, 0.3, 0xA8743F);
    addColorStop(wood, 1, 0x7A5029);
    cairo_set_source(cr, wood);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(wood);
    setColor(cr, 0x3E2610, 0.8);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
  }
  cairo_rectangle(cr, screenX(-kPitchHalfWidth - 14, 0), 0, 2 * (kPitchHalfWidth + 14) * scaleAt(0), 5);
  setColor(cr, 0x8E6033);
  cairo_fill(cr);
  cairo_rectangle(cr, screenX(-kPitchHalfWidth - 14, 0), 5, 2 * (kPitchHalfWidth + 14) * scaleAt(0), 1.5);
  setColor(cr, 0x4A2E14, 0.7);
  cairo_fill(cr);
  (void)canvas;
}

void panelBackground(cairo_t* cr, uint32_t top, uint32_t bottom) {
  cairo_pattern_t* back = cairo_pattern_create_linear(0, 0, 0, kStageHeight);
  addColorStop(back, 0, top);
  addColorStop(back, 1, bottom);
  cairo_set_source(cr, back);
  cairo_paint(cr);
  cairo_pattern_destroy(back);
}

void titleText(cairo_t* cr, const char* text, double y, double size, double x = kMiddle, Align align = Align::centre) {
  TextStyle style;
  style.size = size;
  style.color = kGold;
  style.outline = size / 9;
  style.outlineColor = 0x3A2205;
  style.shadow = size / 10;
  style.align = align;
  drawText(cr, text, x, y, style);
}

void bodyText(cairo_t* cr, const char* text, double x, double y, double size = 10,
              uint32_t color = kCream, Align align = Align::left, bool bold = false) {
  TextStyle style;
  style.size = size;
  style.color = color;
  style.bold = bold;
  style.align = align;
  drawText(cr, text, x, y, style);
}

void labelledButton(cairo_t* cr, const Box& box, const char* label, uint32_t base, uint32_t rim,
                    double size) {
  // A soft shadow under the button, then the face and its label.
  roundedRect(cr, box.x + 1, box.y + 3, box.width, box.height, box.height * 0.3);
  setColor(cr, 0x000000, 0.35);
  cairo_fill(cr);
  buttonFace(cr, box.x, box.y, box.width, box.height, std::min(10.0, box.height * 0.3), base, rim);
  TextStyle style;
  style.size = size;
  style.color = 0xFFFDF6;
  style.outline = 1.2;
  style.outlineColor = rim;
  drawText(cr, label, box.x + box.width / 2, box.y + box.height / 2, style);
}

}  // namespace

void drawField(Canvas& canvas, int) {
  drawPitch(canvas.cr(), canvas, 13, true);
  addGrain(canvas, 1313, 0.035);
}

void drawMenu(Canvas& canvas, int) {
  cairo_t* cr = canvas.cr();
  // Evening sky over the pitch.
  panelBackground(cr, 0x1B2B5C, 0xE9925A);
  softEllipse(cr, 180, 118, 70, 40, 0xFFD27A, 0.55);
  cairo_arc(cr, 180, 112, 16, 0, 2 * M_PI);
  setColor(cr, 0xFFE3A0);
  cairo_fill(cr);
  // Rolling hills and a row of plane trees on the horizon.
  cairo_move_to(cr, 0, 128);
  cairo_curve_to(cr, 60, 108, 120, 126, 170, 116);
  cairo_curve_to(cr, 200, 110, 225, 118, 240, 114);
  cairo_line_to(cr, 240, 170);
  cairo_line_to(cr, 0, 170);
  cairo_close_path(cr);
  setColor(cr, 0x3A4E3A);
  cairo_fill(cr);
  RandomGenerator random(15);
  for (int tree = 0; tree < 9; ++tree) {
    const double x = 8 + tree * 28 + uniform(random) * 10, y = 132 + uniform(random) * 6;
    const double size = 11 + uniform(random) * 6;
    cairo_rectangle(cr, x - 1.2, y, 2.4, 12);
    setColor(cr, 0x2A1E14);
    cairo_fill(cr);
    for (int blob = 0; blob < 4; ++blob) {
      cairo_arc(cr, x + (blob - 1.5) * size * 0.35, y - size * 0.3 - (blob % 2) * size * 0.3,
                size * 0.5, 0, 2 * M_PI);
    }
    setColor(cr, tree % 2 ? 0x26402A : 0x2D4A2F);
    cairo_fill(cr);
  }
  // The pitch in the lower part, with an end in progress.
  cairo_save(cr);
  cairo_rectangle(cr, 0, 150, kStageWidth, kStageHeight - 150);
  cairo_clip(cr);
  cairo_translate(cr, 0, 150);
  cairo_scale(cr, 1, (kStageHeight - 150) / kStageHeight);
  drawPitch(cr, canvas, 15, false);
  cairo_restore(cr);
  const struct { double x, y, r; int player; } balls[] = {
      {52, 292, 17, 0}, {188, 300, 18, 1}, {150, 266, 14, 2}, {86, 262, 13, 3}, {201, 258, 13, 0}};
  softEllipse(cr, 118, 279, 12, 4, 0x000000, 0.5);
  drawBall(cr, 118, 273, 6.5, 0xF4F1EA, false);
  for (const auto& ball : balls) {
    softEllipse(cr, ball.x + ball.r * 0.3, ball.y + ball.r * 0.85, ball.r * 1.3, ball.r * 0.45, 0x000000, 0.5);
    drawBall(cr, ball.x, ball.y, ball.r, kPlayerColor[ball.player], true);
  }
  // Title.
  softEllipse(cr, kMiddle, 62, 120, 50, 0x0A1230, 0.35);
  titleText(cr, "BOULES", 52, 44);
  bodyText(cr, "ONE TO FOUR PLAYERS  \xE2\x80\xA2  THREE BALLS EACH", kMiddle, 88, 8.5, 0xFFF1D6, Align::centre, true);
  // Buttons exactly where the score puts their hot spots.
  labelledButton(cr, kStartHotSpot, "START", 0x35A853, 0x124A22, 17);
  labelledButton(cr, kHelpHotSpot, "HELP", 0x2F7FD8, 0x123A70, 17);
  labelledButton(cr, kQuitHotSpot, "QUIT", 0xC9442F, 0x5C170C, 9);
  addGrain(canvas, 1515, 0.02);
}

void drawHelp(Canvas& canvas, int) {
  cairo_t* cr = canvas.cr();
  panelBackground(cr, kPanelLight, kPanel);
  // The version text ("versie", channel 500 at (187, 20)) shows over the top right corner.
  titleText(cr, "HOW TO PLAY", 24, 21, 13, Align::left);
  double y = 52;
  auto paragraph = [&](std::initializer_list<const char*> lines) {
    for (const char* line : lines) {
      bodyText(cr, line, 14, y);
      y += 12.5;
    }
    y += 5;
  };
  auto heading = [&](const char* text) {
    bodyText(cr, text, 14, y, 11, kGold, Align::left, true);
    cairo_rectangle(cr, 14, y + 7, 212, 1);
    setColor(cr, kGold, 0.4);
    cairo_fill(cr);
    y += 17;
  };
  heading("THE GAME");
  paragraph({"First the white jack is thrown. Then every", "player throws three balls at it. The one",
             "lying farthest away throws next. Closest", "ball at the end wins. Stop short of the",
             "line and it is a fault."});
  heading("WITH THE STYLUS");
  // Small copies of the field's buttons, each with what it does.
  const struct {
    uint32_t base, rim;
    const char* label;  // null: the walking arrows
    double size;
    const char* text;
  } controls[] = {{0x3F8FE0, 0x123A70, nullptr, 0, "hold to walk left or right"},
                  {0xF0A020, 0x6A3C05, "GO", 8, "tap: swing, tap again: throw"},
                  {0x5C7A96, 0x22364A, "MAP", 7.5, "look at the end from above"},
                  {0xC9442F, 0x5C170C, "MENU", 7, "give up the end, back to the menu"}};
  for (const auto& control : controls) {
    buttonFace(cr, 13, y - 8, 30, 16, 5, control.base, control.rim);
    if (control.label) {
      TextStyle style;
      style.size = control.size;
      style.color = 0xFFFDF6;
      drawText(cr, control.label, 28, y, style);
    } else {
      setColor(cr, 0xFFFDF6);
      arrowGlyph(cr, 21, y, 7, -1);
      arrowGlyph(cr, 35, y, 7, 1);
      cairo_fill(cr);
    }
    bodyText(cr, control.text, 50, y);
    y += 20;
  }
  y += 2;
  heading("ON THE KEYBOARD");
  paragraph({"Left / Right arrow: walk", "Up arrow: start the swing, then throw"});
  bodyText(cr, "The higher the swing, the farther the ball.", kMiddle, y + 2, 9.5, 0xC7D3E6, Align::centre);
  labelledButton(cr, Box{50, 290, 140, 22}, "TAP TO GO BACK", 0x35A853, 0x124A22, 10);
}

void drawSetup(Canvas& canvas, int) {
  cairo_t* cr = canvas.cr();
  panelBackground(cr, kPanelLight, kPanel);
  // Today's record: the label, and under it the well in which "closestName" (channel 191 at
  // (22, 18), 213 x 16) shows the best distance of the day.
  roundedRect(cr, 6.5, 1.5, 227, 34, 6);
  setColor(cr, 0x070C16);
  cairo_fill_preserve(cr);
  setColor(cr, kGold, 0.55);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  bodyText(cr, "Todays Record:", 22, 10, 8, kGold, Align::left, true);
  titleText(cr, "PLAYERS", 44, 14);
  bodyText(cr, "WINS", 28, 56, 8, 0xA9B8D0, Align::centre, true);
  bodyText(cr, "NAME", 109, 56, 8, 0xA9B8D0, Align::centre, true);
  bodyText(cr, "PLAYS AS", 193, 56, 8, 0xA9B8D0, Align::centre, true);
  static const char* const kSlotNames[4] = {"PLAYER 1 \xE2\x80\xA2 BLUE", "PLAYER 2 \xE2\x80\xA2 RED",
                                            "PLAYER 3 \xE2\x80\xA2 YELLOW", "PLAYER 4 \xE2\x80\xA2 GREEN"};
  for (int slot = 0; slot < 4; ++slot) {
    const double row = kSetupRowY[slot];
    roundedRect(cr, -8, row - 17, 240, 42, 8);
    setColor(cr, 0x2C4468);
    cairo_fill_preserve(cr);
    setColor(cr, kPlayerColor[slot], 0.9);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // A ball in the player's colour and the slot's caption above the name.
    drawBall(cr, 10, row - 8, 5, kPlayerColor[slot], false);
    bodyText(cr, kSlotNames[slot], 19, row - 8, 7.5, mix(kPlayerColor[slot], 0xFFFFFF, 0.35), Align::left, true);
    // The well in which the win count ("win1".."win4") and the name ("naam1".."naam4") stand.
    roundedRect(cr, -4, row - 2, 162, 25, 4);
    setColor(cr, 0x070C16);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, row, 70, 20);
    cairo_rectangle(cr, 65, row, 88, 15);
    setColor(cr, kFieldWell);
    cairo_fill(cr);
  }
  bodyText(cr, "Tap a button to switch between", kMiddle, 252, 9, 0xC7D3E6, Align::centre);
  bodyText(cr, "human, computer and not playing.", kMiddle, 263, 9, 0xC7D3E6, Align::centre);
  labelledButton(cr, kDoneHotSpot, "DONE", 0x35A853, 0x124A22, 16);
}

void drawTopView(Canvas& canvas, int) {
  cairo_t* cr = canvas.cr();
  // A dark, slightly see-through panel with a round window over the mini-map (channel 5 at
  // (121, 78), 134 x 134 around its centre).
  constexpr double kWindowX = 121, kWindowY = 78, kWindowRadius = 66;
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_rectangle(cr, 0, 0, kStageWidth, kStageHeight);
  cairo_arc(cr, kWindowX, kWindowY, kWindowRadius, 0, 2 * M_PI);
  cairo_pattern_t* back = cairo_pattern_create_linear(0, 0, 0, kStageHeight);
  addColorStop(back, 0, kPanelLight, 0.93);
  addColorStop(back, 1, kPanel, 0.97);
  cairo_set_source(cr, back);
  cairo_fill(cr);
  cairo_pattern_destroy(back);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_arc(cr, kWindowX, kWindowY, kWindowRadius + 2.5, 0, 2 * M_PI);
  cairo_set_line_width(cr, 4);
  setColor(cr, 0x7A5029);
  cairo_stroke(cr);
  cairo_arc(cr, kWindowX, kWindowY, kWindowRadius + 4.5, 0, 2 * M_PI);
  cairo_set_line_width(cr, 1);
  setColor(cr, kGold, 0.8);
  cairo_stroke(cr);
  titleText(cr, "TOP VIEW", 160, 16);
  bodyText(cr, "best ball of every player from the jack", kMiddle, 174, 8.5, 0xC7D3E6, Align::centre);
  // Rows for the result names (x 18) and distances (x 61, 200 wide, centred).
  for (int row = 0; row < 4; ++row) {
    const double y = 184 + row * 20;
    roundedRect(cr, 12, y - 2, 216, 19, 4);
    setColor(cr, kFieldWell, 0.9);
    cairo_fill(cr);
  }
  labelledButton(cr, Box{45, 282, 150, 24}, "TAP TO RETURN", 0x5C7A96, 0x22364A, 11);
}

void drawMiniMap(Canvas& canvas, int) {
  cairo_t* cr = canvas.cr();
  // Gravel disc seen from above, centred in the member; the jack's ground point is 3 pixels
  // below the centre, where the result screen measures from.
  constexpr double kCentre = 67, kJackY = 70;
  cairo_arc(cr, kCentre, kCentre, 66, 0, 2 * M_PI);
  cairo_pattern_t* gravel = cairo_pattern_create_radial(kCentre - 20, kCentre - 25, 5, kCentre, kCentre, 70);
  addColorStop(gravel, 0, 0xE2CDA3);
  addColorStop(gravel, 1, 0xB68C55);
  cairo_set_source(cr, gravel);
  cairo_fill(cr);
  cairo_pattern_destroy(gravel);
  cairo_save(cr);
  cairo_arc(cr, kCentre, kCentre, 66, 0, 2 * M_PI);
  cairo_clip(cr);
  RandomGenerator random(23);
  for (int stone = 0; stone < 900; ++stone) {
    cairo_arc(cr, uniform(random) * 134, uniform(random) * 134, 0.4 + uniform(random) * 0.9, 0, 2 * M_PI);
    setColor(cr, uniform(random) < 0.5 ? 0x8F7652 : 0xF0E2C4, 0.6);
    cairo_fill(cr);
  }
  // Distance rings: an icon at offset r lies r / 3 - 7 centimetres from the jack.
  const struct { double centimetres; const char* label; } rings[] = {{0, ""}, {5, "5"}, {10, "10"}, {15, "15"}};
  for (const auto& ring : rings) {
    const double radius = 3 * (ring.centimetres + 7);
    cairo_arc(cr, kCentre, kJackY, radius, 0, 2 * M_PI);
    setColor(cr, 0x5A3F1E, ring.centimetres == 0 ? 0.55 : 0.35);
    cairo_set_line_width(cr, ring.centimetres == 0 ? 1.2 : 0.9);
    if (ring.centimetres == 0) {
      const double dash[] = {2.5, 2};
      cairo_set_dash(cr, dash, 2, 0);
    }
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    if (*ring.label) bodyText(cr, ring.label, kCentre + radius * 0.72 + 2, kJackY - radius * 0.72 + 2, 7, 0x4A3218, Align::left, true);
  }
  cairo_restore(cr);
  softEllipse(cr, kCentre + 1, kJackY + 1, 6, 5, 0x000000, 0.4);
  drawBall(cr, kCentre, kJackY - 1, 4.5, 0xF4F1EA, false);
  cairo_arc(cr, kCentre, kCentre, 65.5, 0, 2 * M_PI);
  cairo_set_line_width(cr, 2.5);
  setColor(cr, 0x6B4523);
  cairo_stroke(cr);
}

}  // namespace qn::artgen
