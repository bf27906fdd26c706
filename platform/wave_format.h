// The wave format record that describes PCM sample data: what a sound file declares, what a
// decoded sample buffer holds and what the output device is opened with.
#pragma once

#include <cstdint>

namespace qn::platform {

inline constexpr uint16_t kWaveFormatPcm = 1;
inline constexpr uint16_t kWaveFormatFloat = 3;

// The 18-byte record of a RIFF "fmt " chunk, field for field.
struct WaveFormat {
  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t samplesPerSecond = 0;
  uint32_t averageBytesPerSecond = 0;
  uint16_t blockAlign = 0;  // bytes per frame
  uint16_t bitsPerSample = 0;
  uint16_t extraSize = 0;  // bytes of format-specific data after the record; 0 for PCM
};

// A PCM record with the derived fields (block align, bytes per second) filled in.
constexpr WaveFormat pcmFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
  uint16_t frameBytes = static_cast<uint16_t>(channels * (bits / 8));
  return {kWaveFormatPcm, channels, rate, rate * frameBytes, frameBytes, bits, 0};
}

// Two records describe the same sample layout when all fields but the extra size agree.
constexpr bool sameLayout(const WaveFormat& a, const WaveFormat& b) {
  return a.formatTag == b.formatTag && a.channels == b.channels &&
         a.samplesPerSecond == b.samplesPerSecond &&
         a.averageBytesPerSecond == b.averageBytesPerSecond && a.blockAlign == b.blockAlign &&
         a.bitsPerSample == b.bitsPerSample;
}

}  // namespace qn::platform
