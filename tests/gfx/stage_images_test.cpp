// The stage image service (composition steps on the stage image, script drawing enlarged onto the
// screen image) and presenting a stage on a device screen in every orientation.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/present_stage.h"
#include "gfx/stage_images.h"
#include "tests/gfx/image_test_support.h"

namespace qn {
namespace {

class FakeScreen {
 public:
  FakeScreen(int32_t width, int32_t height, int32_t format)
      : width_(width), height_(height), format_(format), bytes_(format == kDisplay32 ? 4 : 2),
        pixels(static_cast<size_t>(width * height * bytes_)) {}

  void show(const Value& stage, const PixelRect& windowRect, int32_t orientation) {
    presentStage(*imageBufferOf(stage), {pixels.data(), bytes_, bytes_ * width_, bytes_ * 8, width_, height_}, format_,
                 windowRect, orientation);
  }

  uint32_t at(int32_t x, int32_t y) const {
    const uint8_t* p = pixels.data() + (y * width_ + x) * bytes_;
    return bytes_ == 4 ? load32(p, 0) : load16(p, 0);
  }

 private:
  int32_t width_, height_, format_, bytes_;

 public:
  std::vector<uint8_t> pixels;
};

// A stage whose pixel (x, y) holds x + 16 * y as a 5-6-5 value.
Value tracedStage(StageImages& service, int32_t width, int32_t height) {
  Value stage = service.createStageImage(width, height, -16);
  ImageBuffer* image = imageBufferOf(stage);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) store16(image->row(y), x, static_cast<uint16_t>(x + 16 * y));
  return stage;
}

TEST(StageImages, PresentsInEveryOrientation) {
  FakeScreen screen(4, 6, kDisplay565);
  StageImages service;
  const Value upright = tracedStage(service, 4, 6);
  screen.show(upright, {1, 1, 3, 3}, 0);
  EXPECT_EQ(screen.at(1, 1), 1u + 16);
  EXPECT_EQ(screen.at(2, 2), 2u + 32);
  EXPECT_EQ(screen.at(3, 3), 0u);  // outside the rect

  // A 6 x 4 stage turned by 90 degrees: window (x, y) shows stage (5 - y, x).
  const Value turned = tracedStage(service, 6, 4);
  screen.show(turned, {0, 0, 4, 6}, 90);
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(screen.at(x, y), uint32_t((5 - y) + 16 * x)) << x << "," << y;
  screen.show(turned, {0, 0, 4, 6}, -90);  // window (x, y) shows stage (y, 3 - x)
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(screen.at(x, y), uint32_t(y + 16 * (3 - x))) << x << "," << y;
}

TEST(StageImages, ConvertsToTheScreenFormat) {
  FakeScreen screen(2, 1, kDisplay32);
  StageImages service;
  const Value stage = service.createStageImage(2, 1, -16);
  store16(imageBufferOf(stage)->row(0), 0, 0xF800);
  screen.show(stage, {0, 0, 2, 1}, 0);
  EXPECT_EQ(screen.at(0, 0), 0xFFFF0000u);
  EXPECT_EQ(screen.at(1, 0), 0xFF000000u);
}

TEST(StageImages, FillsInsideTheClipAndReportsAndEnlargesScriptDrawing) {
  StageImages service;
  std::vector<IntRect> reported;
  service.setChangeListener([&](const IntRect& rect) { reported.push_back(rect); });
  const Value stage = service.createStageImage(8, 8, -16);
  service.setClip(stage, {0, 0, 4, 8});
  service.fill(stage, {0, 0, 8, 8}, 0xFFFFFF);
  const ImageBuffer* image = imageBufferOf(stage);
  EXPECT_EQ(load16(image->row(5), 3), 0xFFFF);
  EXPECT_EQ(load16(image->row(5), 4), 0x0000);
  EXPECT_TRUE(reported.empty());  // composition is not script drawing

  const Value object = service.imageObject(stage);
  object.call(sym::setPixel, 6, 6, 0x1234);
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported[0], (IntRect{6, 6, 7, 7}));
  EXPECT_EQ(load16(image->row(6), 6), 0x1234);

  // Enlarged three times onto a white screen: stage pixels 5 to 7 of row 6 (black, the drawn
  // pixel, black) become squares of 3 x 3; nothing else changes, and the area is cut to the stage.
  const Value screen = service.createStageImage(24, 24, -16);
  service.fill(screen, {0, 0, 24, 24}, 0xFFFFFF);
  service.enlarge(stage, screen, {5, 6, 12, 7}, 3);
  const ImageBuffer* enlarged = imageBufferOf(screen);
  for (int32_t y = 17; y <= 21; ++y)
    for (int32_t x = 14; x < 24; ++x) {
      const uint32_t expected = y < 18 || y > 20 || x < 15 ? 0xFFFF : x >= 18 && x <= 20 ? 0x1234 : 0;
      EXPECT_EQ(load16(enlarged->row(y), x), expected) << x << "," << y;
    }
}

}  // namespace
}  // namespace qn
