// Image encoding: writes pixels to image files (screenshots, tools).
#pragma once

#include <cstdint>
#include <string>

namespace qn::platform {

// Writes 8-bit RGBA rows (top to bottom, `width` x 4 bytes each) as a PNG file; false on failure.
bool writePng(const std::string& path, int width, int height, const uint8_t* rgba);

}  // namespace qn::platform
