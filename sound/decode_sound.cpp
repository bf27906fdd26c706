#include "sound/decode_sound.h"

#include "sound/ogg_vorbis.h"
#include "sound/sample_conversion.h"
#include "sound/wave_file.h"

namespace qn {

namespace {
constexpr size_t kShortestSound = 12;  // a RIFF header
}

SoundDecoder::SoundDecoder(const uint8_t* bytes, size_t size, const platform::WaveFormat& output,
                           const PurgeMembers& purge)
    : bytes_(bytes), size_(size), output_(output), purge_(purge) {}

SoundDecoder::~SoundDecoder() = default;

bool SoundDecoder::step(size_t sliceBytes) {
  if (done_) return false;
  if (!ogg_) {
    if (!bytes_ || size_ < kShortestSound) {
      done_ = true;
    } else if (isWaveFile(bytes_, size_)) {
      if (std::optional<WaveContents> wave = readWaveFile(bytes_, size_))
        samples_ = convertSamples(wave->format, wave->samples, wave->size, output_);
      done_ = true;
    } else {
      ogg_ = OggVorbisDecoder::open(bytes_, size_, purge_);
      done_ = !ogg_;
    }
    return !done_;
  }
  if (ogg_->decodeSome(sliceBytes)) return true;
  if (std::optional<DecodedPcm> pcm = ogg_->finish())
    samples_ = convertSamples(pcm->format, pcm->bytes.get(), pcm->size, output_);
  ogg_.reset();
  done_ = true;
  return false;
}

SampleRef decodeSound(const uint8_t* bytes, size_t size, const platform::WaveFormat& output,
                      const PurgeMembers& purge) {
  SoundDecoder decoder(bytes, size, output, purge);
  while (decoder.step(kLargestSound)) {
  }
  return decoder.samples();
}

}  // namespace qn
