// RIFF WAVE files: finding the "fmt " and "data" chunks of one held in memory, and writing one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/wave_format.h"
#include "sound/sample_buffer.h"

namespace qn {

// True when the bytes start as a RIFF WAVE file ("RIFF" at 0, "WAVE" at 8).
bool isWaveFile(const uint8_t* bytes, size_t size);

struct WaveContents {
  platform::WaveFormat format;
  const uint8_t* samples;  // inside the file's bytes
  size_t size;
};

// Walks the chunks from byte 12 (in any order, no padding byte skipped) for the format and the
// samples. None without both, with a format chunk shorter than 16 bytes, or when the chunk that
// holds either claims more bytes than the file has.
std::optional<WaveContents> readWaveFile(const uint8_t* bytes, size_t size);

// A complete file with a 16-byte PCM "fmt " chunk and the samples as given.
std::vector<uint8_t> writeWaveFile(const platform::WaveFormat& format, const uint8_t* samples,
                                   size_t size);
// The same for a sample buffer, its 8-bit samples turned back into the file's unsigned form.
std::vector<uint8_t> writeWaveFile(const SampleBuffer& buffer);

}  // namespace qn
