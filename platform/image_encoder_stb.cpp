#include "platform/image_encoder.h"

#include <stb_image_write.h>

namespace qn::platform {

bool writePng(const std::string& path, int width, int height, const uint8_t* rgba) {
  if (width <= 0 || height <= 0 || rgba == nullptr) return false;
  return stbi_write_png(path.c_str(), width, height, 4, rgba, width * 4) != 0;
}

}  // namespace qn::platform
