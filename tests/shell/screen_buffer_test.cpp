#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "shell/screen_buffer.h"

namespace qn {
namespace {

// A stage whose every pixel tells where it is: 32-bit 0xFF00xxyy-like values, or 5-6-5 ones.
struct TestStage {
  TestStage(int width, int height, PixelFormat format) : bytes(bytesPerPixel(format)) {
    view = {nullptr, width, height, width * bytes, format};
    pixels.resize(static_cast<size_t>(width * height * bytes));
    view.pixels = pixels.data();
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) set(x, y, valueAt(x, y));
  }
  uint32_t valueAt(int x, int y) const {
    return bytes == 4 ? 0xFF000000u | uint32_t(x) << 12 | uint32_t(y) : uint32_t((x * 7 + y * 13) & 0xFFFF);
  }
  void set(int x, int y, uint32_t value) {
    std::memcpy(pixels.data() + (y * view.width + x) * bytes, &value, static_cast<size_t>(bytes));
  }
  int bytes;
  PixelView view;
  std::vector<uint8_t> pixels;
};

uint32_t screenPixel(const ScreenBuffer& screen, int x, int y) {
  uint32_t value = 0;
  std::memcpy(&value, screen.pixels() + y * screen.pitch() + x * bytesPerPixel(screen.format()),
              static_cast<size_t>(bytesPerPixel(screen.format())));
  return value;
}

TEST(ScreenBufferTest, PresentsUprightAndTurnedStages) {
  for (PixelFormat format : {PixelFormat::rgb565, PixelFormat::argb8888}) {
    TestStage upright(240, 320, format);
    ScreenBuffer screen(format);
    EXPECT_EQ(screen.present(upright.view, {0, 0, 240, 320}, 0), (IntRect{0, 0, 240, 320}));
    EXPECT_EQ(std::memcmp(screen.pixels(), upright.pixels.data(), upright.pixels.size()), 0);

    // A stage turned 90 degrees: the screen point (x, y) shows the stage point (319 - y, x).
    TestStage turned(320, 240, format);
    EXPECT_EQ(screen.present(turned.view, {0, 0, 320, 240}, 90), (IntRect{0, 0, 240, 320}));
    for (auto [x, y] : {std::pair{0, 0}, {239, 319}, {17, 203}, {239, 0}})
      EXPECT_EQ(screenPixel(screen, x, y), turned.valueAt(319 - y, x));
    // Turned -90: the screen point (x, y) shows the stage point (y, 239 - x).
    screen.present(turned.view, {0, 0, 320, 240}, -90);
    for (auto [x, y] : {std::pair{0, 0}, {239, 319}, {17, 203}, {0, 319}})
      EXPECT_EQ(screenPixel(screen, x, y), turned.valueAt(y, 239 - x));
  }
}

TEST(ScreenBufferTest, PresentsOnlyTheRectAndConvertsFormats) {
  TestStage stage(320, 240, PixelFormat::argb8888);
  stage.set(10, 20, 0xFFFF0000u);  // pure red
  ScreenBuffer screen(PixelFormat::rgb565);
  IntRect changed = screen.present(stage.view, {10, 20, 30, 40}, 90);
  EXPECT_EQ(changed, (IntRect{20, 290, 40, 310}));
  EXPECT_EQ(changed, stageToScreen({10, 20, 30, 40}, 90));
  EXPECT_EQ(screenPixel(screen, 20, 309), 0xF800u);  // stage (10, 20), red in 5-6-5
  EXPECT_EQ(screenPixel(screen, 19, 309), 0u);       // outside the rect: untouched
  EXPECT_EQ(screenPixel(screen, 20, 310), 0u);

  // Rects reaching past the stage are clipped; one wholly outside changes nothing.
  EXPECT_EQ(screen.present(stage.view, {300, 230, 400, 300}, 0), (IntRect{0, 0, 0, 0}));
  EXPECT_EQ(screen.present(stage.view, {-5, -5, 3, 2}, 0), (IntRect{0, 0, 3, 2}));

  // 5-6-5 widens exactly to 8 bits per channel.
  TestStage small(240, 320, PixelFormat::rgb565);
  small.set(0, 0, 0xFFFF);
  small.set(1, 0, 0x07E0);
  ScreenBuffer wide(PixelFormat::argb8888);
  wide.present(small.view, {0, 0, 2, 1}, 0);
  EXPECT_EQ(screenPixel(wide, 0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(screenPixel(wide, 1, 0), 0xFF00FF00u);
  std::vector<uint8_t> rgba = wide.toRgba();
  EXPECT_EQ(rgba.size(), 240u * 320u * 4u);
  EXPECT_EQ((std::vector<uint8_t>(rgba.begin() + 4, rgba.begin() + 8)), (std::vector<uint8_t>{0, 255, 0, 255}));
}

}  // namespace
}  // namespace qn
