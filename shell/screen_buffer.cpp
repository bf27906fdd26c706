#include "shell/screen_buffer.h"

#include <algorithm>
#include <cstring>

namespace qn {

namespace {

// Pixel formats as types: the pixel's storage and its conversion to and from 0xAARRGGBB.
struct Rgb555 {
  using Pixel = uint16_t;
  static uint32_t toArgb(Pixel p) {
    uint32_t r = (p >> 10) & 31, g = (p >> 5) & 31, b = p & 31;
    return 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << 3 | g >> 2) << 8) | (b << 3 | b >> 2);
  }
};

struct Rgb565 {
  using Pixel = uint16_t;
  static uint32_t toArgb(Pixel p) {
    uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
    return 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
  }
  static Pixel fromArgb(uint32_t c) {
    return static_cast<Pixel>(((c >> 8) & 0xF800) | ((c >> 5) & 0x07E0) | ((c >> 3) & 0x001F));
  }
};

struct Argb8888 {
  using Pixel = uint32_t;
  static uint32_t toArgb(Pixel p) { return p; }
  static Pixel fromArgb(uint32_t c) { return c; }
};

template <typename Src, typename Dst>
typename Dst::Pixel convert(typename Src::Pixel p) {
  if constexpr (std::is_same_v<Src, Dst>) {
    return p;
  } else {
    return Dst::fromArgb(Src::toArgb(p));
  }
}

// One screen row of `count` pixels from a source walked `step` bytes per pixel (along a stage
// row when upright, down or up a stage column when turned).
template <typename Src, typename Dst>
void copyRow(const uint8_t* source, ptrdiff_t step, uint8_t* target, int count) {
  auto* out = reinterpret_cast<typename Dst::Pixel*>(target);
  if constexpr (std::is_same_v<Src, Dst>) {
    if (step == static_cast<ptrdiff_t>(sizeof(typename Src::Pixel))) {
      std::memcpy(out, source, static_cast<size_t>(count) * sizeof *out);
      return;
    }
  }
  for (int i = 0; i < count; ++i, source += step) {
    typename Src::Pixel p;
    std::memcpy(&p, source, sizeof p);
    out[i] = convert<Src, Dst>(p);
  }
}

using RowCopy = void (*)(const uint8_t*, ptrdiff_t, uint8_t*, int);

template <typename Dst>
RowCopy rowCopyFrom(PixelFormat source) {
  switch (source) {
    case PixelFormat::rgb555: return copyRow<Rgb555, Dst>;
    case PixelFormat::rgb565: return copyRow<Rgb565, Dst>;
    case PixelFormat::argb8888: return copyRow<Argb8888, Dst>;
  }
  return nullptr;
}

RowCopy chooseRowCopy(PixelFormat source, PixelFormat target) {
  return target == PixelFormat::argb8888 ? rowCopyFrom<Argb8888>(source) : rowCopyFrom<Rgb565>(source);
}

}  // namespace

IntRect stageToScreen(const IntRect& s, int orientation) {
  switch (orientation) {
    case 90: return {s.top, kScreenHeight - s.right, s.bottom, kScreenHeight - s.left};
    case -90: return {kScreenWidth - s.bottom, s.left, kScreenWidth - s.top, s.right};
    default: return s;
  }
}

// The display itself is 5-6-5 or 32-bit; a 5-5-5 request is shown as 5-6-5.
ScreenBuffer::ScreenBuffer(PixelFormat format)
    : format_(format == PixelFormat::argb8888 ? format : PixelFormat::rgb565),
      pixels_(static_cast<size_t>(kScreenWidth * kScreenHeight * bytesPerPixel(format_)), 0) {}

IntRect ScreenBuffer::present(const PixelView& stage, const IntRect& stageRect, int orientation) {
  if (stage.pixels == nullptr) return {};
  if (orientation != 90 && orientation != -90) orientation = 0;
  IntRect clipped = intersection(stageRect, {0, 0, stage.width, stage.height});
  if (clipped.isEmpty()) return {};
  IntRect screen = intersection(stageToScreen(clipped, orientation), {0, 0, kScreenWidth, kScreenHeight});
  if (screen.isEmpty()) return {};

  const ptrdiff_t sourcePixel = bytesPerPixel(stage.format);
  RowCopy copy = chooseRowCopy(stage.format, format_);
  const int targetPixel = bytesPerPixel(format_);
  for (int y = screen.top; y < screen.bottom; ++y) {
    // The stage pixel shown at the row's first screen pixel, and the walk from there.
    int sx = screen.left, sy = y;
    ptrdiff_t step = sourcePixel;
    if (orientation == 90) {
      sx = kScreenHeight - 1 - y, sy = screen.left, step = stage.pitch;
    } else if (orientation == -90) {
      sx = y, sy = kScreenWidth - 1 - screen.left, step = -stage.pitch;
    }
    const uint8_t* source = stage.pixels + sy * stage.pitch + sx * sourcePixel;
    uint8_t* target = pixels_.data() + static_cast<size_t>(y * pitch() + screen.left * targetPixel);
    copy(source, step, target, screen.width());
  }
  return screen;
}

std::vector<uint8_t> ScreenBuffer::toRgba() const {
  std::vector<uint8_t> rgba(static_cast<size_t>(kScreenWidth * kScreenHeight * 4));
  std::vector<uint32_t> row(kScreenWidth);
  RowCopy toArgb = rowCopyFrom<Argb8888>(format_);
  uint8_t* out = rgba.data();
  for (int y = 0; y < kScreenHeight; ++y) {
    toArgb(pixels_.data() + static_cast<size_t>(y * pitch()), bytesPerPixel(format_),
           reinterpret_cast<uint8_t*>(row.data()), kScreenWidth);
    for (uint32_t argb : row) {
      *out++ = static_cast<uint8_t>(argb >> 16);
      *out++ = static_cast<uint8_t>(argb >> 8);
      *out++ = static_cast<uint8_t>(argb);
      *out++ = 255;
    }
  }
  return rgba;
}

}  // namespace qn
