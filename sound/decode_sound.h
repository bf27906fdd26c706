// A sound member's bytes, RIFF WAVE or Ogg Vorbis, decoded into the mixer's output format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/wave_format.h"
#include "sound/purge_members.h"
#include "sound/sample_buffer.h"

namespace qn {

class OggVorbisDecoder;

// The decoding in steps: a wave file converts in one, an Ogg Vorbis stream decodes a slice of
// PCM per step and converts in the last. The bytes must stay valid and unchanged until it is done.
class SoundDecoder {
 public:
  static constexpr size_t kSliceBytes = 64 * 1024;  // PCM bytes per step: a few milliseconds' work

  SoundDecoder(const uint8_t* bytes, size_t size, const platform::WaveFormat& output, const PurgeMembers& purge);
  ~SoundDecoder();
  SoundDecoder(const SoundDecoder&) = delete;
  SoundDecoder& operator=(const SoundDecoder&) = delete;

  // Does the next piece; false once the samples are there (or the bytes did not decode).
  bool step(size_t sliceBytes = kSliceBytes);
  // Null until done, and for bytes that do not decode or convert.
  SampleRef samples() const { return samples_; }

 private:
  const uint8_t* bytes_;
  size_t size_;
  platform::WaveFormat output_;
  PurgeMembers purge_;
  std::unique_ptr<OggVorbisDecoder> ogg_;
  SampleRef samples_;
  bool done_ = false;
};

// Bytes that start as RIFF WAVE are read as such; anything else is taken for Ogg Vorbis. Null
// when they do not decode or convert (never a read outside the given bytes).
SampleRef decodeSound(const uint8_t* bytes, size_t size, const platform::WaveFormat& output,
                      const PurgeMembers& purge);

}  // namespace qn
