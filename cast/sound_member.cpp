#include "cast/sound_member.h"

#include "cast/cast.h"
#include "cast/sound_sprite.h"
#include "platform/mapped_file.h"
#include "script/string_object.h"
#include "sound/decode_sound.h"
#include "sound/output_format.h"
#include "sound/sound_mixer.h"
#include "sound/wave_file.h"

namespace qn {

SoundMember::SoundMember(Cast& cast, const SoundRow& row)
    : CastMemberBase(cast, sym::sound, row.number, row.castLib, row.name ? row.name : ""),
      filename_(row.filename ? row.filename : ""),
      loop_(row.loop != 0),
      offset_(row.offset),
      packedSize_(row.packedSize),
      unpackedSize_(row.unpackedSize ? row.unpackedSize : row.packedSize) {}

bool SoundMember::load() {
  if (loaded()) return true;
  if (filename_.empty()) {
    MemberBytes bytes = cast().media().fetchMemberData(offset_, packedSize_, unpackedSize_);
    const bool decoded = bytes && decode(bytes.data(), bytes.size());
    reportLoadFailure(decoded || !bytes ? bytes.failure() : LoadFailure::undecodableSound);
    setLoaded(decoded);
  } else {
    platform::MappedFile file(programRelativePath(filename_));
    setLoaded(file.data() && decode(file.data(), file.size()));
  }
  return loaded();
}

// Wave data converts in moments; Ogg Vorbis (the music, the long calls) decodes in the
// background where the mixer allows, so that the frame asking for it is not held up.
bool SoundMember::decode(const uint8_t* bytes, size_t size) {
  SoundMixer* mixer = cast().mixer();
  if (mixer && mixer->decodesInBackground() && !isWaveFile(bytes, size)) {
    decoding_ = mixer->decodeInBackground(std::vector<uint8_t>(bytes, bytes + size));
    return true;
  }
  const platform::WaveFormat& format = mixer ? mixer->outputFormat() : kDefaultOutputFormat;
  samples_ = decodeSound(bytes, size, format, cast().media().purge());
  return samples_ != nullptr;
}

bool SoundMember::unload(bool force) {
  if (!loaded() || keepsContent(force)) return true;
  samples_.reset();
  decoding_.reset();
  setLoaded(false);
  return true;
}

int32_t SoundMember::sizeEstimate() const {
  SampleRef decoded = samples();
  return decoded ? static_cast<int32_t>(decoded->size()) + 184 : 180;
}

void SoundMember::play(int32_t soundChannel) {
  touch();
  SoundMixer* mixer = cast().mixer();
  if (!load() || !mixer) return;
  if (samples_) mixer->play(samples_, soundChannel, loop_);
  else mixer->play(decoding_, soundChannel, loop_);
}

void SoundMember::getProperty(Value& result, SymbolNumber property) {
  switch (property) {
    case sym::filename: result = Value(filename_); return;
    case sym::loop: result = loop_ ? sharedOne : sharedZero; return;
    default: CastMemberBase::getProperty(result, property); return;
  }
}

bool SoundMember::setProperty(SymbolNumber property, const Value& value) {
  switch (property) {
    case sym::filename:
      if (!value.is(sym::string)) return false;
      unload(false);
      filename_ = textOf(value);
      return true;
    case sym::loop: loop_ = value.toInteger() != 0; return true;
    default: return CastMemberBase::setProperty(property, value);
  }
}

SpriteChannel* SoundMember::createSprite(Movie& movie, const SpanRef& span) { return new SoundSprite(movie, span); }

}  // namespace qn
