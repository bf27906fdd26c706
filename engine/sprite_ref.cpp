#include "engine/sprite_ref.h"

#include "engine/movie.h"

namespace qn {

void appendSpriteText(std::string& out, int32_t channel) {
  out += "(sprite ";
  out += std::to_string(channel);
  out += ")";
}

SpriteChannel& SpriteRef::resolve() const { return movie_->sprite(channel_); }

void SpriteRef::toString(std::string& out) const { appendSpriteText(out, channel_); }

ScriptObject* SpriteRef::duplicate() {
  retain();
  return this;
}

int SpriteRef::compare(const Value& other, bool) const {
  if (other.object() == this) return kEqual;
  if (!other.is(sym::sprite)) return kIncomparable;
  return static_cast<const SpriteRef*>(other.object())->channel_ == channel_ ? kEqual : kIncomparable;
}

bool SpriteRef::handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) {
  return resolve().handle(method, argc, result, argv, flag);
}

void SpriteRef::getProperty(Value& result, SymbolNumber property) { resolve().getProperty(result, property); }

bool SpriteRef::setProperty(SymbolNumber property, const Value& value) {
  return resolve().setProperty(property, value);
}

}  // namespace qn
