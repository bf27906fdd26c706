#include <gtest/gtest.h>

#include "gfx/shape_drawing.h"
#include "tests/gfx/image_test_support.h"

namespace qn {
namespace {

using test::TestImage;

TEST(ShapeDrawing, FilledRectInEveryFormatStaysInTheClipRect) {
  for (int32_t depth : {16, -16, 24, 32, 8}) {
    TestImage image(10, 10, depth);
    image->setClipRect({0, 0, 6, 10});
    fillRect(*image, {2, 3, 8, 5}, 0xFF0000);
    const uint32_t red = pixelValueOf(*image, 0xFF0000) & 0xFFFFFF;
    auto colourAt = [&](int32_t x, int32_t y) { return image.at(x, y) & 0xFFFFFF; };  // 24 bits read opaque
    EXPECT_EQ(colourAt(2, 3), red) << depth;
    EXPECT_EQ(colourAt(5, 4), red) << depth;
    EXPECT_EQ(colourAt(6, 4), 0u) << depth;  // clipped
    EXPECT_EQ(colourAt(2, 5), 0u) << depth;
    EXPECT_EQ(colourAt(1, 3), 0u) << depth;
  }
  EXPECT_EQ(pixelValueOf(*TestImage(1, 1, 16), 0xFFFFFF), 0x7FFFu);
  EXPECT_EQ(pixelValueOf(*TestImage(1, 1, 32), 0x123456), 0xFF123456u);
  EXPECT_EQ(pixelValueOf(*TestImage(1, 1, 8), 0xFFFFFF), 255u);
}

TEST(ShapeDrawing, OutlinesAreBandsInsideTheBounds) {
  TestImage image(20, 20, 32);
  outlineShape(*image, {2, 2, 12, 12}, ShapeKind::rect, 2, 0xFFFFFF);
  EXPECT_EQ(image.at(2, 2), 0xFFFFFFFFu);
  EXPECT_EQ(image.at(3, 7), 0xFFFFFFFFu);
  EXPECT_EQ(image.at(4, 7), 0u);
  EXPECT_EQ(image.at(11, 11), 0xFFFFFFFFu);
  EXPECT_EQ(image.at(12, 12), 0u);

  TestImage oval(21, 11, -16);
  fillShape(*oval, {0, 0, 21, 11}, ShapeKind::oval, 0, 0xFFFFFF, 0);
  EXPECT_EQ(oval.at(10, 5), 0xFFFFu);
  EXPECT_EQ(oval.at(0, 5), 0xFFFFu);
  EXPECT_EQ(oval.at(0, 0), 0u);
  EXPECT_EQ(oval.at(20, 10), 0u);
  for (int32_t y = 0; y < 11; ++y)  // symmetric left to right
    for (int32_t x = 0; x < 21; ++x) ASSERT_EQ(oval.at(x, y), oval.at(20 - x, y)) << x << "," << y;

  TestImage rounded(40, 40, 24);
  fillShape(*rounded, {0, 0, 40, 40}, ShapeKind::roundRect, 2, 0x00FF00, 0xFF0000);
  EXPECT_EQ(rounded.at(0, 0), 0xFF000000u);             // the corner is cut off
  EXPECT_EQ(rounded.at(20, 0), 0xFFFF0000u);            // the outline
  EXPECT_EQ(rounded.at(20, 20), 0xFF00FF00u);           // the inside
}

TEST(ShapeDrawing, LinesWithAPenWidth) {
  TestImage image(10, 10, 8);
  drawLine(*image, 0, 0, 9, 9, 1, 0xFFFFFF);
  for (int32_t i = 0; i < 9; ++i) EXPECT_EQ(image.at(i, i), 255u);
  EXPECT_EQ(image.at(9, 9), 0u);  // the last point is not drawn
  EXPECT_EQ(image.at(1, 0), 0u);
  TestImage thick(10, 10, 32);
  drawLine(*thick, 1, 5, 8, 5, 3, 0xFFFFFF);
  EXPECT_EQ(thick.at(4, 4), 0xFFFFFFFFu);
  EXPECT_EQ(thick.at(4, 6), 0xFFFFFFFFu);
  EXPECT_EQ(thick.at(4, 7), 0u);
}

}  // namespace
}  // namespace qn
