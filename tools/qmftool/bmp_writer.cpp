#include "tools/qmftool/bmp_writer.h"

#include "cast/decoded_image.h"

namespace qn::qmftool {

namespace {

constexpr uint32_t kHeadersSize = 14 + 40;

void put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

std::vector<uint8_t> headers(int32_t width, int32_t height, uint16_t bits, uint32_t paletteEntries) {
  auto stride = static_cast<uint32_t>(paddedRowBytes(bits, width));
  uint32_t pixelOffset = kHeadersSize + paletteEntries * 4;
  uint32_t pixelBytes = stride * static_cast<uint32_t>(height);
  std::vector<uint8_t> out;
  out.reserve(pixelOffset + pixelBytes);
  put16(out, 19778);  // "BM"
  put32(out, pixelOffset + pixelBytes);
  put32(out, 0);
  put32(out, pixelOffset);
  put32(out, 40);
  put32(out, static_cast<uint32_t>(width));
  put32(out, static_cast<uint32_t>(height));
  put16(out, 1);
  put16(out, bits);
  put32(out, 0);  // plain pixels
  put32(out, pixelBytes);
  put32(out, 2835);  // 72 dots per inch
  put32(out, 2835);
  put32(out, paletteEntries);
  put32(out, 0);
  return out;
}

}  // namespace

std::vector<uint8_t> writeBmp32(const uint8_t* rgba, int32_t width, int32_t height) {
  std::vector<uint8_t> out = headers(width, height, 32, 0);
  for (int32_t y = height - 1; y >= 0; --y) {
    const uint8_t* row = rgba + static_cast<size_t>(y) * width * 4;
    for (int32_t x = 0; x < width; ++x) {
      const uint8_t* pixel = row + x * 4;
      out.insert(out.end(), {pixel[2], pixel[1], pixel[0], pixel[3]});
    }
  }
  return out;
}

std::vector<uint8_t> writeBmp8(const uint8_t* values, int32_t width, int32_t height) {
  std::vector<uint8_t> out = headers(width, height, 8, 256);
  for (uint32_t grey = 0; grey < 256; ++grey) out.insert(out.end(), {uint8_t(grey), uint8_t(grey), uint8_t(grey), 0});
  auto padding = static_cast<size_t>(paddedRowBytes(8, width) - width);
  for (int32_t y = height - 1; y >= 0; --y) {
    const uint8_t* row = values + static_cast<size_t>(y) * width;
    out.insert(out.end(), row, row + width);
    out.insert(out.end(), padding, 0);
  }
  return out;
}

}  // namespace qn::qmftool
