// A script member: the member a compiled script class belongs to. Its script object is made by
// the movie's script factory when the member is created; an instance made that way becomes the
// script object of ilk #script and points back at its member. Always loaded, draws nothing.
#pragma once

#include "cast/cast_member_base.h"

namespace qn {

class ScriptMember final : public CastMemberBase {
 public:
  // kind: 2 gives #movie, 3 #parent, anything else #score.
  ScriptMember(Cast& cast, int32_t number, int32_t castLib, int32_t kind, std::string name);
  // Breaks the cycle between the member and its script object.
  void forgetScript();

  SymbolNumber scriptType() const override { return scriptType_; }
  const Value& scriptObject() const override { return script_; }
  SpriteChannel* createSprite(Movie& movie, const SpanRef& span) override;
  bool unload(bool) override { return true; }
  void getProperty(Value& result, SymbolNumber property) override;

 private:
  SymbolNumber scriptType_;
  Value script_;
};

}  // namespace qn
