// Ogg Vorbis streams held in memory, decoded whole to 16-bit PCM.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "shell/platform/wave_format.h"
#include "sound/purge_members.h"

namespace qn {

struct DecodedPcm {
  platform::WaveFormat format;  // PCM, 16 bits, the stream's channels and rate
  std::unique_ptr<uint8_t[]> bytes;
  size_t size;  // bytes decoded
};

// Decoded sound longer than this is refused: a stream's length comes from its last page and may
// claim anything, and no sound of a handheld game comes near it (over 6 minutes of 44.1 kHz
// stereo).
inline constexpr size_t kLongestDecodedSound = 64u << 20;

// None when the stream does not open, is empty or too long, or memory cannot be had even after
// purging members. Damaged packets inside the stream are skipped.
std::optional<DecodedPcm> decodeOggVorbis(const uint8_t* bytes, size_t size, const PurgeMembers& purge);

}  // namespace qn
