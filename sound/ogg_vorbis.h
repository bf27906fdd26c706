// Ogg Vorbis streams held in memory, decoded to 16-bit PCM.
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

// A stream decoded a piece at a time, so that a long one can be spread over many short steps.
class OggVorbisDecoder {
 public:
  // None when the stream does not open, is empty or would decode to more than kLargestSound
  // bytes, or when memory cannot be had even after purging members. `bytes` must stay valid and
  // unchanged while the decoder lives.
  static std::unique_ptr<OggVorbisDecoder> open(const uint8_t* bytes, size_t size, const PurgeMembers& purge);
  ~OggVorbisDecoder();
  OggVorbisDecoder(const OggVorbisDecoder&) = delete;
  OggVorbisDecoder& operator=(const OggVorbisDecoder&) = delete;

  // Decodes at least `bytes` more bytes of PCM when the stream has them; false once it is done.
  // Damaged packets inside the stream are skipped.
  bool decodeSome(size_t bytes);
  // What was decoded; none when nothing was.
  std::optional<DecodedPcm> finish();

 private:
  struct Stream;
  explicit OggVorbisDecoder(std::unique_ptr<Stream> stream);
  std::unique_ptr<Stream> stream_;
};

// The whole stream at once: none when it does not open or nothing decodes.
std::optional<DecodedPcm> decodeOggVorbis(const uint8_t* bytes, size_t size, const PurgeMembers& purge);

}  // namespace qn
