// The matte algorithm: which pixels the border-connected fill marks as background.
#include <gtest/gtest.h>

#include "gfx/matte_mask.h"
#include "gfx/shape_drawing.h"

namespace qn {
namespace {

TEST(MatteMask, MarksBorderConnectedWhite) {
  // 5 x 5, white everywhere except a black ring around a white centre: the centre stays.
  Value image = Value::adopt(ImageBuffer::create(5, 5, 32));
  ImageBuffer& pixels = *imageBufferOf(image);
  fillRect(pixels, pixels.bounds(), 0xFFFFFF);
  for (int32_t i = 1; i <= 3; ++i)
    for (int32_t j : {1, 3}) {
      fillRect(pixels, PixelRect{i, j, i + 1, j + 1}, 0x000000);
      fillRect(pixels, PixelRect{j, i, j + 1, i + 1}, 0x000000);
    }
  Value matte = Value::adopt(buildMatteMask(pixels, 1));
  ImageBuffer& mask = *imageBufferOf(matte);
  EXPECT_TRUE(matteIsBackground(mask, 0, 0));
  EXPECT_TRUE(matteIsBackground(mask, 4, 2));
  EXPECT_FALSE(matteIsBackground(mask, 1, 1));
  EXPECT_FALSE(matteIsBackground(mask, 2, 2));  // white, but walled in
  EXPECT_FALSE(mask.noBorder());

  // No white on the border: nothing is background, and the mask says so.
  fillRect(pixels, pixels.bounds(), 0x102030);
  Value clear = Value::adopt(buildMatteMask(pixels, 1));
  EXPECT_FALSE(matteIsBackground(*imageBufferOf(clear), 0, 0));
  EXPECT_TRUE(imageBufferOf(clear)->noBorder());
}

}  // namespace
}  // namespace qn
