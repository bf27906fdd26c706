// The packed media data at a glance (all integers little-endian):
//
//   offset 0           "QMF!" magic
//   offset 4 ...       member blobs back to back in cast order; an alpha blob follows its image
//   length - 4         the trailer word
//
// Nothing inside indexes the blobs: the cast table names each one by (offset, packed size,
// unpacked size). A blob whose two sizes are equal is stored as is; any other blob is one zlib
// stream that inflates to exactly the unpacked size. The writer (`qmftool pack`) and the reader
// share these rules so that every file the tool writes passes the runtime's checks.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qn {

inline constexpr uint32_t kMediaMagic = 0x21464D51;  // "QMF!" read as a little-endian word
inline constexpr uint32_t kTrailerKey = 0xC39E5A17;
inline constexpr uint32_t kTrailerFixedMask = 0xFF0000FF;
inline constexpr uint32_t kTrailerFixedBits = 0x58000051;
inline constexpr uint32_t kTrailerDivisor = 37;
inline constexpr int32_t kFirstBlobOffset = 4;
inline constexpr int32_t kTrailerSize = 4;

inline uint32_t readLittleEndian32(const uint8_t* bytes) {
  return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

inline bool trailerWordIsValid(uint32_t word) {
  uint32_t v = word ^ kTrailerKey;
  return (v & kTrailerFixedMask) == kTrailerFixedBits && ((v >> 8) & 0xFFFF) % kTrailerDivisor == 0;
}

// A valid trailer word; `seed` picks one of the 1772 valid middle values so that files differ.
inline uint32_t makeTrailerWord(uint32_t seed) {
  uint32_t middle = (seed % (0xFFFF / kTrailerDivisor + 1)) * kTrailerDivisor;
  return (kTrailerFixedBits | middle << 8) ^ kTrailerKey;
}

// Magic at the front and a valid trailer at the back. Data shorter than the two is not valid.
inline bool mediaBytesAreValid(const uint8_t* data, size_t length) {
  if (!data || length < kFirstBlobOffset + kTrailerSize) return false;
  return readLittleEndian32(data) == kMediaMagic &&
         trailerWordIsValid(readLittleEndian32(data + length - kTrailerSize));
}

// True when the byte range [offset, offset + size) lies inside data of `length` bytes.
inline bool rangeIsInside(int64_t offset, int64_t size, size_t length) {
  return offset >= 0 && size >= 0 && offset + size <= static_cast<int64_t>(length);
}

}  // namespace qn
