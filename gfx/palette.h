// Colour palettes of indexed images. A palette is immutable once registered and shared by every
// image that uses the same colour list; the palette table owns them all for the whole run.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace qn {

class Palette {
 public:
  explicit Palette(std::span<const uint32_t> colours);

  // Entries as stored, each 0xFFRRGGBB; at most 256.
  int32_t size() const { return size_; }
  std::span<const uint32_t> colours() const { return {lookup_.data(), static_cast<size_t>(size_)}; }
  // Any index 0..255; indices past the stored list read black.
  uint32_t colour(uint32_t index) const { return lookup_[index & 0xFF]; }
  const uint32_t* lookup() const { return lookup_.data(); }

  // Index of the entry nearest to a colour by the weighted distance; the first minimum wins and an
  // exact match returns at once.
  uint8_t nearestIndex(uint32_t rgb) const;
  // 32 x 32 x 32 entries indexed by the 5-5-5 cell of a colour, built on first use.
  const uint8_t* inverseTable() const;
  uint8_t indexOf(uint32_t argb) const;

  // A colour given as palette index i counts from the end of the entries an image stores: all of
  // them, or the first 2^depth for an image of fewer bits.
  uint32_t colourCountedFromEnd(int32_t i, int32_t storedEntries = 256) const;

  bool sameColours(std::span<const uint32_t> colours) const;

 private:
  std::array<uint32_t, 256> lookup_{};
  int32_t size_;
  mutable std::unique_ptr<uint8_t[]> inverse_;
};

// Weighted distance of two colours: ((dR * 30)^2 + (dG * 59)^2 + (dB * 11)^2).
int64_t weightedDistance(uint32_t a, uint32_t b);

// Palette ids of the standard palettes.
namespace palette_id {
inline constexpr int32_t system = -1;
inline constexpr int32_t classic = -102;
inline constexpr int32_t webSafe = -8;
inline constexpr int32_t blackAndWhite = -1000;
inline constexpr int32_t grayscale = 0;  // any id not listed above
}  // namespace palette_id

// The shared palettes: one object per distinct colour list. The five standard ones are registered
// first.
class PaletteTable {
 public:
  static const Palette& standard(int32_t paletteId);
  static const Palette& blackAndWhite() { return standard(palette_id::blackAndWhite); }
  // The registered palette with exactly these colours, registered now when new.
  static const Palette& intern(std::span<const uint32_t> colours);
};

}  // namespace qn
