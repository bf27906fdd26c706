// The contact sheet: every screen of the gallery at its own size, in rows of five, each with its
// number and caption under it.
#pragma once

#include <string>
#include <vector>

#include "tools/gallery/rgba_image.h"

namespace qn::gallery {

struct SheetEntry {
  const RgbaImage* screen;  // null: an empty cell (the screen was not taken)
  std::string caption;
};

RgbaImage contactSheet(const std::vector<SheetEntry>& entries);

}  // namespace qn::gallery
