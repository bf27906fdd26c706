#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "gfx/palette.h"
#include "gfx/pixel_format.h"

namespace qn {
namespace {

uint8_t bruteForceNearest(const Palette& palette, uint32_t colour) {
  int64_t best = -1;
  uint8_t index = 0;
  for (int32_t i = 0; i < palette.size(); ++i) {
    const int64_t distance = weightedDistance(colour, palette.colour(i));
    if (best < 0 || distance < best) {
      best = distance;
      index = static_cast<uint8_t>(i);
    }
  }
  return index;
}

TEST(Palette, InverseTableMatchesBruteForce) {
  for (int32_t id : {palette_id::system, palette_id::webSafe, palette_id::grayscale}) {
    const Palette& palette = PaletteTable::standard(id);
    std::vector<int32_t> exact(32 * 32 * 32, -1);  // the last entry lying in each cell
    for (int32_t i = 0; i < palette.size(); ++i) exact[cellOf(palette.colour(i))] = i;
    const uint8_t* table = palette.inverseTable();
    for (uint32_t cell = 0; cell < 32 * 32 * 32; ++cell) {
      const uint32_t centre = packArgb(255, ((cell >> 10) & 31) * 8 + 3, ((cell >> 5) & 31) * 8 + 3, (cell & 31) * 8 + 3);
      const int32_t expected = exact[cell] >= 0 ? exact[cell] : bruteForceNearest(palette, centre);
      ASSERT_EQ(table[cell], expected) << "palette " << id << " cell " << cell;
    }
  }
}

TEST(Palette, StandardPalettesHaveTheirKinds) {
  const Palette& system = PaletteTable::standard(palette_id::system);
  EXPECT_EQ(system.size(), 256);
  EXPECT_EQ(system.colour(0), 0xFF000000u);
  EXPECT_EQ(system.colour(255), 0xFFFFFFFFu);
  const Palette& classic = PaletteTable::standard(palette_id::classic);
  EXPECT_EQ(classic.colour(0), 0xFF000000u);
  EXPECT_EQ(classic.colour(9), 0xFFFF0000u);
  const Palette& web = PaletteTable::standard(palette_id::webSafe);
  EXPECT_EQ(std::set<uint32_t>(web.colours().begin(), web.colours().end()).size(), 231u);
  const Palette& grey = PaletteTable::standard(12345);
  EXPECT_EQ(grey.colour(0x80), 0xFF808080u);
  EXPECT_EQ(PaletteTable::standard(palette_id::blackAndWhite).size(), 2);
  // Palette-index colours count from the end.
  EXPECT_EQ(grey.colourCountedFromEnd(0), 0xFFFFFFFFu);
  EXPECT_EQ(grey.colourCountedFromEnd(255), 0xFF000000u);
  EXPECT_EQ(grey.colourCountedFromEnd(0, 16), 0xFF0F0F0Fu);  // a 4-bit image stores 16 entries
  EXPECT_EQ(grey.colourCountedFromEnd(300), 0xFF000000u);
}

TEST(Palette, SharedByContent) {
  std::vector<uint32_t> colours = {0xFF102030, 0xFF405060, 0xFF708090};
  const Palette& first = PaletteTable::intern(colours);
  EXPECT_EQ(&PaletteTable::intern(colours), &first);
  colours[2] = 0xFF708091;
  EXPECT_NE(&PaletteTable::intern(colours), &first);
  EXPECT_EQ(&PaletteTable::intern(PaletteTable::standard(palette_id::grayscale).colours()),
            &PaletteTable::standard(palette_id::grayscale));
  // Nearest colour: an exact entry at once, otherwise the weighted distance.
  EXPECT_EQ(first.nearestIndex(0xFF405060), 1);
  EXPECT_EQ(first.nearestIndex(0xFF000000), 0);
}

}  // namespace
}  // namespace qn
