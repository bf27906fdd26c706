// Decoded sound in the mixer's output layout, shared by the sound member that loaded it and every
// channel playing it. The count is a shared_ptr's (atomic): the main thread and the mixer's worker
// both drop holders, and the bytes go with the last one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/wave_format.h"

namespace qn {

using platform::WaveFormat;

// 8-bit samples are stored signed (the wave file's unsigned bytes XOR 0x80), 16-bit ones as
// signed little-endian; `size` is a whole number of frames.
class SampleBuffer {
 public:
  SampleBuffer(const WaveFormat& format, std::unique_ptr<uint8_t[]> bytes, size_t size)
      : format_(format), bytes_(std::move(bytes)), size_(size) {}

  const WaveFormat& format() const { return format_; }
  const uint8_t* data() const { return bytes_.get(); }
  const uint8_t* dataEnd() const { return bytes_.get() + size_; }
  size_t size() const { return size_; }

 private:
  WaveFormat format_;
  std::unique_ptr<uint8_t[]> bytes_;
  size_t size_;
};

using SampleRef = std::shared_ptr<const SampleBuffer>;

// Decoded or converted sound larger than this is refused, whatever a file's header claims (an
// Ogg stream's length comes from its last page, a wave format's rate from one field). No sound
// of a handheld game comes near it: it is over 6 minutes of 44.1 kHz 16-bit stereo.
inline constexpr size_t kLargestSound = 64u << 20;

// Null instead of an exception when memory is short.
std::unique_ptr<uint8_t[]> allocateSampleBytes(size_t size);

// Turns unsigned 8-bit samples into signed ones and back (the flip is its own inverse).
void flipSampleSigns(uint8_t* bytes, size_t size);

// A buffer from wave-convention bytes: cut to whole frames, 8-bit samples made signed.
SampleRef makeSampleBuffer(const WaveFormat& format, std::unique_ptr<uint8_t[]> bytes, size_t size);

}  // namespace qn
