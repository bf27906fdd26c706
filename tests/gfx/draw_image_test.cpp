// Geometry of drawImage: clipping, scaling, masks with offsets and quads.
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/draw_image.h"
#include "tests/gfx/image_test_support.h"

namespace qn {
namespace {

using test::TestImage;

// A source whose pixel (x, y) holds the value 0xFF000000 | (y << 8) | x, easy to trace back.
TestImage tracedSource(int32_t width, int32_t height) {
  TestImage source(width, height, 32);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) source.set(x, y, 0xFF000000u | (uint32_t(y) << 8) | uint32_t(x));
  return source;
}

TEST(DrawImage, ScalingTwiceSamplesEachColumnTwice) {
  TestImage source = tracedSource(10, 1);
  TestImage destination(20, 1, 32);
  BlitParams params;
  params.sourceRect = {0, 0, 10, 1};
  params.destinationRect = {0, 0, 20, 1};
  drawImage(*destination, source.get(), params);
  for (int32_t x = 0; x < 20; ++x) EXPECT_EQ(destination.at(x, 0) & 0xFF, uint32_t(x / 2)) << x;

  // Halving takes every other column; a clipped start samples from where the full draw would.
  TestImage narrow(5, 1, 32);
  narrow->setClipRect({2, 0, 5, 1});
  params.destinationRect = {0, 0, 5, 1};
  drawImage(*narrow, source.get(), params);
  EXPECT_EQ(narrow.at(1, 0), 0u);
  for (int32_t x = 2; x < 5; ++x) EXPECT_EQ(narrow.at(x, 0) & 0xFF, uint32_t(2 * x)) << x;
}

TEST(DrawImage, OutsideTheClipRectChangesNothing) {
  TestImage source = tracedSource(4, 4);
  TestImage destination(16, 16, -16);
  destination.fillRaw(0x1234);
  destination->setClipRect({0, 0, 8, 8});
  BlitParams params;
  params.sourceRect = {0, 0, 4, 4};
  params.destinationRect = {8, 8, 12, 12};
  drawImage(*destination, source.get(), params);
  params.destinationRect = {-10, -10, -6, -6};
  drawImage(*destination, source.get(), params);
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x) ASSERT_EQ(destination.at(x, y), 0x1234u);
}

TEST(DrawImage, SourceRectsBeyondTheSourceAreCut) {
  TestImage source = tracedSource(4, 4);
  TestImage destination(8, 8, 32);
  BlitParams params;
  params.sourceRect = {-2, -2, 6, 6};
  params.destinationRect = {0, 0, 8, 8};
  drawImage(*destination, source.get(), params);
  EXPECT_EQ(destination.at(1, 1), 0u);
  EXPECT_EQ(destination.at(2, 2), 0xFF000000u);
  EXPECT_EQ(destination.at(5, 3), 0xFF000103u);
  EXPECT_EQ(destination.at(6, 6), 0u);
}

TEST(DrawImage, MaskOffsetPlacesTheMaskInSourceCoordinates) {
  TestImage source = tracedSource(4, 1);
  TestImage mask(2, 1, 1);  // bit 0 = black = draw; the bits right of the mask's width do not exist
  TestImage destination(4, 1, 32);
  BlitParams params;
  params.sourceRect = params.destinationRect = {0, 0, 4, 1};
  params.ink = ink::matte;
  params.mask = mask.get();
  params.maskOffsetH = 1;
  mask.set(1, 0, 1);  // source column 2 is masked out
  drawImage(*destination, source.get(), params);
  EXPECT_EQ(destination.at(0, 0), 0u);  // outside the mask: not drawn
  EXPECT_EQ(destination.at(1, 0), 0xFF000001u);
  EXPECT_EQ(destination.at(2, 0), 0u);
  EXPECT_EQ(destination.at(3, 0), 0u);
}

TEST(DrawImage, QuadsMapTheSourceAffinely) {
  TestImage source = tracedSource(4, 4);
  TestImage destination(6, 6, 32);
  BlitParams params;
  params.sourceRect = {0, 0, 4, 4};
  // The unrotated quad equals the rect draw.
  params.quad = Quad{{{{1, 1}, {5, 1}, {5, 5}, {1, 5}}}};
  drawImage(*destination, source.get(), params);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(destination.at(x + 1, y + 1), 0xFF000000u | (y << 8) | x);
  EXPECT_EQ(destination.at(0, 0), 0u);
  EXPECT_EQ(destination.at(5, 5), 0u);

  // Flipped horizontally (corners swapped left for right) and vertically.
  TestImage flipped(4, 4, 32);
  params.quad = Quad{{{{4, 4}, {0, 4}, {0, 0}, {4, 0}}}};
  drawImage(*flipped, source.get(), params);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(flipped.at(x, y), 0xFF000000u | ((3 - y) << 8) | (3 - x)) << x << "," << y;

  // A quad twice as big doubles every pixel; one clipped by the image stays inside it.
  TestImage big(8, 8, 32);
  params.quad = Quad{{{{0, 0}, {8, 0}, {8, 8}, {0, 8}}}};
  drawImage(*big, source.get(), params);
  EXPECT_EQ(big.at(7, 7), 0xFF000303u);
  EXPECT_EQ(big.at(2, 5), 0xFF000201u);
  params.quad = Quad{{{{-100, -50}, {300, 10}, {250, 400}, {-20, 300}}}};
  drawImage(*big, source.get(), params);
}

