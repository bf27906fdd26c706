// Image encoding: pixels to image file bytes (screenshots, tools). Writing them is the caller's,
// so that every file the program writes goes through one checked path.
#pragma once

#include <cstdint>
#include <string>

namespace qn::platform {

// 8-bit RGBA rows (top to bottom, `width` x 4 bytes each) as a PNG file image; empty on failure.
std::string encodePng(int width, int height, const uint8_t* rgba);

}  // namespace qn::platform
