#include "sound/sample_conversion.h"

#include <algorithm>
#include <cstring>

#include "platform/audio_converter.h"
#include "sound/band_limited_resampler.h"

namespace qn {

namespace {

// A source whose bytes-per-second field disagrees with its other fields is converted as if
// the field were right: only the other fields describe the samples.
platform::WaveFormat withConsistentRate(platform::WaveFormat format) {
  auto bytesPerSecond = static_cast<uint32_t>(uint64_t{format.bitsPerSample} * format.channels *
                                              format.samplesPerSecond / 8);
  if (format.formatTag != platform::kWaveFormatPcm || format.averageBytesPerSecond != bytesPerSecond)
    format.averageBytesPerSecond = bytesPerSecond;
  return format;
}

// The plain proportion of widths, rates and channel counts.
double proportionalSize(size_t size, const platform::WaveFormat& from, const platform::WaveFormat& to) {
  return static_cast<double>(size) * (double(to.bitsPerSample) / from.bitsPerSample) *
         (double(to.samplesPerSecond) / from.samplesPerSecond) *
         (double(to.channels) / from.channels);
}

struct ConvertedBytes {
  std::unique_ptr<uint8_t[]> bytes;  // null when the conversion failed
  size_t size = 0;
};

// One pass of the platform's converter.
ConvertedBytes convertThroughPlatform(const platform::WaveFormat& source, const uint8_t* samples, size_t size,
                                      const platform::WaveFormat& output) {
  std::unique_ptr<platform::AudioConverter> converter = platform::openAudioConverter(source, output);
  if (!converter) return {};
  double estimate = proportionalSize(size, source, output);
  if (!(estimate < static_cast<double>(kLargestSound))) return {};
  size_t capacity = std::max(converter->outputSize(size), static_cast<size_t>(estimate));
  if (capacity > kLargestSound) return {};
  ConvertedBytes converted{allocateSampleBytes(capacity), 0};
  if (converted.bytes) converted.size = converter->convert(samples, size, converted.bytes.get(), capacity);
  return converted;
}

constexpr platform::WaveFormat floatFormat(uint16_t channels, uint32_t rate) {
  platform::WaveFormat format = platform::pcmFormat(channels, rate, 32);
  format.formatTag = platform::kWaveFormatFloat;
  return format;
}

// The platform's converter does not low-pass when it lowers a rate, so a tone above the new
// Nyquist frequency would come back as an audible alias. The rate drops in a band-limited
// resampler instead, between two platform passes that change only sample type and channels.
ConvertedBytes convertDownward(const platform::WaveFormat& source, const uint8_t* samples, size_t size,
                               const platform::WaveFormat& output) {
  const platform::WaveFormat atSourceRate = floatFormat(output.channels, source.samplesPerSecond);
  ConvertedBytes floats = convertThroughPlatform(source, samples, size, atSourceRate);
  if (!floats.bytes) return {};
  ResampledFrames resampled = resampleBandLimited(floats.bytes.get(), floats.size / atSourceRate.blockAlign,
                                                  output.channels, source.samplesPerSecond, output.samplesPerSecond);
  if (!resampled.bytes) return {};
  const platform::WaveFormat atOutputRate = floatFormat(output.channels, output.samplesPerSecond);
  return convertThroughPlatform(atOutputRate, resampled.bytes.get(), resampled.frames * atOutputRate.blockAlign,
                                output);
}

}  // namespace

SampleRef convertSamples(const platform::WaveFormat& format, const uint8_t* samples, size_t size,
                         const platform::WaveFormat& output) {
  if (platform::sameLayout(format, output)) {
    std::unique_ptr<uint8_t[]> copy = allocateSampleBytes(size);
    if (!copy) return nullptr;
    if (size) std::memcpy(copy.get(), samples, size);
    return makeSampleBuffer(output, std::move(copy), size);
  }
  const platform::WaveFormat source = withConsistentRate(format);
  const bool rateDrops = output.samplesPerSecond < source.samplesPerSecond;
  ConvertedBytes converted =
      rateDrops ? convertDownward(source, samples, size, output) : convertThroughPlatform(source, samples, size, output);
  if (!converted.bytes) return nullptr;
  return makeSampleBuffer(output, std::move(converted.bytes), converted.size);
}

}  // namespace qn
