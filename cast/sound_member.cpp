#include "cast/sound_member.h"

#include "cast/cast.h"
#include "cast/sound_sprite.h"
#include "script/string_object.h"
#include "shell/platform/mapped_file.h"
#include "sound/decode_sound.h"
#include "sound/sound_mixer.h"

namespace qn {

namespace {

// What sounds decode to when no mixer runs (tools, tests): the mixer's preferred format.
constexpr platform::WaveFormat kFormatWithoutMixer = platform::pcmFormat(2, 22050, 8);

}  // namespace

SoundMember::SoundMember(Cast& cast, const SoundRow& row)
    : CastMemberBase(cast, sym::sound, row.number, row.castLib, row.name ? row.name : ""),
      filename_(row.filename ? row.filename : ""),
      loop_(row.loop != 0),
      offset_(row.offset),
      packedSize_(row.packedSize),
      unpackedSize_(row.unpackedSize ? row.unpackedSize : row.packedSize) {}

bool SoundMember::load() {
  if (loaded()) return true;
  const platform::WaveFormat& format = cast().mixer() ? cast().mixer()->outputFormat() : kFormatWithoutMixer;
  if (filename_.empty()) {
    MemberBytes bytes = cast().media().fetchMemberData(offset_, packedSize_, unpackedSize_);
    if (bytes) samples_ = decodeSound(bytes.data(), bytes.size(), format, cast().media().purge());
    // Without an output format (no audio device) nothing decodes, damaged or not.
    const bool couldDecode = bytes && format.formatTag != 0;
    reportLoadFailure(samples_ || !couldDecode ? bytes.failure() : LoadFailure::undecodableSound);
  } else {
    platform::MappedFile file(programRelativePath(filename_));
    if (file.data()) samples_ = decodeSound(file.data(), file.size(), format, cast().media().purge());
  }
  setLoaded(samples_ != nullptr);
  return loaded();
}

bool SoundMember::unload(bool force) {
  if (!loaded() || keepsContent(force)) return true;
  samples_.reset();
  setLoaded(false);
  return true;
}

int32_t SoundMember::sizeEstimate() const {
  return samples_ ? static_cast<int32_t>(samples_->size()) + 184 : 180;
}

void SoundMember::play(int32_t soundChannel) {
  touch();
  if (load() && cast().mixer()) cast().mixer()->play(samples_, soundChannel, loop_);
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
