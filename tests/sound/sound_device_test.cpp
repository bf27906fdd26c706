// Runs with SDL's disk audio driver (set by the test's environment): the mixer's worker thread
// feeds a real SDL audio device, whose output lands in a file, in floats at the device's rate
// (the disk driver's is the mixer's own, so every sample arrives as it is). SoundWithoutDevice
// runs with the dummy driver instead.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "platform/mapped_file.h"
#include "platform/platform.h"
#include "sound/sound_mixer.h"
#include "sound/wave_file.h"
#include "tests/sound/sound_test_support.h"

namespace qn {
namespace {

TEST(SoundDevice, APlayedSampleReachesTheAudioDevice) {
  std::vector<int> pattern;
  uint32_t state = 12345;
  // 5000 stereo frames of noise, none silent: more than both blocks hold, so the whole sample is
  // heard only when the device hands blocks back.
  for (int i = 0; i < 2 * 5000; ++i) {
    state = state * 1103515245u + 12345u;
    pattern.push_back(static_cast<int>((state >> 16) % 200) - 100 + ((state >> 16) % 200 >= 100));
  }
  {
    SoundMixer mixer(22050, true, platform::makeSystemWaveOutput());
    ASSERT_TRUE(mixer.hasDevice());
    mixer.play(test::sampleFromWave(platform::pcmFormat(2, 22050, 8), test::unsignedBytes(pattern)), 3, false);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (mixer.isBusy(3) && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(mixer.isBusy(3)) << "the worker mixed the sample to its end";
    platform::sleepMilliseconds(400);  // the last block plays out
  }
  std::string bytes;
  ASSERT_TRUE(platform::readWholeFile(DISK_AUDIO_FILE, bytes));
  std::vector<float> written(bytes.size() / sizeof(float));
  std::memcpy(written.data(), bytes.data(), written.size() * sizeof(float));
  std::vector<float> expected;
  for (int value : pattern) expected.push_back(static_cast<float>(value) / 128);
  auto found = std::search(written.begin(), written.end(), expected.begin(), expected.end());
  ASSERT_NE(found, written.end()) << "the sample is in the device output (" << written.size() << " samples)";
  EXPECT_EQ(*(found + static_cast<long>(expected.size())), 0.0f) << "silence follows";
}

// Sounds still decode, so that on a followed clock they last their length.
TEST(SoundWithoutDevice, TheDummyDriverIsNoDeviceAndSoundsDecodeToTheDefaultFormat) {
  SoundMixer mixer(22050, true, platform::makeSystemWaveOutput());
  EXPECT_FALSE(mixer.hasDevice());
  EXPECT_TRUE(platform::sameLayout(mixer.outputFormat(), platform::pcmFormat(2, 22050, 8)));
  std::vector<uint8_t> samples = test::unsignedBytes(std::vector<int>(64, 9));
  std::vector<uint8_t> wave = writeWaveFile(platform::pcmFormat(2, 22050, 8), samples.data(), samples.size());
  EXPECT_TRUE(mixer.decodeSound(wave.data(), wave.size(), nullptr));
  mixer.stopAll();
  EXPECT_FALSE(mixer.isBusy(1));
}

}  // namespace
}  // namespace qn
