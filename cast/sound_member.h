// A sound: RIFF WAVE or Ogg Vorbis bytes from the media file (or from a file named by the
// member's filename) decoded into the mixer's output format. The samples are shared with every
// mixer channel that plays them, so unloading never cuts off a sound that is playing.
#pragma once

#include <string>

#include "cast/cast_member_base.h"
#include "cast/cast_rows.h"
#include "sound/sample_buffer.h"
#include "sound/sample_decoding.h"

namespace qn {

class SoundMember final : public CastMemberBase {
 public:
  SoundMember(Cast& cast, const SoundRow& row);

  // Null while a background decoding runs, and without an output device (nothing is decoded).
  SampleRef samples() const { return decoding_ ? decoding_->samples() : samples_; }
  bool loops() const { return loop_; }

  // ScriptObject
  void getProperty(Value& result, SymbolNumber property) override;
  bool setProperty(SymbolNumber property, const Value& value) override;

  // CastMember
  SpriteChannel* createSprite(Movie& movie, const SpanRef& span) override;
  bool load() override;
  bool unload(bool force) override;
  int32_t sizeEstimate() const override;
  void play(int32_t soundChannel) override;

 private:
  bool decode(const uint8_t* bytes, size_t size);

  std::string filename_;
  bool loop_;
  int32_t offset_, packedSize_, unpackedSize_;
  SampleRef samples_;
  SampleDecodingRef decoding_;  // a long sound decoding in the background
};

}  // namespace qn
