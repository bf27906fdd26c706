// The contact sheet: every screen of the gallery in rows of five, each with its number and caption
// under it. A screen of 240 x 320 shows whole; a finer one (composed at a presentation scale, too
// large to show whole) shows 240 x 320 of its pixels around its point of interest, pixel for pixel.
#pragma once

#include <string>
#include <vector>

#include "tools/gallery/rgba_image.h"

namespace qn::gallery {

struct SheetEntry {
  const RgbaImage* screen;  // null: an empty cell (the screen was not taken)
  std::string caption;
  int detailX = 0, detailY = 0;  // the point of interest, in pixels of a 240 x 320 screen
};

RgbaImage contactSheet(const std::vector<SheetEntry>& entries);

}  // namespace qn::gallery
