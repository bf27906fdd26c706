// The script value `sprite(n)` (ilk #sprite): a channel number. It resolves its sprite at the
// time of each call, so a reference made before a sprite exists works once it does.
#pragma once

#include <cstdint>

#include "script/value.h"

namespace qn {

class Movie;
class SpriteChannel;

class SpriteRef final : public ScriptObject {
 public:
  SpriteRef(Movie& movie, int32_t channel) : ScriptObject(sym::sprite), movie_(&movie), channel_(channel) {}

  int32_t channel() const { return channel_; }
  SpriteChannel& resolve() const;

  void toString(std::string& out) const override;
  ScriptObject* duplicate() override;
  int compare(const Value& other, bool ordering) const override;
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;
  void getProperty(Value& result, SymbolNumber property) override;
  bool setProperty(SymbolNumber property, const Value& value) override;

 private:
  Movie* movie_;  // not counted: references die with the movie's scripts
  int32_t channel_;
};

static_assert(sizeof(SpriteRef) <= 32, "sprite references live in pool cells");

// "(sprite n)", the text of a sprite and of a reference to it.
void appendSpriteText(std::string& out, int32_t channel);

}  // namespace qn
