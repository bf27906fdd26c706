// Reading and writing single pixels of a row in each format, in the working colour 0xAARRGGBB.
// The per-format row loops are templates over these, so each format's loop is compiled alone.
#pragma once

#include <cstdint>
#include <cstring>

#include "gfx/palette.h"
#include "gfx/pixel_format.h"

namespace qn {

inline uint16_t load16(const uint8_t* row, int64_t x) {
  uint16_t p;
  std::memcpy(&p, row + 2 * x, 2);
  return p;
}
inline void store16(uint8_t* row, int64_t x, uint16_t p) { std::memcpy(row + 2 * x, &p, 2); }
inline uint32_t load32(const uint8_t* row, int64_t x) {
  uint32_t p;
  std::memcpy(&p, row + 4 * x, 4);
  return p;
}
inline void store32(uint8_t* row, int64_t x, uint32_t p) { std::memcpy(row + 4 * x, &p, 4); }

// The raw value of pixel x: the palette index, the 16-bit word, or the 24/32-bit colour.
template <PixelFormat F>
inline uint32_t rawPixel(const uint8_t* row, int64_t x) {
  if constexpr (F == PixelFormat::indexed1) return (row[x >> 3] >> (7 - (x & 7))) & 1;
  else if constexpr (F == PixelFormat::indexed2) return (row[x >> 2] >> (6 - 2 * (x & 3))) & 3;
  else if constexpr (F == PixelFormat::indexed4) return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
  else if constexpr (F == PixelFormat::indexed8) return row[x];
  else if constexpr (isSixteenBit(F)) return load16(row, x);
  else if constexpr (F == PixelFormat::rgb888) {
    const uint8_t* p = row + 3 * x;
    return kOpaque | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
  } else return load32(row, x);
}

// The working colour of a raw value.
template <PixelFormat F>
inline uint32_t widenRaw(uint32_t raw, const uint32_t* paletteLookup) {
  if constexpr (isIndexed(F)) return paletteLookup[raw];
  else if constexpr (isSixteenBit(F)) return widen16<F>(raw);
  else return raw;
}

template <PixelFormat F>
inline uint32_t readPixel(const uint8_t* row, int64_t x, const uint32_t* paletteLookup) {
  return widenRaw<F>(rawPixel<F>(row, x), paletteLookup);
}

// Writes a raw value (palette index, 16-bit word, colour).
template <PixelFormat F>
inline void writeRaw(uint8_t* row, int64_t x, uint32_t raw) {
  if constexpr (F == PixelFormat::indexed1) {
    const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
    row[x >> 3] = static_cast<uint8_t>((row[x >> 3] & ~bit) | ((raw & 1) ? bit : 0));
  } else if constexpr (F == PixelFormat::indexed2) {
    const int shift = 6 - 2 * static_cast<int>(x & 3);
    row[x >> 2] = static_cast<uint8_t>((row[x >> 2] & ~(3 << shift)) | ((raw & 3) << shift));
  } else if constexpr (F == PixelFormat::indexed4) {
    const int shift = (x & 1) ? 0 : 4;
    row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & ~(15 << shift)) | ((raw & 15) << shift));
  } else if constexpr (F == PixelFormat::indexed8) {
    row[x] = static_cast<uint8_t>(raw);
  } else if constexpr (isSixteenBit(F)) {
    store16(row, x, static_cast<uint16_t>(raw));
  } else if constexpr (F == PixelFormat::rgb888) {
    uint8_t* p = row + 3 * x;
    p[0] = static_cast<uint8_t>(raw);
    p[1] = static_cast<uint8_t>(raw >> 8);
    p[2] = static_cast<uint8_t>(raw >> 16);
  } else {
    store32(row, x, raw);
  }
}

// The raw value a working colour stores as (palette formats through the inverse table).
template <PixelFormat F>
inline uint32_t narrowColour(uint32_t colour, const uint8_t* inverseTable) {
  if constexpr (isIndexed(F)) return inverseTable[cellOf(colour)];
  else if constexpr (isSixteenBit(F)) return narrow16<F>(colour);
  else if constexpr (F == PixelFormat::rgb888) return colour & kColourBits;
  else return colour;
}

// Runtime-format versions for code off the hot paths (single pixels, shapes, flood fill).
uint32_t readRawPixel(PixelFormat format, const uint8_t* row, int64_t x);
void writeRawPixel(PixelFormat format, uint8_t* row, int64_t x, uint32_t raw);

}  // namespace qn
