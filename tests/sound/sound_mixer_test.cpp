#include "sound/sound_mixer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "platform/fake_wave_output.h"
#include "platform/mapped_file.h"
#include "sound/output_format.h"
#include "tests/sound/sound_test_support.h"

namespace qn {
namespace {

using platform::FakeWaveOutput;
using platform::pcmFormat;
using test::sampleFromWave;
using test::unsignedBytes;

constexpr size_t kFrames = SoundMixer::kBlockFrames;

struct MixerOnFakeDevice {
  explicit MixerOnFakeDevice(uint32_t offered = platform::kAll8BitFormats, bool opens = true) {
    auto owned = std::make_unique<FakeWaveOutput>(offered, opens);
    device = owned.get();
    mixer = std::make_unique<SoundMixer>(22050, true, std::move(owned));
  }
  FakeWaveOutput* device;
  std::unique_ptr<SoundMixer> mixer;
};

// A device that offers every format and opens none: the output format is chosen, no worker runs,
// and only the test calls mixBlock.
struct MixerWithoutWorker : MixerOnFakeDevice {
  explicit MixerWithoutWorker(uint32_t offered = platform::kAll8BitFormats)
      : MixerOnFakeDevice(offered, false) {}
};

// A mono 8-bit ramp -50, -49, ... of `frames` frames.
SampleRef monoRamp(int frames, uint32_t rate = 22050) {
  std::vector<int> values(static_cast<size_t>(frames));
  std::iota(values.begin(), values.end(), -50);
  return sampleFromWave(pcmFormat(1, rate, 8), unsignedBytes(values));
}

SampleRef constantSample(int value, int frames) {
  return sampleFromWave(pcmFormat(1, 22050, 8),
                        unsignedBytes(std::vector<int>(static_cast<size_t>(frames), value)));
}

TEST(OutputFormat, WalksDownFromTheRateClassStereoFirst) {
  using namespace platform;
  auto chosen = chooseOutputFormat(22050, true, kAll8BitFormats);
  ASSERT_TRUE(chosen);
  EXPECT_TRUE(sameLayout(*chosen, pcmFormat(2, 22050, 8)));
  EXPECT_EQ(chosen->averageBytesPerSecond, 44100u);
  EXPECT_EQ(chosen->blockAlign, 2);

  EXPECT_EQ(chooseOutputFormat(22050, true, kMono8Bit22050)->channels, 1);
  auto stereoBeforeMono = chooseOutputFormat(44100, true, kStereo8Bit11025 | kMono8Bit44100);
  EXPECT_EQ(stereoBeforeMono->channels, 2);
  EXPECT_EQ(stereoBeforeMono->samplesPerSecond, 11025u);
  auto monoOnly = chooseOutputFormat(22050, false, kStereo8Bit22050 | kMono8Bit11025);
  EXPECT_EQ(monoOnly->channels, 1);
  EXPECT_EQ(monoOnly->samplesPerSecond, 11025u);

  EXPECT_FALSE(chooseOutputFormat(22050, true, kStereo8Bit44100 | kMono8Bit44100));  // never upward
  EXPECT_FALSE(chooseOutputFormat(48000, true, kAll8BitFormats));
  EXPECT_FALSE(chooseOutputFormat(22050, true, 0));
}

TEST(SoundMixer, OpensTheDeviceAtTheChosenFormat) {
  MixerOnFakeDevice fake;
  EXPECT_TRUE(fake.mixer->hasDevice());
  EXPECT_TRUE(platform::sameLayout(fake.device->openedFormat(), pcmFormat(2, 22050, 8)));
  EXPECT_EQ(fake.mixer->outputRate(), 22050u);

  ASSERT_TRUE(fake.mixer->chooseOutputFormat(11025, false));
  EXPECT_EQ(fake.device->openCount(), 2) << "closed and opened again";
  EXPECT_TRUE(platform::sameLayout(fake.device->openedFormat(), pcmFormat(1, 11025, 8)));

  MixerOnFakeDevice none(0);
  EXPECT_FALSE(none.mixer->hasDevice());
  EXPECT_TRUE(platform::sameLayout(none.mixer->outputFormat(), pcmFormat(2, 22050, 8)))
      << "sounds still decode, to the default format";
  none.mixer->play(monoRamp(10), 1, false);  // the channel fills; nothing is mixed
  EXPECT_TRUE(none.mixer->isBusy(1));

  MixerWithoutWorker refused;
  EXPECT_FALSE(refused.mixer->hasDevice());
  EXPECT_EQ(refused.mixer->outputRate(), 22050u) << "the format was chosen before opening failed";
}

// On a followed clock a sound is busy for its length whatever the worker does: here it is never
// mixed (no device), and 2205 frames at 22050 Hz last 100 ms.
TEST(SoundMixer, OnAFollowedClockASoundIsBusyForItsLength) {
  MixerOnFakeDevice none(0);
  uint32_t now = 1000;
  none.mixer->followClock([&now] { return now; });
  none.mixer->play(monoRamp(2205), 3, false);
  none.mixer->play(monoRamp(10), 4, true);
  none.mixer->play(monoRamp(2205), 5, false);
  none.mixer->stop(5);
  now = 1099;
  EXPECT_TRUE(none.mixer->isBusy(3));
  EXPECT_FALSE(none.mixer->isBusy(5)) << "stopped";
  now = 1100;
  EXPECT_FALSE(none.mixer->isBusy(3));
  EXPECT_TRUE(none.mixer->isBusy(4)) << "a looping sound plays until stopped";
  none.mixer->play(monoRamp(2205), 3, false);
  EXPECT_TRUE(none.mixer->isBusy(3)) << "started again";
}

// A long sound decodes on its own thread: its channel is busy at once and plays the samples from
// their start once they are ready; bytes that do not decode free the channel; a channel waiting
// for nothing (no device, nothing decoded) stays busy until it is stopped.
TEST(SoundMixer, ChannelWaitingForABackgroundDecodingPlaysOnceItIsReady) {
  MixerWithoutWorker fake;
  std::string ogg;
  ASSERT_TRUE(platform::readWholeFile(std::string(SOUND_TEST_DATA) + "/tone_mono_22050.ogg", ogg));
  SampleDecodingRef decoding = fake.mixer->decodeInBackground(std::vector<uint8_t>(ogg.begin(), ogg.end()));
  fake.mixer->play(decoding, 1, false);
  EXPECT_TRUE(fake.mixer->isBusy(1));
  SampleDecodingRef broken = fake.mixer->decodeInBackground({'O', 'g', 'g', 'S', 0, 0, 0, 0, 0, 0, 0, 0, 0});
  fake.mixer->play(broken, 2, false);
  fake.mixer->play(SampleDecodingRef(), 3, true);
  ASSERT_TRUE(decoding->wait());
  broken->wait();

  std::array<uint8_t, SoundMixer::kBlockBytes> block, expected;
  ASSERT_EQ(fake.mixer->mixBlock(block.data()), SoundMixer::kBlockBytes);
  EXPECT_FALSE(fake.mixer->isBusy(2));
  EXPECT_TRUE(fake.mixer->isBusy(3));
  MixerWithoutWorker direct;
  direct.mixer->play(decoding->samples(), 1, false);
  direct.mixer->mixBlock(expected.data());
  EXPECT_EQ(block, expected);
  fake.mixer->stop(3);
  EXPECT_FALSE(fake.mixer->isBusy(3));
}

// On a followed clock a sound still decoding is busy for its length from its `play`, whatever the
// decoding's progress: asked before its samples are there, the mixer finishes the decoding.
TEST(SoundMixer, OnAFollowedClockADecodingSoundLastsItsLengthFromItsPlay) {
  MixerWithoutWorker fake;
  uint32_t now = 1000;
  fake.mixer->followClock([&now] { return now; });
  std::string ogg;
  ASSERT_TRUE(platform::readWholeFile(std::string(SOUND_TEST_DATA) + "/tone_mono_22050.ogg", ogg));
  const std::vector<uint8_t> bytes(ogg.begin(), ogg.end());
  const SampleRef decoded = fake.mixer->decodeSound(bytes.data(), bytes.size(), PurgeMembers());
  ASSERT_TRUE(decoded);
  const uint32_t frames = static_cast<uint32_t>(decoded->size() / decoded->format().blockAlign);
  const uint32_t length = (frames * 1000 + 22049) / 22050;

  fake.mixer->play(fake.mixer->decodeInBackground(bytes), 1, false);
  fake.mixer->play(fake.mixer->decodeInBackground({'O', 'g', 'g', 'S', 0, 0, 0, 0, 0, 0, 0, 0, 0}), 2, true);
  now += length - 1;
  EXPECT_TRUE(fake.mixer->isBusy(1));
  EXPECT_FALSE(fake.mixer->isBusy(2)) << "bytes that do not decode play nothing, looping or not";
  now += 1;
  EXPECT_FALSE(fake.mixer->isBusy(1));
}

TEST(SoundMixer, OnlyChannelsOneToEightPlay) {
  MixerWithoutWorker fake;
  SampleRef sample = monoRamp(100);
  for (int channel : {0, 9, -1}) {
    fake.mixer->play(sample, channel, true);
    EXPECT_FALSE(fake.mixer->isBusy(channel));
  }
  std::array<uint8_t, SoundMixer::kBlockBytes> block;
  EXPECT_EQ(fake.mixer->mixBlock(block.data()), 0u) << "nothing plays";
  EXPECT_EQ(sample.use_count(), 1) << "no channel kept the sample";

  fake.mixer->play(sample, 8, true);
  EXPECT_TRUE(fake.mixer->isBusy(8));
  EXPECT_EQ(sample.use_count(), 2);
  fake.mixer->stop(9);
  fake.mixer->stop(0);
  EXPECT_TRUE(fake.mixer->isBusy(8));
  fake.mixer->stopAll();
  for (int channel = 0; channel <= 9; ++channel) EXPECT_FALSE(fake.mixer->isBusy(channel));
  EXPECT_EQ(sample.use_count(), 1);
}

TEST(SoundMixer, LoopingSampleRepeatsWithoutAGapAndAnEndingOneFallsSilent) {
  MixerWithoutWorker fake;
  fake.mixer->play(monoRamp(100), 1, true);
  fake.mixer->play(monoRamp(100), 2, false);
  std::array<uint8_t, SoundMixer::kBlockBytes> block;
  ASSERT_EQ(fake.mixer->mixBlock(block.data()), SoundMixer::kBlockBytes);
  for (size_t frame = 0; frame < kFrames; ++frame) {
    int looping = -50 + static_cast<int>(frame % 100);
    int ending = frame < 100 ? -50 + static_cast<int>(frame) : 0;
    ASSERT_EQ(block[2 * frame], looping + ending + 128) << "frame " << frame;
    ASSERT_EQ(block[2 * frame + 1], looping + ending + 128) << "frame " << frame;
  }
  EXPECT_TRUE(fake.mixer->isBusy(1));
  EXPECT_FALSE(fake.mixer->isBusy(2));

  // The loop goes on where the first block left it.
  ASSERT_EQ(fake.mixer->mixBlock(block.data()), SoundMixer::kBlockBytes);
  EXPECT_EQ(block[0], -50 + static_cast<int>(kFrames % 100) + 128);
}

TEST(SoundMixer, MutedItPlaysSilenceOnTheSameTimeline) {
  MixerWithoutWorker fake;
  fake.mixer->play(constantSample(40, kFrames + 10), 1, false);
  fake.mixer->setMuted(true);
  std::array<uint8_t, SoundMixer::kBlockBytes> block;
  ASSERT_EQ(fake.mixer->mixBlock(block.data()), SoundMixer::kBlockBytes) << "the device keeps being fed";
  EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](uint8_t byte) { return byte == 128; }));
  EXPECT_TRUE(fake.mixer->isBusy(1));
  fake.mixer->setMuted(false);
  ASSERT_EQ(fake.mixer->mixBlock(block.data()), SoundMixer::kBlockBytes);
  EXPECT_EQ(block[2 * 9], 40 + 128);
  EXPECT_EQ(block[2 * 10], 128) << "the sound went on while muted and ends where it would have";
  EXPECT_FALSE(fake.mixer->isBusy(1));
}

