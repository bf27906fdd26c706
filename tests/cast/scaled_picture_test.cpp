#include <gtest/gtest.h>

#include "cast/bitmap_member.h"
#include "gfx/matte_mask.h"
#include "tests/cast/cast_fixture.h"
#include "tools/qmftool/bmp_writer.h"

namespace qn {
namespace {

using testing::bitmapRow;
using testing::CastWorld;
using testing::MediaBuilder;
using testing::pixelAt;
using testing::TestRows;

class ScaledPictureTest : public testing::CastTest {};

BitmapMember& bitmapOf(CastWorld& world, int32_t number) {
  return *dynamic_cast<BitmapMember*>(world.cast().find(memberKey(number, 1)));
}

// Member 3: black and red, side by side. Member 5: a dark centre in a white frame, as the pictures
// drawn with matte ink are. Member 8: transparent red beside opaque blue, with useAlpha.
struct SmallCast {
  TestRows rows;
  std::vector<uint8_t> media;
  SmallCast() {
    MediaBuilder builder;
    const uint8_t pair[] = {0, 0, 0, 255, 255, 0, 0, 255};
    rows.bitmaps.push_back(bitmapRow(3, 2, 1, builder.compressed(qmftool::writeBmp32(pair, 2, 1))));
    std::vector<uint8_t> framed(3 * 3 * 4, 255);
    for (int i = 0; i < 3; ++i) framed[(1 * 3 + 1) * 4 + i] = 40;
    rows.bitmaps.push_back(bitmapRow(5, 3, 3, builder.compressed(qmftool::writeBmp32(framed.data(), 3, 3))));
    const uint8_t fading[] = {255, 0, 0, 255, 0, 0, 255, 255};
    const uint8_t mask[] = {255, 0};
    BitmapRow faded = bitmapRow(8, 2, 1, builder.compressed(qmftool::writeBmp32(fading, 2, 1)));
    MediaBuilder::Blob alpha = builder.compressed(qmftool::writeBmp8(mask, 2, 1));
    faded.alphaPackedSize = alpha.packed;
    faded.alphaUnpackedSize = alpha.unpacked;
    faded.useAlpha = 1;
    rows.bitmaps.push_back(faded);
    media = builder.finish();
  }
};

TEST_F(ScaledPictureTest, WithoutASetPicturesAreTheImageEnlargedSmoothly) {
  SmallCast data;
  CastWorld world(data.media, data.rows.rows());
  BitmapMember& pair = bitmapOf(world, 3);
  EXPECT_EQ(pair.pictureAt(2), nullptr);  // not loaded: no image, no picture
  ASSERT_TRUE(pair.load());
  EXPECT_EQ(pair.pictureAt(1), pair.image());
  EXPECT_EQ(pair.matteAt(1), pair.matte());
  const int32_t unscaledSize = pair.sizeEstimate();
  ImageBuffer* four = pair.pictureAt(4);
  ASSERT_TRUE(four);
  EXPECT_EQ(pair.pictureAt(4), four);  // made once
  EXPECT_EQ(four->width(), 8);
  EXPECT_EQ(four->height(), 4);
  EXPECT_EQ(pair.width(), 2);  // the member keeps its own size
  EXPECT_EQ(pair.sizeEstimate(), unscaledSize + 32 * 8 * 4 / 8 + 1336);
  // Black to red across the middle, in even steps; the outer pixels keep their colour.
  uint32_t previous = 0;
  for (int32_t x = 0; x < 8; ++x) {
    const uint32_t red = (pixelAt(*four, x, 2) >> 16) & 0xFF;
    EXPECT_EQ(pixelAt(*four, x, 2) & 0xFFFF, 0u) << x;
    EXPECT_GE(red, previous) << x;
    previous = red;
  }
  EXPECT_EQ(pixelAt(*four, 0, 0) & 0xFFFFFF, 0x000000u);
  EXPECT_EQ(pixelAt(*four, 7, 3) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(pixelAt(*four, 3, 0) & 0xFFFFFF, 0x600000u);  // 3/8 of the way: 95.6
  EXPECT_EQ(pixelAt(*four, 4, 0) & 0xFFFFFF, 0x9F0000u);

  // The white key stays exact: the frame is pure white, the centre never mixes with it, and the
  // matte at 2x keys out all but the enlarged centre.
  BitmapMember& framed = bitmapOf(world, 5);
  ASSERT_TRUE(framed.load());
  ImageBuffer* two = framed.pictureAt(2);
  ImageBuffer* matte = framed.matteAt(2);
  ASSERT_TRUE(two && matte);
  for (int32_t y = 0; y < 6; ++y) {
    for (int32_t x = 0; x < 6; ++x) {
      const bool centre = x >= 2 && x < 4 && y >= 2 && y < 4;
      EXPECT_EQ(pixelAt(*two, x, y) & 0xFFFFFF, centre ? 0x282828u : 0xFFFFFFu) << x << "," << y;
      EXPECT_EQ(matteIsBackground(*matte, x, y), !centre) << x << "," << y;
    }
  }
  EXPECT_EQ(framed.matteAt(1)->width(), 3);

  // Alpha: the transparent red lends no colour to the blue's fading edge.
  BitmapMember& faded = bitmapOf(world, 8);
  ASSERT_TRUE(faded.load());
  ImageBuffer* fadedTwo = faded.pictureAt(2);
  ASSERT_TRUE(fadedTwo);
  EXPECT_TRUE(fadedTwo->useAlpha());
  EXPECT_EQ(pixelAt(*fadedTwo, 0, 0), 0x00000000u);
  EXPECT_EQ(pixelAt(*fadedTwo, 1, 0), 0x400000FFu);
  EXPECT_EQ(pixelAt(*fadedTwo, 2, 1), 0xBF0000FFu);
  EXPECT_EQ(pixelAt(*fadedTwo, 3, 1), 0xFF0000FFu);
  EXPECT_TRUE(matteIsBackground(*faded.matteAt(2), 0, 0));
  EXPECT_FALSE(matteIsBackground(*faded.matteAt(2), 1, 0));

  // Unloading lets the pictures go with the image.
  ASSERT_TRUE(pair.unload(false));
  EXPECT_EQ(pair.sizeEstimate(), 172);
}

}  // namespace
}  // namespace qn
