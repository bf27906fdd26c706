// Ogg Vorbis streams held in memory, decoded whole to 16-bit PCM.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/wave_format.h"
#include "sound/purge_members.h"

namespace qn {

struct DecodedPcm {
  platform::WaveFormat format;  // PCM, 16 bits, the stream's channels and rate
  std::unique_ptr<uint8_t[]> bytes;
  size_t size;  // bytes decoded
};

// None when the stream does not open, is empty or decodes to more than kLargestSound bytes, or
// when memory cannot be had even after purging members. Damaged packets inside the stream are
// skipped.
std::optional<DecodedPcm> decodeOggVorbis(const uint8_t* bytes, size_t size, const PurgeMembers& purge);

}  // namespace qn
