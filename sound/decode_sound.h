// A sound member's bytes, RIFF WAVE or Ogg Vorbis, decoded into the mixer's output format.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/wave_format.h"
#include "sound/purge_members.h"
#include "sound/sample_buffer.h"

namespace qn {

// Bytes that start as RIFF WAVE are read as such; anything else is taken for Ogg Vorbis. Null
// when they do not decode or convert (never a read outside the given bytes).
SampleRef decodeSound(const uint8_t* bytes, size_t size, const platform::WaveFormat& output,
                      const PurgeMembers& purge);

}  // namespace qn