TEST(SoundMixer, FullScaleChannelsClipInsteadOfWrapping) {
  MixerWithoutWorker fake;
  std::array<uint8_t, SoundMixer::kBlockBytes> block;
  fake.mixer->play(constantSample(127, 2000), 1, false);
  fake.mixer->play(constantSample(127, 2000), 2, false);
  fake.mixer->mixBlock(block.data());
  EXPECT_EQ(block.front(), 255);
  EXPECT_EQ(block.back(), 255);

  fake.mixer->play(constantSample(-128, 2000), 1, false);
  fake.mixer->play(constantSample(-128, 2000), 2, false);
  fake.mixer->mixBlock(block.data());
  EXPECT_EQ(block.front(), 0);
  EXPECT_EQ(block.back(), 0);
}

TEST(SoundMixer, RendersEveryShapeWithNearestSampleResampling) {
  MixerWithoutWorker fake;
  std::array<uint8_t, SoundMixer::kBlockBytes> block;

  // 11025 Hz on a 22050 Hz device: every source frame is heard twice, left and right kept apart.
  fake.mixer->play(sampleFromWave(pcmFormat(2, 11025, 8), unsignedBytes({10, -10, 20, -20, 30, -30})), 1, false);
  fake.mixer->mixBlock(block.data());
  const int stereoExpected[] = {10, -10, 10, -10, 20, -20, 20, -20, 30, -30, 30, -30, 0, 0};
  for (size_t i = 0; i < std::size(stereoExpected); ++i) EXPECT_EQ(block[i], stereoExpected[i] + 128) << i;

  // 16-bit samples contribute their upper byte, sign kept; 44100 Hz skips every other frame.
  fake.mixer->play(sampleFromWave(pcmFormat(1, 44100, 16), test::littleEndian16({0x7F00, 1, -32768, 1, 0x1234})), 1, false);
  fake.mixer->mixBlock(block.data());
  const int monoExpected[] = {127, 127, -128, -128, 0x12, 0x12, 0, 0};
  for (size_t i = 0; i < std::size(monoExpected); ++i) EXPECT_EQ(block[i], monoExpected[i] + 128) << i;

  fake.mixer->play(sampleFromWave(pcmFormat(2, 22050, 16), test::littleEndian16({-256, 512, 768, -1024})), 1, false);
  fake.mixer->mixBlock(block.data());
  const int stereo16Expected[] = {-1, 2, 3, -4, 0, 0};
  for (size_t i = 0; i < std::size(stereo16Expected); ++i) EXPECT_EQ(block[i], stereo16Expected[i] + 128) << i;
}

