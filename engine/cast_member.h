// The engine's view of a cast member: what the movie and its sprites ask of the members the cast
// table holds. The cast subsystem derives the member classes (bitmap, sound, field, script,
// empty) from this and keeps the rest of a member's state (name, loaded flag, media offsets).
//
// Members are script objects of ilk #member, shared, never copied; the member key is
// number + (castLib - 1) x 65536.
#pragma once

#include <cstdint>

#include "engine/sprite_span.h"
#include "script/stage_rect.h"
#include "script/value.h"

namespace qn {

class Movie;
class SpriteChannel;

inline constexpr int32_t memberKey(int32_t number, int32_t castLib) {
  return number + (castLib - 1) * 65536;
}

class CastMember : public ScriptObject {
 public:
  CastMember(SymbolNumber type, int32_t number, int32_t castLib)
      : ScriptObject(sym::member), type_(type), number_(number), castLib_(castLib) {}

  // #bitmap, #sound, #field, #script or #empty.
  SymbolNumber type() const { return type_; }
  int32_t number() const { return number_; }
  int32_t castLib() const { return castLib_; }
  int32_t key() const { return memberKey(number_, castLib_); }

  // Makes the object that shows this member in a sprite channel: a renderer class derived from
  // SpriteChannel (constructed from the movie and the span like a plain sprite), with a count of
  // 1 for the caller; null gives a plain SpriteChannel. The movie attaches the behaviours and
  // applies the score afterwards; a renderer replacing another takes over the old record.
  virtual SpriteChannel* createSprite(Movie& movie, const SpanRef& span) = 0;
  // Brings the media into memory; true when loaded.
  virtual bool load() { return true; }
  // Frees the media; a modified member stays unless forced. True when it is unloaded.
  virtual bool unload(bool /*force*/) { return true; }
  // Bytes held while loaded; 0 means never purged.
  virtual int32_t sizeEstimate() const { return 0; }
  // Sound members start playing on a mixer channel (1 to 8); others do nothing.
  virtual void play(int32_t /*soundChannel*/) {}

  // Geometry the sprite engine needs without knowing member classes: the member's own size and
  // registration point (0 for members without pixels).
  virtual int32_t width() const { return 0; }
  virtual int32_t height() const { return 0; }
  virtual IntPoint regPoint() const { return {}; }

  // Script members: #movie, #parent or #score, and the script object (ilk #script) that runs
  // their handlers; 0 and void for every other member.
  virtual SymbolNumber scriptType() const { return 0; }
  virtual const Value& scriptObject() const;

 private:
  SymbolNumber type_;
  int32_t number_;
  int32_t castLib_;
};

inline const Value& CastMember::scriptObject() const {
  static const Value none;
  return none;
}

// The member a value holds, or null.
inline CastMember* castMemberOf(const Value& value) {
  return value.is(sym::member) ? static_cast<CastMember*>(value.object()) : nullptr;
}

}  // namespace qn
