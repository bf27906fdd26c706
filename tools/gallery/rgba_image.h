// The gallery's pictures: 8-bit RGBA rows top to bottom, read from and written to PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qn::gallery {

struct RgbaImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;  // width x height x 4 bytes: R, G, B, A

  RgbaImage() = default;
  RgbaImage(int32_t w, int32_t h, uint32_t rgb);  // filled with one opaque colour 0xRRGGBB

  uint8_t* at(int32_t x, int32_t y) { return pixels.data() + (static_cast<size_t>(y) * width + x) * 4; }
  const uint8_t* at(int32_t x, int32_t y) const { return pixels.data() + (static_cast<size_t>(y) * width + x) * 4; }
  // Copies `image` with its top left corner at (x, y), cut to this image.
  void paste(const RgbaImage& image, int32_t x, int32_t y);
  // The w x h pixels from (x, y) on (black where they lie outside).
  RgbaImage cropped(int32_t x, int32_t y, int32_t w, int32_t h) const;
};

// False (with the reason in `problem`) when the file cannot be read or is not an image.
bool readPng(const std::string& path, RgbaImage& image, std::string& problem);
bool writePng(const std::string& path, const RgbaImage& image, std::string& problem);

}  // namespace qn::gallery
