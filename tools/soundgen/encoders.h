// Turning a finished track into the bytes of a sound member: RIFF WAVE (8- or 16-bit PCM, mono or
// stereo) or Ogg Vorbis. Both are deterministic: no dates, a fixed Ogg stream serial number.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/soundgen/track.h"

namespace qn::soundgen {

std::vector<uint8_t> encodeWave(const Track& track, int bitsPerSample, int channels);
std::vector<uint8_t> encodeVorbis(const Track& track, int channels, float quality);

}  // namespace qn::soundgen
