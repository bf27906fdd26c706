#include "sound/decode_sound.h"

#include "sound/ogg_vorbis.h"
#include "sound/sample_conversion.h"
#include "sound/wave_file.h"

namespace qn {

namespace {
constexpr size_t kShortestSound = 12;  // a RIFF header
}

SampleRef decodeSound(const uint8_t* bytes, size_t size, const platform::WaveFormat& output,
                      const PurgeMembers& purge) {
  if (!bytes || size < kShortestSound) return nullptr;
  if (isWaveFile(bytes, size)) {
    std::optional<WaveContents> wave = readWaveFile(bytes, size);
    if (!wave) return nullptr;
    return convertSamples(wave->format, wave->samples, wave->size, output);
  }
  std::optional<DecodedPcm> pcm = decodeOggVorbis(bytes, size, purge);
  if (!pcm) return nullptr;
  return convertSamples(pcm->format, pcm->bytes.get(), pcm->size, output);
}

}  // namespace qn
