#include "tools/gallery/rgba_image.h"

#include <algorithm>

#include "platform/image_decoder.h"
#include "platform/image_encoder.h"
#include "platform/mapped_file.h"

namespace qn::gallery {

RgbaImage::RgbaImage(int32_t w, int32_t h, uint32_t rgb) : width(w), height(h), pixels(static_cast<size_t>(w) * h * 4) {
  for (size_t i = 0; i < pixels.size(); i += 4) {
    pixels[i] = static_cast<uint8_t>(rgb >> 16);
    pixels[i + 1] = static_cast<uint8_t>(rgb >> 8);
    pixels[i + 2] = static_cast<uint8_t>(rgb);
    pixels[i + 3] = 255;
  }
}

void RgbaImage::paste(const RgbaImage& image, int32_t x, int32_t y) {
  const int32_t left = std::max(x, 0), right = std::min(x + image.width, width);
  if (left >= right) return;
  for (int32_t row = std::max(y, 0); row < std::min(y + image.height, height); ++row)
    std::copy_n(image.at(left - x, row - y), static_cast<size_t>(right - left) * 4, at(left, row));
}

RgbaImage RgbaImage::cropped(int32_t x, int32_t y, int32_t w, int32_t h) const {
  RgbaImage part(w, h, 0x000000);
  part.paste(*this, -x, -y);
  return part;
}

bool readPng(const std::string& path, RgbaImage& image, std::string& problem) {
  std::string bytes;
  if (!platform::readWholeFile(path, bytes)) return problem = path + ": cannot read", false;
  platform::DecodedPixels24 decoded;
  if (platform::decodeImageFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), decoded) !=
      platform::DecodeStatus::ok)
    return problem = path + ": not an image", false;
  image = RgbaImage(decoded.width, decoded.height, 0);
  for (int32_t y = 0; y < decoded.height; ++y) {  // decoded rows are bottom-up B, G, R
    const uint8_t* source = decoded.pixels.get() + static_cast<size_t>(decoded.height - 1 - y) * decoded.stride;
    for (int32_t x = 0; x < decoded.width; ++x) {
      uint8_t* target = image.at(x, y);
      target[0] = source[3 * x + 2];
      target[1] = source[3 * x + 1];
      target[2] = source[3 * x];
    }
  }
  return true;
}

bool writePng(const std::string& path, const RgbaImage& image, std::string& problem) {
  const std::string png = platform::encodePng(image.width, image.height, image.pixels.data());
  if (png.empty()) return problem = path + ": cannot encode the image", false;
  if (!platform::writeWholeFile(path, png.data(), png.size())) return problem = path + ": cannot write", false;
  return true;
}

}  // namespace qn::gallery
