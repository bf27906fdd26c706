#include "sound/sample_conversion.h"

#include <algorithm>
#include <cstring>

#include "platform/audio_converter.h"

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
  std::unique_ptr<platform::AudioConverter> converter = platform::openAudioConverter(source, output);
  if (!converter) return nullptr;

  double estimate = proportionalSize(size, source, output);
  if (!(estimate < static_cast<double>(kLargestSound))) return nullptr;
  size_t capacity = std::max(converter->outputSize(size), static_cast<size_t>(estimate));
  if (capacity > kLargestSound) return nullptr;
  std::unique_ptr<uint8_t[]> converted = allocateSampleBytes(capacity);
  if (!converted) return nullptr;
  size_t written = converter->convert(samples, size, converted.get(), capacity);
  return makeSampleBuffer(output, std::move(converted), written);
}

}  // namespace qn
