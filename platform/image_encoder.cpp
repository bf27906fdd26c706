#include "platform/image_encoder.h"

#include <png.h>

#include <cstring>

namespace qn::platform {

// libpng's simplified interface keeps its error handling to itself: a failure is its answer 0.
std::string encodePng(int width, int height, const uint8_t* rgba) {
  std::string png;
  if (width <= 0 || height <= 0 || rgba == nullptr) return png;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (png_image_write_get_memory_size(image, size, 0, rgba, 0, nullptr) == 0) return png;
  png.resize(size);
  if (png_image_write_to_memory(&image, png.data(), &size, 0, rgba, 0, nullptr) == 0) return {};
  png.resize(size);
  return png;
}

}  // namespace qn::platform
