// The program's icon as the window shows it: square RGBA bytes made by tools/icongen from the
// game's art at build time.
#pragma once

namespace qn {

extern const int kWindowIconSize;
extern const unsigned char kWindowIconRgba[];

}  // namespace qn