TEST(DrawImage, RotatedQuadCoversItsArea) {
  TestImage source(20, 20, 32);
  source.fillRaw(0xFFFFFFFF);
  TestImage destination(40, 40, -16);
  BlitParams params;
  params.sourceRect = {0, 0, 20, 20};
  // A square turned by 45 degrees around (20, 20).
  params.quad = Quad{{{{20, 6}, {34, 20}, {20, 34}, {6, 20}}}};
  drawImage(*destination, source.get(), params);
  EXPECT_EQ(destination.at(20, 20), 0xFFFFu);
  EXPECT_EQ(destination.at(20, 8), 0xFFFFu);
  EXPECT_EQ(destination.at(8, 8), 0u);
  EXPECT_EQ(destination.at(32, 32), 0u);
}

TEST(DrawImage, TurnedQuadSamplesWhereTheInverseMappingPoints) {
  TestImage source = tracedSource(40, 30);
  TestImage destination(100, 100, 32);
  BlitParams params;
  params.sourceRect = {0, 0, 40, 30};
  const double angle = 30 * 3.14159265358979 / 180, c = std::cos(angle), s = std::sin(angle);
  const double originX = 40, originY = 20;  // where the top-left corner lands
  auto corner = [&](double u, double v) {
    return FloatPoint{static_cast<float>(originX + u * c - v * s), static_cast<float>(originY + u * s + v * c)};
  };
  params.quad = Quad{{corner(0, 0), corner(40, 0), corner(40, 30), corner(0, 30)}};
  drawImage(*destination, source.get(), params);
  int checked = 0, exact = 0;
  for (int32_t y = 0; y < 100; ++y)
    for (int32_t x = 0; x < 100; ++x) {
      // Rows and spans start at whole pixels, so a pixel samples where its top-left corner maps.
      const double dx = x - originX, dy = y - originY;
      const double u = dx * c + dy * s, v = -dx * s + dy * c;
      if (u < 1.5 || v < 1.5 || u > 38.5 || v > 28.5) continue;  // keep clear of the edges
      const uint32_t pixel = destination.at(x, y);
      ASSERT_NE(pixel, 0u) << x << "," << y;
      // Nearest below: the texel the corner lies in, give or take the 16.16 rounding where the
      // corner lies on a texel edge.
      const double sampledU = pixel & 0xFF, sampledV = (pixel >> 8) & 0xFF;
      EXPECT_NEAR(sampledU, std::floor(u), 1.0) << x << "," << y;
      EXPECT_NEAR(sampledV, std::floor(v), 1.0) << x << "," << y;
      exact += sampledU == std::floor(u) && sampledV == std::floor(v);
      ++checked;
    }
  EXPECT_GT(checked, 900);
  EXPECT_GT(exact, checked * 97 / 100);
}

TEST(DrawImage, SubBytePalettesAndScaling) {
  TestImage source(16, 1, 1);
  for (int32_t x = 0; x < 16; x += 3) source.set(x, 0, 1);  // white
  TestImage destination(32, 1, 32);
  BlitParams params;
  params.sourceRect = {0, 0, 16, 1};
  params.destinationRect = {0, 0, 32, 1};
  drawImage(*destination, source.get(), params);
  for (int32_t x = 0; x < 32; ++x) EXPECT_EQ(destination.at(x, 0), (x / 2) % 3 == 0 ? 0xFFFFFFFFu : 0xFF000000u) << x;
}

TEST(DrawImage, ExtremeRectsAndOffsetsDrawSafely) {
  TestImage source = tracedSource(4, 4);
  TestImage mask(4, 4, 8);
  TestImage destination(8, 8, 32);
  constexpr int32_t huge = 2'000'000'000;
  BlitParams params;
  params.sourceRect = {-huge, -huge, huge, huge};
  params.destinationRect = {-huge, -huge, huge, huge};
  drawImage(*destination, source.get(), params);  // 1:1 over four billion pixels: only the source's own
  EXPECT_EQ(destination.at(3, 3), 0xFF000303u);
  EXPECT_EQ(destination.at(4, 4), 0u);
  params.sourceRect = {0, 0, 4, 4};
  params.destinationRect = {huge, huge, -huge, -huge};  // inverted: empty
  params.mask = mask.get();
  params.ink = ink::matte;
  params.maskOffsetH = huge;
  drawImage(*destination, source.get(), params);
  params.destinationRect = {0, 0, 8, 8};
  drawImage(*destination, source.get(), params);
  params.quad = Quad{{{{-1e30f, 0}, {1e30f, 0}, {5, 5}, {0, 5}}}};
  drawImage(*destination, source.get(), params);

  // A bar 600,000 pixels long crossing the stage has its corners four times as far out at 4x: it
  // is drawn there as at 1x.
  params.mask = nullptr;
  params.ink = ink::copy;
  for (const float reach : {3e5f, 3e5f * 4}) {
    TestImage crossed(8, 8, 32);
    params.quad = Quad{{{{-reach, 0}, {reach, 0}, {reach, 8}, {-reach, 8}}}};
    drawImage(*crossed, source.get(), params);
    EXPECT_EQ(alphaOf(crossed.at(4, 4)), 0xFFu) << reach;
  }
}

// A destination that starts at the lowest integer still maps its visible columns: stretched over
// more than two billion pixels, the four source columns make the last one what the image shows.
TEST(DrawImage, DestinationFromTheLowestIntegerStillDraws) {
  TestImage source = tracedSource(4, 1);
  TestImage destination(8, 1, 32);
  BlitParams params;
  params.sourceRect = {0, 0, 4, 1};
  params.destinationRect = {INT32_MIN, 0, 8, 1};
  drawImage(*destination, source.get(), params);
  for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(destination.at(x, 0), 0xFF000003u) << x;
}

}  // namespace
}  // namespace qn
