// Writing an image buffer of any depth as an RGBA PNG file, for the qmftool commands that show
// what the runtime decoded. 32-bit images keep their alpha when they use it; others are opaque.
#pragma once

#include <string>

#include "gfx/image_buffer.h"

namespace qn::tools {

bool writePng(const ImageBuffer& image, const std::string& path);

}  // namespace qn::tools
