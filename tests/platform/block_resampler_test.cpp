// The blocks a wave output plays, read at the device's rate: never beyond full scale, each block
// handed back when its last frame has been read, silence after the last.
#include "platform/block_resampler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace qn::platform {
namespace {

TEST(BlockResamplerTest, AFullScaleSquareAtTheDevicesRateStaysWithinFullScaleAndBlocksComeBack) {
  // 22050 Hz stereo 8-bit, the loudest square there is: 0 and 255 in turns of 5 frames.
  std::vector<uint8_t> bytes(2 * 1536);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = (i / 2 / 5) % 2 ? 255 : 0;
  WaveBlock first{bytes.data(), static_cast<uint32_t>(bytes.size())}, second{bytes.data(), static_cast<uint32_t>(bytes.size())};
  first.done = second.done = false;
  BlockResampler blocks(pcmFormat(2, 22050, 8), 48000);
  blocks.write(first);
  blocks.write(second);

  // Two blocks of 1536 frames last 3072 * 48000 / 22050 = 6687.3 frames at 48000 Hz.
  std::vector<float> out(2 * 6687);
  EXPECT_EQ(blocks.read(out.data(), 6686), 1);
  EXPECT_TRUE(first.done);
  EXPECT_FALSE(second.done) << "its last frame not read yet";
  const float loudest = *std::max_element(out.begin(), out.end(), [](float a, float b) { return std::abs(a) < std::abs(b); });
  EXPECT_FLOAT_EQ(std::abs(loudest), 1.0f) << "-1 is 0, full scale; nothing beyond it";
  EXPECT_EQ(blocks.read(out.data(), 2), 1);
  EXPECT_TRUE(second.done);

  std::vector<float> after(2 * 8);
  blocks.read(after.data(), 8);
  EXPECT_EQ(after.back(), 0.0f) << "silence once nothing is queued";

  first.done = false;
  WaveBlock empty{bytes.data(), 0};
  empty.done = false;
  blocks.write(empty);
  blocks.write(first);
  EXPECT_EQ(blocks.read(after.data(), 3), 1) << "a block too short for a frame is done, unread";
  EXPECT_TRUE(empty.done);
  blocks.clear();
  EXPECT_TRUE(first.done);
}

}  // namespace
}  // namespace qn::platform
