#include "shell/screen_buffer.h"

#include <cstring>

#include "gfx/present_stage.h"

namespace qn {

namespace {

uint32_t argbOf565(uint16_t p) {
  uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
  return 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

}  // namespace

ScreenBuffer::ScreenBuffer(DisplayFormat format, int scale)
    : format_(format),
      width_(kScreenWidth * scale),
      height_(kScreenHeight * scale),
      pixels_(static_cast<size_t>(width_) * height_ * bytesPerPixel(format), 0) {}

void ScreenBuffer::present(const ImageBuffer& image, const IntRect& rect, int32_t orientation) {
  const int32_t pixelBytes = bytesPerPixel(format_);
  const FrameBuffer frame{pixels_.data(), pixelBytes, pitch(), pixelBytes * 8, width_, height_};
  presentStage(image, frame, static_cast<int32_t>(format_), PixelRect{rect.left, rect.top, rect.right, rect.bottom},
               orientation);
}

std::vector<uint8_t> ScreenBuffer::toRgba() const {
  const size_t count = static_cast<size_t>(width_) * height_;
  std::vector<uint8_t> rgba(count * 4);
  for (size_t i = 0; i < count; ++i) {
    uint32_t argb;
    if (format_ == DisplayFormat::argb8888) {
      std::memcpy(&argb, pixels_.data() + i * 4, 4);
    } else {
      uint16_t pixel;
      std::memcpy(&pixel, pixels_.data() + i * 2, 2);
      argb = argbOf565(pixel);
    }
    rgba[i * 4 + 0] = static_cast<uint8_t>(argb >> 16);
    rgba[i * 4 + 1] = static_cast<uint8_t>(argb >> 8);
    rgba[i * 4 + 2] = static_cast<uint8_t>(argb);
    rgba[i * 4 + 3] = 255;
  }
  return rgba;
}

}  // namespace qn
