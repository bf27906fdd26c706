// Sample buffers and wave files built in memory for the sound tests.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/wave_format.h"
#include "sound/sample_buffer.h"

namespace qn::test {

// A buffer from samples in the wave file convention (8-bit unsigned, 16-bit signed).
inline SampleRef sampleFromWave(const platform::WaveFormat& format, const std::vector<uint8_t>& bytes) {
  std::unique_ptr<uint8_t[]> copy = allocateSampleBytes(bytes.size());
  std::copy(bytes.begin(), bytes.end(), copy.get());
  return makeSampleBuffer(format, std::move(copy), bytes.size());
}

// 8-bit samples given as signed values, stored the way a wave file does.
inline std::vector<uint8_t> unsignedBytes(const std::vector<int>& values) {
  std::vector<uint8_t> bytes;
  for (int value : values) bytes.push_back(static_cast<uint8_t>(value + 128));
  return bytes;
}

inline std::vector<uint8_t> littleEndian16(const std::vector<int>& values) {
  std::vector<uint8_t> bytes;
  for (int value : values) {
    auto sample = static_cast<uint16_t>(static_cast<int16_t>(value));
    bytes.push_back(static_cast<uint8_t>(sample));
    bytes.push_back(static_cast<uint8_t>(sample >> 8));
  }
  return bytes;
}

}  // namespace qn::test
