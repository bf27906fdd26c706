#include "tools/png_output.h"

#include <vector>

#include "gfx/draw_image.h"
#include "platform/image_encoder.h"
#include "platform/mapped_file.h"

namespace qn::tools {

bool writePng(const ImageBuffer& image, const std::string& path) {
  if (!image.hasPixels()) return false;
  // Every depth reaches 32 bits through a copy-ink draw, which knows all pixel formats.
  Value widened;
  const ImageBuffer* pixels = &image;
  if (image.format() != PixelFormat::argb8888) {
    widened = Value::adopt(ImageBuffer::create(image.width(), image.height(), 32));
    ImageBuffer* target = imageBufferOf(widened);
    if (!target) return false;
    BlitParams params;
    params.destinationRect = params.sourceRect = image.bounds();
    drawImage(*target, &image, params);
    pixels = target;
  }
  bool keepAlpha = image.useAlpha();
  std::vector<uint8_t> rgba(static_cast<size_t>(image.width()) * image.height() * 4);
  for (int32_t y = 0; y < image.height(); ++y) {
    const uint8_t* row = pixels->row(y);
    uint8_t* out = rgba.data() + static_cast<size_t>(y) * image.width() * 4;
    for (int32_t x = 0; x < image.width(); ++x) {
      out[4 * x + 0] = row[4 * x + 2];
      out[4 * x + 1] = row[4 * x + 1];
      out[4 * x + 2] = row[4 * x + 0];
      out[4 * x + 3] = keepAlpha ? row[4 * x + 3] : 255;
    }
  }
  std::string png = platform::encodePng(image.width(), image.height(), rgba.data());
  return !png.empty() && platform::writeWholeFile(path, png.data(), png.size());
}

}  // namespace qn::tools
