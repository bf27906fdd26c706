#include <gtest/gtest.h>

#include "gfx/draw_image.h"
#include "gfx/purge_service.h"
#include "tests/gfx/image_test_support.h"

namespace qn {
namespace {

using test::TestImage;

TEST(ImageBuffer, LayoutOfEveryDepth) {
  struct Case {
    int32_t depthCode, stride, depth;
  };
  for (const Case c : {Case{1, 4, 1}, Case{2, 4, 2}, Case{4, 8, 4}, Case{8, 12, 8}, Case{16, 20, 16}, Case{-16, 20, 16},
                       Case{24, 32, 24}, Case{32, 40, 32}, Case{7, 40, 32}}) {
    TestImage image(10, 3, c.depthCode);
    ASSERT_TRUE(image.get());
    EXPECT_EQ(image->stride(), c.stride) << c.depthCode;
    EXPECT_EQ(image->depth(), c.depth);
    EXPECT_EQ(image->rowStep(), -c.stride);
    EXPECT_EQ(image->row(0), image->storage() + 2 * c.stride);  // bottom-up: the top row is stored last
    EXPECT_EQ(image->row(2), image->storage());
    EXPECT_EQ(image->clipRect(), (PixelRect{0, 0, 10, 3}));
    EXPECT_EQ(image->palette() != nullptr, c.depth <= 8);
  }
  EXPECT_EQ(TestImage(1, 1, -16)->depthCode(), -16);
  EXPECT_TRUE(TestImage(1, 1, 32, 1)->useAlpha());
  EXPECT_FALSE(TestImage(1, 1, 24, 1)->useAlpha());
  EXPECT_EQ(TestImage(1, 1, 1)->palette(), &PaletteTable::blackAndWhite());
  EXPECT_EQ(TestImage(0, 5, 32)->hasPixels(), false);
}

uint64_t purgedBytes = 0;
int purgeCalls = 0;

TEST(ImageBuffer, FailedAllocationPurgesOnceThenGivesNull) {
  setPurgeService([](uint64_t bytes) {
    purgedBytes = bytes;
    ++purgeCalls;
  });
  EXPECT_EQ(ImageBuffer::create(40000, 40000, 32), nullptr);
  EXPECT_EQ(purgeCalls, 1);
  EXPECT_EQ(purgedBytes, uint64_t{32} * 40000 * 40000 / 4);
  // Rows of 2^32 bytes, whose 32-bit stride is 0: refused by their true size, not made empty.
  EXPECT_EQ(ImageBuffer::create(1 << 30, 1, 32), nullptr);
  EXPECT_EQ(ImageBuffer::create(INT32_MAX, 1, 16), nullptr);
  setPurgeService(nullptr);
}

TEST(ImageBuffer, DuplicateCopiesWholeOrPart) {
  TestImage image(6, 4, 8);
  std::mt19937 random(7);
  image.randomize(random);
  TestImage whole(image->duplicateRect(image->bounds()));
  EXPECT_TRUE(whole->samePixels(*image));
  EXPECT_EQ(whole->compare(image.value(), false), kEqual);
  TestImage part(image->duplicateRect({2, 1, 10, 3}));
  ASSERT_EQ(part->width(), 4);
  ASSERT_EQ(part->height(), 2);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(part.at(x, y), image.at(x + 2, y + 1));
  image.set(0, 0, image.at(0, 0) ^ 1);
  EXPECT_EQ(whole->compare(image.value(), false), kIncomparable);
}

TEST(ImageBuffer, WrapsDecodedRows) {
  PixelMemory rows = ImageBuffer::allocatePixels(PixelFormat::rgb888, 2, 2);
  reinterpret_cast<uint8_t*>(rows.get())[0] = 0x30;  // bottom row, first pixel, blue
  TestImage image(ImageBuffer::wrapDecoded(2, 2, 24, std::move(rows)));
  EXPECT_EQ(image->depthCode(), 24);
  EXPECT_EQ(image.at(0, 1), 0xFF000030u);
  EXPECT_EQ(TestImage(ImageBuffer::wrapDecoded(2, 2, 12, ImageBuffer::allocatePixels(PixelFormat::argb8888, 2, 2)))
                ->depthCode(),
            32);
}

}  // namespace
}  // namespace qn
