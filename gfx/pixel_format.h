// Pixel formats of image buffers and the conversions to and from the working colour.
//
// The working colour of a pixel is always 0xAARRGGBB in a 32-bit word; every ink computes on it.
// Widening a 5- or 6-bit field replicates its high bits into the low ones, so white stays white
// (0x7FFF in 5-5-5 widens to 0xFFFFFFFF); narrowing truncates.
#pragma once

#include <cstdint>

namespace qn {

// Depth codes as images carry them: 1, 2, 4, 8 palette indices, 16 (5-5-5), -16 (5-6-5), 24, 32.
enum class PixelFormat : uint8_t { indexed1, indexed2, indexed4, indexed8, rgb555, rgb565, rgb888, argb8888 };
inline constexpr int kPixelFormatCount = 8;

// Depth codes outside the list mean 32 bits.
constexpr PixelFormat formatOfDepthCode(int32_t depthCode) {
  switch (depthCode) {
    case 1: return PixelFormat::indexed1;
    case 2: return PixelFormat::indexed2;
    case 4: return PixelFormat::indexed4;
    case 8: return PixelFormat::indexed8;
    case 16: return PixelFormat::rgb555;
    case -16: return PixelFormat::rgb565;
    case 24: return PixelFormat::rgb888;
    default: return PixelFormat::argb8888;
  }
}

constexpr int32_t depthCodeOf(PixelFormat format) {
  constexpr int32_t codes[kPixelFormatCount] = {1, 2, 4, 8, 16, -16, 24, 32};
  return codes[static_cast<int>(format)];
}

constexpr int32_t bitsPerPixel(PixelFormat format) {
  constexpr int32_t bits[kPixelFormatCount] = {1, 2, 4, 8, 16, 16, 24, 32};
  return bits[static_cast<int>(format)];
}

constexpr bool isIndexed(PixelFormat format) { return format <= PixelFormat::indexed8; }
constexpr bool isSixteenBit(PixelFormat format) {
  return format == PixelFormat::rgb555 || format == PixelFormat::rgb565;
}

// Bytes per row: rows are padded to whole 32-bit words. In 64 bits for any width; strideFor is
// that of images that can be made (a row of 2^31 bytes or more has no 32-bit stride).
constexpr int64_t rowBytesFor(PixelFormat format, int32_t width) {
  return ((static_cast<int64_t>(bitsPerPixel(format)) * width + 31) >> 5) * 4;
}
constexpr int32_t strideFor(PixelFormat format, int32_t width) {
  return static_cast<int32_t>(rowBytesFor(format, width));
}

inline constexpr uint32_t kOpaque = 0xFF000000u;
inline constexpr uint32_t kColourBits = 0x00FFFFFFu;

constexpr uint32_t alphaOf(uint32_t c) { return c >> 24; }
constexpr uint32_t redOf(uint32_t c) { return (c >> 16) & 0xFF; }
constexpr uint32_t greenOf(uint32_t c) { return (c >> 8) & 0xFF; }
constexpr uint32_t blueOf(uint32_t c) { return c & 0xFF; }
constexpr uint32_t packArgb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

constexpr uint32_t widen5(uint32_t v) { return (v << 3) | (v >> 2); }
constexpr uint32_t widen6(uint32_t v) { return (v << 2) | (v >> 4); }

// Bit 15 of a 5-5-5 pixel is ignored.
constexpr uint32_t widen555(uint32_t p) {
  return kOpaque | (widen5((p >> 10) & 31) << 16) | (widen5((p >> 5) & 31) << 8) | widen5(p & 31);
}
constexpr uint32_t widen565(uint32_t p) {
  return kOpaque | (widen5((p >> 11) & 31) << 16) | (widen6((p >> 5) & 63) << 8) | widen5(p & 31);
}
constexpr uint16_t narrow555(uint32_t c) {
  return static_cast<uint16_t>(((c >> 9) & 0x7C00) | ((c >> 6) & 0x03E0) | ((c >> 3) & 0x001F));
}
constexpr uint16_t narrow565(uint32_t c) {
  return static_cast<uint16_t>(((c >> 8) & 0xF800) | ((c >> 5) & 0x07E0) | ((c >> 3) & 0x001F));
}

// The 5-5-5 cell of a colour: the index into a palette's inverse table.
constexpr uint32_t cellOf(uint32_t c) { return narrow555(c); }

template <PixelFormat F>
constexpr uint32_t widen16(uint32_t p) {
  static_assert(isSixteenBit(F));
  if constexpr (F == PixelFormat::rgb555) return widen555(p);
  else return widen565(p);
}
template <PixelFormat F>
constexpr uint16_t narrow16(uint32_t c) {
  static_assert(isSixteenBit(F));
  if constexpr (F == PixelFormat::rgb555) return narrow555(c);
  else return narrow565(c);
}

// Per-channel move of d towards r by weight/256: d + ((r - d) * weight >> 8), with an arithmetic
// shift so negative differences round towards minus infinity. Applied to the colour bytes only;
// the alpha byte of the result is d's.
constexpr uint32_t blendChannel(uint32_t d, uint32_t r, int32_t weight) {
  return static_cast<uint32_t>(static_cast<int32_t>(d) +
                               ((static_cast<int32_t>(r) - static_cast<int32_t>(d)) * weight >> 8));
}
constexpr uint32_t blendColour(uint32_t d, uint32_t r, int32_t weight) {
  return (d & 0xFF000000u) | (blendChannel(redOf(d), redOf(r), weight) << 16) |
         (blendChannel(greenOf(d), greenOf(r), weight) << 8) | blendChannel(blueOf(d), blueOf(r), weight);
}
// The same on all four bytes.
constexpr uint32_t blendArgb(uint32_t d, uint32_t r, int32_t weight) {
  return (blendChannel(alphaOf(d), alphaOf(r), weight) << 24) | (blendColour(d, r, weight) & kColourBits);
}

}  // namespace qn