TEST(SoundMixer, AMonoDeviceTakesOneBytePerFrame) {
  MixerWithoutWorker fake(platform::kMono8Bit22050);
  ASSERT_EQ(fake.mixer->outputFormat().channels, 1);
  fake.mixer->play(sampleFromWave(pcmFormat(2, 22050, 8), unsignedBytes({40, 20})), 1, false);
  std::array<uint8_t, SoundMixer::kBlockBytes> block;
  ASSERT_EQ(fake.mixer->mixBlock(block.data()), kFrames);
  EXPECT_EQ(block[0], 30 + 128);
  EXPECT_EQ(block[1], 128);
}

TEST(SoundMixer, ANewOutputRateRetunesPlayingChannels) {
  MixerWithoutWorker fake;
  fake.mixer->play(monoRamp(100), 1, false);
  fake.mixer->chooseOutputFormat(11025, true);
  EXPECT_EQ(fake.mixer->outputRate(), 11025u);
  std::array<uint8_t, SoundMixer::kBlockBytes> block;
  fake.mixer->mixBlock(block.data());
  EXPECT_EQ(block[0], -50 + 128);
  EXPECT_EQ(block[2], -48 + 128) << "two source frames per output frame";
}

TEST(SoundMixer, WorkerFeedsTheDeviceAndLetsItRunDry) {
  MixerOnFakeDevice fake;
  fake.mixer->play(monoRamp(100), 1, true);
  ASSERT_TRUE(fake.device->waitForQueued(2, 5000)) << "both blocks handed to the device";
  ASSERT_TRUE(fake.device->finishNextBlock());
  ASSERT_TRUE(fake.device->waitForQueued(2, 5000)) << "a returned block is refilled";

  fake.mixer->stopAll();
  while (fake.device->finishNextBlock()) {
  }
  EXPECT_FALSE(fake.device->waitForQueued(1, 100)) << "nothing plays: no further block";
  for (int channel = 1; channel <= SoundMixer::kChannelCount; ++channel)
    EXPECT_FALSE(fake.mixer->isBusy(channel));

  std::vector<uint8_t> played = fake.device->played();
  ASSERT_EQ(played.size() % SoundMixer::kBlockBytes, 0u);
  ASSERT_GE(played.size(), 2 * SoundMixer::kBlockBytes);
  for (size_t frame = 0; frame < 2 * kFrames; ++frame)
    ASSERT_EQ(played[2 * frame], -50 + static_cast<int>(frame % 100) + 128) << "frame " << frame;

  // A later play wakes the worker again.
  fake.mixer->play(monoRamp(10), 4, false);
  EXPECT_TRUE(fake.device->waitForQueued(1, 5000));
}

}  // namespace
}  // namespace qn
