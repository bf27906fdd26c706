#include "gfx/palette.h"

#include <algorithm>
#include <limits>

#include "gfx/pixel_format.h"

namespace qn {

Palette::Palette(std::span<const uint32_t> colours)
    : size_(static_cast<int32_t>(std::min<size_t>(colours.size(), 256))) {
  lookup_.fill(kOpaque);
  std::copy_n(colours.begin(), size_, lookup_.begin());
}

int64_t weightedDistance(uint32_t a, uint32_t b) {
  const int64_t dr = (static_cast<int64_t>(redOf(a)) - redOf(b)) * 30;
  const int64_t dg = (static_cast<int64_t>(greenOf(a)) - greenOf(b)) * 59;
  const int64_t db = (static_cast<int64_t>(blueOf(a)) - blueOf(b)) * 11;
  return dr * dr + dg * dg + db * db;
}

uint8_t Palette::nearestIndex(uint32_t rgb) const {
  int64_t best = std::numeric_limits<int64_t>::max();
  uint8_t bestIndex = 0;
  for (int32_t i = 0; i < size_; ++i) {
    const int64_t distance = weightedDistance(rgb, lookup_[i]);
    if (distance < best) {
      best = distance;
      bestIndex = static_cast<uint8_t>(i);
      if (distance == 0) break;
    }
  }
  return bestIndex;
}

const uint8_t* Palette::inverseTable() const {
  if (inverse_) return inverse_.get();
  auto table = std::make_unique<uint8_t[]>(32 * 32 * 32);
  for (uint32_t cell = 0; cell < 32 * 32 * 32; ++cell) {
    const uint32_t centre = packArgb(0xFF, ((cell >> 10) & 31) * 8 + 3, ((cell >> 5) & 31) * 8 + 3, (cell & 31) * 8 + 3);
    table[cell] = nearestIndex(centre);
  }
  for (int32_t i = 0; i < size_; ++i) table[cellOf(lookup_[i])] = static_cast<uint8_t>(i);
  inverse_ = std::move(table);
  return inverse_.get();
}

uint8_t Palette::indexOf(uint32_t argb) const { return inverseTable()[cellOf(argb)]; }

uint32_t Palette::colourCountedFromEnd(int32_t i, int32_t storedEntries) const {
  const int32_t stored = std::min(size_, storedEntries);
  const int64_t index = int64_t{stored} - 1 - i;
  return index >= 0 && index < stored ? lookup_[index] : kOpaque;
}

bool Palette::sameColours(std::span<const uint32_t> colours) const {
  return std::equal(colours.begin(), colours.end(), lookup_.begin(), lookup_.begin() + size_);
}

namespace {

constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return packArgb(0xFF, r, g, b); }

// Levels that the 6 x 6 x 6 colour cube does not already have, for the ramps of the system palette.
constexpr std::array<uint32_t, 10> kRampLevels = {17, 34, 68, 85, 119, 136, 170, 187, 221, 238};

void appendCube(std::vector<uint32_t>& out) {
  for (uint32_t r = 0; r < 6; ++r)
    for (uint32_t g = 0; g < 6; ++g)
      for (uint32_t b = 0; b < 6; ++b) out.push_back(rgb(r * 51, g * 51, b * 51));
}

// Black first, then red, green, blue and grey ramps, then the rest of the colour cube up to white.
std::vector<uint32_t> systemColours() {
  std::vector<uint32_t> cube;
  appendCube(cube);
  std::vector<uint32_t> out{cube.front()};
  for (uint32_t level : kRampLevels) out.push_back(rgb(level, 0, 0));
  for (uint32_t level : kRampLevels) out.push_back(rgb(0, level, 0));
  for (uint32_t level : kRampLevels) out.push_back(rgb(0, 0, level));
  for (uint32_t level : kRampLevels) out.push_back(rgb(level, level, level));
  out.insert(out.end(), cube.begin() + 1, cube.end());
  return out;
}

// The sixteen classic system colours, then the colour cube and a grey ramp.
std::vector<uint32_t> classicColours() {
  std::vector<uint32_t> out = {rgb(0, 0, 0),       rgb(128, 0, 0),   rgb(0, 128, 0),   rgb(128, 128, 0),
                               rgb(0, 0, 128),     rgb(128, 0, 128), rgb(0, 128, 128), rgb(192, 192, 192),
                               rgb(128, 128, 128), rgb(255, 0, 0),   rgb(0, 255, 0),   rgb(255, 255, 0),
                               rgb(0, 0, 255),     rgb(255, 0, 255), rgb(0, 255, 255), rgb(255, 255, 255)};
  appendCube(out);
  for (uint32_t i = 1; i <= 24; ++i) out.push_back(rgb(i * 10, i * 10, i * 10));
  return out;
}

// The web-safe cube, fifteen greys between its levels, and black filling the last 25 entries.
std::vector<uint32_t> webSafeColours() {
  std::vector<uint32_t> out;
  appendCube(out);
  for (uint32_t i = 1; i <= 15; ++i) out.push_back(rgb(i * 16, i * 16, i * 16));
  out.resize(256, rgb(0, 0, 0));
  return out;
}

std::vector<uint32_t> grayscaleColours() {
  std::vector<uint32_t> out;
  for (uint32_t i = 0; i < 256; ++i) out.push_back(rgb(i, i, i));
  return out;
}

struct Registry {
  std::vector<std::unique_ptr<Palette>> palettes;
  const Palette* system;
  const Palette* classic;
  const Palette* webSafe;
  const Palette* grayscale;
  const Palette* blackAndWhite;

  Registry() {
    system = &add(systemColours());
    classic = &add(classicColours());
    webSafe = &add(webSafeColours());
    grayscale = &add(grayscaleColours());
    blackAndWhite = &add(std::vector<uint32_t>{rgb(0, 0, 0), rgb(255, 255, 255)});
  }
  const Palette& add(std::span<const uint32_t> colours) {
    return *palettes.emplace_back(std::make_unique<Palette>(colours));
  }
};

Registry& registry() {
  static Registry instance;
  return instance;
}

}  // namespace

const Palette& PaletteTable::standard(int32_t paletteId) {
  const Registry& r = registry();
  switch (paletteId) {
    case palette_id::system: return *r.system;
    case palette_id::classic: return *r.classic;
    case palette_id::webSafe: return *r.webSafe;
    case palette_id::blackAndWhite: return *r.blackAndWhite;
    default: return *r.grayscale;
  }
}

const Palette& PaletteTable::intern(std::span<const uint32_t> colours) {
  Registry& r = registry();
  const size_t count = std::min<size_t>(colours.size(), 256);
  const std::span<const uint32_t> used = colours.first(count);
  for (const auto& palette : r.palettes)
    if (static_cast<size_t>(palette->size()) == count && palette->sameColours(used)) return *palette;
  return r.add(used);
}

}  // namespace qn
