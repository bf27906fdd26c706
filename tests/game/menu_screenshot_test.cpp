// The program end to end: run headless for 30 frames and the screen shows the menu picture and
// the version, with the start, help and quit buttons under the score's hot spots.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/image_decoder.h"

namespace qn {
namespace {

platform::DecodedPixels24 readPng(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  platform::DecodedPixels24 image;
  EXPECT_EQ(platform::decodeImageFile(bytes.data(), bytes.size(), image), platform::DecodeStatus::ok) << path;
  return image;
}

// 0xRRGGBB of a pixel, y counted from the top.
uint32_t pixel(const platform::DecodedPixels24& image, int x, int y) {
  const uint8_t* at = image.pixels.get() + static_cast<size_t>(image.height - 1 - y) * image.stride + x * 3;
  return static_cast<uint32_t>(at[2]) << 16 | at[1] << 8 | at[0];
}

int channel(uint32_t rgb, int index) { return (rgb >> (16 - 8 * index)) & 0xFF; }

TEST(MenuScreenshot, FrameThirtyShowsTheMenuAndVersionWithItsButtonsUnderTheHotSpots) {
  const std::string shot = ::testing::TempDir() + "menu-frame-30.png";
  std::remove(shot.c_str());
  // Under the leak checker, fontconfig's process-long caches are not counted as leaks.
  const std::string command = std::string("LSAN_OPTIONS=suppressions=") + BOULES_LEAK_SUPPRESSIONS + " " +
                              BOULES_PROGRAM + " --headless --frames 30 --depth 32 --screenshot " + shot;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const platform::DecodedPixels24 screen = readPng(shot);
  const platform::DecodedPixels24 menu = readPng(BOULES_MENU_PICTURE);
  ASSERT_EQ(screen.width, 240);
  ASSERT_EQ(screen.height, 320);
  ASSERT_EQ(menu.width, 240);

  // The whole screen is the menu picture (channel 238 covers the stage), but for the version
  // text over it ("versie", channel 500: 33 x 12 at (187, 20)).
  int differing = 0, inVersion = 0;
  for (int y = 0; y < 320; ++y) {
    for (int x = 0; x < 240; ++x) {
      const bool changed = pixel(screen, x, y) != pixel(menu, x, y);
      (x >= 187 && x < 220 && y >= 20 && y < 32 ? inVersion : differing) += changed;
    }
  }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(inVersion, 10) << "the version shows";

  // Green start (channel 225 at (77, 133), 89 x 35), blue help (496 at (76, 180), 89 x 38) and
  // red quit (181 at (120, 239) around its regPoint (17, 11), 35 x 22) faces under the hot spots.
  struct Spot {
    int left, top, width, height, dominant;  // 0 red, 1 green, 2 blue
  };
  for (const Spot& spot : {Spot{77, 133, 89, 35, 1}, Spot{76, 180, 89, 38, 2}, Spot{103, 228, 35, 22, 0}}) {
    for (int y = spot.top + spot.height / 3; y < spot.top + spot.height * 2 / 3; ++y) {
      for (int x : {spot.left + 3, spot.left + spot.width - 4}) {
        const uint32_t rgb = pixel(screen, x, y);
        for (int other = 0; other < 3; ++other) {
          if (other != spot.dominant) {
            EXPECT_GT(channel(rgb, spot.dominant), channel(rgb, other) + 20) << x << "," << y;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace qn
