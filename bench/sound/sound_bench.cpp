// The sound path's costs: the worker's mixing against the time a block lasts, and the load-time
// decoding and conversion of a 10-second sound. "realtime_fraction" is work time divided by the
// duration of the sound worked on (0.01 = 1 % of real time).
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/fake_wave_output.h"
#include "platform/mapped_file.h"
#include "sound/ogg_vorbis.h"
#include "sound/sample_conversion.h"
#include "sound/sound_mixer.h"

namespace {

using qn::platform::pcmFormat;
using qn::platform::WaveFormat;

const WaveFormat kOutput = pcmFormat(2, 22050, 8);

void reportRealtimeFraction(benchmark::State& state, double secondsOfSoundPerIteration) {
  state.counters["realtime_fraction"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * secondsOfSoundPerIteration,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Interleaved sine samples in the wave file convention, a different pitch per channel.
std::vector<uint8_t> sine(const WaveFormat& format, double seconds) {
  std::vector<uint8_t> bytes;
  const auto frames = static_cast<size_t>(seconds * format.samplesPerSecond);
  for (size_t frame = 0; frame < frames; ++frame)
    for (int channel = 0; channel < format.channels; ++channel) {
      double value = 0.7 * std::sin(frame * (0.03 + 0.01 * channel));
      if (format.bitsPerSample == 8) {
        bytes.push_back(static_cast<uint8_t>(128 + std::lround(value * 127)));
      } else {
        auto sample = static_cast<uint16_t>(static_cast<int16_t>(std::lround(value * 32767)));
        bytes.push_back(static_cast<uint8_t>(sample));
        bytes.push_back(static_cast<uint8_t>(sample >> 8));
      }
    }
  return bytes;
}

qn::SampleRef sampleOf(const WaveFormat& format, double seconds) {
  std::vector<uint8_t> bytes = sine(format, seconds);
  std::unique_ptr<uint8_t[]> copy = qn::allocateSampleBytes(bytes.size());
  std::copy(bytes.begin(), bytes.end(), copy.get());
  return qn::makeSampleBuffer(format, std::move(copy), bytes.size());
}

void BM_MixBlockEightChannels(benchmark::State& state) {
  // A device that never opens: no worker, only this loop mixes.
  qn::SoundMixer mixer(22050, true, std::make_unique<qn::platform::FakeWaveOutput>(
                                        qn::platform::kAll8BitFormats, false));
  const WaveFormat shapes[] = {pcmFormat(2, 22050, 8),  pcmFormat(1, 22050, 8),
                               pcmFormat(2, 44100, 16), pcmFormat(1, 11025, 16),
                               pcmFormat(2, 11025, 8),  pcmFormat(1, 44100, 8),
                               pcmFormat(2, 22050, 16), pcmFormat(1, 22050, 16)};
  int channel = 1;
  for (const WaveFormat& shape : shapes) mixer.play(sampleOf(shape, 0.3), channel++, true);
  std::vector<uint8_t> block(qn::SoundMixer::kBlockBytes);
  for (auto _ : state) benchmark::DoNotOptimize(mixer.mixBlock(block.data()));
  reportRealtimeFraction(state, double(qn::SoundMixer::kBlockFrames) / 22050);
}
BENCHMARK(BM_MixBlockEightChannels);

void BM_DecodeOggVorbisTenSeconds(benchmark::State& state) {
  std::string bytes;
  if (!qn::platform::readWholeFile(SOUND_TEST_DATA "/music_10s_44100.ogg", bytes)) {
    state.SkipWithError("music_10s_44100.ogg is missing");
    return;
  }
  for (auto _ : state) {
    auto pcm = qn::decodeOggVorbis(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), nullptr);
    benchmark::DoNotOptimize(pcm);
  }
  reportRealtimeFraction(state, 10.0);
}
BENCHMARK(BM_DecodeOggVorbisTenSeconds)->Unit(benchmark::kMillisecond);

void BM_ConvertTenSecondsOf44100Stereo16(benchmark::State& state) {
  const WaveFormat source = pcmFormat(2, 44100, 16);
  std::vector<uint8_t> samples = sine(source, 10.0);
  for (auto _ : state) benchmark::DoNotOptimize(qn::convertSamples(source, samples.data(), samples.size(), kOutput));
  reportRealtimeFraction(state, 10.0);
}
BENCHMARK(BM_ConvertTenSecondsOf44100Stereo16)->Unit(benchmark::kMillisecond);

}  // namespace
