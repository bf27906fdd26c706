#include "sound/decode_sound.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "platform/mapped_file.h"
#include "sound/ogg_vorbis.h"
#include "sound/wave_file.h"
#include "tests/sound/sound_test_support.h"

namespace qn {
namespace {

using platform::pcmFormat;
using platform::WaveFormat;
using test::unsignedBytes;

const WaveFormat kOutput = pcmFormat(2, 22050, 8);

SampleRef decode(const std::vector<uint8_t>& bytes, const WaveFormat& output = kOutput) {
  return decodeSound(bytes.data(), bytes.size(), output, nullptr);
}

std::vector<uint8_t> readTestFile(const char* name) {
  std::string contents;
  EXPECT_TRUE(platform::readWholeFile(std::string(SOUND_TEST_DATA) + "/" + name, contents)) << name;
  return {contents.begin(), contents.end()};
}

// A RIFF WAVE file from raw chunks, laid out exactly as given.
struct Chunk {
  const char* id;
  std::vector<uint8_t> body;
  uint32_t claimedSize = UINT32_MAX;  // the body's size unless given
};

std::vector<uint8_t> riff(const std::vector<Chunk>& chunks) {
  std::vector<uint8_t> out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  for (const Chunk& chunk : chunks) {
    out.insert(out.end(), chunk.id, chunk.id + 4);
    uint32_t size = chunk.claimedSize == UINT32_MAX ? static_cast<uint32_t>(chunk.body.size()) : chunk.claimedSize;
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(size >> shift));
    out.insert(out.end(), chunk.body.begin(), chunk.body.end());
  }
  return out;
}

std::vector<uint8_t> formatBody(const WaveFormat& format) {
  std::vector<uint8_t> file = writeWaveFile(format, nullptr, 0);
  return {file.begin() + 20, file.begin() + 36};
}

TEST(DecodeSound, OutputFormatWaveIsCopiedWithOnlyTheSignFlipped) {
  std::vector<uint8_t> samples = unsignedBytes({0, 1, -1, 127, -128, 64});
  SampleRef buffer = decode(writeWaveFile(kOutput, samples.data(), samples.size()));
  ASSERT_TRUE(buffer);
  EXPECT_TRUE(platform::sameLayout(buffer->format(), kOutput));
  ASSERT_EQ(buffer->size(), samples.size());
  for (size_t i = 0; i < samples.size(); ++i) EXPECT_EQ(buffer->data()[i], samples[i] ^ 0x80) << i;
}

TEST(DecodeSound, ChunksAreFoundInAnyOrderAndBothAreNeeded) {
  std::vector<uint8_t> samples = unsignedBytes({5, -5, 6, -6});
  std::vector<uint8_t> odd = {1, 2, 3};  // an odd-sized chunk: no padding byte follows it
  SampleRef dataFirst = decode(riff({{"LIST", odd}, {"data", samples}, {"fmt ", formatBody(kOutput)}}));
  ASSERT_TRUE(dataFirst);
  EXPECT_EQ(dataFirst->size(), 4u);
  EXPECT_EQ(static_cast<int8_t>(dataFirst->data()[1]), -5);

  EXPECT_FALSE(decode(riff({{"data", samples}})));
  EXPECT_FALSE(decode(riff({{"fmt ", formatBody(kOutput)}})));
  EXPECT_FALSE(decode(riff({{"fmt ", {1, 0, 2, 0}}, {"data", samples}}))) << "format record too short";
  EXPECT_FALSE(decode({'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V'})) << "fewer than 12 bytes";
  EXPECT_FALSE(decode(riff({})));
}

TEST(DecodeSound, ChunkSizesBeyondTheFileGiveNone) {
  std::vector<uint8_t> samples = unsignedBytes(std::vector<int>(64, 7));
  std::vector<uint8_t> whole = riff({{"fmt ", formatBody(kOutput)}, {"data", samples}});
  ASSERT_TRUE(decode(whole));

  EXPECT_FALSE(decode(riff({{"fmt ", formatBody(kOutput)}, {"data", samples, 0x7FFFFFF0}}))) << "lying data size";
  EXPECT_FALSE(decode(riff({{"fmt ", formatBody(kOutput), 0xFFFFFFF0}, {"data", samples}}))) << "lying format size";
  for (size_t cut = 12; cut < whole.size(); ++cut)
    EXPECT_FALSE(decode({whole.begin(), whole.begin() + static_cast<long>(cut)})) << "truncated at " << cut;

  // A damaged chunk after both needed ones only ends the walk.
  SampleRef trailing = decode(riff({{"fmt ", formatBody(kOutput)}, {"data", samples}, {"junk", {1}, 5000}}));
  ASSERT_TRUE(trailing);
  EXPECT_EQ(trailing->size(), samples.size());
}

TEST(DecodeSound, OtherLayoutsAreConvertedToTheOutputFormat) {
  // A steady half-scale 16-bit mono signal at 44100 Hz: 22050 Hz stereo at +64 on both sides.
  std::vector<int> values(4410, 0x4000);
  SampleRef converted = decode(writeWaveFile(pcmFormat(1, 44100, 16), test::littleEndian16(values).data(), values.size() * 2));
  ASSERT_TRUE(converted);
  EXPECT_TRUE(platform::sameLayout(converted->format(), kOutput));
  EXPECT_NEAR(static_cast<double>(converted->size()), 2.0 * 2205, 2 * 80);
  for (size_t i = 200; i < 2000; ++i) ASSERT_NEAR(static_cast<int8_t>(converted->data()[i]), 64, 2) << i;

  // 24-bit samples, and a bytes-per-second field that lies.
  std::vector<uint8_t> wide;
  for (int i = 0; i < 2205; ++i) wide.insert(wide.end(), {0x00, 0x00, 0xC0});  // -0.5 full scale
  WaveFormat format24 = pcmFormat(1, 22050, 24);
  format24.averageBytesPerSecond = 12345;
  SampleRef fromWide = decode(writeWaveFile(format24, wide.data(), wide.size()));
  ASSERT_TRUE(fromWide);
  EXPECT_NEAR(static_cast<int8_t>(fromWide->data()[1000]), -64, 2);

  // An 8-bit stereo file at 11025 Hz keeps its unsigned silence at zero after conversion.
  std::vector<uint8_t> quiet(2 * 1000, 128);
  SampleRef upsampled = decode(writeWaveFile(pcmFormat(2, 11025, 8), quiet.data(), quiet.size()));
  ASSERT_TRUE(upsampled);
  EXPECT_NEAR(static_cast<double>(upsampled->size()), 4000.0, 200);
  EXPECT_EQ(static_cast<int8_t>(upsampled->data()[500]), 0);
}

// Lowering the rate is band-limited: a tone above the new Nyquist frequency (15 kHz from 96 kHz
// to 22050 Hz would alias to 7050 Hz) comes out at least 40 dB down, one below it keeps its level.
TEST(DecodeSound, LoweringTheRateLeavesNoAlias) {
  constexpr double kAmplitude = 16000, kSourceRate = 96000;
  auto levelAfterConversion = [&](double hertz) {
    std::vector<int> tone(48000);
    for (size_t i = 0; i < tone.size(); ++i)
      tone[i] = static_cast<int>(kAmplitude * std::sin(2 * M_PI * hertz * static_cast<double>(i) / kSourceRate));
    SampleRef out = decode(writeWaveFile(pcmFormat(1, 96000, 16), test::littleEndian16(tone).data(), tone.size() * 2),
                           pcmFormat(1, 22050, 16));
    EXPECT_TRUE(out);
    if (!out) return 0.0;
    double sum = 0;
    const size_t frames = out->size() / 2;
    for (size_t i = 1000; i + 1000 < frames; ++i) {
      double value = static_cast<int16_t>(out->data()[2 * i] | out->data()[2 * i + 1] << 8);
      sum += value * value;
    }
    return std::sqrt(sum / static_cast<double>(frames - 2000)) * std::sqrt(2.0) / kAmplitude;
  };
  EXPECT_LT(levelAfterConversion(15000), 0.01);
  EXPECT_NEAR(levelAfterConversion(1000), 1.0, 0.03);
}

TEST(DecodeSound, LayoutsWithoutAConverterGiveNone) {
  std::vector<uint8_t> samples(400, 0x10);
  WaveFormat adpcm = pcmFormat(1, 22050, 4);
  adpcm.formatTag = 2;
  EXPECT_FALSE(decode(writeWaveFile(adpcm, samples.data(), samples.size())));
  EXPECT_FALSE(decode(writeWaveFile(pcmFormat(0, 22050, 16), samples.data(), samples.size())));
  EXPECT_FALSE(decode(writeWaveFile(pcmFormat(1, 0, 16), samples.data(), samples.size())));
  EXPECT_FALSE(decode(writeWaveFile(pcmFormat(1, 22050, 12), samples.data(), samples.size())));
  EXPECT_FALSE(decode(writeWaveFile(pcmFormat(9, 22050, 16), samples.data(), samples.size())));
  EXPECT_FALSE(decode(writeWaveFile(pcmFormat(2, 22050, 8), samples.data(), samples.size()), WaveFormat{}))
      << "no output format chosen";
}

TEST(DecodeSound, OggVorbisDecodesFromMemory) {
  for (const char* name : {"tone_mono_22050.ogg", "tone_stereo_44100.ogg"}) {
    std::vector<uint8_t> bytes = readTestFile(name);
    std::optional<DecodedPcm> pcm = decodeOggVorbis(bytes.data(), bytes.size(), nullptr);
    ASSERT_TRUE(pcm) << name;
    EXPECT_EQ(pcm->format.bitsPerSample, 16);
    EXPECT_EQ(pcm->format.blockAlign, pcm->format.channels * 2);
    EXPECT_EQ(pcm->size, pcm->format.samplesPerSecond / 2 * pcm->format.blockAlign) << "half a second";

    SampleRef buffer = decode(bytes);
    ASSERT_TRUE(buffer) << name;
    EXPECT_TRUE(platform::sameLayout(buffer->format(), kOutput));
    EXPECT_NEAR(static_cast<double>(buffer->size()), 22050.0, 200) << name;
    int loudest = 0;
    for (size_t i = 0; i < buffer->size(); ++i) loudest = std::max(loudest, std::abs(static_cast<int8_t>(buffer->data()[i])));
    EXPECT_GT(loudest, 50) << name << " is a tone at 0.6 of full scale";
  }
}

// Decoding a slice at a time (as the browser spreads a long sound over frames) takes many short
// steps and gives the very samples the whole decoding gives, whatever the slice.
TEST(DecodeSound, SlicedDecodingGivesTheSameSamples) {
  std::vector<uint8_t> bytes = readTestFile("music_10s_44100.ogg");
  SampleRef whole = decode(bytes);
  ASSERT_TRUE(whole);
  for (size_t slice : {size_t{1}, size_t{4093}, SoundDecoder::kSliceBytes}) {
    SoundDecoder decoder(bytes.data(), bytes.size(), kOutput, nullptr);
    int steps = 0;
    while (decoder.step(slice)) ++steps;
    ASSERT_TRUE(decoder.samples()) << slice;
    EXPECT_GE(steps, 16) << "slices of " << slice << " bytes";  // a read takes a sixteenth at most
    EXPECT_TRUE(std::equal(whole->data(), whole->data() + whole->size(), decoder.samples()->data(),
                           decoder.samples()->data() + decoder.samples()->size()))
        << slice;
  }
}

TEST(DecodeSound, DamagedOggGivesNoneOrSoundButNeverReadsOutside) {
  std::vector<uint8_t> bytes = readTestFile("tone_stereo_44100.ogg");
  for (size_t cut : {12, 27, 58, 200, 1000}) {
    std::vector<uint8_t> truncated(bytes.begin(), bytes.begin() + static_cast<long>(cut));
    EXPECT_FALSE(decode(truncated)) << "cut inside the headers at " << cut;
  }
  for (size_t cut = 1; cut < bytes.size(); cut += 211)
    decode({bytes.begin(), bytes.begin() + static_cast<long>(cut)});
  std::vector<uint8_t> scrambled = bytes;
  for (size_t i = 3000; i < scrambled.size(); i += 37) scrambled[i] ^= 0x5A;
  decode(scrambled);
  EXPECT_FALSE(decode(std::vector<uint8_t>(1000, 0xAB))) << "neither WAVE nor Ogg";
}

TEST(WaveFile, WrittenFilesReadBack) {
  std::vector<uint8_t> samples = test::littleEndian16({1, -2, 3, -4});
  std::vector<uint8_t> file = writeWaveFile(pcmFormat(2, 44100, 16), samples.data(), samples.size());
  std::optional<WaveContents> contents = readWaveFile(file.data(), file.size());
  ASSERT_TRUE(contents);
  EXPECT_TRUE(platform::sameLayout(contents->format, pcmFormat(2, 44100, 16)));
  ASSERT_EQ(contents->size, samples.size());
  EXPECT_EQ(std::memcmp(contents->samples, samples.data(), samples.size()), 0);
}

}  // namespace
}  // namespace qn
