// Drawing vocabulary shared by every picture of the game: the palette, rounded shapes, lettering,
// the shaded metal ball and the soft glows.
#pragma once

#include <cairo.h>

#include <cstdint>

#include "engine/random_generator.h"

namespace qn::artgen {

// The four player colours in slot order (blue, red, yellow, green) and their darker rims.
constexpr uint32_t kPlayerColor[4] = {0x2E74E8, 0xE0382C, 0xF2C21B, 0x2EAD4B};
constexpr uint32_t kPlayerDark[4] = {0x123A86, 0x7E1510, 0x8C6A04, 0x135F24};

constexpr uint32_t kSand = 0xCDAA72;       // the gravel where sprites usually sit
constexpr uint32_t kPanel = 0x16233A;      // dark navy of menus and panels
constexpr uint32_t kPanelLight = 0x24385A;
constexpr uint32_t kGold = 0xF3B941;
constexpr uint32_t kCream = 0xF6EBD2;

void setColor(cairo_t* cr, uint32_t rgb, double alpha = 1.0);
void addColorStop(cairo_pattern_t* pattern, double offset, uint32_t rgb, double alpha = 1.0);
uint32_t mix(uint32_t from, uint32_t to, double amount);

void roundedRect(cairo_t* cr, double x, double y, double width, double height, double radius);
void starPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double turn);

enum class Align { left, centre, right };
struct TextStyle {
  double size = 12;
  uint32_t color = 0xFFFFFF;
  bool bold = true;
  Align align = Align::centre;
  double outline = 0;  // width of a dark outline behind the letters, 0 for none
  uint32_t outlineColor = 0x000000;
  double shadow = 0;  // offset of a soft drop shadow, 0 for none
};
// Draws text whose baseline-independent vertical centre is at y.
void drawText(cairo_t* cr, const char* text, double x, double y, const TextStyle& style);
double textWidth(cairo_t* cr, const char* text, double size, bool bold);

// A glossy button face with a bevel: base colour, a lighter top and a dark rim.
void buttonFace(cairo_t* cr, double x, double y, double width, double height, double radius,
                uint32_t base, uint32_t rim);

// A metal boule lit from the upper left, with its engraved rings and a highlight.
void drawBall(cairo_t* cr, double cx, double cy, double radius, uint32_t base, bool engraved);

// A radial blob that fades from alpha `peak` in the middle to nothing at the ellipse's edge.
void softEllipse(cairo_t* cr, double cx, double cy, double rx, double ry, uint32_t rgb, double peak,
                 double hardness = 0.0);

// Small arrow glyphs for buttons: a triangle pointing left (-1) or right (+1).
void arrowGlyph(cairo_t* cr, double cx, double cy, double size, int direction);

// Random numbers for textures: fixed seeds, so every run draws the same grain.
double uniform(RandomGenerator& random);  // in [0, 1)

}  // namespace qn::artgen
