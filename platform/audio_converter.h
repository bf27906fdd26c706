// Conversion of PCM sample data between two wave formats (any rate, sample width and channel
// count), done once when a sound is loaded, never in real time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/wave_format.h"

namespace qn::platform {

class AudioConverter {
 public:
  virtual ~AudioConverter() = default;
  // Bytes that converting `sourceBytes` bytes may produce, at most.
  virtual size_t outputSize(size_t sourceBytes) const = 0;
  // Converts whole source frames; writes at most `capacity` bytes and returns how many it wrote.
  virtual size_t convert(const uint8_t* source, size_t sourceBytes, uint8_t* destination,
                         size_t capacity) = 0;
};

// Handles integer PCM of 8 (unsigned), 16, 24 and 32 bits and 32-bit float, 1 to 8 channels.
// Null when either format is outside that.
std::unique_ptr<AudioConverter> openAudioConverter(const WaveFormat& from, const WaveFormat& to);

}  // namespace qn::platform
