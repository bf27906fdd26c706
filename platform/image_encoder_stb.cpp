#include "platform/image_encoder.h"

#include <stb_image_write.h>

namespace qn::platform {

std::string encodePng(int width, int height, const uint8_t* rgba) {
  std::string png;
  if (width <= 0 || height <= 0 || rgba == nullptr) return png;
  auto append = [](void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
  };
  if (stbi_write_png_to_func(append, &png, width, height, 4, rgba, width * 4) == 0) png.clear();
  return png;
}

}  // namespace qn::platform
